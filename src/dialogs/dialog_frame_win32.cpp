#include "dialogs/dialog_frame_win32.h"

#include <commctrl.h>

#include "window/centre_window_win32.h"

namespace piconel {

void register_trackbar_class() {
  INITCOMMONCONTROLSEX init{};
  init.dwSize = sizeof(init);
  init.dwICC = ICC_BAR_CLASSES;
  InitCommonControlsEx(&init);
}

void activate_dialog(HWND dialog, HWND owner, int focus_id) {
  static_cast<void>(centre_window(dialog, owner));
  SetForegroundWindow(dialog);
  SetFocus(GetDlgItem(dialog, focus_id));
}

}  // namespace piconel
