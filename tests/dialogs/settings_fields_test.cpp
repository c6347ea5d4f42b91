// The project dialog's output fields and OK of the page settings dialog.

#include <gtest/gtest.h>

#include <string>

#include "dialogs/default_settings_group.h"
#include "dialogs/fake_controls.h"
#include "dialogs/page_settings_accept.h"
#include "dialogs/project_output_fields.h"
#include "project/project_fakes.h"
#include "project/property_chain.h"
#include "window/dialog_ids.h"

namespace piconel {
namespace {

using testing::FakeControls;

TEST(ProjectOutputFields, NewProjectDefaultsAndSaveOfDisabledTexts) {
  DocumentStore store;
  SectionCursor project(store, "PROPERTY", nullptr);
  FakeControls controls;
  show_project_output(controls, project);
  EXPECT_TRUE(controls.is_checked(IDC_OUTPUT_BMP));
  for (const int id :
       {IDC_OUTPUT_DIR_ENABLE, IDC_OUTPUT_LABEL, IDC_LABEL_PAGE_NUMBER, IDC_TABLE_TEXT,
        IDC_TABLE_LITTLE, IDC_TABLE_BIG, IDC_OUTPUT_PNG, IDC_PNG_TRANSPARENT, IDC_OUTPUT_JSON}) {
    EXPECT_FALSE(controls.is_checked(id)) << id;
  }
  EXPECT_FALSE(controls.is_enabled(IDC_PNG_TRANSPARENT));
  EXPECT_EQ(controls.text(IDC_LABEL_FORMAT), "IMG_%PAGE%_%FILE%");
  EXPECT_FALSE(controls.is_enabled(IDC_LABEL_FORMAT));
  EXPECT_FALSE(controls.is_enabled(IDC_OUTPUT_DIR));
  EXPECT_FALSE(controls.is_enabled(IDC_OUTPUT_BROWSE));

  controls.set_checked(IDC_OUTPUT_LABEL, true);
  enable_project_output(controls);
  EXPECT_TRUE(controls.is_enabled(IDC_LABEL_FORMAT));
  EXPECT_TRUE(controls.is_enabled(IDC_LABEL_PAGE_NUMBER));
  // The folder is kept although its box is off; a text longer than 259
  // bytes is cut before a double-byte character, never inside one.
  controls.set_text(IDC_OUTPUT_DIR, "out\\");
  controls.set_text(IDC_LABEL_FORMAT, std::string(258, 'L') + "\x83\x5c");
  ASSERT_TRUE(save_project_output(controls, project));
  EXPECT_EQ(store.serialize(),
            "[PROPERTY]\r\nOUTPUTENABLE=0\r\nOUTPUT_BMP=1\r\nOUTPUT_LABEL=1\r\n"
            "OUTPUT_LABEL_PAGENUM=0\r\nOUTPUT_TABLE_TEXT=0\r\nOUTPUT_TABLE_LITTLE=0\r\n"
            "OUTPUT_TABLE_BIG=0\r\nOUTPUT_PNG=0\r\nOUTPUT_PNG_TRANSPARENT=0\r\nOUTPUT_JSON=0\r\n"
            "OUTPUTDIR=out\\\r\nOUTPUT_LABEL_FORMAT=" +
                std::string(258, 'L') + "\r\n");
}

TEST(ProjectOutputFields, TransparencyBoxFollowsThePngBox) {
  DocumentStore store;
  ASSERT_TRUE(store.parse("[PROPERTY]\r\nOUTPUT_PNG=1\r\nOUTPUT_PNG_TRANSPARENT=1\r\n"));
  SectionCursor project(store, "PROPERTY", nullptr);
  FakeControls controls;
  show_project_output(controls, project);
  EXPECT_TRUE(controls.is_checked(IDC_OUTPUT_PNG));
  EXPECT_TRUE(controls.is_checked(IDC_PNG_TRANSPARENT));
  EXPECT_TRUE(controls.is_enabled(IDC_PNG_TRANSPARENT));
  EXPECT_FALSE(controls.is_checked(IDC_OUTPUT_JSON));
  // PNG off: the transparency box is disabled but keeps its tick, which is
  // saved as it stands (the output ignores it without the PNG).
  controls.set_checked(IDC_OUTPUT_PNG, false);
  enable_project_output(controls);
  EXPECT_FALSE(controls.is_enabled(IDC_PNG_TRANSPARENT));
  controls.set_checked(IDC_OUTPUT_JSON, true);
  ASSERT_TRUE(save_project_output(controls, project));
  EXPECT_EQ(store.get_string("PROPERTY", "OUTPUT_PNG"), "0");
  EXPECT_EQ(store.get_string("PROPERTY", "OUTPUT_PNG_TRANSPARENT"), "1");
  EXPECT_EQ(store.get_string("PROPERTY", "OUTPUT_JSON"), "1");
}

struct PageDialogFixture : ::testing::Test {
  void SetUp() override {
    f.project.store = std::make_unique<DocumentStore>();
    ASSERT_TRUE(f.project.store->parse(
        "[PAGELIST]\r\npage000\r\npage001\r\n[PROPERTY:page000]\r\nPAGELABEL=PAGE000\r\n"));
    f.project.page_count = 2;
    f.project.current_page = 0;
    f.page_list.insert_item(-1, "page000");
    f.page_list.insert_item(-1, "page001");
    PropertyChain chain(*f.project.store, nullptr, "page000");
    group.initialise(controls, chain.start());
    controls.set_text(IDC_PAGE_LABEL, "my label!");
  }
  testing::ProjectFixture f;
  FakeControls controls;
  DefaultSettingsGroup group;
};

TEST_F(PageDialogFixture, RefusedNamesStoreNothing) {
  const std::string before = f.project.store->serialize();
  // "あa-": the hyphen is the third character.
  for (const char* name : {"", "page-1",
                           "\x82\xa0"
                           "a-",
                           "\xb1"}) {
    EXPECT_EQ(accept_page_settings(f.project, 0, name, controls, group, &f.prompter),
              PageAccept::StayOpen);
  }
  ASSERT_EQ(f.prompter.boxes.size(), 3u);
  EXPECT_NE(f.prompter.boxes[0].text.find("(5"), std::string::npos);
  EXPECT_NE(f.prompter.boxes[1].text.find("(3"), std::string::npos);
  EXPECT_NE(f.prompter.boxes[2].text.find("(1"), std::string::npos);
  EXPECT_EQ(f.project.store->serialize(), before);
  EXPECT_FALSE(f.project.modified);
}

// Sixteen double-byte characters used to be cut to 30 bytes without a word;
// now 30 bytes are stored whole and one byte more is refused with a message.
TEST_F(PageDialogFixture, NameAndLabelAreStoredWholeOrRefused) {
  std::string fifteen;  // あ x 15: 30 bytes
  for (int i = 0; i < 15; ++i) {
    fifteen += "\x82\xa0";
  }
  const struct {
    std::string name;
    std::string label;
    PageAccept result;
  } cases[] = {
      {fifteen, fifteen, PageAccept::Close},
      {fifteen + "a", "L", PageAccept::StayOpen},
      {"p", fifteen + "\x82\xa0", PageAccept::StayOpen},
      {"p", std::string(31, 'x'), PageAccept::StayOpen},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name + " / " + c.label);
    const std::string before = f.project.store->serialize();
    f.prompter.boxes.clear();
    controls.set_text(IDC_PAGE_LABEL, c.label);
    EXPECT_EQ(accept_page_settings(f.project, 0, c.name, controls, group, &f.prompter), c.result);
    if (c.result == PageAccept::Close) {
      EXPECT_EQ(*f.project.store->row_at("PAGELIST", 0), c.name);
      EXPECT_EQ(f.project.store->get_string(page_property_section(c.name), "PAGELABEL"), c.label);
      EXPECT_TRUE(f.prompter.boxes.empty());
    } else {
      EXPECT_EQ(f.project.store->serialize(), before);
      ASSERT_EQ(f.prompter.boxes.size(), 1u);
      EXPECT_NE(f.prompter.boxes[0].text.find("30"), std::string::npos);
    }
  }
}

TEST_F(PageDialogFixture, StoresLabelAndGroupThenRenames) {
  EXPECT_EQ(accept_page_settings(f.project, 0, "title", controls, group, &f.prompter),
            PageAccept::Close);
  EXPECT_TRUE(f.project.modified);
  EXPECT_EQ(*f.project.store->row_at("PAGELIST", 0), "title");
  EXPECT_EQ(*f.project.store->get_string("PROPERTY:title", "PAGELABEL"), "my label!");
  EXPECT_EQ(*f.project.store->get_string("PROPERTY:title", "FIXEDSHEET"), "0");
  EXPECT_EQ(f.page_list.items[0].name, "title");

  // Another page's name: no rename, but the label is stored.
  controls.set_text(IDC_PAGE_LABEL, "X");
  EXPECT_EQ(accept_page_settings(f.project, 0, "page001", controls, group, &f.prompter),
            PageAccept::Close);
  EXPECT_EQ(*f.project.store->row_at("PAGELIST", 0), "title");
  EXPECT_EQ(*f.project.store->get_string("PROPERTY:title", "PAGELABEL"), "X");
  EXPECT_TRUE(f.prompter.boxes.empty());
}

}  // namespace
}  // namespace piconel
