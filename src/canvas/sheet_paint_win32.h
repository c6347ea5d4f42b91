#pragma once

// Painting the sheet view: the sheet in the page's background colour, the
// system window colour right of and below a fixed sheet, and the page's
// images on it. Windows only: include from *_win32.cpp files only.

#include <windows.h>

#include "canvas/sheet_view_state.h"
#include "image/image_entry.h"

namespace piconel {

// Paints the sheet under `update` (client coordinates) of the view into
// `dc`.
void paint_sheet(HDC dc, const RECT& update, const SheetViewState& state);

// Paints the entries that meet `update` into `dc`, in list order so a later
// entry covers an earlier one: each picture scaled by the zoom, a
// placeholder as a marked box with its file's name, a dotted outline round
// a selected entry.
void paint_entries(HDC dc, const RECT& update, const SheetViewState& state,
                   const ImageEntryList& entries);

}  // namespace piconel
