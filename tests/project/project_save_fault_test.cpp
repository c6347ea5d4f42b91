// A project saved onto a failing disk, at every step of the save: the file
// is the old one byte for byte and the user is told, the project staying
// modified; or the save succeeds and the file loads back to the same store.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "project/project_fakes.h"
#include "project/project_file.h"
#include "project/project_texts.h"
#include "store/file_faults.h"
#include "store/file_io.h"
#include "store/store_dump.h"

namespace piconel {
namespace {

using testing::dump;

std::string read_file(const std::string& path) {
  const FileBytes file = read_whole_file(path);
  return std::string(file.bytes.begin(), file.bytes.end());
}

TEST(ProjectSaveFault, EveryFailingStepKeepsTheOldFileAndSaysSo) {
  testing::ProjectTempFolder temp;
  ASSERT_TRUE(temp.ok());
  const std::string path = temp.file("game.ijp");
  std::optional<testing::ProjectFixture> f;
  {
    // The old file: what a fresh project saves.
    testing::ProjectFixture first;
    open_project(first.project, "");
    ASSERT_EQ(save_project(first.project, path), SaveResult::Saved);
  }
  const std::string old_bytes = read_file(path);
  SaveResult result = SaveResult::NoStore;
  const int steps = testing::for_every_file_fault(
      [&] {
        const auto* data = reinterpret_cast<const std::uint8_t*>(old_bytes.data());
        ASSERT_TRUE(write_file_replacing(path, {data, old_bytes.size()}));
        f.emplace();
        open_project(f->project, path);
        ASSERT_TRUE(f->project.store->insert_row("PAGELIST", -1, "more"));
        ASSERT_TRUE(f->project.store->set_string("FILELIST:more", std::nullopt,
                                                 "img\\a.bmp\t0\t0\tA\t0\t8\t8\t0\t-1"));
        mark_modified(f->project);
      },
      [&] { result = save_project(f->project, std::nullopt); },
      [&](bool struck) {
        const std::set<std::string> names = testing::folder_entries(temp.native());
        EXPECT_EQ(names, std::set<std::string>{"game.ijp"});
        if (struck) {
          EXPECT_EQ(result, SaveResult::Failed);
          ASSERT_FALSE(f->prompter.boxes.empty());
          EXPECT_EQ(f->prompter.boxes.back().text, project_texts::kSaveFailedMessage);
          EXPECT_TRUE(f->project.modified);
          EXPECT_EQ(read_file(path), old_bytes);
        } else {
          EXPECT_EQ(result, SaveResult::Saved);
          EXPECT_FALSE(f->project.modified);
          DocumentStore again;
          ASSERT_TRUE(again.load(path, false));
          EXPECT_EQ(dump(again), dump(*f->project.store));
          EXPECT_NE(read_file(path), old_bytes);
        }
      });
  EXPECT_EQ(steps, 5);
}

}  // namespace
}  // namespace piconel
