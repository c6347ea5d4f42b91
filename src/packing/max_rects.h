#pragma once

// The free-rectangle packer at the heart of the sheet packer: a bin keeps
// the maximal free rectangles left by what was placed, and each new image
// goes to the free spot its rule scores best. No rotation: a sheet shows
// every image as it was drawn.

#include <cstdint>
#include <span>
#include <vector>

#include "packing/pack_types.h"

namespace piconel {

// How a free spot is scored; ties go to the smaller y, then the smaller x.
enum class FitRule : std::uint8_t {
  BestShortSide,  // least leftover along the shorter side, then the longer
  BestLongSide,   // least leftover along the longer side, then the shorter
  BestArea,       // least leftover area, then the shorter side
  BottomLeft,     // lowest bottom edge, then leftmost
};

class MaxRectsBin {
 public:
  // Empties the bin to `width` x `height` minus the `blocked` rectangles
  // (clipped to the bin). Buffers are kept for the next use.
  void reset(std::int32_t width, std::int32_t height, std::span<const PackRect> blocked);

  // Free rectangles narrower or lower than this hold nothing that is still
  // to come and are dropped, which keeps the free list short.
  void set_smallest(PackSize smallest) { smallest_ = smallest; }

  // Places a `size` rectangle by `rule`; false (bin unchanged) when no free
  // spot holds it.
  [[nodiscard]] bool insert(PackSize size, FitRule rule, PackPoint& at);

 private:
  void place(const PackRect& used);

  bool useful(const PackRect& rect) const {
    return rect.width >= smallest_.width && rect.height >= smallest_.height;
  }

  PackSize smallest_;
  std::vector<PackRect> free_;
  std::vector<PackRect> pieces_;
};

}  // namespace piconel
