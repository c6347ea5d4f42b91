#pragma once

// Packs a page's images tightly: positions for a set of rectangle sizes that
// give the smallest bounding box the search finds, optionally around
// rectangles that stay where they are. The same input gives the same
// positions on every platform and build: every decision is made in integers
// over orders with explicit tie breaks.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "packing/pack_types.h"

namespace piconel {

struct PackOptions {
  std::int32_t padding = 0;   // pixels kept free between two images (not at the sheet's edges)
  bool power_of_two = false;  // the sheet's sides are powers of two
  bool square = false;        // the sheet is square
  // The sheet limits: a page's manual sheet size, else kPackSheetLimit.
  std::int32_t max_width = kPackSheetLimit;
  std::int32_t max_height = kPackSheetLimit;
};

struct PackLayout {
  // False when the images that fit the limits one by one cannot all be
  // placed together: nothing is to be moved.
  bool packed = false;
  // One per size. Images of zero width or height go to 0,0. Entries listed
  // in `too_large` carry no position: those images keep their place.
  std::vector<PackPoint> positions;
  // Indices (ascending) of images larger than the sheet limits.
  std::vector<std::size_t> too_large;
  // Extent of the placed and the fixed rectangles: largest right and bottom edge.
  std::int32_t box_width = 0;
  std::int32_t box_height = 0;
  // The box as the sheet is asked for: sides raised to powers of two and/or
  // to a square; the box itself otherwise.
  std::int32_t sheet_width = 0;
  std::int32_t sheet_height = 0;
  // Sum of the placed and fixed rectangles' areas.
  std::int64_t image_area = 0;
};

// Packs `sizes` (negative sides count as 0) around `fixed`, which stay where
// they are and keep the padding to packed images like any other image.
// Aims, in this order: a sheet (see sheet_width) no longer than twice its
// width or the other way round unless an image or a limit forces it; the
// smallest sheet area; the smallest box area; the squarer sheet and box;
// the wider box.
[[nodiscard]] PackLayout pack_rectangles(std::span<const PackSize> sizes,
                                         std::span<const PackRect> fixed,
                                         const PackOptions& options);

// Tenths of a percent of `box` covered by `area`, rounded to nearest
// (934 for 93.4 %); 0 for an empty box.
[[nodiscard]] std::int32_t fill_permille(std::int64_t area, std::int32_t box_width,
                                         std::int32_t box_height);

// The smallest power of two not below `side` (1 for 0 or less).
[[nodiscard]] std::int32_t power_of_two_at_least(std::int32_t side);

}  // namespace piconel
