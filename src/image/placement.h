#pragma once

// Automatic placement of a new image: the first free spot of the sheet in
// reading order, as a pure function of the page's entries and a few facts of
// the sheet view.

#include <cstdint>
#include <span>

#include "image/image_entry.h"

namespace piconel {

// What the sheet view tells the placement, all in sheet pixels.
struct PlacementView {
  std::int32_t fixed_sheet_width = 0;   // the page's fixed sheet width; 0 or less: none
  std::int32_t visible_right_edge = 0;  // right edge of the visible part (visible_right_edge())
  std::int32_t extent_width = 0;        // right edge of the rightmost entry
};

struct SheetPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;

  friend bool operator==(const SheetPoint&, const SheetPoint&) = default;
};

// A placed picture as the scan sees it.
struct PlacedRect {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
};

// The right edge of the visible part of the sheet:
// (window_width - scroll_bar_width) * 16 / zoom + scroll_x, the division
// truncating toward zero. A zoom of 0 or less counts as 16 (100 %).
[[nodiscard]] std::int32_t visible_right_edge(std::int32_t window_width,
                                              std::int32_t scroll_bar_width,
                                              std::int32_t zoom_sixteenths, std::int32_t scroll_x);

// Row limit L: the fixed sheet width when above 0, else the visible right
// edge raised to the extent width when that is larger.
[[nodiscard]] std::int64_t row_limit(const PlacementView& view);

// First-fit scan for a picture `width` pixels wide, starting at `start`:
//  1. if start.x is not 0 and start.x + width > L, begin a new row;
//  2. the first entry (in list order) whose rectangle holds the candidate
//     point (x <= px < x + width, y <= py < y + height) moves the candidate
//     to its right edge; past L a new row begins; then the scan restarts;
//  3. a new row is x = 0, y = the largest of y and every entry's bottom edge.
// Only the top-left point is tested, so the picture may still overlap others.
// A picture wider than L lands at x = 0. The scan always ends (each move goes
// right, and a new row lies below everything); coordinates are worked in 64
// bits and the result is clamped to the int32 range.
[[nodiscard]] SheetPoint place_automatically(std::span<const PlacedRect> entries,
                                             std::int32_t width, SheetPoint start,
                                             std::int64_t limit);

// The same over the page's entries (their x, y, width, height).
[[nodiscard]] SheetPoint place_automatically(const ImageEntryList& entries, std::int32_t width,
                                             SheetPoint start, const PlacementView& view);

}  // namespace piconel
