#include "output/sheet_canvas.h"

#include "output/page_bitmap.h"

#include <gtest/gtest.h>

#include <algorithm>

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

  // Created with a background: the same bytes, no fill needed.
  const auto filled = SheetCanvas::create(3, 2, make_colorref(0x11, 0x22, 0x33));
  ASSERT_TRUE(filled);
  const auto filled_rows = filled->rows();
  EXPECT_TRUE(std::equal(rows.begin(), rows.end(), filled_rows.begin(), filled_rows.end()));
}

// Rows are copied by depth-specific loops; every depth and width (odd and
// even, whole bytes or not) must give what Dib::pixel reads, indices past a
// short colour table included (black).
TEST(SheetCanvas, DrawGivesWhatDibPixelReadsAtEveryDepth) {
  std::uint32_t seed = 12345;
  const auto next_byte = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return static_cast<std::uint8_t>(seed >> 16);
  };
  for (const int depth : {1, 2, 4, 8, 24, 32}) {
    for (int width = 1; width <= 9; ++width) {
      Dib dib;
      dib.width = width;
      dib.height = 3;
      dib.bits_per_pixel = depth;
      dib.file_bits_per_pixel = depth;
      dib.stride = dib_stride(depth, width);
      dib.pixels.resize(dib.stride * 3);
      for (std::uint8_t& byte : dib.pixels) {
        byte = next_byte();
      }
      if (depth <= 8) {
        // One entry short of full, so the highest index has no colour.
        dib.colour_table.resize((std::size_t{1} << depth) - 1);
        for (PaletteEntry& entry : dib.colour_table) {
          entry = {next_byte(), next_byte(), next_byte(), 0};
        }
      }
      ASSERT_TRUE(dib.is_well_formed());
      auto canvas = SheetCanvas::create(width + 2, 4, make_colorref(1, 2, 3));
      ASSERT_TRUE(canvas);
      canvas->draw(dib, 1, 1);
      for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < width; ++x) {
          EXPECT_EQ(static_cast<DibColour>(rgb(canvas->pixel(x + 1, y + 1))), dib.pixel(x, y))
              << depth << " bits, width " << width << " at " << x << "," << y;
        }
      }
    }
  }
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
