// Runs the built piconel-cli on fixture projects and the bundled demo, and
// compiles the demo's generated headers as C together with check_tables.c,
// which compares the binary tables with the text table.

#include <sys/wait.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "output/output_fixture.h"

namespace piconel {
namespace {

using test::make_bitmap_file;

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

std::string quoted(const std::string& text) {
  std::string q = "'";
  for (char c : text) {
    if (c == '\'') {
      q += "'\\''";
    } else {
      q += c;
    }
  }
  return q + "'";
}

Outcome run_command(const std::string& command, const test::ScratchFolder& folder) {
  const std::string out = folder.file("stdout.txt");
  const std::string err = folder.file("stderr.txt");
  const int raw = std::system((command + " >" + quoted(out) + " 2>" + quoted(err)).c_str());
  Outcome outcome;
  outcome.status = raw != -1 && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  outcome.out = test::read_text(out);
  outcome.err = test::read_text(err);
  return outcome;
}

Outcome run_cli(const std::string& arguments, const test::ScratchFolder& folder) {
  return run_command(quoted(PICONEL_CLI_PATH) + " " + arguments, folder);
}

TEST(CliBinary, DemoProjectWritesEveryFileAndTheTablesAgree) {
  test::ScratchFolder folder;
  const std::string demo = std::string(PICONEL_SOURCE_DIR) + "/examples/demo/demo.ijp";
  const std::string out = folder.file("demo-output");
  const Outcome run = run_cli("output " + quoted(demo) + " --out " + quoted(out), folder);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  for (const char* name : {"page000.bmp", "page001.bmp", "imgidx.h", "imgtable.h", "imgtable_l.bin",
                           "imgtable_b.bin"}) {
    EXPECT_TRUE(test::exists(out + "/" + name)) << name;
  }
  // Byte for byte as reviewed when the demo was made (tests/cli/golden/demo).
  const std::string golden = std::string(PICONEL_SOURCE_DIR) + "/tests/cli/golden/demo/";
  for (const char* name : {"page000.bmp", "page001.bmp", "imgidx.h", "imgtable.h", "imgtable_l.bin",
                           "imgtable_b.bin"}) {
    EXPECT_EQ(test::read_bytes(out + "/" + name), test::read_bytes(golden + name)) << name;
  }
  // Page 0 fits a palette; page 1 (a shaded 32-bit ship) does not.
  EXPECT_EQ(test::u16_at(test::read_bytes(out + "/page000.bmp"), 28), 8);
  EXPECT_EQ(test::u16_at(test::read_bytes(out + "/page001.bmp"), 28), 24);

  // The headers compile without a warning as C89 (still common for
  // embedded targets), C99 and C++, and the tables agree in each.
  const std::string compilers[] = {
      quoted(PICONEL_C_COMPILER) + " -std=c89 -pedantic-errors -Wall -Werror",
      quoted(PICONEL_C_COMPILER) + " -std=c99 -pedantic-errors -Wall -Werror",
      quoted(PICONEL_CXX_COMPILER) + " -x c++ -std=c++17 -pedantic-errors -Wall -Werror",
  };
  for (const std::string& compiler : compilers) {
    SCOPED_TRACE(compiler);
    const std::string checker = folder.file("check_tables");
    const std::string compile = compiler + " -DCHECK_DEMO_LABELS -I " + quoted(out) + " -o " +
                                quoted(checker) + " " + quoted(PICONEL_TABLE_CHECKER);
    const Outcome built = run_command(compile, folder);
    ASSERT_EQ(built.status, 0) << built.err;
    const Outcome checked = run_command(quoted(checker) + " " + quoted(out + "/imgtable_l.bin") +
                                            " " + quoted(out + "/imgtable_b.bin"),
                                        folder);
    EXPECT_EQ(checked.status, 0) << checked.err;
    EXPECT_EQ(checked.out, "tables agree: 2 pages\n");
  }
}

// The JSON read back by Python's own parser and compared with the binary
// table of the same run: same frames, same order, same coordinates.
constexpr const char* kJsonAgainstTable = R"(import json, struct, sys
out = sys.argv[1]
data = open(out + "/imgtable_l.bin", "rb").read()
fields = struct.unpack("<%dh" % (len(data) // 2), data)
at = 1
for page in range(fields[0]):
    sheet = json.load(open(out + "/page%03d.json" % page, encoding="utf-8"))
    frames = list(sheet["frames"].values())
    assert len(frames) == fields[at], page
    at += 1
    for index, frame in enumerate(frames):
        x, y, w, h = fields[at:at + 4]
        at += 4
        assert frame["frame"] == {"x": x, "y": y, "w": w, "h": h}, (page, index)
        assert frame["sourceSize"] == {"w": w, "h": h} and frame["index"] == index
    assert sheet["meta"]["image"] == "page%03d.png" % page
assert at == len(fields)
print(" ".join(sorted(k for page in range(fields[0]) for k in
      json.load(open(out + "/page%03d.json" % page, encoding="utf-8"))["frames"])))
)";

TEST(CliBinary, DemoPngAndJsonAsReviewedAndOnlyForThisRun) {
  test::ScratchFolder folder;
  const std::string demo = std::string(PICONEL_SOURCE_DIR) + "/examples/demo/demo.ijp";
  const std::vector<std::uint8_t> project_before = test::read_bytes(demo);
  const std::string golden = std::string(PICONEL_SOURCE_DIR) + "/tests/cli/golden/";
  struct Case {
    const char* switches;
    const char* golden_folder;
  };
  for (const Case& c : {Case{" --png --json", "demo/"},
                        Case{" --png-transparent --json --jobs 2", "demo-transparent/"}}) {
    SCOPED_TRACE(c.switches);
    const std::string out = folder.file(c.golden_folder);
    const Outcome run =
        run_cli("output " + quoted(demo) + " --out " + quoted(out) + c.switches, folder);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    // Byte for byte as reviewed; the bitmaps and tables as without the switches.
    for (const char* name : {"page000.png", "page001.png", "page000.json", "page001.json"}) {
      EXPECT_EQ(test::read_bytes(out + name), test::read_bytes(golden + c.golden_folder + name))
          << name;
    }
    for (const char* name : {"page000.bmp", "page001.bmp", "imgidx.h", "imgtable_l.bin"}) {
      EXPECT_EQ(test::read_bytes(out + name), test::read_bytes(golden + "demo/" + name)) << name;
    }
    if (std::system("python3 -c 'import json' >/dev/null 2>&1") == 0) {
      test::write_bytes(folder.file("check.py"),
                        std::vector<std::uint8_t>(
                            kJsonAgainstTable, kJsonAgainstTable + std::strlen(kJsonAgainstTable)));
      const Outcome checked =
          run_command("python3 " + quoted(folder.file("check.py")) + " " + quoted(out), folder);
      EXPECT_EQ(checked.status, 0) << checked.err;
      EXPECT_EQ(checked.out,
                "IMG_ITEMS_COIN IMG_ITEMS_COIN_SMALL IMG_ITEMS_HEART IMG_ITEMS_SWORD "
                "IMG_SHIPS_GEM IMG_SHIPS_LIFE IMG_SHIPS_SHIP\n");
    }
  }
  // The switches hold for the run only: the project file is as it was.
  EXPECT_EQ(test::read_bytes(demo), project_before);
}

class CliBinaryFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    // A folder named ソース: the arguments arrive as UTF-8 and the core works
    // in CP932, whose ソ holds the byte 0x5C.
    project_folder_ = folder_.path() / std::filesystem::path(u8"\u30bd\u30fc\u30b9");
    std::filesystem::create_directories(project_folder_ / "img");
    test::write_bytes((project_folder_ / "img" / "a.bmp").string(),
                      make_bitmap_file(2, 1, 24, {}, {0xFF0000, 0x00FF00}));
  }

  std::string write_project(const std::string& body) {
    const std::string text =
        "[INFOMATION]\r\nAPPLICATIONNAME=\x83\x73\x83\x52\x83\x6c\x83\x8b\x83\x76\x83\x8d\x83\x57"
        "\x83\x46\x83\x4e\x83\x67\r\nAPPLICATIONVERSION=1.0.8\r\n" +
        body;
    const std::string path = (project_folder_ / "p.ijp").string();
    test::write_bytes(path, std::vector<std::uint8_t>(text.begin(), text.end()));
    return path;
  }

  test::ScratchFolder folder_;
  std::filesystem::path project_folder_;
};

TEST_F(CliBinaryFixture, FailingPageReportedInUtf8WithStatusOne) {
  const std::string project = write_project(
      "[PAGELIST]\r\ngood\r\nbad\r\n[PROPERTY]\r\nOUTPUTENABLE=1\r\nOUTPUTDIR=out\r\n"
      "OUTPUT_TABLE_TEXT=1\r\n[PROPERTY:good]\r\nPUTIMAGEWIDTH=2\r\nPUTIMAGEHEIGHT=1\r\n"
      "[FILELIST:good]\r\nimg\\a.bmp\t0\t0\r\n[PROPERTY:bad]\r\nPUTIMAGEWIDTH=0\r\n"
      "[FILELIST:bad]\r\nimg\\a.bmp\t0\t0\r\n");
  std::filesystem::create_directories(project_folder_ / "out");
  const Outcome run = run_cli("output " + quoted(project), folder_);
  EXPECT_EQ(run.status, 1);
  // ページ出力エラー(bad), then シートの幅か高さが 0 以下です
  EXPECT_EQ(run.err,
            "\u30da\u30fc\u30b8\u51fa\u529b\u30a8\u30e9\u30fc(bad)\n"
            "\u30b7\u30fc\u30c8\u306e\u5e45\u304b\u9ad8\u3055\u304c 0 \u4ee5\u4e0b\u3067\u3059\n");
  const std::string out = (project_folder_ / "out").string();
  EXPECT_EQ(test::read_bytes(out + "/good.bmp"),
            make_bitmap_file(2, 1, 8, {0xFF0000, 0x00FF00}, {0, 1}));
  EXPECT_FALSE(test::exists(out + "/bad.bmp"));
  EXPECT_EQ(test::read_text(out + "/imgtable.h"),
            "int img_table_good[1][4] = {\r\n\t{    0,    0,    2,    1}, \r\n};\r\n"
            "const int(*img_axis_index[1])[4] = {\r\n"
            "\t(const int(*)[4])img_table_good, \r\n};\r\n");
}

// A missing output folder is made, parents and all, instead of writing
// beside the project; one that cannot be made gives status 1 and writes
// nothing.
TEST_F(CliBinaryFixture, MissingOutputFolderMadeUnmakableOneRefused) {
  const std::string project = write_project(
      "[PAGELIST]\r\np\r\n[PROPERTY]\r\nOUTPUTENABLE=1\r\nOUTPUTDIR=build\\out\r\n"
      "OUTPUT_LABEL=1\r\n[PROPERTY:p]\r\nPUTIMAGEWIDTH=2\r\nPUTIMAGEHEIGHT=1\r\n"
      "[FILELIST:p]\r\nimg\\a.bmp\t0\t0\r\n");
  const Outcome made = run_cli("output " + quoted(project), folder_);
  EXPECT_EQ(made.status, 0) << made.err;
  EXPECT_EQ(made.err, "");
  EXPECT_TRUE(test::exists((project_folder_ / "build" / "out" / "p.bmp").string()));
  EXPECT_TRUE(test::exists((project_folder_ / "build" / "out" / "imgidx.h").string()));
  EXPECT_FALSE(test::exists((project_folder_ / "p.bmp").string()));

  const std::string taken = folder_.file("taken");
  test::write_bytes(taken, {'x'});
  const Outcome refused = run_cli("output " + quoted(project) + " --out " + quoted(taken), folder_);
  EXPECT_EQ(refused.status, 1);
  // 出力フォルダを作成できません: FOLDER, then the system's reason
  EXPECT_EQ(
      refused.err,
      "\u51fa\u529b\u30d5\u30a9\u30eb\u30c0\u3092\u4f5c\u6210\u3067\u304d\u307e\u305b\u3093: " +
          taken + "\nFile exists\n");
  EXPECT_EQ(test::read_text(taken), "x");
}

TEST_F(CliBinaryFixture, BrokenProjectGivesStatusTwoWithLine) {
  const std::string project = write_project("[PAGELIST]\r\np\rq\r\n");
  const Outcome run =
      run_cli("output " + quoted(project) + " --out " + quoted(folder_.file("out")), folder_);
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err,
            "\u30d7\u30ed\u30b8\u30a7\u30af\u30c8\u306e\u8aad\u8fbc\u306b\u5931\u6557\u3057\u307e"
            "\u3057\u305f\u3002\n(line:5)\n");
  EXPECT_FALSE(test::exists(folder_.file("out")));
}

TEST_F(CliBinaryFixture, WrongArgumentsGiveStatusTwo) {
  EXPECT_EQ(run_cli("", folder_).status, 2);
  EXPECT_EQ(run_cli("output", folder_).status, 2);
  EXPECT_EQ(run_cli("output a.ijp --bogus", folder_).status, 2);
  const Outcome help = run_cli("--help", folder_);
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("\u4f7f\u3044\u65b9: piconel-cli output PROJECT.ijp", 0), 0u)
      << help.out;
}

TEST_F(CliBinaryFixture, ArgumentWithoutCp932FormRefused) {
  // U+00E9 has no CP932 form.
  const Outcome run = run_cli("output " + quoted("caf\u00e9.ijp") + " --out x", folder_);
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("CP932"), std::string::npos);
}

}  // namespace
}  // namespace piconel
