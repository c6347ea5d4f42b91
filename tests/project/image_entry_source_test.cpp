#include "project/image_entry_source.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <string>
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

}  // namespace
}  // namespace piconel
