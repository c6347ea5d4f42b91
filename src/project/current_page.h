#pragma once

// The current page between the project store and memory: its image rows
// become the image entry list when the page is loaded and go back into the
// store when it is synchronised.

#include "project/project.h"

namespace piconel {

// Writes the image entry list back as the page's rows. Without a store the
// result is false. With no current page (-1) a page is appended first and
// becomes current (false when that fails). The page's "FILELIST:<page>" is
// rebuilt from the entries in list order (no section when there are none),
// each with its full path unless that would not read back (entry_row), with
// the rows carried over from the last load put back at their places, and
// PUTIMAGEWIDTH / PUTIMAGEHEIGHT of "PROPERTY:<page>" get the used extent
// (the sheet view's, or computed from the entries when there is no view;
// without a view and with carried rows, which were never measured, the stored
// size is left as it is).
// The result is that of the last write. The modified flag is not touched.
[[nodiscard]] bool sync_current_page(Project& project);

// Rebuilds the image entry list from the current page's rows: the view is
// reset and the old entries dropped (not synchronised); with a store and a
// sheet view, the page properties are applied and every row opened in order
// through the entry source (add_image_row). A row that gives no entry
// (unreadable file, or 256 entries already) shows
// "画像ファイルの読み込みに失敗しました。..." with OK and Cancel; Cancel silences
// the prompt for the rest of this load. Such a row becomes a placeholder
// entry at its stored position when the page has room and the entry source
// can show it (open_placeholder); otherwise it is kept as a carried row.
// Either way it is written back by the next sync, and while a page has
// placeholders or carried rows its stored PUTIMAGEWIDTH and PUTIMAGEHEIGHT
// never shrink. Without a sheet view every row is carried as it is. A current page that
// names no page loads nothing.
void load_current_page(Project& project);

}  // namespace piconel
