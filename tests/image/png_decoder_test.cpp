// The built-in PNG decoder on files written by ImageMagick
// (tests/data/image/png_gif/make_png_gif.sh) at every colour type and bit
// depth, and on broken files made from them.

#include "image/png_decoder.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "image/built_in_decoder.h"
#include "image/image_test_helpers.h"
#include "image/transparency_probe.h"

namespace piconel {
namespace {

using testing::Bytes;

// The data of the first chunk of `type`, walking the chunks of a whole file.
std::optional<Bytes> chunk_data(const Bytes& file, std::string_view type) {
  std::size_t pos = 8;
  while (pos + 12 <= file.size()) {
    const std::uint32_t length = (std::uint32_t{file[pos]} << 24) | (file[pos + 1] << 16) |
                                 (file[pos + 2] << 8) | file[pos + 3];
    if (std::string_view(reinterpret_cast<const char*>(&file[pos + 4]), 4) == type) {
      return Bytes(file.begin() + static_cast<std::ptrdiff_t>(pos + 8),
                   file.begin() + static_cast<std::ptrdiff_t>(pos + 8 + length));
    }
    pos += 12 + length;
  }
  return std::nullopt;
}

// Every pixel of `dib` equals the source picture's colour.
void expect_pixels_of(const Dib& dib, const std::string& source, const char* name) {
  const std::optional<testing::Ppm> ppm = testing::read_ppm(testing::fixture_path(source));
  ASSERT_TRUE(ppm.has_value()) << source;
  ASSERT_EQ(dib.width, ppm->width) << name;
  ASSERT_EQ(dib.height, ppm->height) << name;
  for (std::int32_t y = 0; y < dib.height; ++y) {
    for (std::int32_t x = 0; x < dib.width; ++x) {
      EXPECT_EQ(dib.pixel(x, y), ppm->colours[static_cast<std::size_t>(y * dib.width + x)])
          << name << " at " << x << "," << y;
    }
  }
}

TEST(PngDecoder, EveryColourTypeAndDepthGivesTheSourcePixels) {
  struct Case {
    const char* file;
    const char* source;
    std::int32_t bits_per_pixel;
  };
  const Case cases[] = {
      {"png_index1.png", "bw.ppm", 1},
      {"png_index2.png", "png_gif/rgb4.ppm", 2},
      {"png_index4.png", "rgb13.ppm", 4},
      {"png_index8.png", "rgb27.ppm", 8},
      {"png_index8_interlaced.png", "rgb27.ppm", 8},
      {"png_index8_trns.png", "rgb13.ppm", 8},
      {"png_grey1.png", "bw.ppm", 24},
      {"png_grey2.png", "png_gif/grey2.ppm", 24},
      {"png_grey4.png", "png_gif/grey4.ppm", 24},
      {"png_grey8.png", "png_gif/grey8.ppm", 24},
      {"png_grey16.png", "png_gif/grey8.ppm", 24},
      {"png_greyalpha8.png", "png_gif/grey8.ppm", 32},
      {"png_greyalpha16.png", "png_gif/grey8.ppm", 32},
      {"png_rgb8.png", "rgb13.ppm", 24},
      {"png_rgb16.png", "rgb13.ppm", 24},
      {"png_rgb8_interlaced.png", "rgb13.ppm", 24},
      {"png_rgb8_trns.png", "rgb13.ppm", 24},
      {"png_rgba8.png", "rgb13.ppm", 32},
      {"png_rgba16.png", "rgb13.ppm", 32},
  };
  for (const Case& c : cases) {
    const Bytes file = testing::read_fixture(std::string("png_gif/") + c.file);
    ASSERT_FALSE(file.empty()) << c.file;
    const std::optional<DecodedPicture> picture = decode_built_in(".png", file);
    ASSERT_TRUE(picture.has_value()) << c.file;
    const Dib& dib = picture->dib;
    EXPECT_EQ(dib.bits_per_pixel, c.bits_per_pixel) << c.file;
    expect_pixels_of(dib, c.source, c.file);
    if (dib.bits_per_pixel <= 8) {
      // The colour table is PLTE, entry for entry.
      const std::optional<Bytes> plte = chunk_data(file, "PLTE");
      ASSERT_TRUE(plte.has_value()) << c.file;
      ASSERT_EQ(dib.colour_table.size() * 3, plte->size()) << c.file;
      for (std::size_t i = 0; i < dib.colour_table.size(); ++i) {
        const PaletteEntry& entry = dib.colour_table[i];
        EXPECT_EQ(entry.red, (*plte)[3 * i]) << c.file << " entry " << i;
        EXPECT_EQ(entry.green, (*plte)[3 * i + 1]) << c.file << " entry " << i;
        EXPECT_EQ(entry.blue, (*plte)[3 * i + 2]) << c.file << " entry " << i;
      }
    }
    if (dib.bits_per_pixel == 32) {
      for (std::size_t i = 3; i < dib.pixels.size(); i += 4) {
        ASSERT_EQ(dib.pixels[i], 0) << c.file << ": alpha is not kept";
      }
    }
    // The probe runs as after a plug-in: only indexed files with tRNS
    // give an index (the red entry, alpha 0, of png_index8_trns.png).
    const bool has_index = std::string(c.file) == "png_index8_trns.png";
    EXPECT_EQ(picture->probed_transparent_index, has_index ? 0 : -1) << c.file;
    if (has_index) {
      EXPECT_EQ(dib.colour_table[0].red, 255);
      EXPECT_EQ(dib.colour_table[0].green, 0);
    }
  }
}

// Writes `value` big-endian at `pos`.
void put_u32_be(Bytes& bytes, std::size_t pos, std::uint32_t value) {
  ASSERT_TRUE(write_u32_be(bytes, pos, value));
}

TEST(PngDecoder, BrokenFilesAreRefused) {
  const Bytes good = testing::read_fixture("png_gif/png_index8.png");
  ASSERT_TRUE(decode_png(good).ok());
  // IHDR data starts at offset 16: width 16, height 20, depth 24, type 25.
  struct Case {
    const char* name;
    std::size_t pos;
    std::uint32_t value;
    PngError error;
  };
  const Case cases[] = {
      {"ZeroWidth", 16, 0, PngError::Malformed},
      {"WidthOver32768", 16, 32769, PngError::BadDimensions},
      {"HeightOver32768", 20, 40000, PngError::BadDimensions},
      // 30000 x 30000 indexed: 900 MB of pixels from a 264-byte file.
      {"DecompressionBombBeyondThePixelLimit", 16, 30000, PngError::TooLarge},
  };
  for (const Case& c : cases) {
    Bytes file = good;
    put_u32_be(file, c.pos, c.value);
    if (std::string(c.name) == "DecompressionBombBeyondThePixelLimit") {
      put_u32_be(file, 20, 30000);
    }
    EXPECT_EQ(decode_png(file).error, c.error) << c.name;
  }

  Bytes not_png = good;
  not_png[1] = 'X';
  EXPECT_EQ(decode_png(not_png).error, PngError::NotPng);

  // CRCs are ignored, as the probe ignores them: a broken IHDR CRC (offset
  // 29) still decodes to the same picture.
  Bytes bad_crc = good;
  bad_crc[29] ^= 0xFF;
  const PngDecodeResult same = decode_png(bad_crc);
  ASSERT_TRUE(same.ok());
  EXPECT_EQ(same.dib.pixels, decode_png(good).dib.pixels);

  // Every cut-off prefix fails cleanly.
  for (std::size_t n = 0; n < good.size() - 12; ++n) {
    EXPECT_FALSE(decode_png({good.data(), n}).ok()) << "prefix " << n;
  }
}

// Adler-32 of zlib (RFC 1950, section 9).
std::uint32_t adler32(const Bytes& data) {
  std::uint32_t a = 1;
  std::uint32_t b = 0;
  for (const std::uint8_t byte : data) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  return (b << 16) | a;
}

// A chunk with a zero CRC (the decoder does not check it).
void append_chunk(Bytes& file, const char* type, const Bytes& data) {
  const std::size_t at = file.size();
  file.resize(at + 4);
  static_cast<void>(write_u32_be(file, at, static_cast<std::uint32_t>(data.size())));
  file.insert(file.end(), type, type + 4);
  file.insert(file.end(), data.begin(), data.end());
  file.insert(file.end(), 4, 0);
}

// A 2 x 1, 8-bit indexed file with a PLTE of two entries (red, blue) and
// the given two indices. The IDAT is one stored deflate block: filter byte
// 0, then the indices.
Bytes two_pixel_png(std::uint8_t first, std::uint8_t second) {
  const Bytes raw = {0, first, second};
  Bytes zlib = {0x78, 0x01, 0x01, 3, 0, 0xFC, 0xFF};
  zlib.insert(zlib.end(), raw.begin(), raw.end());
  zlib.resize(zlib.size() + 4);
  static_cast<void>(write_u32_be(zlib, zlib.size() - 4, adler32(raw)));
  Bytes file = {137, 80, 78, 71, 13, 10, 26, 10};
  append_chunk(file, "IHDR", {0, 0, 0, 2, 0, 0, 0, 1, 8, 3, 0, 0, 0});
  append_chunk(file, "PLTE", {255, 0, 0, 0, 0, 255});
  append_chunk(file, "IDAT", zlib);
  append_chunk(file, "IEND", {});
  return file;
}

TEST(PngDecoder, IndexPastThePaletteIsRefused) {
  EXPECT_EQ(decode_png(two_pixel_png(1, 5)).error, PngError::BadPaletteIndex);
  const PngDecodeResult fine = decode_png(two_pixel_png(1, 0));
  ASSERT_TRUE(fine.ok()) << png_error_name(fine.error);
  EXPECT_EQ(fine.dib.pixel(0, 0), 0x0000FFu);
  EXPECT_EQ(fine.dib.pixel(1, 0), 0xFF0000u);
}

}  // namespace
}  // namespace piconel
