#include "window/centre_window_win32.h"

#include "window/centre_window.h"

namespace piconel {
namespace {

ScreenRect to_screen_rect(const RECT& rect) {
  return ScreenRect{rect.left, rect.top, rect.right, rect.bottom};
}

}  // namespace

bool centre_window(HWND window, HWND reference) {
  RECT window_rect{};
  RECT reference_rect{};
  if (window == nullptr || reference == nullptr || !GetWindowRect(window, &window_rect) ||
      !GetWindowRect(reference, &reference_rect)) {
    return false;
  }
  // The work area of the monitor the reference is on (for a minimized
  // reference, the one it was on before), not the primary monitor's.
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  if (!GetMonitorInfoW(MonitorFromWindow(reference, MONITOR_DEFAULTTONEAREST), &monitor)) {
    return false;
  }
  const RECT work_area = monitor.rcWork;
  if (IsIconic(reference)) {
    // Its rectangle is the icon's, parked far off the screen: centre over
    // that monitor's work area instead of pushing the box into a corner.
    reference_rect = work_area;
  }
  const ScreenPoint corner = centred_position(
      to_screen_rect(window_rect), to_screen_rect(reference_rect), to_screen_rect(work_area));
  return SetWindowPos(window, nullptr, corner.x, corner.y, 0, 0,
                      SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}

}  // namespace piconel
