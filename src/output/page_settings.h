#pragma once

// What the page pass reads of a page's settings: its sheet size, background
// colour and label, taken along the property chain page "PROPERTY:<page>" ->
// project "PROPERTY" -> application "PROPERTY". A level gives a chained value
// only when its enable key begins with '1': TRANSPARENTENABLE for
// TRANSPARENTCOLOR, FIXEDSHEET for the sheet size keys.

#include <cstdint>
#include <string>

#include "image/colour.h"
#include "store/section_cursor.h"

namespace piconel {

inline constexpr std::int32_t kDefaultSheetSide = 1024;

struct PageSettings {
  // The size before the page pass's checks: a manual size (SHEETSIZEMANUAL
  // on with SHEETWIDTH and SHEETHEIGHT all effective), else the page's own
  // PUTIMAGEWIDTH / PUTIMAGEHEIGHT where present and non-empty, else 1024.
  std::int32_t sheet_width = kDefaultSheetSide;
  std::int32_t sheet_height = kDefaultSheetSide;
  ColorRef background = make_colorref(255, 255, 255);  // white unless enabled
  std::string page_label;                              // PAGELABEL, empty when absent
};

// `page` is a cursor on "PROPERTY:<page>" whose parent chain leads to the
// project and application levels.
[[nodiscard]] PageSettings read_page_settings(const SectionCursor& page);

}  // namespace piconel
