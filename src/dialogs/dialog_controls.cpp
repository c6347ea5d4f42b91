#include "dialogs/dialog_controls.h"

#include "store/decimal_text.h"

namespace piconel {

int control_number(const DialogControls& controls, int id) {
  return c_atoi(controls.text(id));
}

void set_control_number(DialogControls& controls, int id, int value) {
  controls.set_text(id, format_decimal(value));
}

}  // namespace piconel
