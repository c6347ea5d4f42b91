#include "packing/rect_packer.h"

#include <algorithm>
#include <array>
#include <utility>

#include "packing/max_rects.h"
#include "packing/pack_search.h"

namespace piconel {

std::int32_t power_of_two_at_least(std::int32_t side) {
  std::int64_t value = 1;
  while (value < side) {
    value *= 2;
  }
  return static_cast<std::int32_t>(std::min<std::int64_t>(value, INT32_MAX));
}

std::int32_t fill_permille(std::int64_t area, std::int32_t box_width, std::int32_t box_height) {
  const std::int64_t box = std::int64_t{box_width} * box_height;
  if (box <= 0 || area <= 0) {
    return 0;
  }
  return static_cast<std::int32_t>((area * 1000 + box / 2) / box);
}

PackLayout pack_rectangles(std::span<const PackSize> sizes, std::span<const PackRect> fixed,
                           const PackOptions& options) {
  PackSearch search(sizes, fixed, options);
  return search.run();
}

}  // namespace piconel
