#include "app/centre_window_win32.h"

#include "app/centre_window.h"

namespace piconel {
namespace {

ScreenRect to_screen_rect(const RECT& rect) {
  return ScreenRect{rect.left, rect.top, rect.right, rect.bottom};
}

}  // namespace

bool centre_window(HWND window, HWND reference) {
  RECT window_rect{};
  RECT reference_rect{};
  RECT work_area{};
  if (window == nullptr || reference == nullptr || !GetWindowRect(window, &window_rect) ||
      !GetWindowRect(reference, &reference_rect) ||
      !SystemParametersInfoW(SPI_GETWORKAREA, 0, &work_area, 0)) {
    return false;
  }
  const ScreenPoint corner = centred_position(
      to_screen_rect(window_rect), to_screen_rect(reference_rect), to_screen_rect(work_area));
  return SetWindowPos(window, nullptr, corner.x, corner.y, 0, 0,
                      SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}

}  // namespace piconel
