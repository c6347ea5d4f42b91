// Under Wine: Dibs of every depth the loader hands over become DIB sections
// and device bitmaps whose pixels, read back through GDI, are the Dib's.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "image/dib.h"
#include "image/dib_bitmap_win32.h"
#include "image/gdi_read_back_win32.h"
#include "store/handles_win32.h"

namespace piconel {
namespace {

constexpr std::int32_t kWidth = 5;  // odd, so every depth pads its rows
constexpr std::int32_t kHeight = 3;

// Writes `value` (a palette index, or a pixel's low bytes) at (x, y) counted
// from the top row.
void set_pixel(Dib& dib, std::int32_t x, std::int32_t y, std::uint32_t value) {
  std::uint8_t* row = dib.pixels.data() + static_cast<std::size_t>(dib.height - 1 - y) * dib.stride;
  const int depth = dib.bits_per_pixel;
  if (depth < 8) {
    const int per_byte = 8 / depth;
    const int shift = 8 - depth * (x % per_byte + 1);
    std::uint8_t& byte = row[x / per_byte];
    const unsigned mask = (1u << depth) - 1u;
    byte = static_cast<std::uint8_t>((byte & ~(mask << shift)) | ((value & mask) << shift));
    return;
  }
  const int bytes = depth / 8;
  for (int i = 0; i < bytes; ++i) {
    row[static_cast<std::size_t>(x) * bytes + i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
}

// A kWidth × kHeight Dib of `depth` whose every pixel differs from its
// neighbours: paletted ones cycle through a table of distinct colours,
// deeper ones spell their position in their channels.
Dib make_dib(std::int32_t depth) {
  Dib dib;
  dib.width = kWidth;
  dib.height = kHeight;
  dib.bits_per_pixel = depth;
  dib.file_bits_per_pixel = depth;
  dib.stride = dib_stride(depth, kWidth);
  dib.pixels.assign(dib.stride * kHeight, 0);
  if (depth <= 8) {
    const int entries = 1 << depth;
    for (int i = 0; i < entries; ++i) {
      dib.colour_table.push_back(PaletteEntry{static_cast<std::uint8_t>(30 * i + 5),
                                              static_cast<std::uint8_t>(255 - 17 * i),
                                              static_cast<std::uint8_t>(i * 77), 0});
    }
    for (std::int32_t y = 0; y < kHeight; ++y) {
      for (std::int32_t x = 0; x < kWidth; ++x) {
        set_pixel(dib, x, y, static_cast<std::uint32_t>((x + 2 * y) % entries));
      }
    }
    return dib;
  }
  for (std::int32_t y = 0; y < kHeight; ++y) {
    for (std::int32_t x = 0; x < kWidth; ++x) {
      // Blue, green, red (and a meaningless fourth byte for 32 bits).
      set_pixel(dib, x, y,
                static_cast<std::uint32_t>(40 * x + 1) | (static_cast<std::uint32_t>(80 * y) << 8) |
                    (static_cast<std::uint32_t>(20 * (x + y) + 3) << 16) | (0x7Fu << 24));
    }
  }
  return dib;
}

void expect_pixels_of(const Dib& dib, HBITMAP bitmap) {
  const std::vector<std::uint32_t> pixels = gdi_read_back(bitmap, dib.width, dib.height);
  ASSERT_EQ(pixels.size(), static_cast<std::size_t>(dib.width) * dib.height);
  for (std::int32_t y = 0; y < dib.height; ++y) {
    for (std::int32_t x = 0; x < dib.width; ++x) {
      SCOPED_TRACE(testing::Message() << "x " << x << " y " << y);
      EXPECT_EQ(pixels[static_cast<std::size_t>(y) * dib.width + x],
                static_cast<std::uint32_t>(dib.pixel(x, y)));
    }
  }
  // The top-left pixel as a memory DC shows it (COLORREF order).
  const MemoryDc dc(CreateCompatibleDC(nullptr));
  ASSERT_TRUE(dc.valid());
  const SelectGuard selected(dc.get(), bitmap);
  ASSERT_TRUE(selected.valid());
  EXPECT_EQ(static_cast<std::int32_t>(GetPixel(dc.get(), 0, 0)), colorref_to_dib(dib.pixel(0, 0)));
}

class DibBitmapDepth : public ::testing::TestWithParam<std::int32_t> {};

TEST_P(DibBitmapDepth, DibSectionHoldsTheDibsPixels) {
  const Dib dib = make_dib(GetParam());
  ASSERT_TRUE(dib.is_well_formed());
  const GdiBitmap bitmap = create_dib_section(dib);
  ASSERT_TRUE(bitmap.valid());
  DIBSECTION section{};
  ASSERT_EQ(GetObjectW(bitmap.get(), sizeof(section), &section), static_cast<int>(sizeof(section)));
  EXPECT_EQ(section.dsBmih.biWidth, kWidth);
  EXPECT_EQ(section.dsBmih.biHeight, kHeight);
  // GDI takes no 2-bit pictures: those are widened to 4 bits.
  EXPECT_EQ(section.dsBmih.biBitCount, GetParam() == 2 ? 4 : GetParam());
  expect_pixels_of(dib, bitmap.get());
}

TEST_P(DibBitmapDepth, DeviceBitmapShowsTheDibsColours) {
  const Dib dib = make_dib(GetParam());
  // The screen under the test display has 24 bits per pixel, so every
  // colour survives the conversion to the device's format.
  const WindowDc screen(nullptr);
  ASSERT_GE(GetDeviceCaps(screen.get(), BITSPIXEL), 24);
  const GdiBitmap bitmap = create_bitmap(dib, false, nullptr);
  ASSERT_TRUE(bitmap.valid());
  BITMAP facts{};
  ASSERT_EQ(GetObjectW(bitmap.get(), sizeof(facts), &facts), static_cast<int>(sizeof(facts)));
  EXPECT_EQ(facts.bmWidth, kWidth);
  EXPECT_EQ(facts.bmHeight, kHeight);
  EXPECT_EQ(facts.bmBitsPixel, GetDeviceCaps(screen.get(), BITSPIXEL));
  expect_pixels_of(dib, bitmap.get());
}

INSTANTIATE_TEST_SUITE_P(Depths, DibBitmapDepth, ::testing::Values(1, 2, 4, 8, 24, 32));

TEST(DibBitmap, DeviceBitmapForAWindow) {
  const Dib dib = make_dib(8);
  const OwnedWindow window(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                                           nullptr, GetModuleHandleW(nullptr), nullptr));
  ASSERT_TRUE(window.valid());
  const GdiBitmap bitmap = create_bitmap(dib, false, window.get());
  ASSERT_TRUE(bitmap.valid());
  expect_pixels_of(dib, bitmap.get());
}

TEST(DibBitmap, MalformedDibsGiveNoBitmap) {
  Dib short_pixels = make_dib(24);
  short_pixels.pixels.resize(short_pixels.pixels.size() - 1);
  Dib bad_stride = make_dib(8);
  bad_stride.stride += 4;
  Dib bad_depth = make_dib(24);
  bad_depth.bits_per_pixel = 16;
  const Dib empty;
  for (const Dib* dib :
       std::initializer_list<const Dib*>{&short_pixels, &bad_stride, &bad_depth, &empty}) {
    EXPECT_FALSE(create_dib_section(*dib).valid());
    EXPECT_FALSE(create_device_bitmap(*dib, nullptr).valid());
  }
}

}  // namespace
}  // namespace piconel
