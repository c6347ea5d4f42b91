#pragma once

// The sheet view's state that is not a window: zoom, snap width, scroll
// position, used extent, fixed sheet size, background and the sheet colour
// list, with the operations on them that need no window.

#include <cstdint>
#include <string>

#include "canvas/sheet_geometry.h"
#include "image/colour.h"
#include "image/image_entry.h"

namespace piconel {

inline constexpr ColorRef kWhite = make_colorref(255, 255, 255);
inline constexpr std::int32_t kDefaultSnapWidth = 4;
// The extent after a reset, until it is first recomputed.
inline constexpr std::int32_t kResetExtent = 512;

struct SheetViewState {
  std::int32_t zoom = kZoomUnit;
  std::int32_t snap_width = kDefaultSnapWidth;
  std::int32_t scroll_x = 0;
  std::int32_t scroll_y = 0;
  std::int32_t extent_width = kResetExtent;
  std::int32_t extent_height = kResetExtent;
  std::int32_t sheet_width = 0;  // 0: no fixed sheet
  std::int32_t sheet_height = 0;
  ColorRef background = kWhite;
  ColourList colours = ColourList::starting_with(kWhite);

  // The per-page part back to its start (zoom and snap width stay): scroll
  // 0,0, extent 512 x 512, no fixed sheet, white, colour list white only.
  void reset_page();
};

// The sheet colour list rebuilt: white only, then the colours of every entry
// in list order (merge_colours); placeholders have none.
void rebuild_sheet_colours(const ImageEntryList& entries, ColourList& colours);

// Status bar part 0: "(%d,%d) %d色 %d枚" with the extent, the colour list's
// count and the entry count (CP932); "256色超" stands for a count of -1.
[[nodiscard]] std::string page_summary_text(std::int32_t extent_width, std::int32_t extent_height,
                                            std::int32_t colour_count, std::int32_t entry_count);

// Status bar part 1 for a selected entry: "(%d,%d)-(%d,%d) %d色" with x, y,
// width, height and colour count (CP932), "256色超" for a count of -1.
[[nodiscard]] std::string entry_status_text(const ImageEntry& entry);

}  // namespace piconel
