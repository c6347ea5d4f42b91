// Hostile-input sweeps: every prefix of a valid file, every header byte set
// to awkward values, and seeded random mutations. Each input must either be
// refused or load into a Dib whose sizes agree, and the whole pipeline
// (analysis, merge, replacement, pixel reads) must stay in bounds; the
// sanitizer build turns any stray read into a failure.

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "image/bitmap_reader.h"
#include "image/colour_analysis.h"
#include "image/image_test_helpers.h"
#include "image/load_image.h"
#include "image/picture_decoder.h"
#include "image/transparency_probe.h"

namespace piconel {
namespace {

using testing::Bytes;
using testing::put_u32_le;
using testing::rgb;
using testing::ScratchFolder;

constexpr std::uint32_t kSeed = 20261207;
constexpr int kMutationsPerSeed = 1500;
// Each of these writes a file and reads it back.
constexpr int kLoadRoundsPerSeed = 100;

void exercise(const BitmapReadResult& result) {
  if (!result.ok()) {
    return;
  }
  Dib dib = result.dib;
  ASSERT_TRUE(dib.is_well_formed());
  ASSERT_GT(dib.width, 0);
  ASSERT_GT(dib.height, 0);
  ASSERT_EQ(dib.stride, dib_stride(dib.bits_per_pixel, dib.width));
  ASSERT_EQ(dib.pixels.size(), dib.stride * static_cast<std::size_t>(dib.height));
  ASSERT_LE(dib.colour_table.size(), 256u);
  ImageEntry entry;
  analyse_colours(dib, 1, entry);
  ASSERT_GE(entry.colour_count, -1);
  ASSERT_LE(entry.colour_count, 256);
  ColourList list = ColourList::starting_with(make_colorref(255, 255, 255));
  merge_colours(entry, list);
  ASSERT_GE(list.count, -1);
  ASSERT_LE(list.count, 256);
  static_cast<void>(replace_palette_colour(dib, 1, make_colorref(1, 2, 3)));
  static_cast<void>(replace_true_colour(dib, entry.settings.transparent_key, -1));
  std::uint32_t sum = 0;
  for (std::int32_t y = -1; y <= dib.height; ++y) {
    for (std::int32_t x = -1; x <= dib.width; ++x) {
      sum += static_cast<std::uint32_t>(dib.pixel(x, y));
    }
  }
  static_cast<void>(sum);
}

void exercise_file(std::span<const std::uint8_t> bytes) {
  exercise(read_bitmap_file(bytes));
  // The same bytes as a decoder's answer: info block after the file header,
  // pixels from the middle on.
  if (bytes.size() > 14) {
    const auto info = bytes.subspan(14);
    exercise(read_bitmap_info(info, bytes.subspan(bytes.size() / 2)));
  }
}

std::vector<Bytes> bitmap_seeds() {
  std::vector<Bytes> seeds;
  for (const char* name :
       {"bw_1bit.bmp", "rgb13_4bit.bmp", "rgb13_4bit_v5.bmp", "rgb13_4bit_core.bmp",
        "rgb27_8bit.bmp", "rgb27_8bit_core.bmp", "rgb13_16bit_555_v5.bmp", "rgb13_16bit_565_v5.bmp",
        "rgb13_24bit.bmp", "rgb13_24bit_core.bmp", "rgb13_32bit.bmp", "rgb13_32bit_v5.bmp"}) {
    seeds.push_back(testing::read_fixture(name));
    EXPECT_FALSE(seeds.back().empty()) << name;
  }
  seeds.push_back(testing::make_paletted_bitmap(
      5, 2, 2, {rgb(0, 0, 0), rgb(1, 1, 1), rgb(2, 2, 2), rgb(3, 3, 3)},
      {0, 1, 2, 3, 1, 3, 3, 2, 1, 0}));
  Bytes top_down = testing::make_paletted_bitmap(3, 2, 8, {rgb(4, 5, 6)}, {0, 0, 0, 0, 0, 0}, 1);
  put_u32_le(top_down, 22, static_cast<std::uint32_t>(-2));
  seeds.push_back(top_down);
  seeds.push_back(
      testing::make_bitfields_bitmap(2, 1, 16, 0xF800, 0x07E0, 0x001F, {0x00, 0xF8, 0xE0, 0x07}));
  return seeds;
}

TEST(ImageFuzzTest, EveryPrefixOfEveryBitmap) {
  for (const Bytes& seed : bitmap_seeds()) {
    for (std::size_t n = 0; n <= seed.size(); ++n) {
      const std::span<const std::uint8_t> prefix(seed.data(), n);
      const BitmapReadResult result = read_bitmap_file(prefix);
      if (n < seed.size()) {
        // Every fixture's pixel array ends exactly at the end of its file.
        EXPECT_FALSE(result.ok()) << "prefix " << n << " of " << seed.size();
      } else {
        EXPECT_TRUE(result.ok()) << bitmap_error_name(result.error);
      }
      exercise(result);
    }
  }
}

TEST(ImageFuzzTest, AwkwardValuesAtEveryHeaderByte) {
  const std::uint8_t values[] = {0x00, 0x01, 0x03, 0x7F, 0x80, 0xFE, 0xFF};
  for (const Bytes& seed : bitmap_seeds()) {
    const std::size_t header_end = std::min<std::size_t>(seed.size(), 140);
    for (std::size_t offset = 0; offset < header_end; ++offset) {
      for (std::uint8_t value : values) {
        Bytes file = seed;
        file[offset] = value;
        exercise_file(file);
      }
    }
  }
}

// One to four bytes changed, mostly within the headers, and now and then
// the file cut short.
Bytes mutated(const Bytes& seed, std::mt19937& random) {
  const std::uint8_t interesting[] = {0x00, 0x01, 0x7F, 0x80, 0xFF, 0x10, 0x20, 0x40};
  Bytes file = seed;
  const int edits = 1 + static_cast<int>(random() % 4);
  for (int e = 0; e < edits; ++e) {
    const std::size_t span =
        (random() % 4 != 0) ? std::min<std::size_t>(file.size(), 70) : file.size();
    const std::size_t at = random() % span;
    file[at] = (random() % 2 != 0) ? interesting[random() % sizeof interesting]
                                   : static_cast<std::uint8_t>(random());
  }
  if (random() % 8 == 0) {
    file.resize(random() % (file.size() + 1));
  }
  return file;
}

TEST(ImageFuzzTest, RandomMutationsOfBitmaps) {
  std::mt19937 random(kSeed);
  for (const Bytes& seed : bitmap_seeds()) {
    for (int round = 0; round < kMutationsPerSeed; ++round) {
      exercise_file(mutated(seed, random));
    }
  }
}

// A decoder answering with the info block and pixels of a (mutated) file,
// checked as every decoder's answer is.
class BytesDecoder final : public PictureDecoder {
 public:
  Bytes info;
  Bytes pixels;
  std::int32_t probed = -1;
  std::optional<DecodedPicture> decode(std::string_view) const override {
    std::optional<Dib> dib = accept_decoder_answer(info, pixels);
    if (!dib) {
      return std::nullopt;
    }
    return DecodedPicture{std::move(*dib), probed};
  }
};

// load_image as the output calls it: an entry, a page palette, a key and a
// replacement colour. A refused file leaves entry and list as they were; an
// accepted one gives a well-formed Dib and an analysis that agrees with it.
void load_end_to_end(const std::string& path, const PictureDecoder* decoder,
                     std::int32_t transparent_key) {
  ImageEntry entry;
  entry.colour_count = 1234;
  ColourList list = ColourList::starting_with(make_colorref(255, 0, 255));
  LoadImageRequest request;
  request.path = path;
  request.replacement_colour = make_colorref(255, 0, 255);
  request.entry = &entry;
  request.colour_list = &list;
  request.transparent_key = transparent_key;
  request.decoders = decoder;
  const std::optional<Dib> dib = load_image(request);
  if (!dib) {
    ASSERT_EQ(entry.colour_count, 1234);
    ASSERT_EQ(list.count, 1);
    return;
  }
  ASSERT_TRUE(dib->is_well_formed());
  ASSERT_EQ(dib->pixels.size(), dib->stride * static_cast<std::size_t>(dib->height));
  ASSERT_GE(entry.colour_count, -1);
  ASSERT_LE(entry.colour_count, 256);
  ASSERT_LT(entry.transparent_slot, std::max(entry.colour_count, 0));
  ASSERT_GE(list.count, -1);
  ASSERT_LE(list.count, 256);
  ASSERT_EQ(entry.settings.forced_width, dib->width);
  ASSERT_EQ(entry.settings.forced_height, dib->height);
  std::uint32_t sum = 0;
  for (std::int32_t y = 0; y < dib->height; ++y) {
    for (std::int32_t x = 0; x < dib->width; ++x) {
      sum += static_cast<std::uint32_t>(dib->pixel(x, y));
    }
  }
  static_cast<void>(sum);
}

TEST(ImageFuzzTest, MutatedFilesThroughLoadImage) {
  ScratchFolder folder;
  ASSERT_FALSE(folder.path().empty());
  std::mt19937 random(kSeed + 1);
  const std::int32_t keys[] = {-1, 0, 1, 255, 0x00FF00};
  for (const Bytes& seed : bitmap_seeds()) {
    for (int round = 0; round < kLoadRoundsPerSeed; ++round) {
      const Bytes file = mutated(seed, random);
      const std::int32_t key = keys[random() % std::size(keys)];
      const std::string path = folder.write("fuzz.bmp", file);
      load_end_to_end(path, nullptr, key);
      // The same bytes as a plug-in's answer with a probed index; the
      // built-in reader then reads the file when the answer is refused.
      if (file.size() > 14) {
        BytesDecoder decoder;
        decoder.info.assign(file.begin() + 14, file.end());
        decoder.pixels.assign(file.begin() + static_cast<std::ptrdiff_t>(file.size() / 2),
                              file.end());
        decoder.probed = static_cast<std::int32_t>(random() % 300) - 20;
        load_end_to_end(path, &decoder, key);
      }
    }
  }
}

Bytes sample_png() {
  const Bytes chunks[] = {
      {0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 0, 0, 1, 0, 0, 0, 1, 8, 3, 0, 0, 0, 1, 2, 3, 4},
      {0, 0, 0, 6, 'P', 'L', 'T', 'E', 0, 0, 0, 255, 255, 255, 1, 2, 3, 4},
      {0, 0, 0, 2, 't', 'R', 'N', 'S', 255, 0, 1, 2, 3, 4},
      {0, 0, 0, 4, 'I', 'D', 'A', 'T', 0x78, 0x9C, 0, 0, 1, 2, 3, 4},
      {0, 0, 0, 0, 'I', 'E', 'N', 'D', 1, 2, 3, 4},
  };
  Bytes file = {137, 80, 78, 71, 13, 10, 26, 10};
  for (const Bytes& c : chunks) {
    file.insert(file.end(), c.begin(), c.end());
  }
  return file;
}

Bytes sample_gif() {
  return {'G',  'I',  'F',  '8',  '9',  'a',  1,    0,    1,    0,    0x81, 0,    0,
          0,    0,    0,    255,  255,  255,  1,    1,    1,    2,    2,    2,    0x21,
          0xFE, 0x02, 'h',  'i',  0x00, 0x2C, 0,    0,    0,    0,    1,    0,    1,
          0,    0x80, 9,    9,    9,    8,    8,    8,    0x02, 0x02, 0x44, 0x01, 0x00,
          0x21, 0xF9, 0x04, 0x01, 0x00, 0x00, 0x03, 0x00, 0x3B};
}

// Both probes answer -1 or a palette index, whatever the bytes.
bool probes_answer_an_index(std::span<const std::uint8_t> bytes) {
  for (const std::int32_t index : {png_transparent_index(bytes), gif_transparent_index(bytes)}) {
    if (index < -1 || index > 255) {
      return false;
    }
  }
  return true;
}

TEST(ImageFuzzTest, ProbesSurvivePrefixesAndMutations) {
  const Bytes png = sample_png();
  const Bytes gif = sample_gif();
  ASSERT_EQ(png_transparent_index(png), 1);
  ASSERT_EQ(gif_transparent_index(gif), 3);
  for (const Bytes* seed : {&png, &gif}) {
    for (std::size_t n = 0; n <= seed->size(); ++n) {
      EXPECT_TRUE(probes_answer_an_index({seed->data(), n})) << "prefix " << n;
    }
  }
  std::mt19937 random(kSeed);
  for (const Bytes* seed : {&png, &gif}) {
    for (int round = 0; round < 20000; ++round) {
      Bytes file = *seed;
      const int edits = 1 + static_cast<int>(random() % 3);
      for (int e = 0; e < edits; ++e) {
        file[random() % file.size()] = static_cast<std::uint8_t>(random());
      }
      if (random() % 4 == 0) {
        file.resize(random() % (file.size() + 1));
      }
      ASSERT_TRUE(probes_answer_an_index(file)) << "round " << round;
    }
  }
}

}  // namespace
}  // namespace piconel
