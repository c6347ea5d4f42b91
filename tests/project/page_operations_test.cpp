#include "project/page_operations.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "project/current_page.h"
#include "project_fakes.h"

namespace piconel {
namespace {

using testing::ProjectFixture;

// A project holding the named pages, each with PAGELABEL; page 0 current.
void make_pages(ProjectFixture& f, const std::vector<std::string>& names) {
  f.project.store = std::make_unique<DocumentStore>();
  for (const std::string& name : names) {
    ASSERT_TRUE(f.project.store->insert_row("PAGELIST", -1, name));
  }
  f.project.page_count = static_cast<int>(names.size());
  f.project.current_page = names.empty() ? -1 : 0;
  for (const std::string& name : names) {
    f.page_list.insert_item(-1, name);
  }
}

std::vector<std::string> page_names(Project& project) {
  std::vector<std::string> names;
  for (int i = 0; i < project.store->entry_count("PAGELIST"); ++i) {
    names.emplace_back(*project.store->row_at("PAGELIST", i));
  }
  return names;
}

using Names = std::vector<std::string>;

TEST(NewPageTest, UsesLowestFreeNumber) {
  ProjectFixture f;
  make_pages(f, {"page000", "page001", "page003"});
  ASSERT_TRUE(new_page(f.project, -1));
  EXPECT_EQ(page_names(f.project), (Names{"page000", "page001", "page003", "page002"}));
  EXPECT_EQ(f.project.page_count, 4);

  ASSERT_TRUE(rename_page(f.project, 0, "title"));
  ASSERT_TRUE(new_page(f.project, -1));
  EXPECT_EQ(page_names(f.project), (Names{"title", "page001", "page003", "page002", "page000"}));
  EXPECT_EQ(f.project.page_count, 5);
}

TEST(NewPageTest, LabelIsUpperCaseName) {
  ProjectFixture f;
  Names names;
  for (int i = 0; i < 12; ++i) {
    names.push_back(i < 10 ? "page00" + std::to_string(i) : "page0" + std::to_string(i));
  }
  make_pages(f, names);
  ASSERT_TRUE(new_page(f.project, -1));
  EXPECT_EQ(page_names(f.project).back(), "page012");
  EXPECT_EQ(f.project.store->get_string("PROPERTY:page012", "PAGELABEL"), "PAGE012");
}

TEST(NewPageTest, RefusesThe257thPage) {
  ProjectFixture f;
  Names names;
  for (int i = 0; i < 256; ++i) {
    std::string name = "p";
    name += std::to_string(i);
    names.push_back(name);
  }
  make_pages(f, names);
  const std::string before = f.project.store->serialize();
  const auto items_before = f.page_list.items.size();
  EXPECT_FALSE(new_page(f.project, -1));
  EXPECT_EQ(f.project.store->serialize(), before);
  EXPECT_EQ(f.project.page_count, 256);
  EXPECT_EQ(f.page_list.items.size(), items_before);
}

TEST(NewPageTest, NothingWithoutStore) {
  ProjectFixture f;
  EXPECT_FALSE(new_page(f.project, -1));
  EXPECT_EQ(f.project.page_count, 0);
}

TEST(NewPageTest, InsertsBeforePositionAndAddsPageListRow) {
  ProjectFixture f;
  make_pages(f, {"page000", "page001"});
  f.project.current_page = 1;
  ASSERT_TRUE(new_page(f.project, 1));
  EXPECT_EQ(page_names(f.project), (Names{"page000", "page002", "page001"}));
  EXPECT_EQ(f.page_list.names(), (Names{"page000", "page002", "page001"}));
  EXPECT_EQ(f.page_list.items[1], (PageItemTexts{"page002", "", "", "PAGE002"}));
  // The caller switches pages and marks the project.
  EXPECT_EQ(f.project.current_page, 1);
  EXPECT_FALSE(f.project.modified);
  EXPECT_TRUE(f.title.titles.empty());
}

TEST(NewPageTest, ClosedPageListBuildsNoChain) {
  ProjectFixture f;
  f.page_list.open = false;
  make_pages(f, {});
  ASSERT_TRUE(new_page(f.project, -1));
  // Only PAGELABEL's section; no project PROPERTY from a chain.
  EXPECT_EQ(f.project.store->serialize(),
            "[PAGELIST]\r\npage000\r\n[PROPERTY:page000]\r\nPAGELABEL=PAGE000\r\n");
}

TEST(NewPageCommandTest, InsertsBeforeClickedRowAndSwitches) {
  ProjectFixture f;
  make_pages(f, {"page000", "page001"});
  f.project.current_page = 1;
  ASSERT_TRUE(new_page_command(f.project, 0));
  EXPECT_EQ(page_names(f.project), (Names{"page002", "page000", "page001"}));
  EXPECT_EQ(f.project.current_page, 0);
  EXPECT_EQ(f.page_list.selected, 0);
  EXPECT_TRUE(f.project.modified);
  // The old current page was synchronised before the switch.
  EXPECT_TRUE(f.project.store->get_string("PROPERTY:page001", "PUTIMAGEWIDTH").has_value());
}

TEST(NewPageCommandTest, OutsideTheRowsAppends) {
  ProjectFixture f;
  make_pages(f, {"page000", "page001"});
  ASSERT_TRUE(new_page_command(f.project, -1));
  EXPECT_EQ(page_names(f.project), (Names{"page000", "page001", "page002"}));
  EXPECT_EQ(f.project.current_page, 2);
  EXPECT_EQ(f.page_list.selected, 2);
}

TEST(RenamePageTest, RefusesTakenName) {
  ProjectFixture f;
  make_pages(f, {"page000", "page001"});
  const std::string before = f.project.store->serialize();
  EXPECT_FALSE(rename_page(f.project, 0, "page001"));
  EXPECT_EQ(f.project.store->serialize(), before);
}

TEST(RenamePageTest, OwnNameChangesNothing) {
  ProjectFixture f;
  make_pages(f, {"page000", "page001"});
  const std::string before = f.project.store->serialize();
  EXPECT_TRUE(rename_page(f.project, 1, "page001"));
  EXPECT_EQ(f.project.store->serialize(), before);
}

TEST(RenamePageTest, SectionsKeepTheirPlacesAndLabel) {
  ProjectFixture f;
  DocumentStore& store = *(f.project.store = std::make_unique<DocumentStore>());
  ASSERT_TRUE(
      store.parse("[PAGELIST]\r\npage000\r\npage001\r\n[PROPERTY:page000]\r\nPAGELABEL=PAGE000\r\n"
                  "[FILELIST:page000]\r\na.bmp\t0\t0\r\n[PROPERTY]\r\nCURRENTPAGE=0\r\n"));
  f.project.page_count = 2;
  f.project.current_page = 0;
  EXPECT_TRUE(rename_page(f.project, -1, "intro"));
  EXPECT_EQ(store.serialize(),
            "[PAGELIST]\r\nintro\r\npage001\r\n[PROPERTY:intro]\r\nPAGELABEL=PAGE000\r\n"
            "[FILELIST:intro]\r\na.bmp\t0\t0\r\n[PROPERTY]\r\nCURRENTPAGE=0\r\n");
}

TEST(RenamePageTest, CaseDiffersIsAnotherName) {
  ProjectFixture f;
  make_pages(f, {"page000", "page001"});
  EXPECT_TRUE(rename_page(f.project, 0, "PAGE001"));
  EXPECT_EQ(page_names(f.project), (Names{"PAGE001", "page001"}));
}

TEST(RenamePageTest, IndexOutsideOrNoStoreChangesNothing) {
  ProjectFixture f;
  EXPECT_TRUE(rename_page(f.project, 0, "x"));
  make_pages(f, {"page000"});
  const std::string before = f.project.store->serialize();
  EXPECT_TRUE(rename_page(f.project, 1, "x"));
  EXPECT_TRUE(rename_page(f.project, -2, "x"));
  EXPECT_EQ(f.project.store->serialize(), before);
}

TEST(RenamePageTest, RefusesOverlongOrEmptyName) {
  ProjectFixture f;
  make_pages(f, {"page000"});
  EXPECT_FALSE(rename_page(f.project, 0, std::string(31, 'a')));
  EXPECT_FALSE(rename_page(f.project, 0, ""));
  EXPECT_TRUE(rename_page(f.project, 0, std::string(30, 'a')));
  EXPECT_EQ(page_names(f.project), (Names{std::string(30, 'a')}));
}

TEST(RenamePageTest, TellsTakenFromNotAllowed) {
  ProjectFixture f;
  make_pages(f, {"page000", "page001"});
  const struct {
    std::string name;
    PageRename result;
  } cases[] = {
      {"page001", PageRename::NameTaken}, {std::string(31, 'a'), PageRename::NameNotAllowed},
      {"", PageRename::NameNotAllowed},   {"page000", PageRename::Unchanged},
      {"intro", PageRename::Renamed},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(try_rename_page(f.project, 0, c.name), c.result) << c.name;
  }
  EXPECT_EQ(page_names(f.project), (Names{"intro", "page001"}));
}

TEST(DeletePageTest, AsksAndStopsOnNo) {
  ProjectFixture f;
  make_pages(f, {"page000", "page001"});
  f.prompter.answers = {kIdNo};
  const std::string before = f.project.store->serialize();
  EXPECT_FALSE(delete_page(f.project, 1, f.prompter));
  ASSERT_EQ(f.prompter.boxes.size(), 1u);
  // ページ(page001)を削除しますか？
  EXPECT_EQ(
      f.prompter.boxes[0].text,
      "\x83y\x81[\x83W(page001)\x82\xF0\x8D\xED\x8F\x9C\x82\xB5\x82\xDC\x82\xB7\x82\xA9\x81H");
  // ピコネル：ページの削除
  EXPECT_EQ(f.prompter.boxes[0].caption,
            "\x83s\x83R\x83l\x83\x8B\x81"
            "F\x83y\x81[\x83W\x82\xCC\x8D\xED\x8F\x9C");
  EXPECT_EQ(f.prompter.boxes[0].type, kMbYesNo | kMbIconExclamation);
  EXPECT_EQ(f.project.store->serialize(), before);
  EXPECT_FALSE(f.project.modified);
}

TEST(DeletePageTest, NoPageAtIndexAsksNothing) {
  ProjectFixture f;
  make_pages(f, {"page000"});
  EXPECT_FALSE(delete_page(f.project, 3, f.prompter));
  EXPECT_FALSE(delete_page(f.project, -1, f.prompter));
  EXPECT_TRUE(f.prompter.boxes.empty());
}

TEST(DeletePageTest, RemovesPageSectionsAndRow) {
  ProjectFixture f;
  DocumentStore& store = *(f.project.store = std::make_unique<DocumentStore>());
  ASSERT_TRUE(
      store.parse("[PAGELIST]\r\npage000\r\npage001\r\n[PROPERTY:page001]\r\nPAGELABEL=PAGE001\r\n"
                  "[FILELIST:page001]\r\na.bmp\t0\t0\r\n"));
  f.project.page_count = 2;
  f.project.current_page = 0;
  f.page_list.insert_item(-1, "page000");
  f.page_list.insert_item(-1, "page001");
  f.prompter.answers = {kIdYes};
  EXPECT_TRUE(delete_page(f.project, 1, f.prompter));
  EXPECT_EQ(store.serialize(), "[PAGELIST]\r\npage000\r\n");
  EXPECT_EQ(f.project.page_count, 1);
  EXPECT_EQ(f.project.current_page, 0);
  EXPECT_EQ(f.page_list.names(), (Names{"page000"}));
  EXPECT_EQ(f.page_list.selected, 0);
  EXPECT_TRUE(f.project.modified);
  // Another page than the current one: no reload.
  EXPECT_TRUE(f.sheet.log.empty());
}

struct DeleteCase {
  const char* name;
  int current;
  int deleted;
  int new_current;
  bool reloaded;
};

TEST(DeletePageTest, CurrentPageFollows) {
  const DeleteCase cases[] = {
      {"CurrentLastOfThreeGivesSecond", 2, 2, 1, true},
      {"CurrentFirstOfThreeGivesFormerSecond", 0, 0, 0, true},
      {"CurrentMiddleGivesNext", 1, 1, 1, true},
      {"BelowCurrentShiftsIndex", 2, 0, 1, false},
      {"AboveCurrentKeepsIndex", 0, 2, 0, false},
  };
  for (const DeleteCase& c : cases) {
    SCOPED_TRACE(c.name);
    ProjectFixture f;
    make_pages(f, {"a", "b", "c"});
    f.project.current_page = c.current;
    f.prompter.answers = {kIdYes};
    ASSERT_TRUE(delete_page(f.project, c.deleted, f.prompter));
    EXPECT_EQ(f.project.current_page, c.new_current);
    EXPECT_EQ(f.page_list.selected, c.new_current);
    EXPECT_EQ(!f.sheet.log.empty(), c.reloaded);
  }
}

TEST(DeletePageTest, DroppedEntriesAreNotSynchronised) {
  ProjectFixture f;
  make_pages(f, {"a", "b"});
  f.source.add("C:\\x.bmp");
  ASSERT_TRUE(f.project.store->insert_row("FILELIST:b", -1, "C:\\x.bmp\t0\t0"));
  ASSERT_NE(f.project.images.load_entry([](ImageEntry& entry) {
    entry.path = "C:\\dropped.bmp";
    return true;
  }),
            nullptr);
  f.prompter.answers = {kIdYes};
  ASSERT_TRUE(delete_page(f.project, 0, f.prompter));
  EXPECT_EQ(f.project.current_page, 0);
  ASSERT_EQ(f.project.images.entries().size(), 1u);
  EXPECT_EQ(f.project.images.entries().front().path, "C:\\x.bmp");
  EXPECT_FALSE(f.project.store->has_section("FILELIST:a"));
}

TEST(DeletePageTest, OnlyPageLeavesNoCurrentPageUntilNextSync) {
  ProjectFixture f;
  make_pages(f, {"page000"});
  f.prompter.answers = {kIdYes};
  ASSERT_TRUE(delete_page(f.project, 0, f.prompter));
  EXPECT_EQ(f.project.current_page, -1);
  EXPECT_EQ(f.project.page_count, 0);
  EXPECT_EQ(f.page_list.selected, -1);

  ASSERT_TRUE(sync_current_page(f.project));
  EXPECT_EQ(f.project.current_page, 0);
  EXPECT_EQ(page_names(f.project), (Names{"page000"}));
}

TEST(MovePageTest, LastPageDownChangesNothingButMarksModified) {
  ProjectFixture f;
  make_pages(f, {"a", "b", "c"});
  move_page_down(f.project, 2);
  EXPECT_EQ(page_names(f.project), (Names{"a", "b", "c"}));
  EXPECT_TRUE(f.page_list.moves.empty());
  EXPECT_TRUE(f.project.modified);
}

TEST(MovePageTest, FirstPageUpChangesNothingButMarksModified) {
  ProjectFixture f;
  make_pages(f, {"a", "b"});
  move_page_up(f.project, 0);
  EXPECT_EQ(page_names(f.project), (Names{"a", "b"}));
  EXPECT_TRUE(f.project.modified);
}

TEST(MovePageTest, CurrentPageFollowsTheMove) {
  ProjectFixture f;
  make_pages(f, {"a", "b", "c"});
  f.project.store->set_string("PROPERTY:a", "PAGELABEL", "A");
  f.project.current_page = 0;
  move_page_down(f.project, 0);
  EXPECT_EQ(page_names(f.project), (Names{"b", "a", "c"}));
  EXPECT_EQ(f.project.current_page, 1);
  EXPECT_EQ(f.page_list.moves, (std::vector<std::pair<int, int>>{{0, 1}}));
  EXPECT_EQ(f.page_list.names(), (Names{"b", "a", "c"}));

  // The page swapped with the current one moves it back up a place.
  move_page_down(f.project, 0);
  EXPECT_EQ(page_names(f.project), (Names{"a", "b", "c"}));
  EXPECT_EQ(f.project.current_page, 0);

  move_page_up(f.project, 2);
  EXPECT_EQ(page_names(f.project), (Names{"a", "c", "b"}));
  EXPECT_EQ(f.project.current_page, 0);
  // Only PAGELIST changes; the page's section stays where it was.
  EXPECT_EQ(f.project.store->sections().back().name(), "PROPERTY:a");
}

TEST(MovePageTest, FocusedRowWhenNoIndex) {
  ProjectFixture f;
  make_pages(f, {"a", "b", "c"});
  f.page_list.focused = 1;
  move_page_up(f.project, -1);
  EXPECT_EQ(page_names(f.project), (Names{"b", "a", "c"}));
  EXPECT_EQ(f.page_list.focused, 0);
  EXPECT_EQ(f.project.current_page, 1);
}

TEST(MovePageTest, NoFocusedRowDoesNothing) {
  ProjectFixture f;
  make_pages(f, {"a", "b"});
  move_page_down(f.project, -1);
  move_page_up(f.project, -1);
  EXPECT_EQ(page_names(f.project), (Names{"a", "b"}));
  EXPECT_FALSE(f.project.modified);
}

TEST(SelectPageTest, SynchronisesOldAndLoadsNew) {
  ProjectFixture f;
  make_pages(f, {"a", "b"});
  f.source.add("C:\\b.bmp", 8, 4);
  ASSERT_TRUE(f.project.store->insert_row("FILELIST:b", -1, "C:\\b.bmp\t3\t4\tB\t0\t8\t4\t0\t0"));
  ASSERT_NE(f.project.images.load_entry([](ImageEntry& entry) {
    entry.path = "C:\\a.bmp";
    entry.display = std::make_unique<testing::FakeDisplay>();
    return true;
  }),
            nullptr);
  f.sheet.extent = {10, 20};

  select_page(f.project, 1);
  EXPECT_EQ(f.project.current_page, 1);
  EXPECT_EQ(f.page_list.selected, 1);
  EXPECT_EQ(f.project.store->row_at("FILELIST:a", 0), "C:\\a.bmp\t0\t0\t\t0\t0\t0\t0\t0");
  EXPECT_EQ(f.project.store->get_string("PROPERTY:a", "PUTIMAGEWIDTH"), "10");
  EXPECT_EQ(f.project.store->get_string("PROPERTY:a", "PUTIMAGEHEIGHT"), "20");
  ASSERT_EQ(f.project.images.entries().size(), 1u);
  EXPECT_EQ(f.project.images.entries().front().path, "C:\\b.bmp");
  EXPECT_FALSE(f.project.modified);
}

TEST(SelectPageTest, SameOrUnknownPageDoesNothing) {
  ProjectFixture f;
  make_pages(f, {"a", "b"});
  select_page(f.project, 0);
  select_page(f.project, 2);
  select_page(f.project, -1);  // no focused row
  EXPECT_EQ(f.project.current_page, 0);
  EXPECT_TRUE(f.sheet.log.empty());
  EXPECT_FALSE(f.project.store->has_section("PROPERTY:a"));

  f.page_list.focused = 1;
  select_page(f.project, -1);
  EXPECT_EQ(f.project.current_page, 1);
}

}  // namespace
}  // namespace piconel

namespace piconel {
namespace {

TEST(FillPageListTest, RebuildsRowsAndSelectsCurrent) {
  ProjectFixture f;
  make_pages(f, {"a", "b", "c"});
  f.page_list.items.clear();
  f.page_list.insert_item(-1, "stale");
  (void)f.project.store->set_string("PROPERTY:b", "PAGELABEL", "BEE");
  f.project.current_page = 1;
  fill_page_list(f.project);
  EXPECT_EQ(f.page_list.names(), (Names{"a", "b", "c"}));
  EXPECT_EQ(f.page_list.items[1].label, "BEE");
  EXPECT_EQ(f.page_list.selected, 1);
  // Every row was written inside one fill, so the window draws them once.
  EXPECT_EQ(f.page_list.fills, 1);
  EXPECT_FALSE(f.page_list.filling);
  EXPECT_EQ(f.page_list.texts_set_while_filling, 3);

  ProjectFixture closed;
  closed.page_list.open = false;
  make_pages(closed, {"a"});
  const std::string before = closed.project.store->serialize();
  fill_page_list(closed.project);
  EXPECT_EQ(closed.project.store->serialize(), before);
  EXPECT_EQ(closed.page_list.fills, 0);
}

}  // namespace
}  // namespace piconel
