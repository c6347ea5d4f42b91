#include "output/sheet_canvas.h"

#include "output/page_bitmap.h"

#include <gtest/gtest.h>

namespace piconel {
namespace {

// A 24-bit picture from rows of 0x00RRGGBB, top row first.
Dib picture(int width, int height, const std::vector<std::uint32_t>& top_down) {
  Dib dib;
  dib.width = width;
  dib.height = height;
  dib.bits_per_pixel = 24;
  dib.stride = dib_stride(24, width);
  dib.pixels.assign(dib.stride * static_cast<std::size_t>(height), 0);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = dib.pixels.data() + static_cast<std::size_t>(height - 1 - y) * dib.stride;
    for (int x = 0; x < width; ++x) {
      const std::uint32_t c = top_down[static_cast<std::size_t>(y) * width + x];
      row[3 * x] = static_cast<std::uint8_t>(c & 0xFF);
      row[3 * x + 1] = static_cast<std::uint8_t>((c >> 8) & 0xFF);
      row[3 * x + 2] = static_cast<std::uint8_t>((c >> 16) & 0xFF);
    }
  }
  return dib;
}

std::uint32_t rgb(const PaletteEntry& e) {
  return (std::uint32_t{e.red} << 16) | (std::uint32_t{e.green} << 8) | e.blue;
}

// The sheet as rows of 0x00RRGGBB from the top.
std::vector<std::uint32_t> grid(const SheetCanvas& canvas) {
  std::vector<std::uint32_t> out;
  for (int y = 0; y < canvas.height(); ++y) {
    for (int x = 0; x < canvas.width(); ++x) {
      out.push_back(rgb(canvas.pixel(x, y)));
    }
  }
  return out;
}

TEST(SheetCanvas, StrideIsFourTimesCeilThreeWidthOverFour) {
  EXPECT_EQ(canvas_stride(1), 4u);
  EXPECT_EQ(canvas_stride(3), 12u);
  EXPECT_EQ(canvas_stride(5), 16u);
  EXPECT_EQ(canvas_stride(32768), 98304u);
}

TEST(SheetCanvas, RefusesSidesOutsideOneTo32768) {
  EXPECT_FALSE(SheetCanvas::create(0, 1));
  EXPECT_FALSE(SheetCanvas::create(1, -1));
  EXPECT_FALSE(SheetCanvas::create(32769, 1));
  EXPECT_TRUE(SheetCanvas::create(32768, 1));
}

TEST(SheetCanvas, FillUsesColorRefOrderAndLeavesPaddingZero) {
  auto canvas = SheetCanvas::create(3, 2);
  ASSERT_TRUE(canvas);
  canvas->fill(make_colorref(0x11, 0x22, 0x33));
  const auto rows = canvas->rows();
  ASSERT_EQ(rows.size(), 24u);
  const std::vector<std::uint8_t> row = {0x33, 0x22, 0x11, 0x33, 0x22, 0x11,
                                         0x33, 0x22, 0x11, 0,    0,    0};
  EXPECT_EQ(std::vector<std::uint8_t>(rows.begin(), rows.begin() + 12), row);
  EXPECT_EQ(std::vector<std::uint8_t>(rows.begin() + 12, rows.end()), row);
}

TEST(SheetCanvas, DrawPlacesTopRowAtYAndClips) {
  auto canvas = SheetCanvas::create(3, 3);
  ASSERT_TRUE(canvas);
  canvas->fill(make_colorref(0, 0, 0));
  const Dib p = picture(2, 2, {0x000001, 0x000002, 0x000003, 0x000004});
  canvas->draw(p, 2, -1);  // only the bottom-left pixel of the picture lands
  canvas->draw(p, -1, 1);  // the right column, rows 1 and 2
  EXPECT_EQ(grid(*canvas), (std::vector<std::uint32_t>{0, 0, 3,  //
                                                       2, 0, 0,  //
                                                       4, 0, 0}));
}

TEST(SheetCanvas, DrawFarOutsideChangesNothing) {
  auto canvas = SheetCanvas::create(2, 2);
  ASSERT_TRUE(canvas);
  const Dib p = picture(1, 1, {0xFFFFFF});
  canvas->draw(p, 2147483647, 0);
  canvas->draw(p, -2147483647 - 1, -2147483647 - 1);
  canvas->draw(p, 0, 2);
  EXPECT_EQ(grid(*canvas), (std::vector<std::uint32_t>{0, 0, 0, 0}));
}

TEST(SheetCanvas, BitmapFile24HasExactHeaders) {
  auto canvas = SheetCanvas::create(2, 1);
  ASSERT_TRUE(canvas);
  canvas->fill(make_colorref(1, 2, 3));
  const auto headers = twenty_four_bit_headers(*canvas);
  std::vector<std::uint8_t> file(headers.begin(), headers.end());
  file.insert(file.end(), canvas->rows().begin(), canvas->rows().end());
  const std::vector<std::uint8_t> expected = {
      'B', 'M', 62, 0, 0, 0,                    // bfSize = 8 + 54
      0,   0,   0,  0,                          // reserved
      54,  0,   0,  0,                          // bfOffBits
      40,  0,   0,  0, 2, 0, 0, 0, 1, 0, 0, 0,  // biSize, biWidth, biHeight
      1,   0,   24, 0,                          // planes, bit count
      0,   0,   0,  0, 0, 0, 0, 0,              // compression, size image
      0,   0,   0,  0, 0, 0, 0, 0,              // pels per metre
      0,   0,   0,  0, 0, 0, 0, 0,              // colours used, important
      3,   2,   1,  3, 2, 1, 0, 0};             // one row and its padding
  EXPECT_EQ(std::vector<std::uint8_t>(file.begin(), file.end()), expected);
}

}  // namespace
}  // namespace piconel
