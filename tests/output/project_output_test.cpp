#include "output/project_output.h"

#include <gtest/gtest.h>

#include "output/output_fixture.h"

namespace piconel {
namespace {

TEST(ProjectOutput, NothingWithoutAProject) {
  Project project;
  test::RecordingPort port;
  EXPECT_FALSE(run_project_output(project, nullptr, port).ran);
  EXPECT_TRUE(port.preselected.empty());
}

TEST(ProjectOutput, CurrentPageSynchronisedBeforeTheRun) {
  test::ScratchFolder folder;
  test::write_bytes(folder.file("a.bmp"), test::make_bitmap_file(1, 1, 24, {}, {0x00FF00}));
  Project project;
  project.store = std::make_unique<DocumentStore>();
  // The stored rows of the current page are stale: its entry list (empty
  // here) is what the output must see.
  test::load_project_text(
      *project.store, {"[PAGELIST]", "cur", "other", "[PROPERTY]", "OUTPUTENABLE=1",
                       "OUTPUT_TABLE_LITTLE=1", "[FILELIST:cur]", "a.bmp\t0\t0", "[PROPERTY:other]",
                       "PUTIMAGEWIDTH=1", "PUTIMAGEHEIGHT=1", "[FILELIST:other]", "a.bmp\t0\t0"});
  project.path = folder.file("game.ijp");
  project.folder = folder.folder();
  project.current_page = 0;
  project.page_count = 2;
  test::RecordingPort port;
  const OutputRunResult result = run_project_output(project, nullptr, port);
  EXPECT_TRUE(result.ran);
  EXPECT_EQ(result.pages_output, 2);
  EXPECT_TRUE(port.preselected.empty());
  EXPECT_FALSE(test::exists(folder.file("cur.bmp")));
  EXPECT_TRUE(test::exists(folder.file("other.bmp")));
  EXPECT_EQ(test::read_bytes(folder.file("imgtable_l.bin")),
            (std::vector<std::uint8_t>{2, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 1, 0}));
}

}  // namespace
}  // namespace piconel
