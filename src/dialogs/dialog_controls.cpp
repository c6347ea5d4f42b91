#include "dialogs/dialog_controls.h"

#include "store/cp932.h"
#include "store/decimal_text.h"

namespace piconel {

int control_number(const DialogControls& controls, int id) {
  return c_atoi(controls.text(id));
}

void set_control_number(DialogControls& controls, int id, int value) {
  controls.set_text(id, format_decimal(value));
}

std::string control_text_up_to(const DialogControls& controls, int id, std::size_t max_bytes) {
  std::string text = controls.text(id);
  std::size_t end = 0;
  while (end < text.size()) {
    const bool double_byte = is_cp932_lead_byte(static_cast<unsigned char>(text[end]));
    const std::size_t step = double_byte && text.size() - end >= 2 ? 2 : 1;
    if (end + step > max_bytes) {
      break;
    }
    end += step;
  }
  text.resize(end);
  return text;
}

}  // namespace piconel
