#pragma once

// The main window's toolbar (fourteen items), the zoom box over item 6 and
// the status bar with its two parts. Windows only: include from *_win32.cpp
// files only.

#include <windows.h>

#include "app/app_win32.h"

namespace piconel {

// Creates toolbar, zoom box and status bar as children of `main_window` and
// measures their heights into `controls`. False when one cannot be made.
[[nodiscard]] bool create_main_controls(HWND main_window, HINSTANCE instance,
                                        MainWindowControls& controls);

// Lays the controls out for `dpi` (the main window moved to a monitor of
// another scale, or was created on one): the standard UI font at that DPI
// for the zoom box and the status bar, the width of toolbar item 6 and the
// zoom box over it, the status bar's first part, each taken from its size
// at 100 %. The caller then lets the toolbar and status bar place
// themselves (WM_SIZE) and measures them again.
void apply_controls_dpi(MainWindowControls& controls, int dpi);

// The toolbar and status bar heights from their window rectangles.
void measure_control_heights(MainWindowControls& controls);

// Whether toolbar button 40029 or 40025 is pressed (its list window open).
[[nodiscard]] bool list_button_pressed(const MainWindowControls& controls, ListWindowKind kind);

// The zoom box's selected step (0 .. 5), or -1.
[[nodiscard]] int selected_zoom_step(const MainWindowControls& controls);
// Selects step `index` in the zoom box and sets the sheet view's zoom to it.
void apply_zoom_step(App& app, int index);

}  // namespace piconel
