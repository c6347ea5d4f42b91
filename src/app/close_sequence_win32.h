#pragma once

// The main window's close request. Windows only: include from *_win32.cpp
// files only.

#include <windows.h>

#include "app/app_win32.h"

namespace piconel {

// Writes the main window's placement and the list-window state into the
// settings and saves them (a failed write is not reported).
void save_window_state(HWND window, App& app);

// The close sequence: ask_save_changes first (cancel: false, the window
// stays and the settings file is untouched), then save_window_state, the
// project released and the window destroyed (true).
bool close_main_window(HWND window, App& app);

}  // namespace piconel
