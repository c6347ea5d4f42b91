#include "image/load_image.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "image/bitmap_reader.h"
#include "image/image_test_helpers.h"
#include "image/picture_decoder.h"

namespace piconel {
namespace {

using testing::Bytes;
using testing::make_paletted_bitmap;
using testing::make_true_colour_bitmap;
using testing::rgb;
using testing::ScratchFolder;

// What a scripted decoder answers: info block, pixels and probed index.
struct ScriptedAnswer {
  Bytes bitmap_info;
  Bytes pixels;
  std::int32_t probed_transparent_index = -1;
};

// A decoder that answers every path with one scripted picture (or nothing),
// checked as every decoder's answer is, and records the paths it was asked
// about.
class FakeDecoder final : public PictureDecoder {
 public:
  std::optional<ScriptedAnswer> answer;
  mutable std::vector<std::string> asked;

  std::optional<DecodedPicture> decode(std::string_view path) const override {
    asked.emplace_back(path);
    if (!answer) {
      return std::nullopt;
    }
    std::optional<Dib> dib = accept_decoder_answer(answer->bitmap_info, answer->pixels);
    if (!dib) {
      return std::nullopt;
    }
    return DecodedPicture{std::move(*dib), answer->probed_transparent_index};
  }
};

// The decoder's form of a bitmap file: info block and pixels.
ScriptedAnswer as_decoded(const Bytes& file, std::int32_t probed) {
  ScriptedAnswer picture;
  // The info block and the palette after it, up to the pixels.
  const std::uint32_t offset = file[10] | (file[11] << 8);
  picture.bitmap_info.assign(file.begin() + 14, file.begin() + offset);
  picture.pixels.assign(file.begin() + offset, file.end());
  picture.probed_transparent_index = probed;
  return picture;
}

const std::vector<PaletteEntry> kFour = {rgb(255, 0, 0), rgb(0, 255, 0), rgb(0, 0, 255),
                                         rgb(9, 9, 9)};

TEST(LoadImageTest, FixturesAnalysedLikeTheirSources) {
  struct Case {
    const char* bitmap;
    const char* source;
  };
  const Case cases[] = {
      {"bw_1bit.bmp", "bw.ppm"},
      {"rgb13_4bit.bmp", "rgb13.ppm"},
      {"rgb13_4bit_core.bmp", "rgb13.ppm"},
      {"rgb27_8bit.bmp", "rgb27.ppm"},
      {"rgb13_16bit_555_v5.bmp", "rgb13.ppm"},
      {"rgb13_24bit.bmp", "rgb13.ppm"},
      {"rgb13_32bit.bmp", "rgb13.ppm"},
      {"rgb13_32bit_v5.bmp", "rgb13.ppm"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bitmap);
    const auto source = testing::read_ppm(testing::fixture_path(c.source));
    ASSERT_TRUE(source.has_value());
    const std::set<std::uint32_t> distinct(source->colours.begin(), source->colours.end());
    const std::string path = testing::fixture_path(c.bitmap);
    ImageEntry entry;
    ColourList list;  // empty list: every colour is new
    LoadImageRequest request;
    request.path = path;
    request.entry = &entry;
    request.colour_list = &list;
    const std::optional<Dib> dib = load_image(request);
    ASSERT_TRUE(dib.has_value());
    EXPECT_EQ(entry.colour_count, static_cast<std::int32_t>(distinct.size()));
    EXPECT_EQ(list.count, entry.colour_count);
    EXPECT_EQ(entry.settings.forced_width, source->width);
    EXPECT_EQ(entry.settings.forced_height, source->height);
    EXPECT_EQ(entry.transparent_slot, -1);
    if (entry.bits_per_pixel > 8) {
      EXPECT_EQ(entry.settings.transparent_key, dib->pixel(0, 0));
    } else {
      EXPECT_EQ(entry.settings.transparent_key, -1);
    }
    if (entry.bits_per_pixel != 16) {
      // Every merged colour is one of the source's (16-bit ones are rounded).
      for (std::int32_t i = 0; i < list.count; ++i) {
        const PaletteEntry& e = list.entries[static_cast<std::size_t>(i)];
        const std::uint32_t colour = (e.red << 16) | (e.green << 8) | e.blue;
        EXPECT_TRUE(distinct.count(colour)) << std::hex << colour;
      }
    }
  }
}

TEST(LoadImageTest, UnreadableFilesGiveNothingAndTouchNothing) {
  ScratchFolder folder;
  ASSERT_FALSE(folder.path().empty());
  const std::string empty = folder.write("empty.bmp", Bytes{});
  const std::string text = folder.write("text.bmp", Bytes{'h', 'e', 'l', 'l', 'o'});
  Bytes cut = make_paletted_bitmap(2, 2, 8, kFour, {0, 1, 2, 3});
  cut.resize(cut.size() - 3);
  const std::string truncated = folder.write("cut.bmp", cut);
  for (const std::string& path : {folder.path() + "missing.bmp", empty, text, truncated}) {
    ImageEntry entry;
    entry.colour_count = 77;
    ColourList list = ColourList::starting_with(0xFFFFFF);
    LoadImageRequest request;
    request.path = path;
    request.entry = &entry;
    request.colour_list = &list;
    EXPECT_FALSE(load_image(request).has_value()) << path;
    EXPECT_EQ(entry.colour_count, 77);
    EXPECT_EQ(list.count, 1);
  }
}

TEST(LoadImageTest, WithoutEntryNothingIsAnalysedOrMerged) {
  ScratchFolder folder;
  const std::string path = folder.write("a.bmp", make_paletted_bitmap(2, 1, 8, kFour, {0, 1}, 4));
  LoadImageRequest request;
  request.path = path;
  const std::optional<Dib> dib = load_image(request);
  ASSERT_TRUE(dib.has_value());
  EXPECT_EQ(dib->pixel(0, 0), 0xFF0000);
  EXPECT_EQ(dib->pixel(1, 0), 0x00FF00);
}

TEST(LoadImageTest, DecoderPictureAndProbedIndex) {
  FakeDecoder decoder;
  // 2 x 2, 4 colours; the decoder's probe says index 2 is transparent.
  decoder.answer = as_decoded(make_paletted_bitmap(2, 2, 8, kFour, {0, 2, 3, 2}, 4), 2);
  ImageEntry entry;
  ColourList list = ColourList::starting_with(make_colorref(255, 255, 255));
  LoadImageRequest request;
  request.path = "C:\\pictures\\x.png";
  request.entry = &entry;
  request.colour_list = &list;
  request.decoders = &decoder;
  request.replacement_colour = make_colorref(1, 2, 3);
  const std::optional<Dib> dib = load_image(request);
  ASSERT_TRUE(dib.has_value());
  ASSERT_EQ(decoder.asked.size(), 1u);
  EXPECT_EQ(decoder.asked[0], "C:\\pictures\\x.png");
  EXPECT_EQ(entry.colour_count, 3);
  EXPECT_EQ(entry.transparent_slot, 1);
  EXPECT_EQ(entry.settings.transparent_key, 2);
  EXPECT_EQ(list.count, 3) << "white, red and index 3; the transparent blue is left out";
  // The automatic index is replaced by the replacement colour.
  EXPECT_EQ(dib->pixel(1, 0), 0x010203);
  EXPECT_EQ(dib->pixel(0, 0), 0xFF0000);
}

TEST(LoadImageTest, RequestedKeyOverridesTheProbedIndex) {
  FakeDecoder decoder;
  decoder.answer = as_decoded(make_paletted_bitmap(2, 1, 8, kFour, {0, 2}, 4), 2);
  ImageEntry entry;
  LoadImageRequest request;
  request.path = "x.gif";
  request.entry = &entry;
  request.decoders = &decoder;
  request.transparent_key = 0;
  request.replacement_colour = make_colorref(7, 7, 7);
  const std::optional<Dib> dib = load_image(request);
  ASSERT_TRUE(dib.has_value());
  EXPECT_EQ(entry.transparent_slot, 0);
  EXPECT_EQ(entry.settings.transparent_key, 0);
  EXPECT_EQ(dib->pixel(0, 0), 0x070707);
  EXPECT_EQ(dib->pixel(1, 0), 0x0000FF) << "the probed index is not replaced";
}

TEST(LoadImageTest, ProbedIndexOutOfRangeCountsAsNone) {
  FakeDecoder decoder;
  decoder.answer = as_decoded(make_paletted_bitmap(1, 1, 8, kFour, {0}, 4), 300);
  ImageEntry entry;
  LoadImageRequest request;
  request.path = "x.png";
  request.entry = &entry;
  request.decoders = &decoder;
  ASSERT_TRUE(load_image(request).has_value());
  EXPECT_EQ(entry.settings.transparent_key, -1);
}

TEST(LoadImageTest, RefusedOrMalformedDecoderFallsBackToTheBitmapReader) {
  ScratchFolder folder;
  // A Windows bitmap whose name ends in .png.
  const std::string path =
      folder.write("really_a_bitmap.png", make_paletted_bitmap(1, 1, 8, kFour, {1}, 4));
  FakeDecoder refusing;
  FakeDecoder broken;
  broken.answer = as_decoded(make_paletted_bitmap(2, 2, 8, kFour, {0, 1, 2, 3}, 4), 1);
  broken.answer->pixels.resize(3);  // shorter than stride * height
  for (const FakeDecoder* decoder : {&refusing, &broken}) {
    ImageEntry entry;
    LoadImageRequest request;
    request.path = path;
    request.entry = &entry;
    request.decoders = decoder;
    const std::optional<Dib> dib = load_image(request);
    ASSERT_TRUE(dib.has_value());
    EXPECT_EQ(dib->width, 1);
    EXPECT_EQ(dib->pixel(0, 0), 0x00FF00);
    EXPECT_EQ(entry.settings.transparent_key, -1) << "built-in reader: no automatic index";
  }
}

TEST(LoadImageTest, PalettedKeepsItsPaletteWithoutReplacementColour) {
  ScratchFolder folder;
  const std::string path = folder.write("p.bmp", make_paletted_bitmap(2, 1, 8, kFour, {0, 1}, 4));
  LoadImageRequest request;
  request.path = path;
  request.transparent_key = 0;
  request.replacement_colour = -1;
  const std::optional<Dib> dib = load_image(request);
  ASSERT_TRUE(dib.has_value());
  EXPECT_EQ(dib->pixel(0, 0), 0xFF0000);
}

TEST(LoadImageTest, TrueColourKeyTurnsWhiteWithoutReplacementColour) {
  ScratchFolder folder;
  const std::string path =
      folder.write("t.bmp", make_true_colour_bitmap(2, 1, 24, {0x123456, 0x654321}));
  ImageEntry entry;
  LoadImageRequest request;
  request.path = path;
  request.entry = &entry;
  request.transparent_key = 0x654321;
  const std::optional<Dib> dib = load_image(request);
  ASSERT_TRUE(dib.has_value());
  EXPECT_EQ(dib->pixel(1, 0), 0xFFFFFF);
  EXPECT_EQ(dib->pixel(0, 0), 0x123456);
  // The analysis saw the file's colours and kept the automatic key.
  EXPECT_EQ(entry.colour_count, 2);
  EXPECT_EQ(entry.settings.transparent_key, 0x123456);
}

// The output's 8-bit form of a deeper picture shows every pixel in the
// colour the picture itself has after replacement, and the analysis is the
// same; past 256 colours the picture keeps its depth.
TEST(LoadImageTest, IndexedTrueColourShowsTheSamePixels) {
  struct Case {
    const char* name;
    std::uint16_t depth;
    int colours;  // distinct colours, in runs of two pixels on a 41 x 16 picture
    std::int32_t key;
    ColorRef replacement;
    bool indexed;
  };
  const Case cases[] = {
      {"TwentyFourNoKey", 24, 40, -1, -1, true},
      {"ThirtyTwoKeyReplaced", 32, 40, 0x000203, make_colorref(7, 8, 9), true},
      {"TwentyFourKeyWhite", 24, 3, 0x000001, -1, true},
      {"KeyNotInPicture", 24, 5, 0x7F7F7F, make_colorref(1, 2, 3), true},
      {"AllTwoHundredFiftySix", 32, 256, 0x000405, make_colorref(0, 0, 0), true},
      {"TwoHundredFiftySevenKeepsItsDepth", 24, 257, 0x000001, make_colorref(1, 1, 1), false},
  };
  constexpr int kWidth = 41;
  constexpr int kHeight = 16;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::uint32_t> colours;
    for (int i = 0; i < kWidth * kHeight; ++i) {
      const int n = (i / 2) % c.colours;
      colours.push_back(
          static_cast<std::uint32_t>(((n & 0xFF) << 8) | (n >> 8) | 0x010000 * (n % 3)));
    }
    ScratchFolder folder;
    const std::string path =
        folder.write("p.bmp", make_true_colour_bitmap(kWidth, kHeight, c.depth, colours));
    ImageEntry plain_entry;
    ImageEntry indexed_entry;
    LoadImageRequest request;
    request.path = path;
    request.transparent_key = c.key;
    request.replacement_colour = c.replacement;
    request.entry = &plain_entry;
    const std::optional<Dib> plain = load_image(request);
    request.entry = &indexed_entry;
    request.index_true_colour = true;
    const std::optional<Dib> indexed = load_image(request);
    ASSERT_TRUE(plain && indexed);
    EXPECT_EQ(indexed->bits_per_pixel, c.indexed ? 8 : c.depth);
    EXPECT_EQ(indexed->file_bits_per_pixel, c.depth);
    EXPECT_TRUE(indexed->is_well_formed());
    EXPECT_EQ(indexed_entry.colour_count, plain_entry.colour_count);
    EXPECT_EQ(indexed_entry.palette, plain_entry.palette);
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        ASSERT_EQ(indexed->pixel(x, y), plain->pixel(x, y)) << x << ", " << y;
      }
    }
  }
}

TEST(LoadImageTest, SixteenBitKeyIsReplacedLikeTrueColour) {
  ScratchFolder folder;
  // 2 x 1, 5-5-5: white and blue.
  const std::string path =
      folder.write("s.bmp", testing::make_bitmap(2, 1, 16, {}, {0xFF, 0x7F, 0x1F, 0x00}));
  LoadImageRequest request;
  request.path = path;
  request.transparent_key = 0x0000FF;
  request.replacement_colour = make_colorref(0x11, 0x22, 0x33);
  const std::optional<Dib> dib = load_image(request);
  ASSERT_TRUE(dib.has_value());
  EXPECT_EQ(dib->bits_per_pixel, 24);
  EXPECT_EQ(dib->file_bits_per_pixel, 16);
  EXPECT_EQ(dib->pixel(1, 0), 0x112233);
  EXPECT_EQ(dib->pixel(0, 0), 0xFFFFFF);
}

}  // namespace
}  // namespace piconel

namespace piconel {
namespace {

// tests/data/image/hostile/<Error>_<fault>.bmp: each file gives exactly its
// error from the reader and nothing from load_image.
TEST(HostileFilesTest, EachFailsWithItsNamedError) {
  const std::filesystem::path folder = testing::fixture_path("hostile");
  int seen = 0;
  for (const auto& item : std::filesystem::directory_iterator(folder)) {
    if (item.path().extension() != ".bmp") {
      continue;
    }
    const std::string name = item.path().filename().string();
    const std::string expected = name.substr(0, name.find('_'));
    const Bytes file = testing::read_fixture("hostile/" + name);
    const BitmapReadResult result = read_bitmap_file(file);
    EXPECT_EQ(bitmap_error_name(result.error), expected) << name;
    ImageEntry entry;
    LoadImageRequest request;
    const std::string path = testing::fixture_path("hostile/" + name);
    request.path = path;
    request.entry = &entry;
    EXPECT_FALSE(load_image(request).has_value()) << name;
    ++seen;
  }
  EXPECT_GE(seen, 19);
}

}  // namespace
}  // namespace piconel
