#pragma once

// The packing dialog "詰めて配置" (template 124): padding, power-of-two and
// square sheets, and packing only the selected images. Windows only: include
// from *_win32.cpp files only.

#include <windows.h>

#include "project/page_packing.h"

namespace piconel {

// Runs the dialog modally over `owner`, starting from `choices`. IDOK with
// `choices` holding what was chosen; IDCANCEL leaves them as they were. A
// padding that is not a number from 0 to 256 is refused with a message and
// the dialog stays open.
[[nodiscard]] int run_pack_dialog(HWND owner, PackChoices& choices);

}  // namespace piconel
