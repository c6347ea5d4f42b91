#include "project/page_images.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "project_fakes.h"

namespace piconel {
namespace {

using testing::FakeDisplay;
using testing::ProjectFixture;

// Every notice as one line: the kind, then each entry as index:label with
// what it was before, for the kind's field.
class RecordingObserver : public PageObserver {
 public:
  explicit RecordingObserver(const PageImages& images) : images_(images) {}

  void page_changed(const PageChange& change) override {
    static const char* const kKinds[] = {"Added",       "Removed",         "Reordered",
                                         "Moved",       "SettingsChanged", "SelectionChanged",
                                         "KeptOnSheet", "Cleared",         "Loaded"};
    std::string line = kKinds[static_cast<int>(change.kind)];
    for (const EntryChange& item : change.entries) {
      line += " " + std::to_string(item.index) + ":" + item.entry->settings.label;
      switch (change.kind) {
        case PageChangeKind::Reordered:
          line += "<" + std::to_string(item.index_before);
          break;
        case PageChangeKind::Moved:
        case PageChangeKind::KeptOnSheet:
          line += "<(" + std::to_string(item.x_before) + "," + std::to_string(item.y_before) + ")";
          break;
        case PageChangeKind::SettingsChanged:
          line += "<" + item.settings_before.label;
          break;
        case PageChangeKind::SelectionChanged:
          line += item.selected_before ? "<on" : "<off";
          break;
        case PageChangeKind::Removed:
        case PageChangeKind::Cleared:
          // Told while the entry is still where the notice says.
          if (images_.index_of(*item.entry) != item.index) {
            line += "(gone)";
          }
          break;
        default:
          break;
      }
    }
    lines.push_back(line);
  }

  std::vector<std::string> lines;

 private:
  const PageImages& images_;
};

// A page of four entries A to D at (10 * i, 0), 8 x 8, loaded as a page
// load does, with entry 3 far off the sheet; unmodified.
struct PageFixture {
  PageFixture() {
    for (const char* label : {"A", "B", "C", "D"}) {
      const int i = images().count();
      static_cast<void>(images().load_entry([&](ImageEntry& entry) {
        entry.settings.label = label;
        entry.x = i == 3 ? 40000 : 10 * i;
        entry.width = entry.height = 8;
        entry.display = std::make_unique<FakeDisplay>();
        return true;
      }));
    }
    images().finish_load();
    images().subscribe(observer);
  }

  PageImages& images() { return f.project.images; }
  const ImageEntry& entry(int index) { return *images().at(index); }
  void select(std::initializer_list<int> indices) {
    for (const int index : indices) {
      images().set_selected(entry(index), true);
    }
    observer.lines.clear();
  }
  std::string order() const {
    std::string labels;
    for (const ImageEntry& e : f.project.images.entries()) {
      labels += e.settings.label;
    }
    return labels;
  }

  ProjectFixture f;
  RecordingObserver observer{f.project.images};
};

TEST(PageImages, EveryChangeTellsItsEntriesAndWhatTheyWereBefore) {
  const struct {
    const char* name;
    std::vector<int> selected;
    std::function<void(PageFixture&)> change;
    std::vector<std::string> notices;
    bool modified;
    const char* order;
  } cases[] = {
      {"select",
       {},
       [](PageFixture& p) { p.images().set_selected(p.entry(1), true); },
       {"SelectionChanged 1:B<off"},
       false,
       "ABCD"},
      {"deselect",
       {2},
       [](PageFixture& p) { p.images().set_selected(p.entry(2), false); },
       {"SelectionChanged 2:C<on"},
       false,
       "ABCD"},
      {"select what is selected",
       {1},
       [](PageFixture& p) { p.images().set_selected(p.entry(1), true); },
       {},
       false,
       "ABCD"},
      {"select where: one notice for every entry that changed, in list order",
       {0, 2},
       [](PageFixture& p) {
         p.images().select_where([&](const ImageEntry& e) { return &e != &p.entry(0); });
       },
       {"SelectionChanged 0:A<on 1:B<off 3:D<off"},
       false,
       "ABCD"},
      {"select where nothing changes",
       {1},
       [](PageFixture& p) {
         p.images().select_where([&](const ImageEntry& e) { return &e == &p.entry(1); });
       },
       {},
       false,
       "ABCD"},
      {"delete the selected",
       {1, 3},
       [](PageFixture& p) { p.images().remove_selected(); },
       {"Removed 1:B 3:D"},
       true,
       "AC"},
      {"delete with none selected",
       {},
       [](PageFixture& p) { p.images().remove_selected(); },
       {"Removed"},
       true,
       "ABCD"},
      {"ctrl+up",
       {2, 3},
       [](PageFixture& p) { EXPECT_EQ(p.images().move_selected(MoveDirection::Up), 2); },
       {"Reordered 1:C<2 2:D<3"},
       true,
       "ACDB"},
      {"ctrl+down",
       {0, 2},
       [](PageFixture& p) { EXPECT_EQ(p.images().move_selected(MoveDirection::Down), 2); },
       {"Reordered 3:C<2 1:A<0"},
       true,
       "BADC"},
      {"ctrl+up at the top",
       {0},
       [](PageFixture& p) { EXPECT_EQ(p.images().move_selected(MoveDirection::Up), 0); },
       {"Reordered"},
       true,
       "ABCD"},
      {"drag step",
       {},
       [](PageFixture& p) {
         const EntryMove moves[] = {{&p.entry(2), 5, 6}, {&p.entry(0), 1, 2}};
         p.images().move(moves);
         EXPECT_EQ(p.entry(2).x, 5);
         EXPECT_EQ(p.entry(0).y, 2);
       },
       {"Moved 0:A<(0,0) 2:C<(20,0)"},
       true,
       "ABCD"},
      {"drag step that stays",
       {},
       [](PageFixture& p) {
         const EntryMove moves[] = {{&p.entry(1), 10, 0}};
         p.images().move(moves);
       },
       {"Moved 1:B<(10,0)"},
       true,
       "ABCD"},
      {"no moves", {}, [](PageFixture& p) { p.images().move({}); }, {}, false, "ABCD"},
      {"image settings",
       {},
       [](PageFixture& p) {
         ImageSettings settings = p.entry(2).settings;
         settings.label = "Z";
         p.images().change_settings(p.entry(2), settings);
       },
       {"SettingsChanged 2:Z<C"},
       true,
       "ABZD"},
      {"kept on the sheet",
       {},
       [](PageFixture& p) {
         const EntryMove moves[] = {{&p.entry(0), 0, 0}, {&p.entry(3), 32760, 0}};
         p.images().keep_on_sheet(moves);
       },
       {"KeptOnSheet 3:D<(40000,0)"},
       false,
       "ABCD"},
      {"nothing to keep",
       {},
       [](PageFixture& p) {
         const EntryMove moves[] = {{&p.entry(0), 0, 0}};
         p.images().keep_on_sheet(moves);
       },
       {},
       false,
       "ABCD"},
      {"page unload",
       {1},
       [](PageFixture& p) { p.images().clear(); },
       {"Cleared 0:A 1:B 2:C 3:D"},
       false,
       ""},
      {"command line remove",
       {},
       [](PageFixture& p) {
         EXPECT_EQ(
             p.images().remove_where([](const ImageEntry& e) { return e.settings.label == "C"; }),
             1);
       },
       {"Removed 2:C"},
       true,
       "ABD"},
      {"command line remove of nothing",
       {},
       [](PageFixture& p) {
         EXPECT_EQ(p.images().remove_where([](const ImageEntry&) { return false; }), 0);
       },
       {},
       false,
       "ABCD"},
      {"add of an unreadable file",
       {},
       [](PageFixture& p) {
         OpenImageRequest request;
         request.path = "Z:\\no\\such\\file.bmp";
         EXPECT_EQ(p.images().add(request), nullptr);
       },
       {},
       false,
       "ABCD"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PageFixture p;
    std::vector<int> selected = c.selected;
    for (const int index : selected) {
      p.images().set_selected(p.entry(index), true);
    }
    p.observer.lines.clear();
    p.f.title.titles.clear();
    c.change(p);
    EXPECT_EQ(p.observer.lines, c.notices);
    EXPECT_EQ(p.f.project.modified, c.modified);
    // The title gains its mark once, with the first edit.
    EXPECT_EQ(p.f.title.titles.size(), c.modified ? 1u : 0u);
    EXPECT_EQ(p.order(), c.order);
  }
}

TEST(PageImages, AnEditAfterTheFirstLeavesTheTitleAlone) {
  PageFixture p;
  p.select({1});
  p.images().remove_selected();
  p.images().remove_selected();
  EXPECT_TRUE(p.f.project.modified);
  EXPECT_EQ(p.f.title.titles.size(), 1u);
}

TEST(PageImages, IndexAndEntryLookUpEachOther) {
  PageFixture p;
  for (int index = 0; index < p.images().count(); ++index) {
    ASSERT_NE(p.images().at(index), nullptr);
    EXPECT_EQ(p.images().index_of(*p.images().at(index)), index);
  }
  EXPECT_EQ(p.images().at(-1), nullptr);
  EXPECT_EQ(p.images().at(4), nullptr);
  const ImageEntry stranger;
  EXPECT_EQ(p.images().index_of(stranger), -1);
  // A stranger is not changed and nothing is told.
  p.images().set_selected(stranger, true);
  p.images().change_settings(stranger, ImageSettings{});
  EXPECT_TRUE(p.observer.lines.empty());
  EXPECT_FALSE(p.f.project.modified);
  // After a reorder the lookups follow the new order.
  p.select({3});
  static_cast<void>(p.images().move_selected(MoveDirection::Up));
  EXPECT_EQ(p.images().at(2)->settings.label, "D");
  EXPECT_EQ(p.images().index_of(p.entry(3)), 3);
  EXPECT_EQ(p.entry(3).settings.label, "C");
  EXPECT_TRUE(p.images().any_selected());
}

TEST(PageImages, APageLoadIsToldOnceAndMarksNothing) {
  ProjectFixture f;
  RecordingObserver observer(f.project.images);
  f.project.images.subscribe(observer);
  int opened = 0;
  for (int i = 0; i < kMaxEntriesPerPage + 2; ++i) {
    const ImageEntry* entry = f.project.images.load_entry([&](ImageEntry& e) {
      ++opened;
      e.settings.label = i == 1 ? "unreadable" : "x";
      return i != 1;  // the second row's file cannot be read
    });
    EXPECT_EQ(entry == nullptr, i == 1 || i > kMaxEntriesPerPage);
  }
  EXPECT_EQ(opened, kMaxEntriesPerPage + 1) << "a full page opens nothing more";
  EXPECT_EQ(f.project.images.count(), kMaxEntriesPerPage);
  EXPECT_TRUE(f.project.images.full());
  EXPECT_TRUE(observer.lines.empty()) << "the rows are told at the end";
  f.project.images.finish_load();
  ASSERT_EQ(observer.lines.size(), 1u);
  EXPECT_EQ(observer.lines[0].rfind("Loaded 0:x 1:x 2:x", 0), 0u);
  EXPECT_FALSE(f.project.modified);
}

TEST(PageImages, AnObserverThatLeavesHearsNoMore) {
  PageFixture p;
  RecordingObserver second(p.images());
  p.images().subscribe(second);
  p.images().subscribe(second);  // once only
  p.images().set_selected(p.entry(0), true);
  p.images().unsubscribe(second);
  p.images().set_selected(p.entry(0), false);
  EXPECT_EQ(second.lines, (std::vector<std::string>{"SelectionChanged 0:A<off"}));
  EXPECT_EQ(p.observer.lines.size(), 2u);
}

}  // namespace
}  // namespace piconel
