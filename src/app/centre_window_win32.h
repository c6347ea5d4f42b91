#pragma once

// Windows only: include from *_win32.cpp files only.

#include <windows.h>

namespace piconel {

// Moves `window`, keeping its size and z-order, so that it is centred over
// `reference` and lies inside the desktop work area (placement rules in
// centre_window.h). Returns false, leaving the window where it is, when a
// rectangle cannot be read (for example a null reference window).
[[nodiscard]] bool centre_window(HWND window, HWND reference);

}  // namespace piconel
