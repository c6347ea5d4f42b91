#pragma once

// The fast packer of the width scan: the bin's filled part is kept as its
// upper outline (a skyline of segments), and each image goes where that
// outline lets it sit. Space hidden under an image is lost, which the free-
// rectangle packer then wins back on the best few layouts.

#include <cstdint>
#include <vector>

#include "packing/pack_types.h"

namespace piconel {

enum class SkylineRule : std::uint8_t {
  BottomLeft,  // lowest top edge, then leftmost
  LeastWaste,  // least area hidden under the image, then lowest top edge
};

class SkylineBin {
 public:
  void reset(std::int32_t width, std::int32_t height);

  // Places a `size` rectangle by `rule`; false (bin unchanged) when it fits
  // nowhere.
  [[nodiscard]] bool insert(PackSize size, SkylineRule rule, PackPoint& at);

 private:
  struct Segment {
    std::int32_t x = 0;
    std::int32_t y = 0;  // top of the filled part below this segment
    std::int32_t width = 0;
  };

  // The y at which a `size` rectangle rests when its left edge is that of
  // segment `first`, and the area it would hide; false when it does not fit.
  bool rest_at(std::size_t first, PackSize size, std::int32_t& y, std::int64_t& waste) const;
  void add_level(std::size_t first, PackPoint at, PackSize size);

  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  std::vector<Segment> segments_;
};

}  // namespace piconel
