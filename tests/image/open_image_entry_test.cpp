#include "image/open_image_entry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/image_test_helpers.h"
#include "image/picture_decoder.h"

namespace piconel {
namespace {

using testing::Bytes;
using testing::make_paletted_bitmap;
using testing::make_true_colour_bitmap;
using testing::rgb;
using testing::ScratchFolder;

class RecordingDisplay final : public EntryDisplay {};

// Creates displays (or refuses to) and records what it was given.
class FakeDisplayFactory final : public EntryDisplayFactory {
 public:
  bool succeed = true;
  std::vector<const ImageEntry*> entries;
  std::vector<std::int32_t> picture_widths;

  std::unique_ptr<EntryDisplay> create_display(ImageEntry& entry, const Dib& picture) override {
    entries.push_back(&entry);
    picture_widths.push_back(picture.width);
    if (!succeed) {
      return nullptr;
    }
    return std::make_unique<RecordingDisplay>();
  }
};

class CountingDecoder final : public PictureDecoder {
 public:
  mutable int calls = 0;
  std::optional<DecodedPicture> decode(std::string_view) const override {
    ++calls;
    return std::nullopt;
  }
};

Bytes square(std::int32_t side, std::uint32_t colour) {
  return make_true_colour_bitmap(
      side, side, 24, std::vector<std::uint32_t>(static_cast<std::size_t>(side * side), colour));
}

class OpenImageEntryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(folder.path().empty());
    folder.write("sprite_01.bmp", square(32, 0x102030));
    folder.write("red.bmp", square(32, 0xFF0000));
    folder.write("wide.bmp", square(100, 0x00FF00));
  }

  OpenImageRequest request(std::string_view path) {
    OpenImageRequest r;
    r.path = path;
    r.project_folder = folder.path();
    r.cursor = &cursor;
    r.view = {0, 783, 0};
    r.colour_list = &sheet_colours;
    r.display_factory = &factory;
    return r;
  }

  ScratchFolder folder;
  PlacementCursor cursor;
  ColourList sheet_colours = ColourList::starting_with(make_colorref(255, 255, 255));
  FakeDisplayFactory factory;
  ImageEntryList entries;
};

TEST_F(OpenImageEntryTest, FillsTheEntry) {
  ImageEntry entry;
  entry.selected = true;
  entry.display = std::make_unique<RecordingDisplay>();
  entry.settings.size_forced = 1;
  entry.settings.transparent_on = 1;
  const std::optional<Dib> picture = open_image_entry(entry, request("sprite_01.bmp"));
  ASSERT_TRUE(picture.has_value());
  EXPECT_EQ(entry.path, folder.path() + "sprite_01.bmp");
  EXPECT_EQ(entry.width, 32);
  EXPECT_EQ(entry.height, 32);
  EXPECT_EQ(entry.x, 0);
  EXPECT_EQ(entry.y, 0);
  EXPECT_FALSE(entry.selected);
  EXPECT_FALSE(entry.has_display());
  EXPECT_EQ(entry.bits_per_pixel, 24);
  EXPECT_EQ(entry.colour_count, 1);
  EXPECT_EQ(entry.settings.label, "SPRITE_01");
  EXPECT_EQ(entry.settings.size_forced, 0);
  EXPECT_EQ(entry.settings.forced_width, 32);
  EXPECT_EQ(entry.settings.forced_height, 32);
  EXPECT_EQ(entry.settings.transparent_on, 0);
  EXPECT_EQ(entry.settings.transparent_key, 0x102030);
  EXPECT_EQ(sheet_colours.count, 2) << "merged into the sheet colour list";
  EXPECT_EQ(cursor.x, 0) << "open alone leaves the cursor";
  EXPECT_EQ(picture->pixel(31, 31), 0x102030);
}

TEST_F(OpenImageEntryTest, FailuresGiveNothing) {
  ImageEntry entry;
  EXPECT_FALSE(open_image_entry(entry, request("missing.bmp")).has_value());
  const std::string long_name(300, 'x');
  EXPECT_FALSE(open_image_entry(entry, request(long_name)).has_value());
  EXPECT_EQ(sheet_colours.count, 1);
}

TEST_F(OpenImageEntryTest, AbsolutePathIgnoresTheProjectFolder) {
  // The scratch folder in the program's absolute form: "Z:\\tmp\\..." on
  // Linux (the file boundary maps Z: to the root), "C:\\..." on Windows.
  std::string absolute = folder.path();
  if (!absolute.empty() && absolute[0] == '/') {
    absolute = "Z:" + absolute;
  }
  for (char& c : absolute) {
    if (c == '/') {
      c = '\\';
    }
  }
  absolute += "red.bmp";
  ImageEntry entry;
  OpenImageRequest r = request(absolute);
  r.project_folder = "C:\\elsewhere\\";
  ASSERT_TRUE(open_image_entry(entry, r).has_value());
  EXPECT_EQ(entry.path, absolute);
  EXPECT_EQ(entry.settings.label, "RED");
}

TEST_F(OpenImageEntryTest, KeepPositionStaysAtTheCursor) {
  entries.emplace_back();
  entries.back().width = 100;
  entries.back().height = 100;
  cursor = {10, 20};
  ImageEntry entry;
  OpenImageRequest r = request("red.bmp");
  r.keep_position = true;
  r.entries = &entries;
  ASSERT_TRUE(open_image_entry(entry, r).has_value());
  EXPECT_EQ(entry.x, 10);
  EXPECT_EQ(entry.y, 20);
  r.keep_position = false;
  ASSERT_TRUE(open_image_entry(entry, r).has_value());
  EXPECT_EQ(entry.x, 100);
  EXPECT_EQ(entry.y, 20);
}

TEST_F(OpenImageEntryTest, ThreeDroppedImagesFormARow) {
  for (int i = 0; i < 3; ++i) {
    ImageEntry* added = add_image_entry(entries, request("red.bmp"));
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added, &entries.back());
    EXPECT_EQ(added->x, 32 * i);
    EXPECT_EQ(added->y, 0);
    EXPECT_TRUE(added->has_display());
  }
  EXPECT_EQ(cursor.x, 96);
  EXPECT_EQ(cursor.y, 0);
  ASSERT_EQ(factory.entries.size(), 3u);
  EXPECT_EQ(factory.entries[2], &entries.back()) << "display made at the final address";
  EXPECT_EQ(factory.picture_widths[0], 32);
}

TEST_F(OpenImageEntryTest, FixedSheetWidthWrapsTheThirdImage) {
  std::vector<SheetPoint> positions;
  for (int i = 0; i < 3; ++i) {
    OpenImageRequest r = request("red.bmp");
    r.view.fixed_sheet_width = 64;
    ImageEntry* added = add_image_entry(entries, r);
    ASSERT_NE(added, nullptr);
    positions.push_back({added->x, added->y});
  }
  EXPECT_EQ(positions[2], (SheetPoint{0, 32}));
  EXPECT_EQ(cursor.x, 32);
  EXPECT_EQ(cursor.y, 32);
}

TEST_F(OpenImageEntryTest, DroppedOntoAnImageMovesPastItOrBelow) {
  // One image at (0, 0) 100 x 100; the cursor at (50, 50) lies inside it.
  ASSERT_NE(add_image_entry(entries, request("wide.bmp")), nullptr);
  cursor = {50, 50};
  ImageEntry* moved = add_image_entry(entries, request("red.bmp"));
  ASSERT_NE(moved, nullptr);
  EXPECT_EQ(moved->x, 100);
  EXPECT_EQ(moved->y, 50);
  // With a limit of 120 the right edge plus 32 does not fit: below the lowest.
  cursor = {50, 50};
  OpenImageRequest r = request("red.bmp");
  r.view.fixed_sheet_width = 120;
  ImageEntry* below = add_image_entry(entries, r);
  ASSERT_NE(below, nullptr);
  EXPECT_EQ(below->x, 0);
  EXPECT_EQ(below->y, 100);
}

TEST_F(OpenImageEntryTest, FailedDisplayDropsTheEntry) {
  ASSERT_NE(add_image_entry(entries, request("red.bmp")), nullptr);
  factory.succeed = false;
  EXPECT_EQ(add_image_entry(entries, request("red.bmp")), nullptr);
  EXPECT_EQ(entries.size(), 1u);
  EXPECT_EQ(cursor.x, 32) << "the cursor moves only on success";
}

TEST_F(OpenImageEntryTest, UnreadableFileAddsNothing) {
  EXPECT_EQ(add_image_entry(entries, request("missing.bmp")), nullptr);
  EXPECT_TRUE(entries.empty());
  EXPECT_EQ(cursor.x, 0);
}

TEST_F(OpenImageEntryTest, TheEntry257IsRefusedWithoutReadingTheFile) {
  CountingDecoder decoder;
  OpenImageRequest r = request("red.bmp");
  r.decoders = &decoder;
  r.display_factory = nullptr;  // the model alone
  for (int i = 0; i < kMaxEntriesPerPage; ++i) {
    ASSERT_NE(add_image_entry(entries, r), nullptr) << i;
  }
  EXPECT_EQ(decoder.calls, kMaxEntriesPerPage);
  EXPECT_EQ(add_image_entry(entries, r), nullptr);
  EXPECT_EQ(decoder.calls, kMaxEntriesPerPage) << "the file was not read";
  EXPECT_EQ(entries.size(), static_cast<std::size_t>(kMaxEntriesPerPage));
  EXPECT_FALSE(entries.back().has_display());
}

TEST(AdvanceCursorTest, MovesToTheRightEdge) {
  ImageEntry entry;
  entry.x = 10;
  entry.y = 7;
  entry.width = 5;
  PlacementCursor cursor;
  advance_cursor(&cursor, entry);
  EXPECT_EQ(cursor.x, 15);
  EXPECT_EQ(cursor.y, 7);
  advance_cursor(nullptr, entry);  // no cursor: nothing happens
}

}  // namespace
}  // namespace piconel
