#pragma once

// Painting the sheet view's own window: the sheet in the page's background
// colour, and the system window colour right of and below a fixed sheet.
// Windows only: include from *_win32.cpp files only.

#include <windows.h>

#include "canvas/sheet_view_state.h"

namespace piconel {

// Paints `update` (client coordinates) of the view into `dc`.
void paint_sheet(HDC dc, const RECT& update, const SheetViewState& state);

}  // namespace piconel
