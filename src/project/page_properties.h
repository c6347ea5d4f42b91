#pragma once

// The current page's effective settings as the sheet view shows them.

#include "project/project.h"

namespace piconel {

// Hands the current page's effective sheet size (0 × 0 unless the effective
// SHEETSIZEMANUAL begins with '1'; then atoi of the effective SHEETWIDTH and
// SHEETHEIGHT, 0 for none) and background colour (white unless an effective
// TRANSPARENTCOLOR of three bytes red, green, blue exists; COLORREF layout)
// to the sheet view and has it redrawn. Nothing without a store or when the
// current page names no page.
void apply_page_properties(Project& project);

}  // namespace piconel
