#include "project/image_entry_source.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <tuple>
#include <vector>

#include "project/current_page.h"
#include "project_fakes.h"
#include "store/file_io.h"

namespace piconel {
namespace {

using testing::ProjectFixture;
using testing::ProjectTempFolder;

void put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

// A 2 × 1 bitmap of 24 bits: red, then blue.
std::vector<std::uint8_t> tiny_bitmap() {
  std::vector<std::uint8_t> b;
  b.push_back('B');
  b.push_back('M');
  put32(b, 62);  // 0: file size
  put32(b, 0);   // 6: reserved
  put32(b, 54);  // 10: pixel offset
  put32(b, 40);  // 14: info header size
  put32(b, 2);   // 18: width
  put32(b, 1);   // 22: height
  put16(b, 1);   // 26: planes
  put16(b, 24);  // 28: bits per pixel
  put32(b, 0);   // 30: compression
  put32(b, 8);   // 34: image size
  put32(b, 0);
  put32(b, 0);
  put32(b, 0);
  put32(b, 0);
  // 54: one row, blue-green-red per pixel, padded to 8 bytes.
  for (std::uint8_t v : {0, 0, 255, 255, 0, 0, 0, 0}) {
    b.push_back(v);
  }
  return b;
}

class CountingFactory : public EntryDisplayFactory {
 public:
  std::unique_ptr<EntryDisplay> create_display(ImageEntry& entry, const Dib& picture) override {
    ++calls;
    last_entry = &entry;
    last_width = picture.width;
    if (fail) {
      return nullptr;
    }
    return std::make_unique<testing::FakeDisplay>();
  }
  int calls = 0;
  bool fail = false;
  ImageEntry* last_entry = nullptr;
  int last_width = 0;
};

TEST(ImageEntrySourceTest, PageLoadThroughTheImageLibrary) {
  ProjectTempFolder temp;
  ASSERT_TRUE(make_directories(temp.file("img")));
  ASSERT_TRUE(write_file_replacing(temp.file("img\\tiny.bmp"), tiny_bitmap()));

  CountingFactory factory;
  ColourList sheet_colours = ColourList::starting_with(0x00FFFFFF);
  ImageEntrySource source(nullptr, &sheet_colours, &factory);
  ProjectFixture f;
  f.project.ports.entry_source = &source;
  f.project.store = std::make_unique<DocumentStore>();
  ASSERT_TRUE(f.project.store->insert_row("PAGELIST", -1, "p"));
  ASSERT_TRUE(
      f.project.store->insert_row("FILELIST:p", -1, "img\\tiny.bmp\t30\t40\tT\t0\t2\t1\t0\t-1"));
  ASSERT_TRUE(f.project.store->insert_row("FILELIST:p", -1, "img\\missing.bmp\t0\t0"));
  f.project.page_count = 1;
  f.project.current_page = 0;
  f.project.folder = temp.path();
  f.prompter.answers = {kIdOk};

  load_current_page(f.project);
  ASSERT_EQ(f.project.images.entries().size(), 1u);
  const ImageEntry& entry = f.project.images.entries().front();
  EXPECT_EQ(entry.path, temp.file("img\\tiny.bmp"));
  EXPECT_EQ(entry.x, 30);
  EXPECT_EQ(entry.y, 40);
  EXPECT_EQ(entry.width, 2);
  EXPECT_EQ(entry.height, 1);
  EXPECT_TRUE(entry.has_display());
  EXPECT_EQ(entry.settings, (ImageSettings{"T", 0, 2, 1, 0, -1}));
  EXPECT_EQ(factory.calls, 1);
  EXPECT_EQ(factory.last_entry, &entry);
  EXPECT_EQ(factory.last_width, 2);
  EXPECT_EQ(sheet_colours.count, 3);  // white, red, blue
  EXPECT_EQ(f.prompter.boxes.size(), 1u);
}

TEST(ImageEntrySourceTest, FailingDisplayIsUnreadable) {
  ProjectTempFolder temp;
  ASSERT_TRUE(write_file_replacing(temp.file("tiny.bmp"), tiny_bitmap()));
  CountingFactory factory;
  factory.fail = true;
  ImageEntrySource source(nullptr, nullptr, &factory);
  ImageEntry entry;
  EXPECT_FALSE(source.open_entry(entry, temp.file("tiny.bmp"), 0, 0));

  ImageEntrySource headless(nullptr, nullptr, nullptr);
  ImageEntry plain;
  EXPECT_TRUE(headless.open_entry(plain, temp.file("tiny.bmp"), 5, 6));
  EXPECT_FALSE(plain.has_display());
  EXPECT_EQ(plain.x, 5);
  EXPECT_EQ(plain.y, 6);
}

// A `width` x 2 bitmap of 24 bits, each pixel a colour of its own from
// `seed`: pages of them fill the sheet colour list in row order.
std::vector<std::uint8_t> coloured_bitmap(std::uint32_t width, std::uint32_t seed) {
  const std::uint32_t stride = (width * 3 + 3) & ~3u;
  std::vector<std::uint8_t> b{'B', 'M'};
  for (std::uint32_t v : {54 + stride * 2, 0u, 54u, 40u, width, 2u}) {
    put32(b, v);
  }
  put16(b, 1);
  put16(b, 24);
  for (std::uint32_t v : {0u, stride * 2, 0u, 0u, 0u, 0u}) {
    put32(b, v);
  }
  for (std::uint32_t row = 0; row < 2; ++row) {
    for (std::uint32_t x = 0; x < stride; ++x) {
      b.push_back(x < width * 3 ? static_cast<std::uint8_t>(seed * 37 + row * 91 + x * 13) : 0);
    }
  }
  return b;
}

struct LoadedPage {
  std::vector<ImageEntry> entries;
  ColourList colours;
  std::vector<std::string> carried;
  std::size_t prompts = 0;
};

LoadedPage load_page(const ProjectTempFolder& temp, const std::vector<std::string>& rows,
                     int read_ahead_jobs) {
  CountingFactory factory;
  ColourList sheet_colours = ColourList::starting_with(0x00FFFFFF);
  ImageEntrySource source(nullptr, &sheet_colours, &factory, read_ahead_jobs);
  ProjectFixture f;
  f.project.ports.entry_source = &source;
  f.project.store = std::make_unique<DocumentStore>();
  EXPECT_TRUE(f.project.store->insert_row("PAGELIST", -1, "p"));
  for (const std::string& row : rows) {
    EXPECT_TRUE(f.project.store->insert_row("FILELIST:p", -1, row));
  }
  f.project.page_count = 1;
  f.project.current_page = 0;
  f.project.folder = temp.path();
  f.prompter.answers = std::deque<int>(rows.size(), kIdOk);
  load_current_page(f.project);

  LoadedPage page;
  for (const ImageEntry& entry : f.project.images.entries()) {
    EXPECT_TRUE(entry.has_display());
    ImageEntry copy;
    copy.path = entry.path;
    copy.bits_per_pixel = entry.bits_per_pixel;
    copy.width = entry.width;
    copy.height = entry.height;
    copy.x = entry.x;
    copy.y = entry.y;
    copy.colour_count = entry.colour_count;
    copy.transparent_slot = entry.transparent_slot;
    copy.palette = entry.palette;
    copy.settings = entry.settings;
    page.entries.push_back(std::move(copy));
  }
  page.colours = sheet_colours;
  for (const CarriedRow& row : f.project.carried_rows) {
    page.carried.push_back(row.row);
  }
  page.prompts = f.prompter.boxes.size();
  return page;
}

// Files read ahead on several threads give the page exactly what reading
// them row by row gives: entries, colour analyses, the sheet colours merged
// in row order, prompts and carried rows of unreadable files, a file named
// twice, and more colours than the sheet list holds.
TEST(ImageEntrySourceTest, APageReadAheadLoadsAsOneReadRowByRow) {
  ProjectTempFolder temp;
  std::vector<std::string> rows;
  for (std::uint32_t i = 0; i < 48; ++i) {
    const std::string name = "f" + std::to_string(i) + ".bmp";
    if (i % 11 == 5) {
      ASSERT_TRUE(write_file_replacing(temp.file(name), std::vector<std::uint8_t>{'B', 'M', 1}));
    } else if (i % 13 != 7) {  // else missing
      ASSERT_TRUE(write_file_replacing(temp.file(name), coloured_bitmap(1 + i % 9, i)));
    }
    rows.push_back(name + "\t" + std::to_string(i * 10) + "\t" + std::to_string(i % 3));
  }
  rows.push_back("f3.bmp\t500\t500");  // the same file again

  const LoadedPage by_row = load_page(temp, rows, 1);
  ASSERT_GT(by_row.entries.size(), 30u);
  ASSERT_FALSE(by_row.carried.empty());
  for (const int jobs : {2, 4}) {
    SCOPED_TRACE(jobs);
    const LoadedPage ahead = load_page(temp, rows, jobs);
    ASSERT_EQ(ahead.entries.size(), by_row.entries.size());
    for (std::size_t i = 0; i < ahead.entries.size(); ++i) {
      const ImageEntry& a = ahead.entries[i];
      const ImageEntry& b = by_row.entries[i];
      EXPECT_EQ(std::tie(a.path, a.bits_per_pixel, a.width, a.height, a.x, a.y, a.colour_count,
                         a.transparent_slot),
                std::tie(b.path, b.bits_per_pixel, b.width, b.height, b.x, b.y, b.colour_count,
                         b.transparent_slot));
      EXPECT_EQ(0, std::memcmp(a.palette.data(), b.palette.data(), sizeof a.palette));
      EXPECT_EQ(a.settings, b.settings);
    }
    EXPECT_EQ(ahead.colours.count, by_row.colours.count);
    EXPECT_EQ(0, std::memcmp(ahead.colours.entries.data(), by_row.colours.entries.data(),
                             sizeof ahead.colours.entries));
    EXPECT_EQ(ahead.carried, by_row.carried);
    EXPECT_EQ(ahead.prompts, by_row.prompts);
  }
}

}  // namespace
}  // namespace piconel
