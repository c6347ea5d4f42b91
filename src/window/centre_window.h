#pragma once

// Where a window goes when it is centred over another window inside the
// desktop work area. Portable: the Win32 operation that reads the rectangles
// and moves the window is in centre_window_win32.h.

namespace piconel {

// A rectangle in screen coordinates, right and bottom exclusive (as RECT).
struct ScreenRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  [[nodiscard]] constexpr int width() const { return right - left; }
  [[nodiscard]] constexpr int height() const { return bottom - top; }
  friend constexpr bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

struct ScreenPoint {
  int x = 0;
  int y = 0;
  friend constexpr bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// The new top-left corner of `window` (only its size counts) centred over
// `reference`: reference.left + (reference width - window width) / 2, and the
// same for top, with C++ division (truncating toward zero). Then a window
// that passes the work area's right or bottom edge is pulled back to end at
// that edge, and after that one that starts left of or above the work area is
// pushed to its left or top edge, so the top-left corner stays visible even
// when the window is larger than the work area.
[[nodiscard]] ScreenPoint centred_position(const ScreenRect& window, const ScreenRect& reference,
                                           const ScreenRect& work_area);

}  // namespace piconel
