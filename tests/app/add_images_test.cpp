// Adding image files: the dialog's type list and the loop over the files
// with the refused paths and the carried placement cursor.

#include "app/add_images.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "project/project_texts.h"
#include "project_fakes_for_app.h"

namespace piconel {
namespace {

TEST(ImageFilters, AllFilesFirstThenThePlugins) {
  ImageFilters filters;
  build_image_filters(filters, [](std::span<char> rest) {
    const char pairs[] = "PNG\0*.png\0GIF\0*.gif;*.agif\0";  // and the closing zero
    std::memcpy(rest.data(), pairs, sizeof(pairs));
    return sizeof(pairs);
  });
  ASSERT_EQ(filters.pairs.size(), 3u);
  EXPECT_EQ(filters.pairs[0].description, project_texts::kAllFilesFilterName);
  EXPECT_EQ(filters.pairs[0].pattern, "*.*");
  EXPECT_EQ(filters.pairs[1].description, "PNG");
  EXPECT_EQ(filters.pairs[2].pattern, "*.gif;*.agif");

  // No plug-ins, and a writer that fills its whole span without a closing
  // zero: the reader stops at the buffer's end.
  ImageFilters none;
  build_image_filters(none, nullptr);
  EXPECT_EQ(none.pairs.size(), 1u);
  ImageFilters full;
  build_image_filters(full, [](std::span<char> rest) {
    std::memset(rest.data(), 'x', rest.size());
    return rest.size();
  });
  EXPECT_EQ(full.pairs.size(), 1u);
}

TEST(AddImageFiles, RefusesUnstorablePathsAndCarriesTheCursor) {
  RecordingPrompter owner;
  std::vector<std::string> opened;
  std::vector<std::pair<int, int>> starts;
  const std::vector<std::string> paths = {"C:\\a.bmp", "C:\\x=y.bmp", "C:\\gone.bmp", "C:\\b.bmp"};
  PlacementCursor cursor;
  const int added =
      add_image_files(paths, &cursor, &owner, [&](std::string_view path, PlacementCursor* at) {
        opened.emplace_back(path);
        starts.emplace_back(at->x, at->y);
        if (path == "C:\\gone.bmp") {
          return false;  // unreadable: skipped silently
        }
        at->x += 32;
        return true;
      });
  EXPECT_EQ(added, 2);
  EXPECT_EQ(opened, (std::vector<std::string>{"C:\\a.bmp", "C:\\gone.bmp", "C:\\b.bmp"}));
  EXPECT_EQ(starts, (std::vector<std::pair<int, int>>{{0, 0}, {32, 0}, {32, 0}}));
  ASSERT_EQ(owner.texts.size(), 1u);  // only the refused path has a message
  EXPECT_NE(owner.texts[0].find("C:\\x=y.bmp"), std::string::npos);
}

}  // namespace
}  // namespace piconel
