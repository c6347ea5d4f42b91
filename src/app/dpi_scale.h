#pragma once

// Sizes of the window's own layout given for 100 % (96 DPI) and taken to the
// DPI of the monitor the window is on. Portable.

namespace piconel {

inline constexpr int kLayoutDpi = 96;

// `pixels` at 96 DPI as pixels at `dpi`, rounded to the nearest (as MulDiv
// does for these non-negative sizes); `dpi` 0 or below leaves them as they
// are.
[[nodiscard]] constexpr int scale_for_dpi(int pixels, int dpi) {
  if (dpi <= 0) {
    return pixels;
  }
  const long long scaled = static_cast<long long>(pixels) * dpi;
  return static_cast<int>((scaled + kLayoutDpi / 2) / kLayoutDpi);
}

}  // namespace piconel
