#include "output/page_bitmap.h"

#include <gtest/gtest.h>

#include "output/output_fixture.h"

namespace piconel {
namespace {

using test::expected_headers;

ColourList palette_of(std::initializer_list<ColorRef> colours) {
  ColourList list;
  list.count = 0;
  for (ColorRef c : colours) {
    list.entries[list.count++] = ColourList::starting_with(c).entries[0];
  }
  return list;
}

void set(SheetCanvas& canvas, int x, int y, ColorRef c) {
  auto one = SheetCanvas::create(1, 1);
  ASSERT_TRUE(one);
  one->fill(c);
  Dib dib;
  dib.width = 1;
  dib.height = 1;
  dib.bits_per_pixel = 24;
  dib.stride = 4;
  const auto p = one->pixel(0, 0);
  dib.pixels = {p.blue, p.green, p.red, 0};
  canvas.draw(dib, x, y);
}

std::vector<std::uint8_t> as_vector(std::span<const std::uint8_t> s) {
  return {s.begin(), s.end()};
}

const ColorRef kRed = make_colorref(255, 0, 0);
const ColorRef kGreen = make_colorref(0, 255, 0);
const ColorRef kBlue = make_colorref(0, 0, 255);

TEST(EightBitBitmap, BackgroundEntryKeptWhenSeen) {
  auto canvas = SheetCanvas::create(3, 2);
  ASSERT_TRUE(canvas);
  canvas->fill(kRed);
  set(*canvas, 1, 0, kGreen);  // top row, middle
  const auto file = encode_eight_bit_bitmap(*canvas, palette_of({kRed, kGreen, kBlue}));
  ASSERT_TRUE(file);
  std::vector<std::uint8_t> expected = expected_headers(3, 2, 8, 3, 8);
  const std::vector<std::uint8_t> table = {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0};
  expected.insert(expected.end(), table.begin(), table.end());
  const std::vector<std::uint8_t> pixels = {0, 0, 0, 0,   // bottom row
                                            0, 1, 0, 0};  // top row
  expected.insert(expected.end(), pixels.begin(), pixels.end());
  EXPECT_EQ(as_vector(file->span()), expected);
}

TEST(EightBitBitmap, BackgroundEntryDroppedWhenCovered) {
  auto canvas = SheetCanvas::create(2, 1);
  ASSERT_TRUE(canvas);
  canvas->fill(kGreen);
  set(*canvas, 0, 0, kBlue);
  const auto file = encode_eight_bit_bitmap(*canvas, palette_of({kRed, kGreen, kBlue}));
  ASSERT_TRUE(file);
  std::vector<std::uint8_t> expected = expected_headers(2, 1, 8, 2, 4);
  const std::vector<std::uint8_t> rest = {0, 255, 0, 0, 255, 0, 0, 0,  // green, blue
                                          1, 0,   0, 0};               // blue, green
  expected.insert(expected.end(), rest.begin(), rest.end());
  EXPECT_EQ(as_vector(file->span()), expected);
}

TEST(EightBitBitmap, FirstOfEqualEntriesIsUsed) {
  auto canvas = SheetCanvas::create(1, 1);
  ASSERT_TRUE(canvas);
  canvas->fill(kBlue);
  const auto file = encode_eight_bit_bitmap(*canvas, palette_of({kRed, kGreen, kBlue, kBlue}));
  ASSERT_TRUE(file);
  // Red dropped; blue is entry 1 (and 2) of the remaining table.
  EXPECT_EQ(file->bytes[54 + 12], 1);
}

TEST(EightBitBitmap, ColourMissingFromPaletteRefused) {
  auto canvas = SheetCanvas::create(2, 2);
  ASSERT_TRUE(canvas);
  canvas->fill(kRed);
  set(*canvas, 1, 1, kBlue);
  EXPECT_FALSE(encode_eight_bit_bitmap(*canvas, palette_of({kRed, kGreen})));
  EXPECT_FALSE(encode_eight_bit_bitmap(*canvas, ColourList{}));  // count 0
  ColourList many;
  many.count = -1;
  EXPECT_FALSE(encode_eight_bit_bitmap(*canvas, many));
}

class PageBitmapFile : public ::testing::Test {
 protected:
  test::ScratchFolder folder_;
};

TEST_F(PageBitmapFile, UnmatchedColourWritesTwentyFourBits) {
  auto canvas = SheetCanvas::create(2, 2);
  ASSERT_TRUE(canvas);
  canvas->fill(kRed);
  set(*canvas, 0, 0, kBlue);
  const std::string path = folder_.file("p.bmp");
  ASSERT_TRUE(write_page_bitmap(path, *canvas, palette_of({kRed})));
  const auto bytes = test::read_bytes(path);
  std::vector<std::uint8_t> expected = expected_headers(2, 2, 24, 0, 16);
  const std::vector<std::uint8_t> pixels = {0,   0, 255, 0, 0, 255, 0, 0,   // bottom
                                            255, 0, 0,   0, 0, 255, 0, 0};  // top: blue, red
  expected.insert(expected.end(), pixels.begin(), pixels.end());
  EXPECT_EQ(bytes, expected);
}

TEST_F(PageBitmapFile, DepthChoice) {
  struct Case {
    int width, height, palette_count, bits;
  };
  for (const Case& c :
       {Case{1024, 1, 1, 8}, Case{1025, 1, 1, 24}, Case{1, 1025, 1, 24}, Case{4, 4, -1, 24}}) {
    auto canvas = SheetCanvas::create(c.width, c.height);
    ASSERT_TRUE(canvas);
    canvas->fill(kRed);
    ColourList palette = palette_of({kRed});
    palette.count = c.palette_count;
    const std::string path = folder_.file("p.bmp");
    ASSERT_TRUE(write_page_bitmap(path, *canvas, palette));
    const auto bytes = test::read_bytes(path);
    ASSERT_GE(bytes.size(), 54u);
    EXPECT_EQ(test::u16_at(bytes, 28), c.bits) << c.width << "x" << c.height;
  }
}

TEST_F(PageBitmapFile, UnwritableFolderFails) {
  auto canvas = SheetCanvas::create(1, 1);
  ASSERT_TRUE(canvas);
  EXPECT_FALSE(write_page_bitmap(folder_.file("missing") + "/p.bmp", *canvas, palette_of({0})));
}

}  // namespace
}  // namespace piconel
