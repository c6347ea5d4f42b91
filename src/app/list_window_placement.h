#pragma once

// Where a floating list window opens: a rectangle the user gave it when that
// can still be reached, else a place beside the main window on the main
// window's monitor. Portable: the Win32 side reads the monitors' work areas.

#include <span>

#include "app/settings_model.h"
#include "window/centre_window.h"

namespace piconel {

// `box` is the window's stored rectangle when `placed`, else only its size
// counts. A placed rectangle that meets some monitor's work area (of
// `work_areas`) is kept as it is. One that meets none (its monitor was
// unplugged) is moved into `main_work_area`, the work area of the main
// window's monitor, keeping its size where it fits (a side longer than the
// work area is cut to it) and its place as far as the work area allows.
// An unplaced window opens with its top-left corner at the main window's top
// right corner, `top_offset` lower (so two windows opened together do not
// cover each other), then moved into `main_work_area` in the same way.
[[nodiscard]] ListWindowBox list_window_opening_box(const ListWindowBox& box, bool placed,
                                                    std::span<const ScreenRect> work_areas,
                                                    const ScreenRect& main_window,
                                                    const ScreenRect& main_work_area,
                                                    int top_offset);

}  // namespace piconel
