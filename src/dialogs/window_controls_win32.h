#pragma once

// DialogControls over the controls of a real dialog. Windows only: include
// from *_win32.cpp files only.

#include <windows.h>

#include <optional>
#include <string>

#include "dialogs/dialog_controls.h"

namespace piconel {

class WindowControls final : public DialogControls {
 public:
  explicit WindowControls(HWND dialog) : dialog_(dialog) {}

  bool is_checked(int id) const override;
  void set_checked(int id, bool checked) override;
  void set_enabled(int id, bool enabled) override;
  // The text as CP932; a character without a CP932 form becomes a
  // look-alike or '?' (wide_text.h). Use exact_text for names.
  std::string text(int id) const override;
  void set_text(int id, std::string_view text) override;
  void redraw(int id) override;

  // The control's text as the system holds it.
  [[nodiscard]] std::wstring wide_text(int id) const;
  // The exact CP932 form of the text; none when it has none.
  [[nodiscard]] std::optional<std::string> exact_text(int id) const;

 private:
  HWND item(int id) const { return GetDlgItem(dialog_, id); }
  HWND dialog_;
};

}  // namespace piconel
