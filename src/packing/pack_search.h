#pragma once

// The search behind pack_rectangles: many layouts of the same images (bin
// widths, sort orders, fit rules, bin heights), each scored by the sheet it
// would need; the best one wins, and of equals the one found first.

#include <cstdint>
#include <span>
#include <vector>

#include "packing/max_rects.h"
#include "packing/pack_types.h"
#include "packing/rect_packer.h"
#include "packing/skyline.h"

namespace piconel {

class PackSearch {
 public:
  PackSearch(std::span<const PackSize> sizes, std::span<const PackRect> fixed,
             const PackOptions& options);

  [[nodiscard]] PackLayout run();

 private:
  struct Score {
    bool found = false;
    bool aspect_ok = false;
    std::int64_t sheet_area = 0;
    std::int64_t box_area = 0;
    std::int32_t sheet_skew = 0;  // |sheet width - sheet height|
    std::int32_t box_skew = 0;
    std::int32_t box_width = 0;
    std::int32_t box_height = 0;
    std::int32_t sheet_width = 0;
    std::int32_t sheet_height = 0;

    [[nodiscard]] bool better_than(const Score& other) const;
  };

  // A layout tried in the width scan, remembered for the refinement.
  struct Trial {
    Score score;
    std::int32_t bin_width = 0;
    std::uint32_t order = 0;
  };

  void sort_orders();
  [[nodiscard]] std::vector<std::int32_t> candidate_widths() const;
  // Packs the items in order `order` by `rule` into a bin of `box_width` x
  // `box_height` (unpadded sides). On success the positions are in trial_
  // and the score is returned; otherwise a score with found false.
  Score try_bin(std::uint32_t order, FitRule rule, std::int32_t box_width, std::int32_t box_height);
  // The same with the skyline packer (no fixed rectangles).
  Score try_skyline(std::uint32_t order, SkylineRule rule, std::int32_t box_width,
                    std::int32_t box_height);
  Score score_box(std::int32_t box_width, std::int32_t box_height) const;
  void consider(const Score& score);
  void refine_power_of_two();
  void try_square_bins();

  PackOptions options_;
  std::int32_t padding_ = 0;
  std::vector<PackSize> padded_;      // per input index
  std::vector<std::uint32_t> items_;  // indices that are packed
  std::vector<std::size_t> too_large_;
  std::vector<PackRect> blocked_;  // fixed rectangles with padding
  std::int64_t image_area_ = 0;    // placed and fixed, unpadded
  std::int64_t padded_area_ = 0;
  std::int32_t widest_ = 0;  // unpadded sides of the widest / tallest item
  std::int32_t tallest_ = 0;
  std::int32_t fixed_right_ = 0;
  std::int32_t fixed_bottom_ = 0;

  std::vector<std::vector<std::uint32_t>> orders_;
  // Per order and place in it: the smallest padded width and height from
  // that place on.
  std::vector<std::vector<PackSize>> smallest_after_;
  MaxRectsBin bin_;
  SkylineBin skyline_;
  std::vector<PackPoint> trial_;  // positions of the last try_bin, per input index
  std::vector<PackPoint> best_positions_;
  Score best_;
};

}  // namespace piconel
