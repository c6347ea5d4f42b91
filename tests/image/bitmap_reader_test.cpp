#include "image/bitmap_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <set>

#include "image/image_test_helpers.h"

namespace piconel {
namespace {

using testing::Bytes;
using testing::make_bitfields_bitmap;
using testing::make_bitmap;
using testing::make_paletted_bitmap;
using testing::make_true_colour_bitmap;
using testing::put_u16_le;
using testing::put_u32_le;
using testing::rgb;

std::uint32_t channel(std::uint32_t colour, int shift) {
  return (colour >> shift) & 0xFF;
}

// Bitmaps written by ImageMagick (tests/data/image/make_fixtures.sh) hold the
// pixels of their PPM source; 16-bit files within one step of 5 or 6 bits
// per channel.
struct FixtureCase {
  const char* bitmap;
  const char* source;
  std::int32_t file_depth;
  std::int32_t dib_depth;
  std::size_t palette_length;
  std::uint32_t tolerance;
};

TEST(BitmapReaderTest, FixturesMatchTheirSources) {
  const FixtureCase cases[] = {
      {"bw_1bit.bmp", "bw.ppm", 1, 1, 2, 0},
      {"rgb13_4bit.bmp", "rgb13.ppm", 4, 4, 16, 0},
      {"rgb13_4bit_v5.bmp", "rgb13.ppm", 4, 4, 16, 0},
      {"rgb13_4bit_core.bmp", "rgb13.ppm", 4, 4, 16, 0},
      {"rgb27_8bit.bmp", "rgb27.ppm", 8, 8, 256, 0},
      {"rgb27_8bit_core.bmp", "rgb27.ppm", 8, 8, 256, 0},
      {"rgb13_16bit_555_v5.bmp", "rgb13.ppm", 16, 24, 0, 8},
      {"rgb13_16bit_565_v5.bmp", "rgb13.ppm", 16, 24, 0, 8},
      {"rgb13_24bit.bmp", "rgb13.ppm", 24, 24, 0, 0},
      {"rgb13_24bit_core.bmp", "rgb13.ppm", 24, 24, 0, 0},
      {"rgb13_32bit.bmp", "rgb13.ppm", 32, 32, 0, 0},
      {"rgb13_32bit_v5.bmp", "rgb13.ppm", 32, 32, 0, 0},
  };
  for (const FixtureCase& c : cases) {
    SCOPED_TRACE(c.bitmap);
    const Bytes file = testing::read_fixture(c.bitmap);
    ASSERT_FALSE(file.empty());
    const auto source = testing::read_ppm(testing::fixture_path(c.source));
    ASSERT_TRUE(source.has_value());
    const BitmapReadResult result = read_bitmap_file(file);
    ASSERT_EQ(result.error, BitmapError::None) << bitmap_error_name(result.error);
    const Dib& dib = result.dib;
    EXPECT_EQ(dib.width, source->width);
    EXPECT_EQ(dib.height, source->height);
    EXPECT_EQ(dib.file_bits_per_pixel, c.file_depth);
    EXPECT_EQ(dib.bits_per_pixel, c.dib_depth);
    EXPECT_EQ(dib.colour_table.size(), c.palette_length);
    EXPECT_EQ(dib.stride, dib_stride(dib.bits_per_pixel, dib.width));
    EXPECT_EQ(dib.pixels.size(), dib.stride * static_cast<std::size_t>(dib.height));
    for (std::int32_t y = 0; y < dib.height; ++y) {
      for (std::int32_t x = 0; x < dib.width; ++x) {
        const auto expected = source->colours[static_cast<std::size_t>(y * dib.width + x)];
        const auto actual = static_cast<std::uint32_t>(dib.pixel(x, y));
        for (int shift : {0, 8, 16}) {
          const auto a = static_cast<int>(channel(actual, shift));
          const auto e = static_cast<int>(channel(expected, shift));
          EXPECT_LE(static_cast<std::uint32_t>(std::abs(a - e)), c.tolerance)
              << "pixel " << x << "," << y << " actual " << std::hex << actual << " expected "
              << expected;
        }
        if (c.tolerance > 0 && (expected == 0 || expected == 0xFFFFFF)) {
          EXPECT_EQ(actual, expected) << "black and white widen exactly";
        }
      }
    }
  }
}

TEST(BitmapReaderTest, TwoBitPixelsLeftmostInHighBits) {
  const std::vector<PaletteEntry> palette = {rgb(0, 0, 0), rgb(255, 0, 0), rgb(0, 255, 0),
                                             rgb(0, 0, 255)};
  // 5 x 2: 2 bits per pixel, 10 bits per row, padded to 4 bytes.
  const Bytes file = make_paletted_bitmap(5, 2, 2, palette, {0, 1, 2, 3, 1, 3, 3, 2, 1, 0});
  const BitmapReadResult result = read_bitmap_file(file);
  ASSERT_TRUE(result.ok()) << bitmap_error_name(result.error);
  EXPECT_EQ(result.dib.stride, 4u);
  const std::int32_t expected[2][5] = {{0, 1, 2, 3, 1}, {3, 3, 2, 1, 0}};
  for (std::int32_t y = 0; y < 2; ++y) {
    for (std::int32_t x = 0; x < 5; ++x) {
      EXPECT_EQ(result.dib.palette_index(x, y), expected[y][x]);
    }
  }
  EXPECT_EQ(result.dib.pixel(1, 0), 0xFF0000);
  EXPECT_EQ(result.dib.pixel(3, 0), 0x0000FF);
}

TEST(BitmapReaderTest, TopDownRowsAreFlippedToBottomUp) {
  const std::vector<PaletteEntry> palette = {rgb(1, 2, 3), rgb(4, 5, 6)};
  // Stored rows: first row in the file is the TOP row for a negative height.
  Bytes pixels = {0, 0, 0, 0, 1, 1, 1, 0};  // 3 x 2, 8 bits: top 0 0 0, bottom 1 1 1
  Bytes file = make_bitmap(3, -2, 8, palette, pixels, 2);
  const BitmapReadResult result = read_bitmap_file(file);
  ASSERT_TRUE(result.ok()) << bitmap_error_name(result.error);
  EXPECT_EQ(result.dib.height, 2);
  EXPECT_EQ(result.dib.palette_index(0, 0), 0);
  EXPECT_EQ(result.dib.palette_index(2, 1), 1);
  // Stored bottom-up: the first stored row is now the bottom one.
  EXPECT_EQ(result.dib.pixels[0], 1);
  EXPECT_EQ(result.dib.pixels[4], 0);
}

TEST(BitmapReaderTest, BitfieldsAfterInfoHeaderSixteenBits) {
  // 2 x 1, 5-6-5 masks after the 40-byte header (offsets 54, 58, 62),
  // pixels at 66: pure red 0xF800 and a green of 0x07E0.
  const Bytes file =
      make_bitfields_bitmap(2, 1, 16, 0xF800, 0x07E0, 0x001F, {0x00, 0xF8, 0xE0, 0x07});
  const BitmapReadResult result = read_bitmap_file(file);
  ASSERT_TRUE(result.ok()) << bitmap_error_name(result.error);
  EXPECT_EQ(result.dib.bits_per_pixel, 24);
  EXPECT_EQ(result.dib.file_bits_per_pixel, 16);
  EXPECT_EQ(result.dib.pixel(0, 0), 0xFF0000);
  EXPECT_EQ(result.dib.pixel(1, 0), 0x00FF00);
}

TEST(BitmapReaderTest, SixteenBitsWithoutMasksIsFiveFiveFive) {
  // 0x7FFF white, 0x001F blue, 0x4210 mid grey (16 of 31 each: 132).
  Bytes file = make_bitmap(3, 1, 16, {}, {0xFF, 0x7F, 0x1F, 0x00, 0x10, 0x42, 0, 0});
  const BitmapReadResult result = read_bitmap_file(file);
  ASSERT_TRUE(result.ok()) << bitmap_error_name(result.error);
  EXPECT_EQ(result.dib.pixel(0, 0), 0xFFFFFF);
  EXPECT_EQ(result.dib.pixel(1, 0), 0x0000FF);
  EXPECT_EQ(result.dib.pixel(2, 0), 0x848484);
}

// Narrow channels widen as GDI does, by repeating their bits down to bit 0,
// not by rounding v * 255 / max (which differs by one for some values).
TEST(BitmapReaderTest, NarrowChannelsWidenByBitReplication) {
  struct Case {
    const char* what;
    std::uint16_t depth;
    std::uint32_t red_mask, green_mask, blue_mask;  // 0: BI_RGB 5-5-5
    std::uint32_t pixel;
    std::uint32_t expected;  // 0x00RRGGBB
  };
  const Case cases[] = {
      // 5 bits: v << 3 | v >> 2; 6 bits: v << 2 | v >> 4.
      {"FiveFiveFiveThree", 16, 0, 0, 0, (3u << 10) | (3u << 5) | 3u, 0x181818},
      {"FiveFiveFiveThirty", 16, 0, 0, 0, (30u << 10) | (1u << 5) | 17u, 0xF7088C},
      {"FiveSixFiveFifty", 16, 0xF800, 0x07E0, 0x001F, (10u << 11) | (50u << 5) | 10u, 0x52CB52},
      {"FiveSixFiveSixtyOne", 16, 0xF800, 0x07E0, 0x001F, (1u << 11) | (61u << 5) | 29u, 0x08F7EF},
      // 3 bits 101 -> 10110110, 2 bits 11 -> 11111111, 1 bit -> 11111111;
      // 10 bits keep their top 8.
      {"ThreeTwoOne", 32, 0x7, 0x18, 0x20, 0x5u | (3u << 3) | (1u << 5), 0xB6FFFF},
      {"TenBits", 32, 0x3FF00000, 0x000FFC00, 0x000003FF, (0x3FCu << 20) | (0x2u << 10) | 0x155u,
       0xFF0055},
  };
  for (const Case& c : cases) {
    Bytes pixel(4, 0);
    put_u32_le(pixel, 0, c.pixel);
    const Bytes file = c.red_mask == 0 ? make_bitmap(1, 1, c.depth, {}, pixel)
                                       : make_bitfields_bitmap(1, 1, c.depth, c.red_mask,
                                                               c.green_mask, c.blue_mask, pixel);
    const BitmapReadResult result = read_bitmap_file(file);
    ASSERT_TRUE(result.ok()) << c.what << " " << bitmap_error_name(result.error);
    EXPECT_EQ(static_cast<std::uint32_t>(result.dib.pixel(0, 0)), c.expected) << c.what;
  }
}

TEST(BitmapReaderTest, ThirtyTwoBitsWithUnusualMasks) {
  // Red in the top byte, green next, blue next, nothing in the low byte.
  // The pixel's value is 0x10203077.
  const Bytes file =
      make_bitfields_bitmap(1, 1, 32, 0xFF000000, 0x00FF0000, 0x0000FF00, {0x77, 0x30, 0x20, 0x10});
  const BitmapReadResult result = read_bitmap_file(file);
  ASSERT_TRUE(result.ok()) << bitmap_error_name(result.error);
  EXPECT_EQ(result.dib.pixel(0, 0), 0x102030);
  EXPECT_EQ(result.dib.pixels[3], 0) << "the fourth byte is cleared by the conversion";
}

TEST(BitmapReaderTest, PaletteIndexPastTheTableReadsBlack) {
  // biClrUsed 2 but the pixel uses index 5.
  const Bytes file = make_paletted_bitmap(1, 1, 8, {rgb(9, 9, 9), rgb(8, 8, 8)}, {5}, 2);
  const BitmapReadResult result = read_bitmap_file(file);
  ASSERT_TRUE(result.ok());
  EXPECT_EQ(result.dib.palette_index(0, 0), 5);
  EXPECT_EQ(result.dib.pixel(0, 0), 0);
  EXPECT_EQ(result.dib.pixel(1, 0), 0) << "outside the picture";
  EXPECT_EQ(result.dib.pixel(0, -1), 0);
}

TEST(BitmapReaderTest, LimitsAreInclusive) {
  const Bytes wide = make_bitmap(kMaxBitmapSide, 1, 8, {rgb(0, 0, 0)},
                                 Bytes(static_cast<std::size_t>(kMaxBitmapSide), 0), 1);
  EXPECT_TRUE(read_bitmap_file(wide).ok());
  const Bytes tall = make_bitmap(1, -kMaxBitmapSide, 8, {rgb(0, 0, 0)},
                                 Bytes(4 * static_cast<std::size_t>(kMaxBitmapSide), 0), 1);
  EXPECT_TRUE(read_bitmap_file(tall).ok());
}

// Every fault gets its own error; each case starts from a valid 4 x 2 8-bit
// picture with a 2-entry table (pixels at 62) and damages it.
TEST(BitmapReaderTest, MalformedFilesAreRefused) {
  const Bytes valid =
      make_paletted_bitmap(4, 2, 8, {rgb(1, 1, 1), rgb(2, 2, 2)}, {0, 1, 0, 1, 1, 0, 1, 0}, 2);
  ASSERT_TRUE(read_bitmap_file(valid).ok());
  struct Case {
    const char* name;
    std::function<void(Bytes&)> damage;
    BitmapError expected;
  };
  const Case cases[] = {
      {"EmptyFile", [](Bytes& f) { f.clear(); }, BitmapError::NotBitmap},
      {"OneByte", [](Bytes& f) { f.resize(1); }, BitmapError::NotBitmap},
      {"WrongMagic", [](Bytes& f) { f[1] = 'A'; }, BitmapError::NotBitmap},
      {"FileHeaderCut", [](Bytes& f) { f.resize(12); }, BitmapError::Truncated},
      {"NoInfoHeader", [](Bytes& f) { f.resize(14); }, BitmapError::Truncated},
      {"InfoHeaderCut", [](Bytes& f) { f.resize(40); }, BitmapError::Truncated},
      {"HeaderSize64", [](Bytes& f) { put_u32_le(f, 14, 64); }, BitmapError::BadHeaderSize},
      {"HeaderSize0", [](Bytes& f) { put_u32_le(f, 14, 0); }, BitmapError::BadHeaderSize},
      {"HeaderSizeHuge", [](Bytes& f) { put_u32_le(f, 14, 0xFFFFFFFF); },
       BitmapError::BadHeaderSize},
      {"V5HeaderPastEnd", [](Bytes& f) { put_u32_le(f, 14, 124); }, BitmapError::Truncated},
      {"ZeroWidth", [](Bytes& f) { put_u32_le(f, 18, 0); }, BitmapError::BadDimensions},
      {"NegativeWidth", [](Bytes& f) { put_u32_le(f, 18, 0xFFFFFFFC); },
       BitmapError::BadDimensions},
      {"WidthAboveLimit", [](Bytes& f) { put_u32_le(f, 18, 32769); }, BitmapError::BadDimensions},
      {"ZeroHeight", [](Bytes& f) { put_u32_le(f, 22, 0); }, BitmapError::BadDimensions},
      {"HeightAboveLimit", [](Bytes& f) { put_u32_le(f, 22, 32769); }, BitmapError::BadDimensions},
      {"TopDownAboveLimit", [](Bytes& f) { put_u32_le(f, 22, static_cast<std::uint32_t>(-32769)); },
       BitmapError::BadDimensions},
      {"HeightMinInt", [](Bytes& f) { put_u32_le(f, 22, 0x80000000); }, BitmapError::BadDimensions},
      {"DepthZero", [](Bytes& f) { put_u16_le(f, 28, 0); }, BitmapError::BadBitDepth},
      {"DepthThree", [](Bytes& f) { put_u16_le(f, 28, 3); }, BitmapError::BadBitDepth},
      {"Depth64", [](Bytes& f) { put_u16_le(f, 28, 64); }, BitmapError::BadBitDepth},
      {"Rle8", [](Bytes& f) { put_u32_le(f, 30, 1); }, BitmapError::Compressed},
      {"Rle4", [](Bytes& f) { put_u32_le(f, 30, 2); }, BitmapError::Compressed},
      {"BitfieldsAtEightBits", [](Bytes& f) { put_u32_le(f, 30, 3); }, BitmapError::Compressed},
      {"Jpeg", [](Bytes& f) { put_u32_le(f, 30, 4); }, BitmapError::Compressed},
      {"AlphaBitfields", [](Bytes& f) { put_u32_le(f, 30, 6); }, BitmapError::Compressed},
      {"PaletteAboveDepth", [](Bytes& f) { put_u32_le(f, 46, 257); }, BitmapError::PaletteTooLarge},
      {"PaletteTruncated", [](Bytes& f) { put_u32_le(f, 46, 100); }, BitmapError::PaletteTruncated},
      {"FullPaletteMissing", [](Bytes& f) { put_u32_le(f, 46, 0); }, BitmapError::PaletteTruncated},
      {"OffsetInsideHeader", [](Bytes& f) { put_u32_le(f, 10, 53); },
       BitmapError::OffsetOutOfRange},
      {"OffsetPastEnd", [](Bytes& f) { put_u32_le(f, 10, 1000); }, BitmapError::OffsetOutOfRange},
      {"OffsetHuge", [](Bytes& f) { put_u32_le(f, 10, 0xFFFFFFFF); },
       BitmapError::OffsetOutOfRange},
      {"PixelsShort", [](Bytes& f) { f.pop_back(); }, BitmapError::PixelsTruncated},
      {"PixelsMissing", [](Bytes& f) { f.resize(62); }, BitmapError::PixelsTruncated},
      {"TallerThanData", [](Bytes& f) { put_u32_le(f, 22, 3); }, BitmapError::PixelsTruncated},
      {"AllocationAboveBound",
       [](Bytes& f) {
         put_u32_le(f, 18, 32768);
         put_u32_le(f, 22, 32768);
       },
       BitmapError::TooLarge},
  };
  for (const Case& c : cases) {
    Bytes file = valid;
    c.damage(file);
    const BitmapReadResult result = read_bitmap_file(file);
    EXPECT_EQ(result.error, c.expected) << c.name << ": got " << bitmap_error_name(result.error)
                                        << ", expected " << bitmap_error_name(c.expected);
    EXPECT_TRUE(result.dib.pixels.empty()) << c.name;
  }
}

TEST(BitmapReaderTest, MaskFaults) {
  struct Case {
    const char* name;
    std::uint16_t depth;
    std::uint32_t red, green, blue;
    BitmapError expected;
  };
  const Case cases[] = {
      {"ZeroMask", 16, 0xF800, 0, 0x1F, BitmapError::BadMasks},
      {"OverlappingMasks", 16, 0xF800, 0x0FE0, 0x1F, BitmapError::BadMasks},
      {"GappedMask", 32, 0xFF00FF, 0xFF00, 0xFF000000, BitmapError::BadMasks},
      {"MaskWiderThanPixel", 16, 0x1F0000, 0x07E0, 0x1F, BitmapError::BadMasks},
      {"StandardMasks", 32, 0xFF0000, 0xFF00, 0xFF, BitmapError::None},
  };
  for (const Case& c : cases) {
    const Bytes file = make_bitfields_bitmap(1, 1, c.depth, c.red, c.green, c.blue, Bytes(4, 0));
    EXPECT_EQ(read_bitmap_file(file).error, c.expected) << c.name;
  }
  // Masks promised after a 40-byte header but the file ends first.
  Bytes cut = make_bitmap(1, 1, 16, {}, {}, 0, 3);
  EXPECT_EQ(read_bitmap_file(cut).error, BitmapError::Truncated);
}

TEST(BitmapReaderTest, PaletteCountRules) {
  struct Case {
    const char* name;
    std::uint16_t depth;
    std::uint32_t colours_used;
    BitmapError expected;
    std::size_t length;
  };
  const Case cases[] = {
      {"OneBitFull", 1, 0, BitmapError::None, 2},
      {"OneBitThree", 1, 3, BitmapError::PaletteTooLarge, 0},
      {"FourBitSeventeen", 4, 17, BitmapError::PaletteTooLarge, 0},
      {"FourBitFive", 4, 5, BitmapError::None, 5},
      {"EightBitFull", 8, 256, BitmapError::None, 256},
      {"TrueColourTable", 24, 256, BitmapError::None, 0},
      {"TrueColourTableTooLarge", 24, 257, BitmapError::PaletteTooLarge, 0},
  };
  for (const Case& c : cases) {
    const std::size_t entries = c.colours_used != 0 ? c.colours_used
                                : c.depth <= 8      ? (std::size_t{1} << c.depth)
                                                    : 0;
    const std::size_t table = c.expected == BitmapError::PaletteTooLarge ? 0 : entries;
    Bytes file =
        make_bitmap(1, 1, c.depth, std::vector<PaletteEntry>(table), Bytes(4, 0), c.colours_used);
    const BitmapReadResult result = read_bitmap_file(file);
    EXPECT_EQ(result.error, c.expected) << c.name;
    EXPECT_EQ(result.dib.colour_table.size(), c.length) << c.name;
  }
}

TEST(BitmapReaderTest, CoreHeaderHandBuilt) {
  // 12-byte header: width 2, height 1 (16-bit fields), planes, depth 1;
  // two 3-byte table entries at 26; pixels at 32.
  Bytes file = {'B', 'M', 0, 0, 0, 0, 0, 0, 0,    0,    32,   0,    0,    0,    12,   0, 0, 0,
                2,   0,   1, 0, 1, 0, 1, 0, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x40, 0, 0, 0};
  const BitmapReadResult result = read_bitmap_file(file);
  ASSERT_TRUE(result.ok()) << bitmap_error_name(result.error);
  EXPECT_EQ(result.dib.pixel(0, 0), 0x302010);
  EXPECT_EQ(result.dib.pixel(1, 0), 0x605040);
  // The table is 2 entries of 3 bytes: one byte less is a truncated table.
  file.resize(31);
  put_u32_le(file, 10, 31);
  EXPECT_EQ(read_bitmap_file(file).error, BitmapError::PaletteTruncated);
}

TEST(BitmapReaderTest, DecoderBlocksAreCheckedLikeFiles) {
  const Bytes file = make_paletted_bitmap(2, 2, 8, {rgb(7, 7, 7), rgb(9, 9, 9)}, {0, 1, 1, 0}, 2);
  const Bytes info(file.begin() + 14, file.begin() + 62);  // header and table
  const Bytes pixels(file.begin() + 62, file.end());
  const BitmapReadResult good = read_bitmap_info(info, pixels);
  ASSERT_TRUE(good.ok());
  EXPECT_EQ(good.dib.pixel(1, 0), 0x090909);

  const Bytes short_pixels(pixels.begin(), pixels.end() - 1);
  EXPECT_EQ(read_bitmap_info(info, short_pixels).error, BitmapError::PixelsTruncated);
  const Bytes short_table(info.begin(), info.end() - 1);
  EXPECT_EQ(read_bitmap_info(short_table, pixels).error, BitmapError::PaletteTruncated);
  EXPECT_EQ(read_bitmap_info({}, pixels).error, BitmapError::Truncated);
  const Bytes header_only(info.begin(), info.begin() + 20);
  EXPECT_EQ(read_bitmap_info(header_only, pixels).error, BitmapError::Truncated);
  // Extra pixel bytes are ignored.
  Bytes long_pixels = pixels;
  long_pixels.resize(100, 0xEE);
  EXPECT_TRUE(read_bitmap_info(info, long_pixels).ok());
}

TEST(DibTest, StrideTable) {
  struct Case {
    std::int32_t depth, width;
    std::size_t stride;
  };
  const Case cases[] = {{1, 1, 4},   {1, 32, 4},  {1, 33, 8},         {2, 3, 4},  {2, 17, 8},
                        {4, 9, 8},   {8, 5, 8},   {8, 0, 4},          {16, 3, 8}, {24, 1, 4},
                        {24, 5, 16}, {32, 3, 12}, {24, 32768, 98304}, {8, -1, 4}};
  for (const Case& c : cases) {
    EXPECT_EQ(dib_stride(c.depth, c.width), c.stride) << c.depth << " bits, width " << c.width;
  }
}

}  // namespace
}  // namespace piconel

namespace piconel {
namespace {

TEST(DibTest, BitmapInfoDescribesTheDib) {
  for (const char* name : {"rgb13_4bit.bmp", "rgb27_8bit.bmp", "rgb13_16bit_565_v5.bmp",
                           "rgb13_24bit.bmp", "rgb13_32bit_v5.bmp", "bw_1bit.bmp"}) {
    SCOPED_TRACE(name);
    const BitmapReadResult first = read_bitmap_file(testing::read_fixture(name));
    ASSERT_TRUE(first.ok());
    const Dib& dib = first.dib;
    const std::vector<std::uint8_t> info = bitmap_info_bytes(dib);
    ASSERT_EQ(info.size(), 40 + 4 * dib.colour_table.size());
    // biSize 40, biPlanes 1 at 12, biCompression 0 at 16.
    EXPECT_EQ(info[0], 40);
    EXPECT_EQ(info[12], 1);
    EXPECT_EQ(info[16], 0);
    const BitmapReadResult again = read_bitmap_info(info, dib.pixels);
    ASSERT_TRUE(again.ok()) << bitmap_error_name(again.error);
    EXPECT_EQ(again.dib.bits_per_pixel, dib.bits_per_pixel);
    EXPECT_EQ(again.dib.colour_table, dib.colour_table);
    EXPECT_EQ(again.dib.pixels, dib.pixels);
  }
}

// GDI takes biClrUsed 0 as a full table of 2^depth entries and reads them
// after the header; a paletted Dib built without a table must not send it
// past the end of the bytes.
TEST(DibTest, BitmapInfoOfPalettedDibWithoutTableHoldsAFullBlackTable) {
  for (const std::int32_t depth : {1, 2, 4, 8}) {
    SCOPED_TRACE(depth);
    Dib dib;
    dib.width = 1;
    dib.height = 1;
    dib.bits_per_pixel = depth;
    dib.stride = 4;
    dib.pixels.assign(4, 0xFF);
    const std::size_t entries = std::size_t{1} << depth;
    const std::vector<std::uint8_t> info = bitmap_info_bytes(dib);
    ASSERT_EQ(info.size(), 40 + 4 * entries);
    EXPECT_EQ(info[32] | (info[33] << 8), static_cast<int>(entries));  // biClrUsed
    EXPECT_TRUE(std::all_of(info.begin() + 40, info.end(), [](std::uint8_t b) { return b == 0; }));
  }
  Dib deep;
  deep.width = 1;
  deep.height = 1;
  deep.bits_per_pixel = 24;
  deep.stride = 4;
  deep.pixels.assign(4, 0);
  EXPECT_EQ(bitmap_info_bytes(deep).size(), 40u);
}

}  // namespace
}  // namespace piconel
