#pragma once

// The colour dialog "色の変更" (template 113): red, green and blue as
// edits and trackbars with a preview. Windows only: include from
// *_win32.cpp files only.

#include <windows.h>

#include "dialogs/default_settings_group.h"

namespace piconel {

// Modal over `owner`, opened on `colour`. OK stores the low 8 bits of each
// edit's number into `colour` (300 gives 44) and returns IDOK (1); Cancel
// leaves it and returns IDCANCEL (2).
int run_colour_dialog(HWND owner, Rgb& colour);

}  // namespace piconel
