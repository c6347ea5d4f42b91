// Pictures whose headers claim far more than the file holds are refused from
// their headers, before any pixel memory or row loop (the tiny files of
// tests/data/image/costly once took seconds and gigabytes each), while real
// pictures at the edges of the limits still decode; and a file named by
// several rows of one output run is decoded once.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "image/bitmap_reader.h"
#include "image/built_in_decoder.h"
#include "image/decode_cache.h"
#include "image/gif_decoder.h"
#include "image/image_test_helpers.h"
#include "image/load_image.h"
#include "image/png_decoder.h"
#include "store/file_io.h"

namespace piconel {
namespace {

using testing::Bytes;

std::string decoder_error(const std::string& extension, const Bytes& file) {
  return extension == ".png" ? png_error_name(decode_png(file).error)
                             : gif_error_name(decode_gif(file).error);
}

// costly/<Error>_<claim>.<ext> gives exactly its error; ok_<what>.<ext>
// decodes. Both through the decoder alone and through load_image.
TEST(CostlyPictures, AreRefusedFromTheirHeadersAndRealOnesStillDecode) {
  int seen = 0;
  for (const auto& item : std::filesystem::directory_iterator(testing::fixture_path("costly"))) {
    const std::string extension = item.path().extension().string();
    if (extension != ".png" && extension != ".gif") {
      continue;
    }
    const std::string name = item.path().filename().string();
    const std::string expected = name.substr(0, name.find('_'));
    const Bytes file = testing::read_fixture("costly/" + name);
    const std::string path = testing::fixture_path("costly/" + name);
    LoadImageRequest request;
    request.path = path;
    if (expected == "ok") {
      EXPECT_EQ(decoder_error(extension, file), "None") << name;
      EXPECT_TRUE(load_image(request).has_value()) << name;
    } else {
      EXPECT_EQ(decoder_error(extension, file), expected) << name;
      EXPECT_FALSE(load_image(request).has_value()) << name;
    }
    ++seen;
  }
  EXPECT_GE(seen, 7);
}

TEST(CostlyPictures, ScreenAroundASmallFrameTakesTheFillIndex) {
  // 13 x 3 screen, background index 1, one frame pixel of index 0 at (0, 0):
  // the fill crosses a byte boundary of the 1-bit rows.
  const GifDecodeResult result = decode_gif(testing::read_fixture("costly/ok_screen_fill.gif"));
  ASSERT_TRUE(result.ok());
  const Dib& dib = result.dib;
  ASSERT_EQ(dib.width, 13);
  ASSERT_EQ(dib.height, 3);
  ASSERT_EQ(dib.bits_per_pixel, 1);
  for (std::int32_t y = 0; y < 3; ++y) {
    for (std::int32_t x = 0; x < 13; ++x) {
      EXPECT_EQ(dib.palette_index(x, y), x == 0 && y == 0 ? 0 : 1) << x << "," << y;
    }
  }
  // Row padding stays 0, as a bitmap file's would.
  for (std::size_t row = 0; row < 3; ++row) {
    EXPECT_EQ(dib.pixels[row * dib.stride + 2], 0);
    EXPECT_EQ(dib.pixels[row * dib.stride + 3], 0);
  }
}

TEST(CostlyPictures, BitmapsAndDecoderAnswersPassTheSameSizeChecks) {
  struct Case {
    const char* name;
    std::int32_t width;
    std::int32_t height;
    BitmapError error;
  };
  // 1-bit pictures: the byte limit alone would let the pixel limit's
  // cases through.
  const Case cases[] = {
      {"SideAboveLimit", 32769, 1, BitmapError::BadDimensions},
      {"HugeWidth", 0x7FFFFFFF, 9, BitmapError::BadDimensions},
      {"AbovePixelLimit", 32768, 8193, BitmapError::TooLarge},
      {"SquareAtSideLimit", 32768, 32768, BitmapError::TooLarge},
      {"AtPixelLimitButNoPixels", 32768, 8192, BitmapError::PixelsTruncated},
  };
  for (const Case& c : cases) {
    const Bytes file = testing::make_bitmap(c.width, c.height, 1,
                                            {testing::rgb(0, 0, 0), testing::rgb(9, 9, 9)}, {});
    EXPECT_EQ(read_bitmap_file(file).error, c.error) << c.name;
    // A plug-in's answer: the info block without the file header.
    const std::span<const std::uint8_t> info(file.data() + 14, file.size() - 14);
    EXPECT_EQ(read_bitmap_info(info, {}).error, c.error) << c.name;
  }
  EXPECT_EQ(check_picture_size(16384, 16384), PictureSizeCheck::Ok);
  EXPECT_EQ(check_picture_size(16384, 16385), PictureSizeCheck::TooLarge);
  EXPECT_EQ(check_picture_size(0, 5), PictureSizeCheck::BadDimensions);
  EXPECT_EQ(check_picture_size(5, -1), PictureSizeCheck::BadDimensions);
}

TEST(DecodeCacheTest, DecodesEachPathOnceAndRemembersFailures) {
  DecodeCache cache(1000);
  int calls = 0;
  const auto picture_of = [&](std::size_t bytes) {
    return [&calls, bytes] {
      ++calls;
      DecodedFile file;
      file.dib.pixels.assign(bytes, 7);
      file.automatic_index = 3;
      return std::optional<DecodedFile>(file);
    };
  };
  const auto refusal = [&] {
    ++calls;
    return std::optional<DecodedFile>();
  };
  for (int row = 0; row < 8; ++row) {
    const std::optional<DecodedFile> got = cache.decode("a.png", picture_of(600));
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(got->dib.pixels.size(), 600u);
    EXPECT_EQ(got->automatic_index, 3);
    EXPECT_FALSE(cache.decode("costly.gif", refusal).has_value());
  }
  EXPECT_EQ(calls, 2);
  // Past the budget a picture is decoded at each row; still right.
  for (int row = 0; row < 3; ++row) {
    EXPECT_EQ(cache.decode("b.png", picture_of(600))->dib.pixels.size(), 600u);
  }
  EXPECT_EQ(calls, 5);
}

// With the run's uses counted, a picture is held only while a counted row
// still has to take it; the last row takes it without a copy.
TEST(DecodeCacheTest, CountedFilesAreHeldUntilTheirLastRow) {
  struct Case {
    const char* name;
    int counted_uses;  // expect_use calls before the rows; 0: never counted
    int rows;          // rows that decode it
    std::vector<std::size_t> held_after_row;
    int decodes;
  };
  const Case cases[] = {
      {"NamedOnce", 1, 1, {0}, 1},
      {"NamedThrice", 3, 3, {1, 1, 0}, 1},
      {"UncountedKeptAllRun", 0, 3, {1, 1, 1}, 1},
      // More rows than counted (a count that ran out of memory): decoded
      // again, never kept past the count.
      {"MoreRowsThanCounted", 2, 4, {1, 0, 0, 0}, 3},
      {"FailureHeldUntilLastRow", 2, 2, {1, 0}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DecodeCache cache;
    for (int i = 0; i < c.counted_uses; ++i) {
      ASSERT_TRUE(cache.expect_use("a.bmp"));
    }
    const bool fails = std::string_view(c.name).starts_with("Failure");
    int calls = 0;
    for (int row = 0; row < c.rows; ++row) {
      const std::optional<DecodedFile> got = cache.decode("a.bmp", [&] {
        ++calls;
        std::optional<DecodedFile> file;
        if (!fails) {
          file.emplace();
          file->dib.pixels.assign(64, static_cast<std::uint8_t>(9));
        }
        return file;
      });
      ASSERT_EQ(got.has_value(), !fails) << "row " << row;
      if (got) {
        EXPECT_EQ(got->dib.pixels, std::vector<std::uint8_t>(64, 9)) << "row " << row;
      }
      EXPECT_EQ(cache.held_count(), c.held_after_row[static_cast<std::size_t>(row)])
          << "row " << row;
    }
    EXPECT_EQ(calls, c.decodes);
  }
}

TEST(DecodeCacheTest, LoadImageWithACacheReadsTheFileOnce) {
  const testing::ScratchFolder folder;
  const Bytes picture = testing::make_paletted_bitmap(
      2, 1, 8, {testing::rgb(1, 2, 3), testing::rgb(4, 5, 6)}, {0, 1}, 2);
  const std::string path = folder.write("a.bmp", picture);
  DecodeCache cache;
  LoadImageRequest request;
  request.path = path;
  request.cache = &cache;
  request.replacement_colour = make_colorref(200, 100, 50);
  request.transparent_key = 0;
  const std::optional<Dib> first = load_image(request);
  ASSERT_TRUE(first.has_value());
  // The second row of the run finds it in the cache, unchanged by the
  // first row's colour replacement, though the file is gone.
  std::filesystem::remove(std::filesystem::path(path));
  request.transparent_key = -1;
  const std::optional<Dib> second = load_image(request);
  ASSERT_TRUE(second.has_value());
  EXPECT_EQ(second->colour_table[0].red, 1);
  EXPECT_EQ(first->colour_table[0].red, 200);
  EXPECT_EQ(cache.decoded_count(), 1u);
}

}  // namespace
}  // namespace piconel
