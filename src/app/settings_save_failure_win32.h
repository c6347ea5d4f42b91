#pragma once

// Telling the user that the settings file could not be written. Windows
// only: include from *_win32.cpp files only.

#include <windows.h>

#include "app/app_win32.h"

namespace piconel {

// An error box over `owner` saying the settings file could not be saved and
// naming it: otherwise the settings the user chose would be gone at the
// next start without a word.
void report_settings_not_saved(const App& app, HWND owner);

}  // namespace piconel
