#include "project/current_page.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "project/image_rows.h"
#include "project/page_list_item.h"
#include "project/page_operations.h"
#include "project/used_extent.h"
#include "project_fakes.h"

namespace piconel {
namespace {

using testing::ProjectFixture;
using Rows = std::vector<std::string>;

// ピコネル：プロジェクト
constexpr char kProjectCaption[] =
    "\x83s\x83R\x83l\x83\x8B\x81"
    "F\x83v\x83\x8D\x83W\x83"
    "F\x83N\x83g";

std::string unreadable_text(const std::string& path) {
  // 画像ファイルの読み込みに失敗しました。\n%s\n\nｷｬﾝｾﾙすると以降の読めなかったﾌｧｲﾙを無視します。
  return "\x89\xE6\x91\x9C\x83t\x83@\x83"
         "C\x83\x8B\x82\xCC\x93\xC7\x82\xDD\x8D\x9E\x82\xDD\x82\xC9\x8E\xB8\x94s\x82\xB5\x82\xDC"
         "\x82"
         "\xB5\x82\xBD\x81"
         "B\n" +
         path +
         "\n\n\xB7\xAC\xDD\xBE\xD9\x82\xB7\x82\xE9\x82\xC6\x88\xC8\x8D~\x82\xCC\x93\xC7\x82\xDF\x82"
         "\xC8\x82\xA9\x82\xC1\x82\xBD\xCC\xA7\xB2\xD9\x82\xF0\x96\xB3\x8E\x8B\x82\xB5\x82\xDC\x82"
         "\xB7"
         "\x81"
         "B";
}

// Deletes the entry at `index`, as the user would.
void remove_at(Project& project, int index) {
  const ImageEntry* gone = project.images.at(index);
  static_cast<void>(
      project.images.remove_where([&](const ImageEntry& entry) { return &entry == gone; }));
}

// Pages "a" and "b" with the given image rows; page 0 current; project
// folder C:\proj\.
void make_project(ProjectFixture& f, const Rows& rows_a, const Rows& rows_b = {}) {
  f.project.store = std::make_unique<DocumentStore>();
  DocumentStore& store = *f.project.store;
  ASSERT_TRUE(store.insert_row("PAGELIST", -1, "a"));
  ASSERT_TRUE(store.insert_row("PAGELIST", -1, "b"));
  for (const std::string& row : rows_a) {
    ASSERT_TRUE(store.insert_row("FILELIST:a", -1, row));
  }
  for (const std::string& row : rows_b) {
    ASSERT_TRUE(store.insert_row("FILELIST:b", -1, row));
  }
  f.project.page_count = 2;
  f.project.current_page = 0;
  f.project.path = "C:\\proj\\game.ijp";
  f.project.folder = "C:\\proj\\";
}

Rows rows_of(Project& project, const std::string& page) {
  Rows rows;
  const StoreSection* section = project.store->find_section("FILELIST:" + page);
  if (section != nullptr) {
    for (const StoreEntry& entry : section->entries()) {
      rows.emplace_back(entry.value());
    }
  }
  return rows;
}

TEST(LoadCurrentPageTest, OpensRowsInOrderWithTheirSettings) {
  ProjectFixture f;
  make_project(f, {"img\\a.bmp\t5\t6\tHERO\t1\t40\t50\t1\t3", "D:\\b.bmp\t7\t8"});
  f.source.add("C:\\proj\\img\\a.bmp", 10, 20);
  f.source.add("D:\\b.bmp", 4, 4);
  load_current_page(f.project);

  ASSERT_EQ(f.project.images.entries().size(), 2u);
  const ImageEntry& first = f.project.images.entries().front();
  EXPECT_EQ(first.path, "C:\\proj\\img\\a.bmp");
  EXPECT_EQ(first.x, 5);
  EXPECT_EQ(first.y, 6);
  // The row's settings replace what the loader chose.
  EXPECT_EQ(first.settings, (ImageSettings{"HERO", 1, 40, 50, 1, 3}));
  const ImageEntry& second = f.project.images.entries().back();
  EXPECT_EQ(second.settings, (ImageSettings{"", 0, 0, 0, 0, 0}));
  EXPECT_TRUE(f.prompter.boxes.empty());
  EXPECT_EQ(f.sheet.log, (Rows{"begin", "reset", "size", "colour", "redraw", "end"}));
}

TEST(LoadCurrentPageTest, PathResolution) {
  ProjectFixture f;
  make_project(f, {"a\\b.bmp", "\\\\server\\share\\x.bmp", "D:\\x.bmp", "\\x.bmp",
                   "\x83\x5C\\\x95\x5C.bmp"});
  load_current_page(f.project);
  EXPECT_EQ(f.source.opened, (Rows{"C:\\proj\\a\\b.bmp", "\\\\server\\share\\x.bmp", "D:\\x.bmp",
                                   "C:\\proj\\\\x.bmp", "C:\\proj\\\x83\x5C\\\x95\x5C.bmp"}));
}

TEST(LoadCurrentPageTest, UnreadableImagePromptsPerFile) {
  ProjectFixture f;
  make_project(f, {"C:\\m1.bmp", "C:\\ok.bmp", "C:\\m2.bmp", "C:\\m3.bmp"});
  f.source.add("C:\\ok.bmp");
  f.prompter.answers = {kIdOk, kIdOk, kIdOk};
  load_current_page(f.project);
  ASSERT_EQ(f.prompter.boxes.size(), 3u);
  EXPECT_EQ(f.prompter.boxes[0].text, unreadable_text("C:\\m1.bmp"));
  EXPECT_EQ(f.prompter.boxes[2].text, unreadable_text("C:\\m3.bmp"));
  EXPECT_EQ(f.prompter.boxes[0].caption, kProjectCaption);
  EXPECT_EQ(f.prompter.boxes[0].type, kMbOkCancel | kMbIconExclamation);
  ASSERT_EQ(f.project.images.entries().size(), 1u);
  EXPECT_EQ(f.project.images.entries().front().path, "C:\\ok.bmp");
}

TEST(LoadCurrentPageTest, CancelSilencesTheRestOfTheLoad) {
  ProjectFixture f;
  make_project(f, {"C:\\m1.bmp", "C:\\m2.bmp", "C:\\ok.bmp", "C:\\m3.bmp"});
  f.source.add("C:\\ok.bmp");
  f.prompter.answers = {kIdCancel};
  load_current_page(f.project);
  EXPECT_EQ(f.prompter.boxes.size(), 1u);
  EXPECT_EQ(f.project.images.entries().size(), 1u);
  // The next load prompts again.
  f.prompter.answers = {kIdCancel};
  load_current_page(f.project);
  EXPECT_EQ(f.prompter.boxes.size(), 2u);
}

TEST(LoadCurrentPageTest, PromptShowsThePathAsStored) {
  ProjectFixture f;
  make_project(f, {"img\\gone.bmp\t1\t2"});
  load_current_page(f.project);
  ASSERT_EQ(f.prompter.boxes.size(), 1u);
  EXPECT_EQ(f.prompter.boxes[0].text, unreadable_text("img\\gone.bmp"));
}

TEST(LoadCurrentPageTest, UnreadableRowsAreCarriedOverInPlace) {
  ProjectFixture f;
  make_project(f, {"C:\\gone1.bmp\t0\t0\tG1\t0\t0\t0\t0\t0", "C:\\a.bmp\t1\t1",
                   "img\\gone2.bmp\t2\t2", "C:\\b.bmp\t3\t3", "C:\\gone3.bmp\t9\t9"});
  f.source.add("C:\\a.bmp");
  f.source.add("C:\\b.bmp");
  load_current_page(f.project);
  ASSERT_EQ(f.project.images.entries().size(), 2u);

  ASSERT_TRUE(sync_current_page(f.project));
  EXPECT_EQ(rows_of(f.project, "a"),
            (Rows{"C:\\gone1.bmp\t0\t0\tG1\t0\t0\t0\t0\t0", "C:\\a.bmp\t1\t1\t\t0\t0\t0\t0\t0",
                  "C:\\proj\\img\\gone2.bmp\t2\t2", "C:\\b.bmp\t3\t3\t\t0\t0\t0\t0\t0",
                  "C:\\gone3.bmp\t9\t9"}));

  // Entries deleted in between: the carried rows keep their order and go
  // to the end when fewer entries are left.
  remove_at(f.project, 0);
  ASSERT_TRUE(sync_current_page(f.project));
  EXPECT_EQ(rows_of(f.project, "a"),
            (Rows{"C:\\gone1.bmp\t0\t0\tG1\t0\t0\t0\t0\t0", "C:\\b.bmp\t3\t3\t\t0\t0\t0\t0\t0",
                  "C:\\proj\\img\\gone2.bmp\t2\t2", "C:\\gone3.bmp\t9\t9"}));
}

TEST(LoadCurrentPageTest, UnreadableRowsBecomePlaceholdersThatCanBeDeleted) {
  ProjectFixture f;
  f.source.placeholders = true;
  make_project(
      f, {"C:\\a.bmp\t1\t1", "img\\gone.bmp\t40\t50\tG\t1\t10\t20\t0\t0", "C:\\gone2.bmp\t0\t90",
          "C:\\gone3.bmp\t0\t200\t\t0\t48\t24\t0\t0", "C:\\gone4.bmp\t0\t300\t\t0\t0\t-5\t0\t0"});
  ASSERT_TRUE(f.project.store->set_int("PROPERTY:a", "PUTIMAGEWIDTH", 300));
  ASSERT_TRUE(f.project.store->set_int("PROPERTY:a", "PUTIMAGEHEIGHT", 5));
  f.source.add("C:\\a.bmp");
  f.prompter.answers = {kIdOk, kIdOk, kIdOk, kIdOk};
  load_current_page(f.project);
  EXPECT_EQ(f.prompter.boxes.size(), 4u);  // the prompt still appears
  ASSERT_EQ(f.project.images.entries().size(), 5u);
  EXPECT_TRUE(f.project.carried_rows.empty());
  const ImageEntry& gone = *std::next(f.project.images.entries().begin());
  EXPECT_TRUE(gone.placeholder);
  EXPECT_TRUE(gone.has_display());
  EXPECT_EQ(gone.path, "C:\\proj\\img\\gone.bmp");
  // The stored size (forced or only remembered) where it is above 0, else
  // 32 x 32.
  EXPECT_EQ((std::pair{gone.x, gone.y}), (std::pair{40, 50}));
  const std::vector<std::pair<int, int>> sizes = {{10, 20}, {32, 32}, {48, 24}, {32, 32}};
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    const ImageEntry& entry =
        *std::next(f.project.images.entries().begin(), static_cast<std::ptrdiff_t>(i) + 1);
    EXPECT_EQ((std::pair{entry.width, entry.height}), sizes[i]) << i;
  }
  remove_at(f.project, f.project.images.count() - 1);
  remove_at(f.project, f.project.images.count() - 1);

  // Written back in place with their settings; the stored size never shrinks
  // while placeholders are there.
  f.sheet.extent = {17, 122};
  ASSERT_TRUE(sync_current_page(f.project));
  EXPECT_EQ(rows_of(f.project, "a"), (Rows{"C:\\a.bmp\t1\t1\t\t0\t0\t0\t0\t0",
                                           "C:\\proj\\img\\gone.bmp\t40\t50\tG\t1\t10\t20\t0\t0",
                                           "C:\\gone2.bmp\t0\t90\t\t0\t0\t0\t0\t0"}));
  int width = 0;
  int height = 0;
  ASSERT_TRUE(f.project.store->get_int("PROPERTY:a", "PUTIMAGEWIDTH", width));
  ASSERT_TRUE(f.project.store->get_int("PROPERTY:a", "PUTIMAGEHEIGHT", height));
  EXPECT_EQ((std::pair{width, height}), (std::pair{300, 122}));

  // Deleting the placeholders removes their rows; the size is measured again.
  remove_at(f.project, f.project.images.count() - 1);
  remove_at(f.project, 1);
  ASSERT_TRUE(sync_current_page(f.project));
  EXPECT_EQ(rows_of(f.project, "a"), (Rows{"C:\\a.bmp\t1\t1\t\t0\t0\t0\t0\t0"}));
  ASSERT_TRUE(f.project.store->get_int("PROPERTY:a", "PUTIMAGEWIDTH", width));
  EXPECT_EQ(width, 17);
}

TEST(LoadCurrentPageTest, RowsBeyond256EntriesAreRefusedAndCarried) {
  ProjectFixture f;
  Rows rows;
  for (int i = 0; i < 257; ++i) {
    rows.push_back("C:\\i" + std::to_string(i) + ".bmp\t" + std::to_string(i) + "\t0");
    f.source.add("C:\\i" + std::to_string(i) + ".bmp");
  }
  make_project(f, rows);
  f.prompter.answers = {kIdOk};
  load_current_page(f.project);
  EXPECT_EQ(f.project.images.entries().size(), 256u);
  EXPECT_EQ(f.source.opened.size(), 256u);
  ASSERT_EQ(f.prompter.boxes.size(), 1u);
  EXPECT_EQ(f.prompter.boxes[0].text, unreadable_text("C:\\i256.bmp"));
  ASSERT_TRUE(sync_current_page(f.project));
  EXPECT_EQ(rows_of(f.project, "a").size(), 257u);
  EXPECT_EQ(rows_of(f.project, "a").back(), "C:\\i256.bmp\t256\t0");
}

TEST(LoadCurrentPageTest, TooLongResolvedPathIsUnreadable) {
  ProjectFixture f;
  const std::string relative(255, 'x');
  make_project(f, {relative + "\t1\t2"});
  load_current_page(f.project);
  EXPECT_TRUE(f.source.opened.empty());
  EXPECT_EQ(f.prompter.boxes.size(), 1u);
  ASSERT_TRUE(sync_current_page(f.project));
  // Kept as read: with the folder it would not fit the path field.
  EXPECT_EQ(rows_of(f.project, "a"), (Rows{relative + "\t1\t2"}));
}

TEST(LoadCurrentPageTest, IndexNamingNoPageLoadsNothing) {
  ProjectFixture f;
  make_project(f, {"C:\\a.bmp"});
  f.source.add("C:\\a.bmp");
  f.project.current_page = 5;
  load_current_page(f.project);
  EXPECT_TRUE(f.project.images.entries().empty());
  EXPECT_EQ(f.sheet.log, (Rows{"begin", "reset", "end"}));
}

TEST(LoadCurrentPageTest, WithoutViewRowsSurviveSync) {
  ProjectFixture f;
  f.sheet.present = false;
  make_project(f, {"img\\a.bmp\t1\t2\tL\t0\t0\t0\t0\t0", "D:\\b.bmp\t3\t4"});
  load_current_page(f.project);
  EXPECT_TRUE(f.project.images.entries().empty());
  EXPECT_TRUE(f.source.opened.empty());
  EXPECT_TRUE(f.prompter.boxes.empty());
  ASSERT_TRUE(sync_current_page(f.project));
  EXPECT_EQ(rows_of(f.project, "a"),
            (Rows{"C:\\proj\\img\\a.bmp\t1\t2\tL\t0\t0\t0\t0\t0", "D:\\b.bmp\t3\t4"}));
}

TEST(SyncCurrentPageTest, WithoutViewStoredSheetSizeIsKept) {
  // Without a view nothing was measured: writing the extent of the (empty)
  // entry list would turn the page's stored size into 0 x 0.
  ProjectFixture f;
  f.sheet.present = false;
  make_project(f, {"C:\\a.bmp\t10\t20"});
  ASSERT_TRUE(f.project.store->set_int("PROPERTY:a", "PUTIMAGEWIDTH", 64));
  ASSERT_TRUE(f.project.store->set_int("PROPERTY:a", "PUTIMAGEHEIGHT", 32));
  load_current_page(f.project);
  ASSERT_TRUE(sync_current_page(f.project));
  EXPECT_EQ(f.project.store->get_string("PROPERTY:a", "PUTIMAGEWIDTH"), "64");
  EXPECT_EQ(f.project.store->get_string("PROPERTY:a", "PUTIMAGEHEIGHT"), "32");
}

TEST(SyncCurrentPageTest, SwitchingAwayAndBackGivesFullPathRows) {
  ProjectFixture f;
  make_project(f, {"img\\a.bmp\t5\t6\tHERO\t1\t40\t50\t1\t3", "D:\\b.bmp\t7\t8"});
  f.source.add("C:\\proj\\img\\a.bmp");
  f.source.add("D:\\b.bmp");
  load_current_page(f.project);
  select_page(f.project, 1);
  select_page(f.project, 0);
  ASSERT_TRUE(sync_current_page(f.project));
  EXPECT_EQ(rows_of(f.project, "a"), (Rows{"C:\\proj\\img\\a.bmp\t5\t6\tHERO\t1\t40\t50\t1\t3",
                                           "D:\\b.bmp\t7\t8\t\t0\t0\t0\t0\t0"}));
  ASSERT_EQ(f.project.images.entries().size(), 2u);
}

TEST(SyncCurrentPageTest, EmptyPageEndsWithoutFileSection) {
  ProjectFixture f;
  make_project(f, {"C:\\gone.bmp"});
  f.prompter.answers = {kIdOk};
  load_current_page(f.project);
  f.project.carried_rows.clear();  // as if the user had nothing to keep
  ASSERT_TRUE(sync_current_page(f.project));
  EXPECT_FALSE(f.project.store->has_section("FILELIST:a"));
  EXPECT_EQ(f.project.store->get_string("PROPERTY:a", "PUTIMAGEWIDTH"), "0");
  EXPECT_EQ(f.project.store->get_string("PROPERTY:a", "PUTIMAGEHEIGHT"), "0");
}

TEST(SyncCurrentPageTest, UsedExtentFromViewOrEntries) {
  ProjectFixture f;
  make_project(f, {"C:\\a.bmp\t10\t20", "C:\\b.bmp\t100\t0"});
  f.source.add("C:\\a.bmp", 30, 40);
  f.source.add("C:\\b.bmp", 5, 5);
  load_current_page(f.project);
  f.sheet.extent = {7, 9};
  ASSERT_TRUE(sync_current_page(f.project));
  EXPECT_EQ(f.project.store->get_string("PROPERTY:a", "PUTIMAGEWIDTH"), "7");
  EXPECT_EQ(f.project.store->get_string("PROPERTY:a", "PUTIMAGEHEIGHT"), "9");

  f.sheet.present = false;
  ASSERT_TRUE(sync_current_page(f.project));
  EXPECT_EQ(f.project.store->get_string("PROPERTY:a", "PUTIMAGEWIDTH"), "105");
  EXPECT_EQ(f.project.store->get_string("PROPERTY:a", "PUTIMAGEHEIGHT"), "60");
  EXPECT_FALSE(f.project.modified);
}

TEST(SyncCurrentPageTest, FailsWithoutStoreOrPage) {
  ProjectFixture f;
  EXPECT_FALSE(sync_current_page(f.project));
  make_project(f, {});
  f.project.current_page = 2;
  EXPECT_FALSE(sync_current_page(f.project));
}

TEST(ComputeUsedExtentTest, OnlyEntriesWithDisplay) {
  ImageEntryList entries;
  EXPECT_EQ(compute_used_extent(entries), (SheetExtent{0, 0}));
  ImageEntry& shown = entries.emplace_back();
  shown.display = std::make_unique<testing::FakeDisplay>();
  shown.x = 3;
  shown.y = 4;
  shown.width = 10;
  shown.height = 20;
  ImageEntry& hidden = entries.emplace_back();
  hidden.x = 1000;
  hidden.width = 10;
  EXPECT_EQ(compute_used_extent(entries), (SheetExtent{13, 24}));
}

TEST(RefreshPageItemTest, Columns) {
  ProjectFixture f;
  make_project(f, {});
  DocumentStore& store = *f.project.store;
  f.page_list.insert_item(-1, "a");
  f.page_list.insert_item(-1, "b");
  (void)store.set_string("PROPERTY:a", "PAGELABEL", "TITLE");
  (void)store.set_string("PROPERTY:a", "FIXEDSHEET", "1");
  (void)store.set_string("PROPERTY:a", "SHEETSIZEMANUAL", "1");
  (void)store.set_string("PROPERTY:a", "SHEETWIDTH", "256");
  (void)f.settings.set_string("PROPERTY", "FIXEDSHEET", "1");
  (void)f.settings.set_string("PROPERTY", "SHEETHEIGHT", "128");
  (void)f.settings.set_string("PROPERTY", "PAGELABEL", "INHERITED?");
  refresh_page_item(f.project, 0);
  EXPECT_EQ(f.page_list.items[0], (PageItemTexts{"a", "256", "128", "TITLE"}));
  // No manual size in effect for b: empty size columns, no own label.
  refresh_page_item(f.project, 1);
  EXPECT_EQ(f.page_list.items[1], (PageItemTexts{"b", "", "", ""}));
}

TEST(RefreshPageItemTest, NothingWhenClosedOrNoPage) {
  ProjectFixture f;
  make_project(f, {});
  f.page_list.open = false;
  refresh_page_item(f.project, 0);
  EXPECT_FALSE(f.project.store->has_section("PROPERTY:a"));
  f.page_list.open = true;
  refresh_page_item(f.project, 7);
  refresh_page_item(f.project, -1);
  EXPECT_EQ(f.page_list.refresh_count, 0);
}

}  // namespace
}  // namespace piconel
