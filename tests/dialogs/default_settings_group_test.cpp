// The default-settings group against the examples of its behaviour, and
// round trips dialog -> store -> dialog.

#include "dialogs/default_settings_group.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "dialogs/fake_controls.h"
#include "project/property_chain.h"
#include "store/document_store.h"
#include "window/dialog_ids.h"

namespace piconel {
namespace {

using testing::FakeControls;

constexpr char kPage[] = "page000";
constexpr char kPageSection[] = "PROPERTY:page000";

// Project and settings stores from "[SECTION]\nKEY=value" texts.
struct Stores {
  Stores(std::string_view project_text, std::string_view settings_text) {
    EXPECT_TRUE(project.parse(project_text));
    EXPECT_TRUE(settings.parse(settings_text));
  }
  DocumentStore project;
  DocumentStore settings;
};

std::optional<std::string> value(DocumentStore& store, std::string_view section,
                                 std::string_view key) {
  const auto found = store.get_string(section, key);
  return found ? std::optional<std::string>(*found) : std::nullopt;
}

// What a click does to an auto radio button pair before BN_CLICKED.
void click_radio(FakeControls& controls, DefaultSettingsGroup& group, int id) {
  controls.set_checked(IDC_SIZE_AUTOMATIC, id == IDC_SIZE_AUTOMATIC);
  controls.set_checked(IDC_SIZE_MANUAL, id == IDC_SIZE_MANUAL);
  EXPECT_EQ(group.click(controls, id), GroupClick::Handled);
}

void click_box(FakeControls& controls, DefaultSettingsGroup& group, int id) {
  controls.set_checked(id, !controls.is_checked(id));
  EXPECT_EQ(group.click(controls, id), GroupClick::Handled);
}

TEST(DefaultSettingsGroup, TopLevelBoxesStayChecked) {
  Stores stores("", "[PROPERTY]\nFIXEDSHEET=0\n");
  SectionCursor application(stores.settings, "PROPERTY", nullptr);
  FakeControls controls;
  DefaultSettingsGroup group;
  group.initialise(controls, application);
  EXPECT_TRUE(group.top_level());
  for (const int box : {IDC_BACKGROUND_ENABLE, IDC_SHEET_SIZE_ENABLE}) {
    EXPECT_TRUE(controls.is_checked(box));
    click_box(controls, group, box);
    EXPECT_TRUE(controls.is_checked(box)) << box;
  }
  // Nothing stored anywhere: white, automatic, the offered 512 kept as own.
  EXPECT_EQ(group.current_colour(), (Rgb{255, 255, 255}));
  EXPECT_TRUE(controls.is_checked(IDC_SIZE_AUTOMATIC));
  EXPECT_FALSE(controls.is_enabled(IDC_SHEET_WIDTH));
  EXPECT_EQ(group.click(controls, IDC_CHANGE_COLOUR), GroupClick::ChooseColour);
  EXPECT_EQ(group.click(controls, 1), GroupClick::NotHandled);
}

// The page inherits a manual 800 x 600 from the project: shown disabled; the
// page's own values start as those, are typed over, kept while the box is
// off and saved with FIXEDSHEET 0.
TEST(DefaultSettingsGroup, PageInheritsProjectSizeAndKeepsTypedOwnSize) {
  Stores stores(
      "[PROPERTY]\nFIXEDSHEET=1\nSHEETSIZEMANUAL=1\nSHEETWIDTH=800\nSHEETHEIGHT=600\n"
      "TRANSPARENTENABLE=1\nTRANSPARENTCOLOR=10,20,30\n",
      "[PROPERTY]\nTRANSPARENTENABLE=1\nTRANSPARENTCOLOR=1,2,3\n");
  PropertyChain chain(stores.project, &stores.settings, kPage);
  FakeControls controls;
  DefaultSettingsGroup group;
  group.initialise(controls, chain.start());

  EXPECT_FALSE(group.top_level());
  EXPECT_FALSE(controls.is_checked(IDC_SHEET_SIZE_ENABLE));
  EXPECT_TRUE(controls.is_checked(IDC_SIZE_MANUAL));
  EXPECT_FALSE(controls.is_checked(IDC_SIZE_AUTOMATIC));
  for (const int id : {IDC_SIZE_AUTOMATIC, IDC_SIZE_MANUAL, IDC_SHEET_WIDTH, IDC_SHEET_HEIGHT,
                       IDC_CHANGE_COLOUR}) {
    EXPECT_FALSE(controls.is_enabled(id)) << id;
  }
  EXPECT_EQ(controls.text(IDC_SHEET_WIDTH), "800");
  EXPECT_EQ(controls.text(IDC_SHEET_HEIGHT), "600");
  EXPECT_EQ(group.current_colour(), (Rgb{10, 20, 30}));
  EXPECT_GT(controls.redraws[IDC_COLOUR_SWATCH], 0);

  click_box(controls, group, IDC_SHEET_SIZE_ENABLE);
  EXPECT_TRUE(controls.is_enabled(IDC_SHEET_WIDTH));
  EXPECT_TRUE(controls.is_checked(IDC_SIZE_MANUAL));
  EXPECT_EQ(controls.text(IDC_SHEET_WIDTH), "800");
  controls.set_text(IDC_SHEET_WIDTH, "640");
  click_box(controls, group, IDC_SHEET_SIZE_ENABLE);
  EXPECT_FALSE(controls.is_enabled(IDC_SHEET_WIDTH));
  EXPECT_EQ(controls.text(IDC_SHEET_WIDTH), "800");
  EXPECT_EQ(controls.text(IDC_SHEET_HEIGHT), "600");

  SectionCursor own(stores.project, kPageSection, nullptr);
  ASSERT_TRUE(group.save(controls, own));
  EXPECT_EQ(value(stores.project, kPageSection, "FIXEDSHEET"), "0");
  EXPECT_EQ(value(stores.project, kPageSection, "SHEETWIDTH"), "640");
  EXPECT_EQ(value(stores.project, kPageSection, "SHEETHEIGHT"), "600");
  EXPECT_EQ(value(stores.project, kPageSection, "SHEETSIZEMANUAL"), "1");
  EXPECT_EQ(value(stores.project, kPageSection, "TRANSPARENTENABLE"), "0");
  // The own colour: the first level storing one, whatever its enable key.
  EXPECT_EQ(value(stores.project, kPageSection, "TRANSPARENTCOLOR"), "10,20,30");
}

TEST(DefaultSettingsGroup, RadioButtonsSwitchTheSizeEdits) {
  Stores stores("[PROPERTY]\nFIXEDSHEET=1\nSHEETSIZEMANUAL=1\nSHEETWIDTH=300\nSHEETHEIGHT=200\n",
                "");
  PropertyChain chain(stores.project, &stores.settings, std::nullopt);
  FakeControls controls;
  DefaultSettingsGroup group;
  group.initialise(controls, chain.start());
  EXPECT_TRUE(controls.is_checked(IDC_SHEET_SIZE_ENABLE));
  EXPECT_EQ(controls.text(IDC_SHEET_WIDTH), "300");
  controls.set_text(IDC_SHEET_WIDTH, "320");

  click_radio(controls, group, IDC_SIZE_AUTOMATIC);
  EXPECT_EQ(controls.text(IDC_SHEET_WIDTH), "");
  EXPECT_EQ(controls.text(IDC_SHEET_HEIGHT), "");
  EXPECT_FALSE(controls.is_enabled(IDC_SHEET_WIDTH));
  EXPECT_FALSE(controls.is_enabled(IDC_SHEET_HEIGHT));

  click_radio(controls, group, IDC_SIZE_MANUAL);
  EXPECT_EQ(controls.text(IDC_SHEET_WIDTH), "320");
  EXPECT_EQ(controls.text(IDC_SHEET_HEIGHT), "200");
  EXPECT_TRUE(controls.is_enabled(IDC_SHEET_WIDTH));

  // An empty width with "手動" checked is saved as an empty value.
  controls.set_text(IDC_SHEET_WIDTH, "");
  SectionCursor own(stores.project, "PROPERTY", nullptr);
  ASSERT_TRUE(group.save(controls, own));
  EXPECT_EQ(value(stores.project, "PROPERTY", "SHEETWIDTH"), "");
  EXPECT_EQ(value(stores.project, "PROPERTY", "SHEETHEIGHT"), "200");
  EXPECT_EQ(value(stores.project, "PROPERTY", "SHEETSIZEMANUAL"), "1");
}

// The colour row swaps own and inherited colours with its box.
TEST(DefaultSettingsGroup, ColourBoxSwapsOwnAndInheritedColour) {
  Stores stores("[PROPERTY]\nTRANSPARENTENABLE=0\nTRANSPARENTCOLOR=9,9,9\n",
                "[PROPERTY]\nTRANSPARENTENABLE=1\nTRANSPARENTCOLOR=0,0,255\n");
  PropertyChain chain(stores.project, &stores.settings, std::nullopt);
  FakeControls controls;
  DefaultSettingsGroup group;
  group.initialise(controls, chain.start());
  EXPECT_EQ(group.current_colour(), (Rgb{0, 0, 255}));
  click_box(controls, group, IDC_BACKGROUND_ENABLE);
  EXPECT_TRUE(controls.is_enabled(IDC_CHANGE_COLOUR));
  EXPECT_EQ(group.current_colour(), (Rgb{9, 9, 9}));
  group.set_current_colour(Rgb{1, 2, 3});
  click_box(controls, group, IDC_BACKGROUND_ENABLE);
  EXPECT_EQ(group.current_colour(), (Rgb{0, 0, 255}));
  click_box(controls, group, IDC_BACKGROUND_ENABLE);
  EXPECT_EQ(group.current_colour(), (Rgb{1, 2, 3}));
}

// Whatever the controls held at OK comes back when the dialog opens again on
// the saved level.
TEST(DefaultSettingsGroup, RoundTripsThroughTheStore) {
  struct Case {
    bool colour_on;
    Rgb colour;
    bool size_on;
    bool manual;
    const char* width;
    const char* height;
  };
  const Case cases[] = {
      {true, Rgb{255, 0, 128}, true, true, "640", "480"},
      {true, Rgb{0, 0, 0}, true, false, "", ""},
      {false, Rgb{255, 255, 255}, false, false, "", ""},
      {true, Rgb{7, 8, 9}, true, true, "", "1"},
  };
  for (const Case& c : cases) {
    Stores stores("", "[PROPERTY]\nTRANSPARENTENABLE=1\nTRANSPARENTCOLOR=255,255,255\n");
    {
      PropertyChain chain(stores.project, &stores.settings, kPage);
      FakeControls controls;
      DefaultSettingsGroup group;
      group.initialise(controls, chain.start());
      if (c.colour_on) {
        click_box(controls, group, IDC_BACKGROUND_ENABLE);
        group.set_current_colour(c.colour);
      }
      if (c.size_on) {
        click_box(controls, group, IDC_SHEET_SIZE_ENABLE);
        click_radio(controls, group, c.manual ? IDC_SIZE_MANUAL : IDC_SIZE_AUTOMATIC);
        controls.set_text(IDC_SHEET_WIDTH, c.width);
        controls.set_text(IDC_SHEET_HEIGHT, c.height);
      }
      SectionCursor own(stores.project, kPageSection, nullptr);
      ASSERT_TRUE(group.save(controls, own));
    }
    PropertyChain chain(stores.project, &stores.settings, kPage);
    FakeControls controls;
    DefaultSettingsGroup group;
    group.initialise(controls, chain.start());
    EXPECT_EQ(controls.is_checked(IDC_BACKGROUND_ENABLE), c.colour_on);
    EXPECT_EQ(group.current_colour(), c.colour);
    EXPECT_EQ(controls.is_checked(IDC_SHEET_SIZE_ENABLE), c.size_on);
    EXPECT_EQ(controls.is_checked(IDC_SIZE_MANUAL), c.manual);
    EXPECT_EQ(controls.is_checked(IDC_SIZE_AUTOMATIC), !c.manual);
    EXPECT_EQ(controls.text(IDC_SHEET_WIDTH), c.width);
    EXPECT_EQ(controls.text(IDC_SHEET_HEIGHT), c.height);
  }
}

}  // namespace
}  // namespace piconel
