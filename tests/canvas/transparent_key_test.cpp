// Transparent keys and colours: palette indices for paletted pictures (the
// lowest used index of a colour wins), the colour itself for deeper ones.

#include "canvas/transparent_key.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace piconel {
namespace {

// An 8-bit entry whose palette holds red at 1 (unused) and 4 (used), green
// at 2 and 5 (both used) and black everywhere else (0, 3 used).
ImageEntry paletted_entry() {
  ImageEntry entry;
  entry.bits_per_pixel = 8;
  for (PaletteEntry& slot : entry.palette) {
    slot.flag = 1;
  }
  const auto set = [&entry](int index, std::uint8_t red, std::uint8_t green, bool used) {
    entry.palette[static_cast<std::size_t>(index)] = {0, green, red,
                                                      static_cast<std::uint8_t>(used ? 0 : 1)};
  };
  set(0, 0, 0, true);
  set(1, 255, 0, false);
  set(2, 0, 255, true);
  set(3, 0, 0, true);
  set(4, 255, 0, true);
  set(5, 0, 255, true);
  entry.colour_count = 5;
  return entry;
}

TEST(TransparentKey, PalettedKeysAreTheirPaletteColours) {
  const ImageEntry entry = paletted_entry();
  struct Case {
    std::int32_t key;
    DibColour colour;
  };
  const Case cases[] = {
      {0, 0x000000}, {1, 0xFF0000},   {2, 0x00FF00},  // unused entries give their colour too
      {4, 0xFF0000}, {255, 0x000000}, {-1, -1},      {256, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(key_to_colour(entry, c.key), c.colour) << c.key;
  }
}

TEST(TransparentKey, LowestUsedIndexOfAColourWins) {
  ImageEntry entry = paletted_entry();
  struct Case {
    DibColour colour;
    std::int32_t key;
  };
  const Case cases[] = {
      {0xFF0000, 4},                  // index 1 holds red too but is unused
      {0x00FF00, 2},                  // held twice, both used: the lower index
      {0x000000, 0}, {0x0000FF, -1},  // in no used entry
      {-1, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(colour_to_key(entry, c.colour), c.key) << c.colour;
  }
  // Only the first colour_count used entries count: with 4 the walk ends
  // before index 5 and never reaches a later one.
  entry.palette[9] = {255, 0, 0, 0};
  EXPECT_EQ(colour_to_key(entry, 0x0000FF), -1);
  entry.colour_count = 6;
  EXPECT_EQ(colour_to_key(entry, 0x0000FF), 9);
}

TEST(TransparentKey, TrueColourKeysAreColours) {
  for (const std::int32_t bits : {16, 24, 32}) {
    ImageEntry entry;
    entry.bits_per_pixel = bits;
    EXPECT_EQ(key_to_colour(entry, 0x123456), 0x123456);
    EXPECT_EQ(colour_to_key(entry, 0x123456), 0x123456);
    EXPECT_EQ(key_to_colour(entry, -1), -1);
    EXPECT_EQ(colour_to_key(entry, -1), -1);
    // A picked colour goes in and comes back unchanged.
    EXPECT_EQ(key_to_colour(entry, colour_to_key(entry, 0xABCDEF)), 0xABCDEF);
  }
}

}  // namespace
}  // namespace piconel
