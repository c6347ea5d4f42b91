// An output run of a two-page project with every table, onto a disk that
// fails at each step of each file's write in turn: every file under its final
// name is its old self or wholly new, no temporary file stays, a failing page
// bitmap is named and gives exit status 1 while the other page is written.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "output/output_fixture.h"
#include "store/file_faults.h"

namespace piconel {
namespace {

using Files = std::map<std::string, std::vector<std::uint8_t>>;

struct QuietConsole : CliConsole {
  std::string errors;
  void error(std::string_view cp932) override { errors += cp932; }
  void output(std::string_view) override {}
  bool error_is_terminal() const override { return false; }
  double elapsed_seconds() const override { return 0; }
};

const std::string kProject =
    "[INFOMATION]\r\n"
    "APPLICATIONNAME=\x83\x73\x83\x52\x83\x6c\x83\x8b\x83\x76\x83\x8d\x83\x57\x83\x46\x83\x4e"
    "\x83\x67\r\n"  // ピコネルプロジェクト
    "APPLICATIONVERSION=1.0.8\r\n"
    "[PAGELIST]\r\nfirst\r\nsecond\r\n"
    "[PROPERTY]\r\nOUTPUT_BMP=1\r\nOUTPUT_LABEL=1\r\nOUTPUT_TABLE_TEXT=1\r\n"
    "OUTPUT_TABLE_LITTLE=1\r\nOUTPUT_TABLE_BIG=1\r\n"
    "[PROPERTY:first]\r\nPUTIMAGEWIDTH=2\r\nPUTIMAGEHEIGHT=1\r\n"
    "[PROPERTY:second]\r\nPUTIMAGEWIDTH=3\r\nPUTIMAGEHEIGHT=1\r\n"
    "[FILELIST:first]\r\na.bmp\t0\t0\tA\r\na.bmp\t1\t0\tB\r\n"
    "[FILELIST:second]\r\na.bmp\t2\t0\tC\r\n";

const std::set<std::string> kTables = {"imgidx.h", "imgtable.h", "imgtable_l.bin",
                                       "imgtable_b.bin"};

Files files_in(const std::filesystem::path& folder) {
  Files files;
  for (const auto& item : std::filesystem::directory_iterator(folder)) {
    if (item.is_regular_file()) {
      files[item.path().filename().string()] = test::read_bytes(item.path());
    }
  }
  return files;
}

class OutputFault : public ::testing::Test {
 protected:
  void SetUp() override {
    test::write_bytes(folder_.file("a.bmp"), test::make_bitmap_file(1, 1, 24, {}, {0x00FF00}));
    test::write_bytes(folder_.file("game.ijp"),
                      std::vector<std::uint8_t>(kProject.begin(), kProject.end()));
  }
  int run(const std::filesystem::path& out) {
    CliInvocation invocation;
    invocation.arguments = {"output", folder_.file("game.ijp"), "--out", out.string(), "--jobs",
                            "1"};
    console_.errors.clear();
    return run_cli(invocation, console_);
  }
  // What the run writes when page `page` cannot be written: a folder in
  // the place of its bitmap.
  Files written_without(const std::string& page) {
    const std::filesystem::path out = folder_.path() / ("without-" + page);
    std::filesystem::create_directories(out / (page + ".bmp"));
    EXPECT_EQ(run(out), kExitPageFailed);
    return files_in(out);
  }

  test::ScratchFolder folder_;
  QuietConsole console_;
};

TEST_F(OutputFault, EveryFailingStepLeavesOldOrWholeFilesAndNamesTheFailingPage) {
  const std::filesystem::path fresh = folder_.path() / "fresh";
  ASSERT_EQ(run(fresh), kExitOk);
  const Files whole = files_in(fresh);
  ASSERT_EQ(whole.size(), 6u);
  const std::map<std::string, Files> without = {{"first", written_without("first")},
                                                {"second", written_without("second")}};
  Files old;
  for (const auto& [name, bytes] : whole) {
    old[name] = std::vector<std::uint8_t>(bytes.size() / 2 + 1, 0x55);
  }
  const std::filesystem::path out = folder_.path() / "out";
  int status = -1;
  std::set<std::string> failed_steps;
  testing::for_every_file_fault(
      [&] {
        std::filesystem::remove_all(out);
        std::filesystem::create_directories(out);
        for (const auto& [name, bytes] : old) {
          test::write_bytes(out / name, bytes);
        }
      },
      [&] { status = run(out); },
      [&](bool struck) {
        const Files now = files_in(out);
        std::set<std::string> names;
        for (const auto& [name, bytes] : now) {
          names.insert(name);
        }
        std::set<std::string> expected_names;
        for (const auto& [name, bytes] : whole) {
          expected_names.insert(name);
        }
        // No temporary file beside the outputs.
        ASSERT_EQ(names, expected_names);
        std::vector<std::string> kept_old;
        for (const auto& [name, bytes] : now) {
          if (bytes == old.at(name)) {
            kept_old.push_back(name);
          }
        }
        if (!struck) {
          EXPECT_EQ(status, kExitOk);
          EXPECT_EQ(now, whole);
          return;
        }
        // One step failed: one file kept its old bytes, the others are new.
        ASSERT_EQ(kept_old.size(), 1u);
        const std::string& failed = kept_old[0];
        failed_steps.insert(failed);
        if (kTables.count(failed) != 0) {
          // Tables are written after every page: the pages are all there,
          // and the table is reported: ファイル出力エラー(<name>).
          for (const auto& [name, bytes] : now) {
            if (name != failed) {
              EXPECT_EQ(bytes, whole.at(name)) << name;
            }
          }
          EXPECT_EQ(status, kExitPageFailed);
          EXPECT_NE(console_.errors.find("(" + failed + ")"), std::string::npos)
              << console_.errors;
          return;
        }
        const std::string page = failed.substr(0, failed.size() - 4);
        EXPECT_EQ(status, kExitPageFailed);
        // ページ出力エラー(<page>)
        EXPECT_NE(console_.errors.find("\x83\x79\x81\x5b\x83\x57\x8f\x6f\x97\xcd\x83\x47\x83\x89"
                                       "\x81\x5b(" +
                                       page + ")"),
                  std::string::npos)
            << console_.errors;
        for (const auto& [name, bytes] : without.at(page)) {
          EXPECT_EQ(now.at(name), bytes) << name;
        }
      });
  // Each of the six files failed in some run.
  EXPECT_EQ(failed_steps.size(), 6u);
}

}  // namespace
}  // namespace piconel
