#include "output/shared_image_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/decode_cache.h"
#include "output/output_fixture.h"

namespace piconel {
namespace {

struct Page {
  std::string name;
  std::vector<std::string> paths;  // one row each
  std::vector<bool> shared;        // expected, row by row
};

struct SharingCase {
  const char* name;
  std::string project_folder;
  std::vector<Page> pages;
};

std::vector<std::string> project_lines(const SharingCase& c) {
  std::vector<std::string> lines = {"[PAGELIST]"};
  for (const Page& page : c.pages) {
    lines.push_back(page.name);
  }
  for (const Page& page : c.pages) {
    if (page.paths.empty()) {
      continue;  // no file list at all
    }
    lines.push_back("[FILELIST:" + page.name + "]");
    for (const std::string& path : page.paths) {
      lines.push_back(path + "\t0\t0\tL\t0\t0\t0\t0\t0");
    }
  }
  return lines;
}

TEST(SharedImageRows, RowsNamingTheSameResolvedFileAreSharedAndCounted) {
  const std::string too_long(300, 'x');
  const std::vector<SharingCase> cases = {
      {"every file once",
       "C:\\p\\",
       {{"a", {"1.bmp", "2.bmp"}, {false, false}}, {"b", {"3.bmp"}, {false}}}},
      {"across pages and within a page",
       "C:\\p\\",
       {{"a", {"1.bmp", "2.bmp", "1.bmp"}, {true, true, true}},
        {"b", {"3.bmp", "2.bmp"}, {false, true}}}},
      {"a relative and an absolute name of one file",
       "C:\\p\\",
       {{"a", {"1.bmp", "C:\\p\\1.bmp", "c:\\p\\1.bmp"}, {true, true, false}}}},
      {"paths that do not resolve share nothing",
       "C:\\p\\",
       {{"a", {too_long, too_long, "1.bmp"}, {false, false, false}}}},
      {"a page without a file list",
       "",
       {{"a", {"1.bmp"}, {true}}, {"b", {}, {}}, {"c", {"1.bmp"}, {true}}}},
  };
  for (const SharingCase& c : cases) {
    SCOPED_TRACE(c.name);
    DocumentStore store;
    test::load_project_text(store, project_lines(c));
    std::vector<std::string> names;
    for (const Page& page : c.pages) {
      names.push_back(page.name);
    }
    DecodeCache cache;
    const SharedImageRows rows = count_shared_image_rows(store, names, c.project_folder, cache);
    for (std::size_t page = 0; page < c.pages.size(); ++page) {
      for (std::size_t row = 0; row < c.pages[page].shared.size(); ++row) {
        EXPECT_EQ(rows.shared(page, row), c.pages[page].shared[row]) << page << " " << row;
      }
    }
    // A row the count never saw goes through the cache.
    EXPECT_TRUE(rows.shared(c.pages.size(), 0));
  }
}

// The cache was told of every shared row: a picture named by two rows is
// held after the first and let go at the second.
TEST(SharedImageRows, SharedFilesAreHeldUntilTheirLastRow) {
  DocumentStore store;
  test::load_project_text(store,
                          {"[PAGELIST]", "a", "b", "[FILELIST:a]", "1.bmp\t0\t0\tL\t0\t0\t0\t0\t0",
                           "[FILELIST:b]", "1.bmp\t0\t0\tL\t0\t0\t0\t0\t0"});
  DecodeCache cache;
  const SharedImageRows rows = count_shared_image_rows(store, {"a", "b"}, "C:\\p\\", cache);
  ASSERT_TRUE(rows.shared(0, 0) && rows.shared(1, 0));
  const auto decode = [] {
    DecodedFile file;
    file.dib.width = 1;
    file.dib.height = 1;
    file.dib.bits_per_pixel = 24;
    file.dib.stride = 4;
    file.dib.pixels.assign(4, 0);
    return std::optional<DecodedFile>(file);
  };
  ASSERT_TRUE(cache.decode("C:\\p\\1.bmp", decode));
  EXPECT_EQ(cache.held_count(), 1u);
  ASSERT_TRUE(cache.decode("C:\\p\\1.bmp", decode));
  EXPECT_EQ(cache.held_count(), 0u);
  EXPECT_EQ(cache.decoded_count(), 1u);
}

}  // namespace
}  // namespace piconel
