#include "project/property_chain.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "project/current_page.h"
#include "project/page_properties.h"
#include "project_fakes.h"

namespace piconel {
namespace {

using testing::ProjectFixture;

// Loads `text` (lines joined with CR LF) into `store`.
void load(DocumentStore& store, std::initializer_list<std::string_view> lines) {
  std::string text;
  for (std::string_view line : lines) {
    text.append(line);
    text.append("\r\n");
  }
  ASSERT_TRUE(store.parse(text));
}

TEST(EnableKeyTest, TableOrderAndLookup) {
  const auto table = enable_key_table();
  ASSERT_EQ(table.size(), 5u);
  EXPECT_EQ(table[0].enable_key, "TRANSPARENTENABLE");
  EXPECT_EQ(table[0].governed_key, "TRANSPARENTCOLOR");
  EXPECT_EQ(table[1].enable_key, "FIXEDSHEET");
  EXPECT_EQ(table[1].governed_key, "SHEETSIZEMANUAL");
  EXPECT_EQ(table[2].governed_key, "SHEETSIZEMANUAL");
  EXPECT_EQ(table[3].governed_key, "SHEETWIDTH");
  EXPECT_EQ(table[4].governed_key, "SHEETHEIGHT");

  const std::pair<std::string_view, std::string_view> cases[] = {
      {"TRANSPARENTCOLOR", "TRANSPARENTENABLE"},
      {"SHEETSIZEMANUAL", "FIXEDSHEET"},
      {"SHEETWIDTH", "FIXEDSHEET"},
      {"SHEETHEIGHT", "FIXEDSHEET"},
      {"PAGELABEL", "FIXEDSHEET"},
      {"UNKNOWN", "FIXEDSHEET"},
  };
  for (const auto& [key, enable] : cases) {
    EXPECT_EQ(enable_key_for(key), enable) << key;
  }
}

TEST(PropertyChainTest, BuildingAndReadingLeaveTheStoresAlone) {
  DocumentStore project;
  DocumentStore settings;
  ASSERT_TRUE(project.parse("[PAGELIST]\r\npage000\r\n"));
  {
    PropertyChain chain(project, &settings, "page000");
    EXPECT_EQ(chain.start().section(), nullptr);
    ASSERT_NE(chain.start().parent(), nullptr);
    ASSERT_NE(chain.start().parent()->parent(), nullptr);
    EXPECT_EQ(&chain.start().parent()->parent()->store(), &settings);
    std::array<std::uint8_t, 3> colour{};
    EXPECT_EQ(chained_string(kSheetWidthKey, chain.start()), std::nullopt);
    EXPECT_FALSE(chained_bytes(kTransparentColourKey, colour, chain.start()));
    EXPECT_EQ(own_string(kPageLabelKey, chain.start()), std::nullopt);
  }
  EXPECT_EQ(project.serialize(), "[PAGELIST]\r\npage000\r\n");
  EXPECT_EQ(settings.serialize(), "");
  // A write through a level appends its section, and only that one.
  PropertyChain chain(project, &settings, "page000");
  SectionCursor page(project, page_property_section("page000"), nullptr);
  EXPECT_TRUE(page.set_string(kPageLabelKey, "P"));
  EXPECT_EQ(project.serialize(), "[PAGELIST]\r\npage000\r\n[PROPERTY:page000]\r\nPAGELABEL=P\r\n");
  EXPECT_EQ(own_string(kPageLabelKey, chain.start()), "P");
}

TEST(PropertyChainTest, ProjectChainHasTwoLevels) {
  DocumentStore project;
  DocumentStore settings;
  ASSERT_TRUE(project.parse("[PROPERTY]\r\n"));
  PropertyChain chain(project, &settings, std::nullopt);
  EXPECT_EQ(chain.start().section()->name(), "PROPERTY");
  ASSERT_NE(chain.start().parent(), nullptr);
  EXPECT_EQ(chain.start().parent()->parent(), nullptr);
}

TEST(PropertyChainTest, StringWalks) {
  DocumentStore project;
  DocumentStore settings;
  load(project, {"[PROPERTY:p]", "FIXEDSHEET=0", "SHEETWIDTH=256", "[PROPERTY]", "FIXEDSHEET=1",
                 "SHEETWIDTH=300"});
  load(settings, {"[PROPERTY]", "FIXEDSHEET=1", "SHEETWIDTH=400", "SHEETHEIGHT=500"});
  PropertyChain chain(project, &settings, "p");
  const SectionCursor& page = chain.start();

  EXPECT_EQ(own_string("SHEETWIDTH", page), "256");
  EXPECT_EQ(own_string("SHEETHEIGHT", page), std::nullopt);
  EXPECT_EQ(first_string("SHEETWIDTH", page), "256");
  EXPECT_EQ(first_string("SHEETHEIGHT", page), "500");
  // The page's own FIXEDSHEET is 0: the project level gives the width.
  EXPECT_EQ(chained_string("SHEETWIDTH", page), "300");
  // The project level is enabled but has no height: the application's.
  EXPECT_EQ(chained_string("SHEETHEIGHT", page), "500");
  EXPECT_EQ(inherited_string("SHEETWIDTH", page), "300");
  EXPECT_EQ(inherited_string("SHEETWIDTH", *page.parent()), "400");
  EXPECT_EQ(inherited_string("SHEETWIDTH", *page.parent()->parent()), std::nullopt);
  EXPECT_EQ(chained_string("SHEETSIZEMANUAL", page), std::nullopt);
}

TEST(PropertyChainTest, EnableValueMustBeginWithOne) {
  DocumentStore project;
  load(project, {"[PROPERTY:p]", "FIXEDSHEET=10", "SHEETWIDTH=1", "[PROPERTY]", "FIXEDSHEET= 1",
                 "SHEETWIDTH=2"});
  PropertyChain chain(project, nullptr, "p");
  // "10" begins with '1'; " 1" does not.
  EXPECT_EQ(chained_string("SHEETWIDTH", chain.start()), "1");
  EXPECT_EQ(inherited_string("SHEETWIDTH", chain.start()), std::nullopt);
}

TEST(PropertyChainTest, ByteListsNeedExactCount) {
  DocumentStore project;
  DocumentStore settings;
  load(project, {"[PROPERTY:p]", "TRANSPARENTENABLE=1", "TRANSPARENTCOLOR=10,20", "[PROPERTY]",
                 "TRANSPARENTENABLE=0", "TRANSPARENTCOLOR=1,2,3"});
  load(settings, {"[PROPERTY]", "TRANSPARENTENABLE=1", "TRANSPARENTCOLOR=7,8,9"});
  PropertyChain chain(project, &settings, "p");

  std::array<std::uint8_t, 3> rgb = {0xAA, 0xAA, 0xAA};
  // Page: two items only, skipped; project: not enabled; application.
  EXPECT_TRUE(chained_bytes("TRANSPARENTCOLOR", rgb, chain.start()));
  EXPECT_EQ(rgb, (std::array<std::uint8_t, 3>{7, 8, 9}));

  rgb = {0xAA, 0xAA, 0xAA};
  EXPECT_TRUE(first_bytes("TRANSPARENTCOLOR", rgb, chain.start()));
  EXPECT_EQ(rgb, (std::array<std::uint8_t, 3>{1, 2, 3}));

  std::array<std::uint8_t, 2> two = {0, 0};
  EXPECT_TRUE(first_bytes("TRANSPARENTCOLOR", two, chain.start()));
  EXPECT_EQ(two, (std::array<std::uint8_t, 2>{10, 20}));

  rgb = {0xAA, 0xAA, 0xAA};
  EXPECT_TRUE(inherited_bytes("TRANSPARENTCOLOR", rgb, chain.start()));
  EXPECT_EQ(rgb, (std::array<std::uint8_t, 3>{7, 8, 9}));
}

TEST(PropertyChainTest, ShortListLeavesCallerBytesUnchanged) {
  DocumentStore project;
  load(project, {"[PROPERTY:p]", "TRANSPARENTENABLE=1", "TRANSPARENTCOLOR=10,20", "[PROPERTY]"});
  PropertyChain chain(project, nullptr, "p");
  std::array<std::uint8_t, 3> rgb = {1, 2, 3};
  EXPECT_FALSE(chained_bytes("TRANSPARENTCOLOR", rgb, chain.start()));
  EXPECT_EQ(rgb, (std::array<std::uint8_t, 3>{1, 2, 3}));
  EXPECT_FALSE(inherited_bytes("TRANSPARENTCOLOR", rgb, chain.start()));
  EXPECT_EQ(rgb, (std::array<std::uint8_t, 3>{1, 2, 3}));
}

// --- apply_page_properties ---------------------------------------------------

struct ApplyCase {
  const char* name;
  std::vector<std::string_view> page;
  std::vector<std::string_view> project;
  std::vector<std::string_view> application;
  int width;
  int height;
  ColorRef colour;
};

TEST(ApplyPagePropertiesTest, SheetSizeAndBackground) {
  const ApplyCase cases[] = {
      {"NothingSetGivesWhiteAndNoSheet", {}, {}, {}, 0, 0, 0x00FFFFFF},
      {"PageFixedSheetOffUsesProject",
       {"FIXEDSHEET=0", "SHEETSIZEMANUAL=1", "SHEETWIDTH=256", "SHEETHEIGHT=256"},
       {"FIXEDSHEET=1", "SHEETSIZEMANUAL=1", "SHEETWIDTH=640", "SHEETHEIGHT=480"},
       {},
       640,
       480,
       0x00FFFFFF},
      {"PageFixedSheetOffUsesApplication",
       {"FIXEDSHEET=0", "SHEETSIZEMANUAL=1", "SHEETWIDTH=256", "SHEETHEIGHT=256"},
       {},
       {"FIXEDSHEET=1", "SHEETSIZEMANUAL=1", "SHEETWIDTH=128", "SHEETHEIGHT=64"},
       128,
       64,
       0x00FFFFFF},
      {"ManualOffMeansNoSheet",
       {"FIXEDSHEET=1", "SHEETSIZEMANUAL=0", "SHEETWIDTH=256", "SHEETHEIGHT=256"},
       {},
       {},
       0,
       0,
       0x00FFFFFF},
      {"ManualWithoutWidthGivesZero",
       {"FIXEDSHEET=1", "SHEETSIZEMANUAL=1"},
       {},
       {},
       0,
       0,
       0x00FFFFFF},
      {"EmptyWidthReadsAsZero",
       {"FIXEDSHEET=1", "SHEETSIZEMANUAL=1", "SHEETWIDTH=", "SHEETHEIGHT=32"},
       {},
       {},
       0,
       32,
       0x00FFFFFF},
      {"ColourInColorrefLayout",
       {"TRANSPARENTENABLE=1", "TRANSPARENTCOLOR=255,0,128"},
       {},
       {},
       0,
       0,
       0x008000FF},
      {"TwoItemColourSkipped",
       {"TRANSPARENTENABLE=1", "TRANSPARENTCOLOR=1,2"},
       {"TRANSPARENTENABLE=1", "TRANSPARENTCOLOR=0,255,0"},
       {},
       0,
       0,
       0x0000FF00},
      {"TwoItemColourWithoutFallbackIsWhite",
       {"TRANSPARENTENABLE=1", "TRANSPARENTCOLOR=1,2"},
       {},
       {},
       0,
       0,
       0x00FFFFFF},
      {"NoEnableAnywhereIsWhite",
       {"TRANSPARENTCOLOR=1,2,3"},
       {"TRANSPARENTCOLOR=4,5,6"},
       {"TRANSPARENTENABLE=0", "TRANSPARENTCOLOR=7,8,9"},
       0,
       0,
       0x00FFFFFF},
  };
  for (const ApplyCase& c : cases) {
    SCOPED_TRACE(c.name);
    ProjectFixture f;
    f.project.store = std::make_unique<DocumentStore>();
    DocumentStore& store = *f.project.store;
    ASSERT_TRUE(store.insert_row("PAGELIST", -1, "page000"));
    for (std::string_view line : c.page) {
      const auto eq = line.find('=');
      ASSERT_TRUE(store.set_string("PROPERTY:page000", line.substr(0, eq), line.substr(eq + 1)));
    }
    for (std::string_view line : c.project) {
      const auto eq = line.find('=');
      ASSERT_TRUE(store.set_string("PROPERTY", line.substr(0, eq), line.substr(eq + 1)));
    }
    for (std::string_view line : c.application) {
      const auto eq = line.find('=');
      ASSERT_TRUE(f.settings.set_string("PROPERTY", line.substr(0, eq), line.substr(eq + 1)));
    }
    f.project.page_count = 1;
    f.project.current_page = 0;
    apply_page_properties(f.project);
    EXPECT_EQ(f.sheet.sheet_width, c.width);
    EXPECT_EQ(f.sheet.sheet_height, c.height);
    EXPECT_EQ(f.sheet.background, c.colour);
    ASSERT_FALSE(f.sheet.log.empty());
    EXPECT_EQ(f.sheet.log.back(), "redraw");
  }
}

TEST(ApplyPagePropertiesTest, NothingWithoutStoreOrPage) {
  ProjectFixture f;
  apply_page_properties(f.project);
  EXPECT_TRUE(f.sheet.log.empty());

  f.project.store = std::make_unique<DocumentStore>();
  ASSERT_TRUE(f.project.store->insert_row("PAGELIST", -1, "page000"));
  f.project.page_count = 1;
  f.project.current_page = 1;  // names no page
  apply_page_properties(f.project);
  EXPECT_TRUE(f.sheet.log.empty());
  EXPECT_FALSE(f.project.store->has_section("PROPERTY"));
}

}  // namespace
}  // namespace piconel
