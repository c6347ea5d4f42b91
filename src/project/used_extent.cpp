#include "project/used_extent.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace piconel {

SheetExtent compute_used_extent(const ImageEntryList& entries) {
  std::int64_t right = 0;
  std::int64_t bottom = 0;
  for (const ImageEntry& entry : entries) {
    if (!entry.has_display()) {
      continue;
    }
    right = std::max(right, std::int64_t{entry.x} + entry.width);
    bottom = std::max(bottom, std::int64_t{entry.y} + entry.height);
  }
  constexpr std::int64_t kIntMax = std::numeric_limits<int>::max();
  return {static_cast<int>(std::min(right, kIntMax)), static_cast<int>(std::min(bottom, kIntMax))};
}

}  // namespace piconel
