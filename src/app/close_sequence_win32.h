#pragma once

// The main window's close request. Windows only: include from *_win32.cpp
// files only.

#include <windows.h>

#include "app/app_win32.h"

namespace piconel {

// Writes the main window's placement and the list-window state into the
// settings and saves them. False when the file cannot be written; the
// caller decides whether to say so.
[[nodiscard]] bool save_window_state(HWND window, App& app);

// The close sequence: ask_save_changes first (cancel: false, the window
// stays and the settings file is untouched), then save_window_state (a
// failed write reported over the window), the project released and the
// window destroyed (true).
bool close_main_window(HWND window, App& app);

}  // namespace piconel
