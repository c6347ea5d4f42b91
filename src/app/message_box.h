#pragma once

// Message boxes as the rest of the program asks for them: CP932 text and
// caption, a button/icon style, and the button pressed as the answer. The
// values are those of the Win32 MB_* styles and ID* results, so the Win32
// side passes them through unchanged (message_box_win32.h); tests implement
// MessageBoxHost with a fake that scripts the answers and records each call.

#include <string_view>

namespace piconel {

// Buttons (low nibble) and icon; combine one of each with |.
enum MessageBoxStyle : unsigned {
  kMessageOk = 0x0,
  kMessageOkCancel = 0x1,
  kMessageYesNoCancel = 0x3,
  kMessageYesNo = 0x4,
  kMessageIconError = 0x10,
  kMessageIconQuestion = 0x20,
  kMessageIconWarning = 0x30,
  kMessageIconInformation = 0x40,
};

// The button pressed.
enum MessageBoxAnswer : int {
  kAnswerNone = 0,  // the box could not be shown
  kAnswerOk = 1,
  kAnswerCancel = 2,
  kAnswerYes = 6,
  kAnswerNo = 7,
};

class MessageBoxHost {
 public:
  virtual ~MessageBoxHost() = default;
  // Shows a modal message box and returns the button pressed (kAnswerNone
  // when no box could be shown). `text` and `caption` are CP932.
  [[nodiscard]] virtual int show(std::string_view text, std::string_view caption,
                                 unsigned style) = 0;
};

}  // namespace piconel
