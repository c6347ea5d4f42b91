#include "output/page_pass.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "output/output_fixture.h"
#include "output/run_tables.h"

namespace piconel {
namespace {

using test::make_bitmap_file;

TEST(PagePassPaths, JoinSkipsSecondBytesOfDoubleByteCharacters) {
  struct Case {
    std::string folder, name, expected;
  };
  for (const Case& c : std::vector<Case>{
           {"", "a.bmp", "a.bmp"},
           {"C:\\out\\", "a.bmp", "C:\\out\\a.bmp"},
           {"C:\\out", "a.bmp", "C:\\out\\a.bmp"},
           {"/tmp/out/", "a.bmp", "/tmp/out/a.bmp"},
           // ソ (0x83 0x5C) and 表 (0x95 0x5C) end in the byte of '\'.
           {"C:\\\x83\x5c", "a.bmp", "C:\\\x83\x5c\\a.bmp"},
           {"C:\\\x95\x5c\\", "a.bmp", "C:\\\x95\x5c\\a.bmp"},
       }) {
    EXPECT_EQ(join_path(c.folder, c.name), c.expected) << c.folder;
  }
}

// A page named 表 whose image lies in a folder named ソ: the bitmap file,
// the array name and the %file% label keep the CP932 bytes.
TEST(PagePass, DoubleByteNamesWithBackslashByte) {
  test::ScratchFolder folder;
  const std::filesystem::path image_folder = folder.path() / std::filesystem::path(u8"\u30bd");
  std::filesystem::create_directories(image_folder);
  test::write_bytes(image_folder / std::filesystem::path(u8"\u30bd.bmp"),
                    make_bitmap_file(1, 1, 24, {}, {0x123456}));
  DocumentStore store;
  test::load_project_text(
      store, {"[PAGELIST]", "\x95\x5c", "[PROPERTY:\x95\x5c]", "PUTIMAGEWIDTH=1",
              "PUTIMAGEHEIGHT=1", "[FILELIST:\x95\x5c]", "\x83\x5c\\\x83\x5c.bmp\t0\t0"});
  SectionCursor project(store, "PROPERTY", nullptr);
  OutputContext context;
  context.write_bitmap = true;
  context.write_label = true;
  context.write_text_table = true;
  context.label_format = "%file%_%page%";
  PagePassInputs inputs;
  inputs.project = &store;
  inputs.project_chain = &project;
  inputs.page_name = "\x95\x5c";
  inputs.context = &context;
  const std::string project_folder = folder.folder();
  inputs.project_folder = project_folder;
  inputs.output_folder = project_folder;
  const PagePassResult result = run_page_pass(inputs);
  ASSERT_EQ(result.status, PagePassStatus::Written);
  EXPECT_EQ(result.tables.label, "enum {\r\n\t\x83\x5c_\x95\x5c,\r\n\tIMG__MAX\r\n};\r\n");
  EXPECT_EQ(result.tables.text,
            "int img_table_\x95\x5c[1][4] = {\r\n\t{    0,    0,    1,    1}, \r\n};\r\n");
  EXPECT_EQ(test::read_bytes(folder.path() / std::filesystem::path(u8"\u8868.bmp")),
            make_bitmap_file(1, 1, 8, {0x123456}, {0}));
}

// The output reads the page's settings; it must not add sections to the
// project that the next save would write.
TEST(PagePass, ReadingThePageSettingsLeavesTheStoreAlone) {
  DocumentStore store;
  test::load_project_text(store, {"[PAGELIST]", "p"});
  SectionCursor project(store, "PROPERTY", nullptr);
  const OutputContext context;
  PagePassInputs inputs;
  inputs.project = &store;
  inputs.project_chain = &project;
  inputs.page_name = "p";
  inputs.context = &context;
  EXPECT_EQ(run_page_pass(inputs).status, PagePassStatus::Empty);
  EXPECT_FALSE(store.has_section("PROPERTY:p"));
  EXPECT_FALSE(store.has_section("PROPERTY"));
}

}  // namespace
}  // namespace piconel
