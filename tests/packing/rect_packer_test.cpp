#include "packing/rect_packer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace piconel {
namespace {

// Fixed little generator: the same sets on every platform.
class Sizes {
 public:
  explicit Sizes(std::uint32_t seed) : state_(seed) {}
  std::int32_t between(std::int32_t low, std::int32_t high) {
    state_ = state_ * 1664525u + 1013904223u;
    return low +
           static_cast<std::int32_t>((state_ >> 8) % static_cast<std::uint32_t>(high - low + 1));
  }

 private:
  std::uint32_t state_;
};

PackRect rect_at(const PackLayout& layout, const std::vector<PackSize>& sizes, std::size_t i) {
  return PackRect{layout.positions[i].x, layout.positions[i].y, sizes[i].width, sizes[i].height};
}

// Apart by at least `gap` pixels on one axis.
bool apart(const PackRect& a, const PackRect& b, std::int32_t gap) {
  return a.x + a.width + gap <= b.x || b.x + b.width + gap <= a.x || a.y + a.height + gap <= b.y ||
         b.y + b.height + gap <= a.y;
}

bool is_too_large(const PackLayout& layout, std::size_t i) {
  return std::find(layout.too_large.begin(), layout.too_large.end(), i) != layout.too_large.end();
}

// Every placed image inside the limits and the box, apart from every other
// and from the fixed ones by the padding; the box is their extent.
void expect_valid(const PackLayout& layout, const std::vector<PackSize>& sizes,
                  const std::vector<PackRect>& fixed, const PackOptions& options) {
  ASSERT_TRUE(layout.packed);
  ASSERT_EQ(layout.positions.size(), sizes.size());
  std::vector<PackRect> placed = fixed;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  for (const PackRect& rect : fixed) {
    right = std::max(right, rect.x + rect.width);
    bottom = std::max(bottom, rect.y + rect.height);
  }
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    if (is_too_large(layout, i) || sizes[i].width == 0 || sizes[i].height == 0) {
      continue;
    }
    const PackRect rect = rect_at(layout, sizes, i);
    EXPECT_GE(rect.x, 0);
    EXPECT_GE(rect.y, 0);
    EXPECT_LE(rect.x + rect.width, options.max_width) << i;
    EXPECT_LE(rect.y + rect.height, options.max_height) << i;
    for (std::size_t j = 0; j < placed.size(); ++j) {
      EXPECT_TRUE(apart(rect, placed[j], options.padding)) << "image " << i << " and " << j;
    }
    placed.push_back(rect);
    right = std::max(right, rect.x + rect.width);
    bottom = std::max(bottom, rect.y + rect.height);
  }
  EXPECT_EQ(layout.box_width, right);
  EXPECT_EQ(layout.box_height, bottom);
  EXPECT_GE(layout.sheet_width, layout.box_width);
  EXPECT_GE(layout.sheet_height, layout.box_height);
  if (options.square) {
    EXPECT_EQ(layout.sheet_width, layout.sheet_height);
  }
  if (options.power_of_two) {
    EXPECT_EQ(layout.sheet_width & (layout.sheet_width - 1), 0);
    EXPECT_EQ(layout.sheet_height & (layout.sheet_height - 1), 0);
  }
}

TEST(RectPackerTest, RandomSetsAreValidAndRepeatable) {
  struct Case {
    std::uint32_t seed;
    int count;
    std::int32_t low, high;  // sides
    PackOptions options;
    int fixed_count;
  };
  const Case cases[] = {
      {1, 256, 8, 64, {}, 0},
      {2, 300, 1, 40, {}, 0},  // more than a page holds
      {3, 120, 4, 120, {.padding = 3}, 0},
      {4, 200, 8, 32, {.power_of_two = true}, 0},
      {5, 90, 10, 90, {.padding = 1, .square = true}, 0},
      {6, 150, 8, 48, {.padding = 2, .max_width = 400, .max_height = 600}, 0},
      {7, 60, 8, 64, {.padding = 2}, 5},
      {8, 30, 0, 90, {.max_width = 80, .max_height = 2000}, 0},  // zero sides, too large ones
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.seed);
    Sizes random(c.seed);
    std::vector<PackSize> sizes;
    for (int i = 0; i < c.count; ++i) {
      sizes.push_back({random.between(c.low, c.high), random.between(c.low, c.high)});
    }
    std::vector<PackRect> fixed;
    for (int i = 0; i < c.fixed_count; ++i) {
      fixed.push_back({i * 97, i * 53, random.between(20, 80), random.between(20, 80)});
    }
    const PackLayout layout = pack_rectangles(sizes, fixed, c.options);
    expect_valid(layout, sizes, fixed, c.options);
    const PackLayout again = pack_rectangles(sizes, fixed, c.options);
    EXPECT_EQ(again.positions, layout.positions);
  }
}

// A digest of a whole layout, the same value on Linux and under Wine: the
// packer decides in integers only, over orders with explicit tie breaks.
TEST(RectPackerTest, SameLayoutOnEveryPlatform) {
  Sizes random(42);
  std::vector<PackSize> sizes;
  for (int i = 0; i < 256; ++i) {
    sizes.push_back({random.between(4, 80), random.between(4, 80)});
  }
  const PackLayout layout = pack_rectangles(sizes, {}, PackOptions{.padding = 1});
  std::uint32_t digest = 2166136261u;
  for (const PackPoint& at : layout.positions) {
    for (const std::int32_t value : {at.x, at.y}) {
      digest = (digest ^ static_cast<std::uint32_t>(value)) * 16777619u;
    }
  }
  EXPECT_EQ(digest, 2270087711u) << layout.box_width << " x " << layout.box_height;
  EXPECT_EQ(layout.box_width, 688);
  EXPECT_EQ(layout.box_height, 687);
}

TEST(RectPackerTest, SmallExactCases) {
  struct Case {
    const char* name;
    std::vector<PackSize> sizes;
    PackOptions options;
    std::int32_t box_width, box_height, sheet_width, sheet_height;
  };
  const Case cases[] = {
      {"four squares make a square", {{32, 32}, {32, 32}, {32, 32}, {32, 32}}, {}, 64, 64, 64, 64},
      {"padding between, not at the edges", {{10, 10}, {10, 10}}, {.padding = 2}, 22, 10, 22, 10},
      {"power-of-two sheet",
       {{30, 30}, {30, 30}, {30, 30}},
       {.power_of_two = true},
       60,
       60,
       64,
       64},
      {"square sheet", {{40, 20}, {40, 20}}, {.square = true}, 40, 40, 40, 40},
      {"eight tiles: no strip", std::vector<PackSize>(8, PackSize{10, 10}), {}, 40, 20, 40, 20},
      {"a wide image may force a strip", {{200, 10}, {10, 10}}, {}, 200, 20, 200, 20},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const PackLayout layout = pack_rectangles(c.sizes, {}, c.options);
    expect_valid(layout, c.sizes, {}, c.options);
    EXPECT_EQ(layout.box_width, c.box_width);
    EXPECT_EQ(layout.box_height, c.box_height);
    EXPECT_EQ(layout.sheet_width, c.sheet_width);
    EXPECT_EQ(layout.sheet_height, c.sheet_height);
  }
}

TEST(RectPackerTest, ManualSheetLimits) {
  const PackOptions sheet{.max_width = 64, .max_height = 64};
  // The 100 px image is reported and not placed; the others are packed.
  const std::vector<PackSize> one_too_large = {{32, 32}, {100, 10}, {32, 32}};
  const PackLayout layout = pack_rectangles(one_too_large, {}, sheet);
  EXPECT_TRUE(layout.packed);
  EXPECT_EQ(layout.too_large, std::vector<std::size_t>{1});
  EXPECT_EQ(layout.box_width * layout.box_height, 64 * 32);

  // Five 32 px squares fit the sheet one by one but not together.
  const PackLayout full = pack_rectangles(std::vector<PackSize>(5, PackSize{32, 32}), {}, sheet);
  EXPECT_FALSE(full.packed);
  EXPECT_TRUE(full.too_large.empty());
}

TEST(RectPackerTest, AroundFixedImages) {
  const std::vector<PackRect> fixed = {{0, 0, 32, 32}};
  const std::vector<PackSize> sizes(3, PackSize{32, 32});
  const PackLayout layout = pack_rectangles(sizes, fixed, PackOptions{});
  expect_valid(layout, sizes, fixed, PackOptions{});
  EXPECT_EQ(layout.box_width, 64);
  EXPECT_EQ(layout.box_height, 64);
  EXPECT_EQ(layout.image_area, 4 * 32 * 32);
  EXPECT_EQ(fill_permille(layout.image_area, layout.box_width, layout.box_height), 1000);
}

TEST(RectPackerTest, FillAndPowers) {
  EXPECT_EQ(fill_permille(934, 100, 10), 934);
  EXPECT_EQ(fill_permille(2, 3, 1), 667) << "rounded to nearest";
  EXPECT_EQ(fill_permille(5, 0, 10), 0);
  EXPECT_EQ(power_of_two_at_least(0), 1);
  EXPECT_EQ(power_of_two_at_least(64), 64);
  EXPECT_EQ(power_of_two_at_least(65), 128);
}

}  // namespace
}  // namespace piconel
