// The portable decisions of the two list windows: where they open, the page
// list's selection rule, the end of an in-place page name edit and the texts
// of an image row.

#include <gtest/gtest.h>

#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/image_row_texts.h"
#include "app/list_window_placement.h"
#include "app/page_list_selection.h"
#include "app/page_rename_edit.h"
#include "project/page_operations.h"
#include "project/project_fakes.h"

namespace piconel {
namespace {

TEST(PageListSelection, CurrentRowIsAlwaysTheSelectedOne) {
  const struct {
    int first_selected, current, rows, expected;
  } cases[] = {
      {-1, 1, 3, 1},   // nothing selected
      {2, 1, 3, 1},    // a click elsewhere
      {1, 1, 3, -1},   // already right
      {0, -1, 0, -1},  // no page
      {-1, 3, 3, -1},  // no row for the current page
  };
  for (const auto& c : cases) {
    EXPECT_EQ(page_row_to_select(c.first_selected, c.current, c.rows), c.expected);
  }
}

TEST(PageNameEdit, RefusesInvalidAndTakenNamesAndMarksModified) {
  testing::ProjectFixture f;
  f.project.store = std::make_unique<DocumentStore>();
  ASSERT_TRUE(new_page(f.project, -1));
  ASSERT_TRUE(new_page(f.project, -1));
  f.project.current_page = 0;
  const struct {
    std::string name;
    PageNameEdit result;
    bool modified;
    std::string message;  // the invalid-name box, if any
  } cases[] = {
      // "使用できない文字が含まれています。\r\n(6文字目)"
      {"stage-01", PageNameEdit::Refused, false,
       "\x8e\x67\x97\x70\x82\xc5\x82\xab\x82\xc8\x82\xa2\x95\xb6\x8e\x9a\x82\xaa\x8a\xdc\x82\xdc"
       "\x82\xea\x82\xc4\x82\xa2\x82\xdc\x82\xb7\x81\x42\r\n(6\x95\xb6\x8e\x9a\x96\xda)"},
      {"", PageNameEdit::Refused, false, ""},
      {std::string(31, 'a'), PageNameEdit::Refused, false, ""},
      {"page001", PageNameEdit::Refused, true, ""},   // taken: no message
      {"page000", PageNameEdit::Accepted, true, ""},  // unchanged
      {"stage_01", PageNameEdit::Accepted, true, ""},
  };
  for (const auto& c : cases) {
    f.project.modified = false;
    f.prompter.boxes.clear();
    EXPECT_EQ(finish_page_name_edit(f.project, 0, c.name, f.prompter), c.result) << c.name;
    EXPECT_EQ(f.project.modified, c.modified) << c.name;
    EXPECT_EQ(f.prompter.boxes.empty() ? std::string() : f.prompter.boxes.front().text, c.message);
  }
  EXPECT_EQ(page_name_at(f.project, 0), "stage_01");
  EXPECT_EQ(f.page_list.items.at(0).name, "stage_01");
  EXPECT_EQ(f.page_list.items.at(0).label, "PAGE000");
}

TEST(ImageRowTexts, SplitsThePathAsCp932) {
  ImageEntry entry;
  // C:\ソフト\表.bmp: the second bytes of ソ and 表 are 0x5C.
  entry.path = "C:\\\x83\x5c\x83t\x83g\\\x95\x5c.bmp";
  entry.settings.label = "HERO";
  EXPECT_EQ(image_row_texts(entry),
            (ImageRowTexts{"\x95\x5c.bmp", "HERO", "C:\\\x83\x5c\x83t\x83g\\"}));
}

// Two monitors side by side, the main window on the left one.
TEST(ListWindowPlacement, ReachableOnTheMainWindowsMonitor) {
  const ScreenRect left_area{0, 0, 1024, 740};
  const ScreenRect right_area{1024, 0, 2048, 768};
  const ScreenRect both[] = {left_area, right_area};
  const ScreenRect main_window{100, 50, 700, 550};
  const struct {
    const char* name;
    ListWindowBox box;
    bool placed;
    int top_offset;
    ListWindowBox expected;
  } cases[] = {
      // Placed where some monitor shows it: kept, also across the seam.
      {"kept", {900, 100, 300, 200}, true, 0, {900, 100, 300, 200}},
      {"kept on the other monitor", {1500, 400, 300, 200}, true, 0, {1500, 400, 300, 200}},
      // Its monitor was unplugged: moved into the main window's work area,
      // keeping its size, as near its place as that allows.
      {"off to the right", {3000, 100, 300, 200}, true, 0, {724, 100, 300, 200}},
      {"above and left", {-2000, -900, 300, 200}, true, 0, {0, 0, 300, 200}},
      {"below", {200, 5000, 300, 200}, true, 0, {200, 540, 300, 200}},
      {"larger than the work area", {-5000, 0, 3000, 900}, true, 0, {0, 0, 1024, 740}},
      {"empty", {50, 50, 0, 0}, true, 0, {50, 50, 0, 0}},
      {"hand-edited extremes",
       {2147483647, -2147483647 - 1, 2147483647, 100},
       true,
       0,
       {0, 0, 1024, 100}},
      // Never placed: beside the main window's right edge, at its top (the
      // image list lower by the page list's height).
      {"beside", {0, 0, 300, 300}, false, 0, {700, 50, 300, 300}},
      {"beside, lower", {0, 0, 200, 300}, false, 300, {700, 350, 200, 300}},
      // ...on the main window's monitor even when that leaves no room
      // beside it: pulled back over its right part.
      {"no room beside", {0, 0, 300, 300}, false, 300, {724, 300, 300, 300}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ScreenRect main = std::string_view(c.name) == "no room beside" ? left_area : main_window;
    EXPECT_EQ(list_window_opening_box(c.box, c.placed, both, main, left_area, c.top_offset),
              c.expected);
  }
}

}  // namespace
}  // namespace piconel
