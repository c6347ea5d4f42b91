// Under Wine: 16-bit pictures read by the bitmap reader have the colours GDI
// gives the same pixels, for every one of the 65536 pixel values.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "image/bitmap_reader.h"
#include "image/gdi_read_back_win32.h"
#include "image/image_test_helpers.h"
#include "store/handles_win32.h"

namespace piconel {
namespace {

using testing::Bytes;

constexpr std::int32_t kSide = 256;  // 256 x 256 pixels: every 16-bit value once

// Every 32-bit pixel of a 16-bit DIB section made from the file's own
// BITMAPINFO (masks included) and pixels, as GDI reads it back; empty when
// GDI refuses.
std::vector<std::uint32_t> gdi_pixels_of(const Bytes& file, std::size_t pixel_offset) {
  const auto* info = reinterpret_cast<const BITMAPINFO*>(file.data() + 14);
  void* bits = nullptr;
  const GdiBitmap section(CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!section.valid() || bits == nullptr) {
    return {};
  }
  std::memcpy(bits, file.data() + pixel_offset, file.size() - pixel_offset);
  return gdi_read_back(section.get(), kSide, kSide);
}

TEST(BitmapReaderGdi, SixteenBitColoursAsGdiShowsThem) {
  Bytes pixels(static_cast<std::size_t>(kSide) * kSide * 2);
  for (std::size_t i = 0; i < pixels.size() / 2; ++i) {
    testing::put_u16_le(pixels, 2 * i, static_cast<std::uint16_t>(i));
  }
  struct Case {
    const char* what;
    Bytes file;
    std::size_t pixel_offset;
  };
  const Case cases[] = {
      {"FiveFiveFive", testing::make_bitmap(kSide, kSide, 16, {}, pixels), 54},
      {"FiveSixFive",
       testing::make_bitfields_bitmap(kSide, kSide, 16, 0xF800, 0x07E0, 0x001F, pixels), 66},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const BitmapReadResult result = read_bitmap_file(c.file);
    ASSERT_TRUE(result.ok()) << bitmap_error_name(result.error);
    const std::vector<std::uint32_t> gdi = gdi_pixels_of(c.file, c.pixel_offset);
    ASSERT_EQ(gdi.size(), static_cast<std::size_t>(kSide) * kSide);
    int differing = 0;
    for (std::int32_t y = 0; y < kSide; ++y) {
      for (std::int32_t x = 0; x < kSide; ++x) {
        const auto ours = static_cast<std::uint32_t>(result.dib.pixel(x, y));
        const std::uint32_t theirs = gdi[static_cast<std::size_t>(y) * kSide + x];
        if (ours != theirs && ++differing <= 5) {
          ADD_FAILURE() << "x " << x << " y " << y << std::hex << " ours " << ours << " GDI "
                        << theirs;
        }
      }
    }
    EXPECT_EQ(differing, 0);
  }
}

}  // namespace
}  // namespace piconel
