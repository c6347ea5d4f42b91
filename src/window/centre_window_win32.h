#pragma once

// Windows only: include from *_win32.cpp files only.

#include <windows.h>

namespace piconel {

// Moves `window`, keeping its size and z-order, so that it is centred over
// `reference` and lies inside the work area of the monitor nearest to
// `reference` (placement rules in centre_window.h); a minimized reference
// counts as its monitor's work area. Returns false, leaving the window where it is, when a
// rectangle cannot be read (for example a null reference window).
[[nodiscard]] bool centre_window(HWND window, HWND reference);

}  // namespace piconel
