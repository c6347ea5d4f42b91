#include "project/page_packing.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "project/property_chain.h"

namespace piconel {
namespace {

void load(DocumentStore& store, std::initializer_list<std::string_view> lines) {
  std::string text;
  for (std::string_view line : lines) {
    text.append(line);
    text.append("\r\n");
  }
  ASSERT_TRUE(store.parse(text));
}

TEST(PagePackingTest, ChoicesInheritAndAreStoredOnThePage) {
  DocumentStore project;
  DocumentStore settings;
  load(settings, {"[PROPERTY]", "PACK_PADDING=4", "PACK_SQUARE=1"});
  load(project,
       {"[PROPERTY]", "PACK_POWEROFTWO=1", "PACK_PADDING=999", "[PROPERTY:p]", "PACK_PADDING=2"});
  {
    const PropertyChain chain(project, &settings, "p");
    EXPECT_EQ(read_pack_choices(chain.start()), (PackChoices{2, true, true, false}));
  }
  {
    const PropertyChain chain(project, &settings, "q");
    EXPECT_EQ(read_pack_choices(chain.start()).padding, kMaxPackPadding) << "kept to the limit";
  }
  write_pack_choices(project, "q", PackChoices{3, false, false, true});
  const PropertyChain chain(project, &settings, "q");
  EXPECT_EQ(read_pack_choices(chain.start()), (PackChoices{3, false, false, true}))
      << "the page's own keys win over inherited ones";
  EXPECT_EQ(project.get_string("PROPERTY:q", "PACK_SQUARE"), "0");
}

TEST(PagePackingTest, SheetLimits) {
  struct Case {
    std::initializer_list<std::string_view> page;
    PackSize limits;
  };
  const Case cases[] = {
      {{"[PROPERTY:p]"}, {32768, 32768}},
      {{"[PROPERTY:p]", "FIXEDSHEET=1", "SHEETSIZEMANUAL=1", "SHEETWIDTH=256", "SHEETHEIGHT=128"},
       {256, 128}},
      {{"[PROPERTY:p]", "FIXEDSHEET=0", "SHEETSIZEMANUAL=1", "SHEETWIDTH=256", "SHEETHEIGHT=128"},
       {32768, 32768}},
      {{"[PROPERTY:p]", "FIXEDSHEET=1", "SHEETSIZEMANUAL=1", "SHEETWIDTH=256", "SHEETHEIGHT="},
       {32768, 32768}},
      {{"[PROPERTY:p]", "FIXEDSHEET=1", "SHEETSIZEMANUAL=1", "SHEETWIDTH=99999", "SHEETHEIGHT=64"},
       {32768, 64}},
  };
  for (const Case& c : cases) {
    DocumentStore project;
    load(project, c.page);
    const PropertyChain chain(project, nullptr, "p");
    const PackSize limits = page_sheet_limits(chain.start());
    EXPECT_EQ(limits.width, c.limits.width);
    EXPECT_EQ(limits.height, c.limits.height);
  }
}

TEST(PagePackingTest, ForcedSizeGrowsTheRoom) {
  ImageSettings forced;
  forced.size_forced = 1;
  forced.forced_width = 40;
  forced.forced_height = 8;
  const PackSize size = packing_size(32, 32, forced);
  EXPECT_EQ(size.width, 40);
  EXPECT_EQ(size.height, 32);
  forced.size_forced = 0;
  EXPECT_EQ(packing_size(32, 32, forced).width, 32);
}

TEST(PagePackingTest, SelectedOnlyGoAroundTheOthers) {
  // Two staying images at the top-left and far out; three movable ones.
  const std::vector<PageImage> images = {
      {{32, 32}, {0, 0}, false},   {{16, 16}, {500, 500}, true}, {{32, 32}, {300, 0}, true},
      {{16, 16}, {700, 10}, true}, {{8, 8}, {90, 90}, false},
  };
  const PagePacking packing = pack_page_images(images, PackChoices{1, false, false, true},
                                               PackSize{kPackSheetLimit, kPackSheetLimit});
  ASSERT_TRUE(packing.packed);
  EXPECT_EQ(packing.positions[0], (PackPoint{0, 0}));
  EXPECT_EQ(packing.positions[4], (PackPoint{90, 90}));
  for (std::size_t i = 0; i < images.size(); ++i) {
    for (std::size_t j = i + 1; j < images.size(); ++j) {
      const PackPoint a = packing.positions[i];
      const PackPoint b = packing.positions[j];
      const bool apart =
          a.x + images[i].size.width + 1 <= b.x || b.x + images[j].size.width + 1 <= a.x ||
          a.y + images[i].size.height + 1 <= b.y || b.y + images[j].size.height + 1 <= a.y;
      EXPECT_TRUE(apart) << i << " and " << j;
    }
  }
  EXPECT_EQ(packing.box_width, 98);
  EXPECT_EQ(packing.box_height, 98);
}

TEST(PagePackingTest, NothingMovesWhenThePageCannotBePacked) {
  const std::vector<PageImage> images = {
      {{32, 32}, {5, 5}, true}, {{32, 32}, {50, 50}, true}, {{32, 32}, {99, 99}, true}};
  const PagePacking packing = pack_page_images(images, PackChoices{}, PackSize{64, 40});
  EXPECT_FALSE(packing.packed);
  EXPECT_EQ(packing.positions, (std::vector<PackPoint>{{5, 5}, {50, 50}, {99, 99}}));
}

}  // namespace
}  // namespace piconel

namespace piconel {
namespace {

TEST(PagePackingTest, CurrentEntriesTakeTheirPlaces) {
  Project project;
  project.store = std::make_unique<DocumentStore>();
  load(*project.store, {"[PAGELIST]", "p", "[PROPERTY:p]", "PACK_SELECTEDONLY=1"});
  project.page_count = 1;
  project.current_page = 0;
  for (const auto& [x, y, selected] : {std::tuple{0, 0, false}, std::tuple{200, 0, true},
                                       std::tuple{0, 200, true}, std::tuple{200, 200, true}}) {
    ASSERT_NE(project.images.load_entry([&](ImageEntry& entry) {
      entry.width = entry.height = 32;
      entry.x = x;
      entry.y = y;
      entry.selected = selected;
      return true;
    }),
              nullptr);
  }
  const PackChoices choices = current_page_pack_choices(project);
  EXPECT_TRUE(choices.selected_only);
  const PagePacking packing = pack_current_entries(project, choices);
  ASSERT_TRUE(packing.packed);
  EXPECT_EQ(packing.box_width * packing.box_height, 64 * 64);
  EXPECT_EQ(project.images.entries().front().x, 0) << "the unselected image stays";
  int i = 0;
  for (const ImageEntry& entry : project.images.entries()) {
    EXPECT_EQ(entry.x, packing.positions[i].x);
    EXPECT_EQ(entry.y, packing.positions[i].y);
    ++i;
  }
  EXPECT_TRUE(project.modified) << "packing is an edit of the page";
}

}  // namespace
}  // namespace piconel
