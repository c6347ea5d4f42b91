#include "cli/cli_build_placement.h"

#include <algorithm>
#include <vector>

#include "image/open_image_entry.h"
#include "image/placement.h"

namespace piconel {

void place_build_page(ImageEntryList& entries, std::int32_t fixed_sheet_width) {
  place_in_reading_order(entries, fixed_sheet_width);
}

void place_in_reading_order(ImageEntryList& entries, std::int32_t fixed_sheet_width) {
  std::vector<PlacedRect> placed;
  placed.reserve(entries.size());
  PlacementCursor cursor;
  std::int32_t extent_width = 0;
  for (ImageEntry& entry : entries) {
    const PlacementView view{fixed_sheet_width, kHeadlessViewWidth, extent_width};
    const SheetPoint point =
        place_automatically(placed, entry.width, {cursor.x, cursor.y}, row_limit(view));
    entry.x = point.x;
    entry.y = point.y;
    placed.push_back({entry.x, entry.y, entry.width, entry.height});
    advance_cursor(&cursor, entry);
    extent_width = std::max(extent_width, static_cast<std::int32_t>(std::min<std::int64_t>(
                                              std::int64_t{entry.x} + entry.width, INT32_MAX)));
  }
}

}  // namespace piconel
