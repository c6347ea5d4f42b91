#pragma once

// The current page between the project store and memory: its image rows
// become the image entry list when the page is loaded and go back into the
// store when it is synchronised; its properties reach the sheet view.

#include <string_view>

#include "project/project.h"

namespace piconel {

// Writes the image entry list back as the page's rows. Without a store the
// result is false. With no current page (-1) a page is appended first and
// becomes current (false when that fails). The page's "FILELIST:<page>" is
// rebuilt from the entries in list order (no section when there are none),
// with the rows carried over from the last load put back at their places,
// and PUTIMAGEWIDTH / PUTIMAGEHEIGHT of "PROPERTY:<page>" get the used extent
// (the sheet view's, or computed from the entries when there is no view;
// without a view and with carried rows, which were never measured, the stored
// size is left as it is).
// The result is that of the last write. The modified flag is not touched.
[[nodiscard]] bool sync_current_page(Project& project);

// Rebuilds the image entry list from the current page's rows: the view is
// reset and the old entries dropped (not synchronised); with a store and a
// sheet view, the page properties are applied and every row opened in order
// through the entry source. A row that gives no entry (unreadable file, or
// 256 entries already) shows "画像ファイルの読み込みに失敗しました。..." with
// OK and Cancel; Cancel silences the prompt for the rest of this load. Such
// rows are kept as carried rows. A current page that names no page loads
// nothing.
void load_current_page(Project& project);

// Adds the entry one image row describes to the end of the list, at the
// row's position with the row's settings block. A relative path is resolved
// against the project folder. On failure, shows the unreadable-image prompt
// through `*prompt_owner` when it is set (Cancel sets it to none), keeps the
// row as a carried row and returns false.
bool add_image_row(Project& project, std::string_view row, Prompter** prompt_owner);

// Hands the current page's effective sheet size (0 × 0 unless the effective
// SHEETSIZEMANUAL begins with '1'; then atoi of the effective SHEETWIDTH and
// SHEETHEIGHT, 0 for none) and background colour (white unless an effective
// TRANSPARENTCOLOR of three bytes red, green, blue exists; COLORREF layout)
// to the sheet view and has it redrawn. Nothing without a store or when the
// current page names no page.
void apply_page_properties(Project& project);

// Sets the texts of page list row `index` (name, effective manual width and
// height, own PAGELABEL). Nothing when the page list is closed, the index is
// negative or names no page.
void refresh_page_item(Project& project, int index);

// The used extent over the entries that have a display.
[[nodiscard]] SheetExtent compute_used_extent(const ImageEntryList& entries);

}  // namespace piconel
