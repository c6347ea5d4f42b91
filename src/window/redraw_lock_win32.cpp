#include "window/redraw_lock_win32.h"

namespace piconel {

RedrawLock::RedrawLock(HWND window) : window_(window) {
  if (window_ != nullptr) {
    SendMessageW(window_, WM_SETREDRAW, FALSE, 0);
  }
}

RedrawLock::~RedrawLock() {
  if (window_ != nullptr) {
    SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(window_, nullptr, nullptr,
                 RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
}

}  // namespace piconel
