#pragma once

// What the two floating list windows share: their window class and tool
// window, where they open and reading back their geometry; the list control
// inside comes with them (window/list_control_win32.h). Windows only:
// include from *_win32.cpp files only.

#include <windows.h>

#include <string_view>

#include "app/settings_model.h"
#include "window/list_control_win32.h"

namespace piconel {

// Registers a list window class of `instance` once (class style 0, arrow
// cursor, no icon, no background brush); false when it fails.
[[nodiscard]] bool register_list_window_class(HINSTANCE instance, const wchar_t* class_name,
                                              WNDPROC procedure);

// A floating tool window owned by `owner`: visible, caption and sizing
// border, no system menu and so no close box, at `box` in screen
// coordinates. `target` reaches WM_NCCREATE. Null when it cannot be made.
[[nodiscard]] HWND create_list_window(HINSTANCE instance, const wchar_t* class_name,
                                      std::string_view title, const ListWindowBox& box, HWND owner,
                                      void* target);

// Where the list window with the rectangle `box` opens now, from the
// monitors' work areas and the main window's place (list_window_placement.h);
// without a main window, its monitor is the primary one.
[[nodiscard]] ListWindowBox list_window_box_on_screen(HWND main_window, const ListWindowBox& box,
                                                      bool placed, int top_offset);

// The window's screen rectangle as left, top, width, height.
[[nodiscard]] ListWindowBox window_box(HWND window);

}  // namespace piconel
