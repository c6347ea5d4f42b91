#pragma once

// The controls of one open dialog, reached by control id. The settings logic
// works through this interface; the Win32 side implements it over a real
// dialog and tests implement it with a fake. Texts are CP932.

#include <cstddef>
#include <string>
#include <string_view>

namespace piconel {

class DialogControls {
 public:
  virtual ~DialogControls() = default;
  [[nodiscard]] virtual bool is_checked(int id) const = 0;
  virtual void set_checked(int id, bool checked) = 0;
  virtual void set_enabled(int id, bool enabled) = 0;
  [[nodiscard]] virtual std::string text(int id) const = 0;
  virtual void set_text(int id, std::string_view text) = 0;
  // Has the control painted again (the colour swatch).
  virtual void redraw(int id) = 0;
};

// The control's text read as a decimal number (C atoi rules: leading digits,
// anything else gives 0).
[[nodiscard]] int control_number(const DialogControls& controls, int id);
// "%d" of the value into the control.
void set_control_number(DialogControls& controls, int id, int value);

// The control's text cut to at most `max_bytes` bytes, never inside a
// double-byte character.
[[nodiscard]] std::string control_text_up_to(const DialogControls& controls, int id,
                                             std::size_t max_bytes);

}  // namespace piconel
