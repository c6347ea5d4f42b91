#pragma once

// The placement of the pages `piconel-cli build` makes: every image of a
// fresh page placed at once, so a packing can see them all. The one place
// that decides it.

#include <cstdint>

#include "output/page_settings.h"
#include "project/page_images.h"

namespace piconel {

// Places every entry of `page` (a page of `build`), packed tightly.
// `fixed_sheet_width`: the page's fixed sheet width, 0 when the sheet size is
// automatic.
void place_build_page(PageImages& page, std::int32_t fixed_sheet_width);

// The window's automatic placement of the entries in list order, each as the
// window's add would place it after the ones before it (the cursor carried
// from image to image).
void place_in_reading_order(PageImages& page, std::int32_t fixed_sheet_width);

// The row limit of the automatic placement without a window: a view as wide
// as the sheet the output gives a page without a stored size.
inline constexpr std::int32_t kHeadlessViewWidth = kDefaultSheetSide;

}  // namespace piconel
