#include "image/read_ahead.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/load_image.h"
#include "image_test_helpers.h"
#include "store/file_io.h"

namespace piconel {
namespace {

using testing::Bytes;
using testing::make_true_colour_bitmap;

// Every slot holds what decode_image gives for its path, a file that does
// not decode included; past the budget the files are left for their rows.
TEST(ReadAhead, GivesWhatDecodeImageGivesWithinItsBudget) {
  const std::string folder = ::testing::TempDir();
  std::vector<std::string> paths;
  for (int i = 0; i < 12; ++i) {
    const std::string path = folder + "read_ahead_" + std::to_string(i) + ".bmp";
    if (i == 4) {
      ASSERT_TRUE(write_file_replacing(path, Bytes{'B', 'M'}));
    } else if (i != 7) {  // 7 is missing
      ASSERT_TRUE(write_file_replacing(
          path, make_true_colour_bitmap(1 + i, 2, 24,
                                        std::vector<std::uint32_t>(2 + 2 * i, 0x123456u * i))));
    }
    paths.push_back(path);
  }

  for (const int jobs : {1, 2, 5}) {
    SCOPED_TRACE(jobs);
    const std::vector<ReadAheadFile> slots = read_ahead(paths, nullptr, jobs);
    ASSERT_EQ(slots.size(), paths.size());
    for (std::size_t i = 0; i < paths.size(); ++i) {
      LoadImageRequest request;
      request.path = paths[i];
      const std::optional<DecodedFile> expected = decode_image(request);
      EXPECT_EQ(slots[i].path, paths[i]);
      ASSERT_TRUE(slots[i].ready);
      ASSERT_EQ(slots[i].file.has_value(), expected.has_value()) << i;
      if (expected) {
        EXPECT_EQ(slots[i].file->dib.width, expected->dib.width);
        EXPECT_EQ(slots[i].file->dib.pixels, expected->dib.pixels);
      }
    }
  }

  // One job takes the files in order: the first three pictures fit.
  std::size_t three = 0;
  for (int i = 0; i < 3; ++i) {
    three += read_ahead(std::span(paths).subspan(i, 1), nullptr, 1)[0].file->dib.pixels.size();
  }
  const std::vector<ReadAheadFile> slots = read_ahead(paths, nullptr, 1, three);
  for (std::size_t i = 0; i < slots.size(); ++i) {
    EXPECT_EQ(slots[i].ready, i < 3) << i;
  }
}

}  // namespace
}  // namespace piconel
