#include "image/colour_analysis.h"

#include <gtest/gtest.h>

#include "image/bitmap_reader.h"
#include "image/image_test_helpers.h"

namespace piconel {
namespace {

using testing::Bytes;
using testing::make_paletted_bitmap;
using testing::make_true_colour_bitmap;
using testing::rgb;

Dib dib_of(const Bytes& file) {
  BitmapReadResult result = read_bitmap_file(file);
  EXPECT_TRUE(result.ok()) << bitmap_error_name(result.error);
  return std::move(result.dib);
}

// 256 distinct colours: index i is (i, 255 - i, i / 2).
std::vector<PaletteEntry> ramp_palette() {
  std::vector<PaletteEntry> palette;
  for (int i = 0; i < 256; ++i) {
    palette.push_back(rgb(static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                          static_cast<std::uint8_t>(i / 2)));
  }
  return palette;
}

ColourList white_list() {
  return ColourList::starting_with(make_colorref(255, 255, 255));
}

// 3 x 2, 8 bits, indices 3 and 200 only.
Dib indices_3_and_200() {
  return dib_of(make_paletted_bitmap(3, 2, 8, ramp_palette(), {3, 200, 3, 200, 200, 3}));
}

TEST(ColourAnalysisTest, UsedPaletteEntriesAreCounted) {
  const Dib dib = indices_3_and_200();
  ImageEntry entry;
  analyse_colours(dib, -1, entry);
  EXPECT_EQ(entry.colour_count, 2);
  EXPECT_EQ(entry.transparent_slot, -1);
  EXPECT_EQ(entry.bits_per_pixel, 8);
  EXPECT_EQ(entry.settings.transparent_key, -1);
  EXPECT_EQ(entry.settings.forced_width, 3);
  EXPECT_EQ(entry.settings.forced_height, 2);
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(entry.palette[i].flag, (i == 3 || i == 200) ? 0 : 1) << i;
  }
  EXPECT_EQ(entry.palette[200].red, 200);
  EXPECT_EQ(entry.palette[200].green, 55);
}

TEST(ColourAnalysisTest, TransparentSlotIsPositionAmongUsedColours) {
  const Dib dib = indices_3_and_200();
  ImageEntry entry;
  analyse_colours(dib, 200, entry);
  EXPECT_EQ(entry.transparent_slot, 1);
  EXPECT_EQ(entry.settings.transparent_key, 200);
  analyse_colours(dib, 3, entry);
  EXPECT_EQ(entry.transparent_slot, 0);
  analyse_colours(dib, 4, entry);  // not used by the picture
  EXPECT_EQ(entry.transparent_slot, -1);
  EXPECT_EQ(entry.settings.transparent_key, 4);
}

TEST(ColourAnalysisTest, MergeLeavesOutTheTransparentColour) {
  const Dib dib = indices_3_and_200();
  ImageEntry entry;
  analyse_colours(dib, 200, entry);
  ColourList list = white_list();
  merge_colours(entry, list);
  ASSERT_EQ(list.count, 2);
  EXPECT_EQ(list.entries[1], (PaletteEntry{1, 252, 3, 0}));  // index 3: blue 1, green 252, red 3
}

TEST(ColourAnalysisTest, SameColoursTwiceAddNothing) {
  const Dib dib = indices_3_and_200();
  ImageEntry entry;
  analyse_colours(dib, -1, entry);
  ColourList list = white_list();
  merge_colours(entry, list);
  EXPECT_EQ(list.count, 3);
  merge_colours(entry, list);
  EXPECT_EQ(list.count, 3);
}

TEST(ColourAnalysisTest, LookupSkipsEntryZeroWhenThePictureHasATransparentSlot) {
  // The list's entry 0 is the colour of index 3; with a transparent slot the
  // lookup starts at entry 1, so that colour is appended once more.
  const Dib dib = indices_3_and_200();
  ImageEntry entry;
  analyse_colours(dib, 200, entry);
  ColourList list;
  list.count = 1;
  list.entries[0] = {1, 252, 3, 0};
  merge_colours(entry, list);
  EXPECT_EQ(list.count, 2);
  // Without a transparent slot entry 0 matches and only index 200 is new.
  analyse_colours(dib, -1, entry);
  ColourList plain;
  plain.count = 1;
  plain.entries[0] = {1, 252, 3, 0};
  merge_colours(entry, plain);
  EXPECT_EQ(plain.count, 2);
  EXPECT_EQ(plain.entries[1].red, 200);
}

TEST(ColourAnalysisTest, LowDepthsReadLeftmostPixelFromHighBits) {
  struct Case {
    std::uint16_t depth;
    std::vector<int> indices;  // 5 x 1
    std::int32_t count;
  };
  const Case cases[] = {
      {1, {1, 1, 1, 1, 1}, 1},   {1, {0, 1, 0, 0, 0}, 2}, {2, {3, 3, 2, 3, 3}, 2},
      {4, {15, 1, 15, 1, 1}, 2}, {4, {0, 1, 2, 3, 4}, 5},
  };
  for (const Case& c : cases) {
    const auto size = std::size_t{1} << c.depth;
    const std::vector<PaletteEntry> ramp = ramp_palette();
    const std::vector<PaletteEntry> palette(ramp.begin(),
                                            ramp.begin() + static_cast<std::ptrdiff_t>(size));
    const Dib dib = dib_of(make_paletted_bitmap(5, 1, c.depth, palette, c.indices));
    ImageEntry entry;
    analyse_colours(dib, -1, entry);
    EXPECT_EQ(entry.colour_count, c.count) << c.depth << " bits";
    for (int index : c.indices) {
      EXPECT_EQ(entry.palette[static_cast<std::size_t>(index)].flag, 0) << index;
    }
  }
}

// The used entries are found by depth-specific loops; at every depth and
// width they must be exactly the indices Dib::palette_index reads.
TEST(ColourAnalysisTest, UsedEntriesAreThoseThePixelsIndexAtEveryDepth) {
  std::uint32_t seed = 99;
  const auto next_byte = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return static_cast<std::uint8_t>(seed >> 16);
  };
  for (const int depth : {1, 2, 4, 8}) {
    for (int width = 1; width <= 9; ++width) {
      Dib dib;
      dib.width = width;
      dib.height = 2;
      dib.bits_per_pixel = depth;
      dib.file_bits_per_pixel = depth;
      dib.stride = dib_stride(depth, width);
      dib.pixels.resize(dib.stride * 2);
      for (std::uint8_t& byte : dib.pixels) {
        // Few distinct values at 8 bits, so some entries stay unused.
        byte = depth == 8 ? static_cast<std::uint8_t>(next_byte() % 7) : next_byte();
      }
      dib.colour_table = ramp_palette();
      dib.colour_table.resize(std::size_t{1} << depth);
      ASSERT_TRUE(dib.is_well_formed());
      std::vector<bool> used(dib.colour_table.size(), false);
      int count = 0;
      for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < width; ++x) {
          const auto index = static_cast<std::size_t>(dib.palette_index(x, y));
          count += used[index] ? 0 : 1;
          used[index] = true;
        }
      }
      ImageEntry entry;
      analyse_colours(dib, -1, entry);
      EXPECT_EQ(entry.colour_count, count) << depth << " bits, width " << width;
      for (std::size_t i = 0; i < used.size(); ++i) {
        EXPECT_EQ(entry.palette[i].flag, used[i] ? 0 : 1) << depth << " bits, index " << i;
      }
    }
  }
}

TEST(ColourAnalysisTest, IndicesPastThePaletteLengthAreNotColours) {
  // biClrUsed 2; the pixels use 0 and 7.
  const Dib dib =
      dib_of(make_paletted_bitmap(2, 1, 8, {rgb(10, 10, 10), rgb(20, 20, 20)}, {0, 7}, 2));
  ImageEntry entry;
  analyse_colours(dib, 7, entry);
  EXPECT_EQ(entry.colour_count, 1);
  EXPECT_EQ(entry.transparent_slot, -1);
  EXPECT_EQ(entry.palette[7].flag, 1);
  EXPECT_EQ(entry.palette[2], (PaletteEntry{0, 0, 0, 1}));
}

std::vector<std::uint32_t> distinct_colours(int n) {
  std::vector<std::uint32_t> colours;
  for (int i = 0; i < n; ++i) {
    colours.push_back(static_cast<std::uint32_t>(0x010203 * (i + 1)) & 0xFFFFFF);
  }
  return colours;
}

TEST(ColourAnalysisTest, TrueColourCountsUpTo256Colours) {
  for (std::uint16_t depth : {24, 32}) {
    const Dib exact = dib_of(make_true_colour_bitmap(256, 1, depth, distinct_colours(256)));
    ImageEntry entry;
    analyse_colours(exact, -1, entry);
    EXPECT_EQ(entry.colour_count, 256);
    EXPECT_EQ(entry.transparent_slot, -1);
    EXPECT_EQ(entry.palette[255], (PaletteEntry{0, 3, 2, 0}));  // 0x010203 * 256 & 0xFFFFFF
    ColourList list = white_list();
    merge_colours(entry, list);
    EXPECT_EQ(list.count, -1) << "white + 256 colours does not fit";

    const Dib over = dib_of(make_true_colour_bitmap(257, 1, depth, distinct_colours(257)));
    analyse_colours(over, -1, entry);
    EXPECT_EQ(entry.colour_count, -1);
    ColourList fresh = white_list();
    merge_colours(entry, fresh);
    EXPECT_EQ(fresh.count, -1);
  }
}

TEST(ColourAnalysisTest, TrueColourOrderIsFirstAppearanceBottomRowFirst) {
  // 2 x 2, top row red green, bottom row blue red.
  const Dib dib =
      dib_of(make_true_colour_bitmap(2, 2, 24, {0xFF0000, 0x00FF00, 0x0000FF, 0xFF0000}));
  ImageEntry entry;
  analyse_colours(dib, -1, entry);
  ASSERT_EQ(entry.colour_count, 3);
  EXPECT_EQ(entry.palette[0], (PaletteEntry{255, 0, 0, 0}));  // blue
  EXPECT_EQ(entry.palette[1], (PaletteEntry{0, 0, 255, 0}));  // red
  EXPECT_EQ(entry.palette[2], (PaletteEntry{0, 255, 0, 0}));  // green
  // Automatic key: the top-left pixel, red.
  EXPECT_EQ(entry.settings.transparent_key, 0xFF0000);
  EXPECT_EQ(entry.transparent_slot, -1);
}

TEST(ColourAnalysisTest, ListFullOrNegativeStaysNegative) {
  const Dib dib = dib_of(make_true_colour_bitmap(1, 1, 24, {0x123456}));
  ImageEntry entry;
  analyse_colours(dib, -1, entry);

  ColourList full;
  full.count = 256;
  for (int i = 0; i < 256; ++i) {
    full.entries[static_cast<std::size_t>(i)] = {static_cast<std::uint8_t>(i), 0, 0, 0};
  }
  ColourList same = full;
  merge_colours(entry, full);
  EXPECT_EQ(full.count, -1);

  // A colour already present does not overflow a full list.
  same.entries[17] = {0x56, 0x34, 0x12, 0};
  merge_colours(entry, same);
  EXPECT_EQ(same.count, 256);

  ColourList negative;
  negative.count = -1;
  merge_colours(entry, negative);
  EXPECT_EQ(negative.count, -1);
}

TEST(ColourAnalysisTest, SixteenBitsAreAnalysedByTheirColours) {
  // 3 x 1, 5-5-5: white, blue, white.
  const Bytes file = testing::make_bitmap(3, 1, 16, {}, {0xFF, 0x7F, 0x1F, 0x00, 0xFF, 0x7F, 0, 0});
  const Dib dib = dib_of(file);
  ImageEntry entry;
  analyse_colours(dib, -1, entry);
  EXPECT_EQ(entry.bits_per_pixel, 16);
  EXPECT_EQ(entry.colour_count, 2);
  EXPECT_EQ(entry.settings.transparent_key, 0xFFFFFF);
  EXPECT_EQ(entry.palette[1], (PaletteEntry{255, 0, 0, 0}));
}

TEST(ColourAnalysisTest, EffectiveTransparentIndex) {
  const Dib paletted = indices_3_and_200();
  EXPECT_EQ(effective_transparent_index(paletted, -1, 7), 7);
  EXPECT_EQ(effective_transparent_index(paletted, 5, 7), 5);
  EXPECT_EQ(effective_transparent_index(paletted, -1, -1), -1);
  const Dib deep = dib_of(make_true_colour_bitmap(1, 1, 24, {0}));
  EXPECT_EQ(effective_transparent_index(deep, 5, 7), -1);
}

TEST(ColourAnalysisTest, PalettedReplacement) {
  Dib dib = indices_3_and_200();
  EXPECT_FALSE(replace_palette_colour(dib, 200, -1)) << "no replacement colour";
  EXPECT_EQ(dib.pixel(1, 0), 0xC83764);
  EXPECT_FALSE(replace_palette_colour(dib, 256, make_colorref(1, 2, 3))) << "past the table";
  EXPECT_FALSE(replace_palette_colour(dib, -1, make_colorref(1, 2, 3)));
  ASSERT_TRUE(replace_palette_colour(dib, 200, make_colorref(1, 2, 3)));
  EXPECT_EQ(dib.pixel(1, 0), 0x010203);
  EXPECT_EQ(dib.pixel(0, 0), 0x03FC01) << "other entries stay";
}

TEST(ColourAnalysisTest, TrueColourReplacement) {
  Dib dib = dib_of(make_true_colour_bitmap(2, 1, 24, {0x102030, 0x405060}));
  EXPECT_EQ(replace_true_colour(dib, 0x102030, -1), 1);
  EXPECT_EQ(dib.pixel(0, 0), 0xFFFFFF) << "replacement -1 gives white";
  EXPECT_EQ(dib.pixel(1, 0), 0x405060);
  EXPECT_EQ(replace_true_colour(dib, 0x405060, make_colorref(0xAA, 0xBB, 0xCC)), 1);
  EXPECT_EQ(dib.pixel(1, 0), 0xAABBCC);
  EXPECT_EQ(replace_true_colour(dib, -1, 0), 0) << "no key";

  // 32 bits: the fourth byte does not take part and becomes 0.
  Bytes file = make_true_colour_bitmap(1, 1, 32, {0x102030});
  file.back() = 0xFF;
  Dib wide = dib_of(file);
  EXPECT_EQ(replace_true_colour(wide, 0x102030, make_colorref(1, 2, 3)), 1);
  EXPECT_EQ(wide.pixel(0, 0), 0x010203);
  EXPECT_EQ(wide.pixels[3], 0);
}

}  // namespace
}  // namespace piconel

namespace piconel {
namespace {

TEST(ColourAnalysisTest, MalformedDibsAreLeftAlone) {
  Dib dib;
  dib.width = 4;
  dib.height = 4;
  dib.bits_per_pixel = 24;
  dib.stride = 12;
  dib.pixels.assign(20, 0x55);  // fewer than 48 bytes
  EXPECT_FALSE(dib.is_well_formed());
  ImageEntry entry;
  analyse_colours(dib, -1, entry);
  EXPECT_EQ(entry.colour_count, 0);
  EXPECT_EQ(entry.bits_per_pixel, 24) << "no file depth: the Dib's own";
  EXPECT_EQ(replace_true_colour(dib, 0x555555, 0), 0);
  EXPECT_EQ(dib.pixel(3, 0), 0) << "row past the pixel bytes";

  Dib paletted;
  paletted.width = 8;
  paletted.height = 1;
  paletted.bits_per_pixel = 8;
  paletted.stride = 4;  // should be 8
  paletted.pixels.assign(8, 1);
  EXPECT_FALSE(paletted.is_well_formed());
  analyse_colours(paletted, -1, entry);
  EXPECT_EQ(entry.colour_count, 0);

  paletted.stride = 8;
  paletted.colour_table.assign(2, PaletteEntry{1, 2, 3, 0});
  EXPECT_TRUE(paletted.is_well_formed());
  analyse_colours(paletted, -1, entry);
  EXPECT_EQ(entry.colour_count, 1);
  paletted.bits_per_pixel = 16;
  EXPECT_FALSE(paletted.is_well_formed()) << "16 bits never reach a Dib";
}

}  // namespace
}  // namespace piconel
