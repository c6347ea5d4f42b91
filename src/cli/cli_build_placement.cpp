#include "cli/cli_build_placement.h"

#include <algorithm>
#include <vector>

#include "image/open_image_entry.h"
#include "image/placement.h"
#include "project/page_packing.h"

namespace piconel {

// Packed tightly as the window's 詰めて配置 packs a page with the default
// choices; a page the packer cannot fit into its fixed width keeps the
// automatic placement.
void place_build_page(PageImages& page, std::int32_t fixed_sheet_width) {
  const ImageEntryList& entries = page.entries();
  std::vector<PageImage> images;
  images.reserve(entries.size());
  for (const ImageEntry& entry : entries) {
    images.push_back({packing_size(entry.width, entry.height, entry.settings), {entry.x, entry.y}});
  }
  const PackSize limits{fixed_sheet_width > 0 ? fixed_sheet_width : kPackSheetLimit,
                        kPackSheetLimit};
  const PagePacking packing = pack_page_images(images, PackChoices{}, limits);
  if (!packing.packed || !packing.too_large.empty()) {
    place_in_reading_order(page, fixed_sheet_width);
    return;
  }
  std::vector<EntryMove> moves;
  std::size_t index = 0;
  for (const ImageEntry& entry : entries) {
    moves.push_back({&entry, packing.positions[index].x, packing.positions[index].y});
    ++index;
  }
  page.move(moves);
}

void place_in_reading_order(PageImages& page, std::int32_t fixed_sheet_width) {
  const ImageEntryList& entries = page.entries();
  std::vector<EntryMove> moves;
  std::vector<PlacedRect> placed;
  placed.reserve(entries.size());
  PlacementCursor cursor;
  std::int32_t extent_width = 0;
  for (const ImageEntry& entry : entries) {
    const PlacementView view{fixed_sheet_width, kHeadlessViewWidth, extent_width};
    const SheetPoint point =
        place_automatically(placed, entry.width, {cursor.x, cursor.y}, row_limit(view));
    moves.push_back({&entry, point.x, point.y});
    placed.push_back({point.x, point.y, entry.width, entry.height});
    cursor.x = static_cast<std::int32_t>(
        std::min<std::int64_t>(std::int64_t{point.x} + entry.width, INT32_MAX));
    cursor.y = point.y;
    extent_width = std::max(extent_width, cursor.x);
  }
  page.move(moves);
}

}  // namespace piconel
