// The built-in GIF decoder on files written by ImageMagick
// (tests/data/image/png_gif/make_png_gif.sh) and on broken files made from
// them.

#include "image/gif_decoder.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "image/built_in_decoder.h"
#include "image/image_test_helpers.h"
#include "image/transparency_probe.h"

namespace piconel {
namespace {

using testing::Bytes;

// The global colour table of a GIF file: 3 * 2^(bits + 1) bytes after the
// 13-byte header when bit 7 of the packed byte (offset 10) is set.
Bytes global_table(const Bytes& file) {
  const std::size_t bytes = 3u << ((file[10] & 7) + 1);
  return Bytes(file.begin() + 13, file.begin() + 13 + static_cast<std::ptrdiff_t>(bytes));
}

TEST(GifDecoder, FirstFramesGiveTheSourcePixelsAndTables) {
  struct Case {
    const char* file;
    const char* source;
    std::int32_t bits_per_pixel;
    std::int32_t transparent_index;  // from the graphic control extension
  };
  const Case cases[] = {
      {"gif_1bit.gif", "bw.ppm", 1, -1},
      {"gif_2bit.gif", "png_gif/rgb4.ppm", 2, -1},
      {"gif_4bit.gif", "rgb13.ppm", 4, -1},
      {"gif_8bit.gif", "rgb27.ppm", 8, -1},
      {"gif_interlaced.gif", "png_gif/tall27.ppm", 8, -1},
      {"gif87a.gif", "rgb13.ppm", 4, -1},
      {"gif_two_frames.gif", "rgb13.ppm", 4, -1},
      {"gif_transparent.gif", "rgb13.ppm", 4, 9},  // bytes 21 F9 04 01 00 00 09 00
  };
  for (const Case& c : cases) {
    const Bytes file = testing::read_fixture(std::string("png_gif/") + c.file);
    ASSERT_FALSE(file.empty()) << c.file;
    const std::optional<DecodedPicture> picture = decode_built_in(".gif", file);
    ASSERT_TRUE(picture.has_value()) << c.file;
    const Dib& dib = picture->dib;
    EXPECT_EQ(dib.bits_per_pixel, c.bits_per_pixel) << c.file;
    EXPECT_EQ(picture->probed_transparent_index, c.transparent_index) << c.file;

    const Bytes table = global_table(file);
    ASSERT_EQ(dib.colour_table.size() * 3, table.size()) << c.file;
    for (std::size_t i = 0; i < dib.colour_table.size(); ++i) {
      EXPECT_EQ(dib.colour_table[i].red, table[3 * i]) << c.file << " entry " << i;
      EXPECT_EQ(dib.colour_table[i].green, table[3 * i + 1]) << c.file << " entry " << i;
      EXPECT_EQ(dib.colour_table[i].blue, table[3 * i + 2]) << c.file << " entry " << i;
    }

    const std::optional<testing::Ppm> ppm = testing::read_ppm(testing::fixture_path(c.source));
    ASSERT_TRUE(ppm.has_value());
    ASSERT_EQ(dib.width, ppm->width) << c.file;
    ASSERT_EQ(dib.height, ppm->height) << c.file;
    for (std::int32_t y = 0; y < dib.height; ++y) {
      for (std::int32_t x = 0; x < dib.width; ++x) {
        const std::uint32_t source = ppm->colours[static_cast<std::size_t>(y * dib.width + x)];
        if (c.transparent_index >= 0 && source == 0xFF0000u) {
          // Red was made transparent: its pixels carry the transparent index.
          EXPECT_EQ(dib.palette_index(x, y), c.transparent_index) << c.file;
        } else {
          EXPECT_EQ(dib.pixel(x, y), source) << c.file << " at " << x << "," << y;
        }
      }
    }
  }
}

TEST(GifDecoder, FrameSmallerThanTheScreenSitsOnTheBackground) {
  // A 7 x 3 frame at (2, 1) on an 11 x 5 screen whose background index is
  // at offset 11.
  const Bytes file = testing::read_fixture("png_gif/gif_offset_frame.gif");
  const std::optional<DecodedPicture> picture = decode_built_in(".gif", file);
  ASSERT_TRUE(picture.has_value());
  const Dib& dib = picture->dib;
  ASSERT_EQ(dib.width, 11);
  ASSERT_EQ(dib.height, 5);
  const std::optional<testing::Ppm> ppm = testing::read_ppm(testing::fixture_path("rgb13.ppm"));
  ASSERT_TRUE(ppm.has_value());
  for (std::int32_t y = 0; y < 5; ++y) {
    for (std::int32_t x = 0; x < 11; ++x) {
      if (x >= 2 && x < 9 && y >= 1 && y < 4) {
        EXPECT_EQ(dib.pixel(x, y), ppm->colours[static_cast<std::size_t>((y - 1) * 7 + x - 2)]);
      } else {
        EXPECT_EQ(dib.palette_index(x, y), file[11]) << x << "," << y;
      }
    }
  }
}

// A GIF89a of one 1 x 1 frame with a two-entry global table (black, white)
// and LZW minimum code size 2: codes clear (4), `index`, end (5), 3 bits
// each, packed from the low bit.
Bytes one_pixel_gif(std::uint8_t index) {
  const std::uint32_t bits = 4u | (std::uint32_t{index} << 3) | (5u << 6);
  return {'G',
          'I',
          'F',
          '8',
          '9',
          'a',
          1,
          0,
          1,
          0,
          0x80,
          0,
          0,  // header, screen 1 x 1
          0,
          0,
          0,
          255,
          255,
          255,  // global table
          0x2C,
          0,
          0,
          0,
          0,
          1,
          0,
          1,
          0,
          0,  // image descriptor
          2,
          2,
          static_cast<std::uint8_t>(bits),
          static_cast<std::uint8_t>(bits >> 8),
          0,
          0x3B};
}

TEST(GifDecoder, BrokenFilesAreRefused) {
  ASSERT_TRUE(decode_gif(one_pixel_gif(1)).ok());
  EXPECT_EQ(decode_gif(one_pixel_gif(1)).dib.pixel(0, 0), 0xFFFFFFu);
  EXPECT_EQ(decode_gif(one_pixel_gif(3)).error, GifError::BadPaletteIndex);

  const Bytes good = testing::read_fixture("png_gif/gif_8bit.gif");
  ASSERT_TRUE(decode_gif(good).ok());
  // Screen width at 6, height at 8 (little-endian); the image descriptor
  // follows the 96-byte global table at 13 (and a graphic control extension
  // when ImageMagick writes one): its left edge is at descriptor + 1.
  const std::size_t descriptor = [&] {
    std::size_t pos = 13 + 96;
    while (good[pos] == 0x21) {
      pos += 2;
      while (good[pos] != 0) {
        pos += good[pos] + 1u;
      }
      ++pos;
    }
    return pos;
  }();
  ASSERT_EQ(good[descriptor], 0x2C);
  struct Case {
    const char* name;
    std::size_t pos;
    std::uint16_t value;
    GifError error;
  };
  const Case cases[] = {
      {"ZeroWidth", 6, 0, GifError::BadDimensions},
      {"WidthOver32768", 6, 40000, GifError::BadDimensions},
      {"PixelLimit", 6, 30000, GifError::TooLarge},  // with height 30000 below
      {"FrameOutsideTheScreen", descriptor + 1, 1, GifError::FrameOutsideScreen},
  };
  for (const Case& c : cases) {
    Bytes file = good;
    testing::put_u16_le(file, c.pos, c.value);
    if (c.error == GifError::TooLarge) {
      testing::put_u16_le(file, 8, 30000);
    }
    EXPECT_EQ(decode_gif(file).error, c.error) << c.name;
  }
  Bytes not_gif = good;
  not_gif[4] = '8';  // "GIF88a"
  EXPECT_EQ(decode_gif(not_gif).error, GifError::NotGif);
  Bytes no_image(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(descriptor));
  no_image.push_back(0x3B);
  EXPECT_EQ(decode_gif(no_image).error, GifError::NoImage);

  // Every cut-off prefix fails cleanly (the last byte is the trailer, which
  // the first frame does not need).
  for (std::size_t n = 0; n + 1 < good.size(); ++n) {
    EXPECT_FALSE(decode_gif({good.data(), n}).ok()) << "prefix " << n;
  }
}

}  // namespace
}  // namespace piconel
