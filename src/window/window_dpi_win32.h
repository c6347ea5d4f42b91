#pragma once

// The DPI of a window and the system metrics and fonts for it. The program
// is per-monitor DPI aware: a window moved to a monitor of another scale
// gets WM_DPICHANGED and lays itself out for that DPI, while the sheet keeps
// one screen pixel per image pixel at "x 1". The per-monitor functions come
// with Windows 10; older systems (and their one system DPI) are served by
// the classic calls. Windows only: include from *_win32.cpp files only.

#include <windows.h>

namespace piconel {

// The DPI of 100 %.
inline constexpr int kDefaultDpi = 96;

// The DPI `window` is shown at; the system's when the system has no
// per-window DPI.
[[nodiscard]] int window_dpi(HWND window);

// GetSystemMetrics(`index`) as it is at `dpi`.
[[nodiscard]] int system_metric_for_dpi(int index, int dpi);

// The system's message font (the standard UI font) at `dpi`; false when it
// cannot be read.
[[nodiscard]] bool message_font_for_dpi(int dpi, LOGFONTW& font);

}  // namespace piconel
