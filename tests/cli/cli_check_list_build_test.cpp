// check, list and build: findings, listings, exit statuses and the bytes
// written.
#include <filesystem>
#include <set>
#include <utility>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/cli_build.h"
#include "cli/cli_command.h"
#include "cli/cli_platform.h"
#include "cli/cli_project_texts.h"
#include "cli/cli_texts.h"
#include "cli/fake_console.h"
#include "output/output_fixture.h"
#include "store/utf8_text.h"

namespace piconel {
namespace {

using test::make_bitmap_file;
namespace texts = cli_project_texts;

const std::string kHeader =
    "[INFOMATION]\r\n"
    "APPLICATIONNAME=\x83\x73\x83\x52\x83\x6c\x83\x8b\x83\x76\x83\x8d\x83\x57\x83\x46\x83\x4e"
    "\x83\x67\r\n"  // ピコネルプロジェクト
    "APPLICATIONVERSION=1.0.8\r\n";

class CliCheckListBuildTest : public ::testing::Test {
 protected:
  int run(std::vector<std::string> arguments) {
    console_ = {};
    CliInvocation invocation;
    invocation.arguments = std::move(arguments);
    return run_cli(invocation, console_);
  }
  std::string file(const std::string& name) const { return folder_.file(name); }
  void write_text(const std::string& name, const std::string& text) {
    test::write_bytes(file(name), std::vector<std::uint8_t>(text.begin(), text.end()));
  }
  void write_sprite(const std::string& name, int width, int height, std::uint32_t colour) {
    std::filesystem::create_directories(std::filesystem::path(file(name)).parent_path());
    test::write_bytes(file(name),
                      make_bitmap_file(width, height, 24, {},
                                       std::vector<std::uint32_t>(width * height, colour)));
  }
  nlohmann::json parsed_output() const {
    return nlohmann::json::parse(console_.outputs, nullptr, false);
  }

  test::ScratchFolder folder_;
  test::FakeConsole console_;
};

TEST_F(CliCheckListBuildTest, CheckReportsEveryFindingPerPage) {
  write_sprite("a.bmp", 8, 8, 0x112233);
  std::vector<std::uint32_t> many(300);
  for (std::uint32_t i = 0; i < many.size(); ++i) {
    many[i] = i * 0x010203;
  }
  test::write_bytes(file("many.bmp"), make_bitmap_file(300, 1, 24, {}, many));
  // Page p: three images all over each other (three pairs), one past the
  // 16 x 16 sheet, one unreadable; two labels giving IMG_P_A, one giving
  // IMG_P_1-UP. Page "con": a device name. Page big: over 1024 wide.
  write_text("p.ijp",
             kHeader +
                 "[PAGELIST]\r\np\r\ncon\r\nbig\r\n[PROPERTY]\r\nOUTPUT_LABEL=1\r\n"
                 "[PROPERTY:p]\r\nPAGELABEL=P\r\nFIXEDSHEET=1\r\nSHEETSIZEMANUAL=1\r\n"
                 "SHEETWIDTH=16\r\nSHEETHEIGHT=16\r\n"
                 "[FILELIST:p]\r\na.bmp\t0\t0\tA\r\na.bmp\t4\t4\tA\r\na.bmp\t2\t2\t1-UP\r\n"
                 "a.bmp\t12\t0\tB\r\ngone.bmp\t0\t0\tC\r\n"
                 "[PROPERTY:con]\r\nPAGELABEL=CON\r\n[FILELIST:con]\r\nmany.bmp\t0\t0\tM\r\n"
                 "[PROPERTY:big]\r\nPAGELABEL=BIG\r\nPUTIMAGEWIDTH=2000\r\nPUTIMAGEHEIGHT=8\r\n"
                 "[FILELIST:big]\r\na.bmp\t0\t0\tZ\r\n");
  EXPECT_EQ(run({"check", file("p.ijp")}), kExitFailed);
  // 画像を読み込めません / 画像が重なっています / 画像がシートからはみ出しています /
  // ラベル名が重複しています / C の識別子にならないラベル名です /
  // ページ名をファイル名として書き出せません / 24 ビットで出力されます
  const std::string unreadable =
      "\x89\xe6\x91\x9c\x82\xf0\x93\xc7\x82\xdd\x8d\x9e\x82\xdf\x82\xdc"
      "\x82\xb9\x82\xf1";
  const std::string overlap =
      "\x89\xe6\x91\x9c\x82\xaa\x8f\x64\x82\xc8\x82\xc1\x82\xc4\x82\xa2"
      "\x82\xdc\x82\xb7";
  const std::string lines = console_.outputs;
  const auto count = [&](const std::string& what) {
    int found = 0;
    for (std::size_t at = lines.find(what); at != std::string::npos;
         at = lines.find(what, at + 1)) {
      ++found;
    }
    return found;
  };
  EXPECT_EQ(count(unreadable + "(p): gone.bmp\n"), 1) << lines;
  EXPECT_EQ(count(overlap + "(p): "), 3);
  EXPECT_EQ(count(overlap + "(p): a.bmp (0,0)-(8,8) / a.bmp (4,4)-(8,8)\n"), 1);
  EXPECT_EQ(count("(p): a.bmp (12,0)-(8,8) \x83V\x81[\x83g 16x16\n"), 1);
  EXPECT_EQ(count("(p): IMG_P_A\n"), 1);
  EXPECT_EQ(count("(p): IMG_P_1-UP\n"), 1);
  EXPECT_EQ(count("(con)\n"), 1);
  EXPECT_EQ(count("(con): \x90\x46\x90\x94"), 1);  // 色数...
  EXPECT_EQ(count("(big): \x83V\x81[\x83g"), 1);   // シート...
  EXPECT_EQ(console_.errors, "");

  ASSERT_EQ(run({"check", "--json", file("p.ijp")}), kExitFailed);
  const nlohmann::json document = parsed_output();
  ASSERT_FALSE(document.is_discarded()) << console_.outputs;
  EXPECT_EQ(document["findings"], 10);
  ASSERT_EQ(document["pages"].size(), 3u);
  const nlohmann::json& page = document["pages"][0];
  EXPECT_EQ(page["name"], "p");
  EXPECT_EQ(page["overlaps"].size(), 3u);
  EXPECT_EQ(page["overlaps"][0][1]["x"], 4);
  EXPECT_EQ(page["unreadable"][0], "gone.bmp");
  EXPECT_EQ(page["duplicate_labels"][0], "IMG_P_A");
  EXPECT_EQ(document["pages"][1]["unwritable_name"], true);
  EXPECT_EQ(document["pages"][1]["true_colour"], "colours");
  EXPECT_EQ(document["pages"][2]["true_colour"], "sheet");

  // Clean: status 0; a project that does not load: 2.
  write_text("clean.ijp",
             kHeader + "[PAGELIST]\r\n\x83\x5c\r\n[FILELIST:\x83\x5c]\r\na.bmp\t0\t0\r\n");
  EXPECT_EQ(run({"check", file("clean.ijp")}), kExitOk);
  EXPECT_EQ(console_.outputs, texts::kCheckClean + std::string("\n"));
  EXPECT_EQ(run({"check", file("clean.ijp"), "--json"}), kExitOk);
  EXPECT_EQ(parsed_output()["pages"][0]["name"], "\u30bd");  // ソ as UTF-8
  EXPECT_EQ(run({"check", file("missing.ijp")}), kExitUsage);
  EXPECT_EQ(console_.errors, std::string(cli_texts::kProjectLoadFailed) + "\n");
}

TEST_F(CliCheckListBuildTest, ListShowsWhatTheWindowShows) {
  write_sprite("a.bmp", 8, 4, 0x0000FF);
  write_text("p.ijp",
             kHeader +
                 "[PAGELIST]\r\none\r\ntwo\r\n[PROPERTY]\r\nCURRENTPAGE=1\r\n"
                 "[PROPERTY:one]\r\nPAGELABEL=ONE\r\nFIXEDSHEET=1\r\nSHEETSIZEMANUAL=1\r\n"
                 "SHEETWIDTH=64\r\nSHEETHEIGHT=32\r\nTRANSPARENTENABLE=1\r\n"
                 "TRANSPARENTCOLOR=1,2,3\r\n"
                 "[FILELIST:one]\r\na.bmp\t3\t5\tHERO\t1\t10\t12\t1\t255\r\ngone.bmp\t9\t9\r\n"
                 "[FILELIST:two]\r\na.bmp\t0\t0\r\n");
  ASSERT_EQ(run({"list", file("p.ijp")}), kExitOk) << console_.errors;
  const std::string a = full_path_of(file("a.bmp")).value_or("?");
  const std::string gone = full_path_of(file("gone.bmp")).value_or("?");
  // ページ %s  ラベル %s  シート %s  使用範囲 %dx%d  背景 %d,%d,%d  画像 %d 枚
  const auto page_line = [](const std::string& name, const std::string& label,
                            const std::string& sheet, const std::string& used,
                            const std::string& background, int images) {
    return "\x83y\x81[\x83W " + name + "  \x83\x89\x83x\x83\x8b " + label + "  \x83V\x81[\x83g " +
           sheet + "  \x8eg\x97p\x94\xcd\x88\xcd " + used + "  \x94w\x8ci " + background +
           "  \x89\xe6\x91\x9c " + std::to_string(images) + " \x96\x87\n";
  };
  // The missing image stands as the window's 32 x 32 placeholder, which
  // also counts for the used extent.
  EXPECT_EQ(console_.outputs,
            page_line("one", "ONE", "64x32", "41x41", "1,2,3", 2) + "\t3,5\t8x4\tHERO\t255\t" + a +
                "\n\t9,9\t32x32\t\t-\t" + gone + "\t" + texts::kListUnreadable + "\n" +
                page_line("two", "", texts::kListSheetAuto, "8x4", "255,255,255", 1) +
                "\t0,0\t8x4\t\t-\t" + a + "\n");

  ASSERT_EQ(run({"list", "--json", file("p.ijp")}), kExitOk);
  const nlohmann::json document = parsed_output();
  ASSERT_FALSE(document.is_discarded()) << console_.outputs;
  EXPECT_EQ(document["current_page"], 1);
  const nlohmann::json& image = document["pages"][0]["images"][0];
  EXPECT_EQ(image["path"], cp932_to_utf8(a).value_or(""));
  EXPECT_EQ(image["x"], 3);
  EXPECT_EQ(image["label"], "HERO");
  EXPECT_EQ(image["key"], 255);
  EXPECT_EQ(image["transparent"], true);
  EXPECT_EQ(image["forced_size"]["height"], 12);
  EXPECT_EQ(document["pages"][0]["images"][1]["readable"], false);
  EXPECT_EQ(document["pages"][0]["sheet"]["width"], "64");
  EXPECT_EQ(document["pages"][1]["sheet"], "auto");
  EXPECT_EQ(document["pages"][0]["background"], nlohmann::json({1, 2, 3}));
}

TEST_F(CliCheckListBuildTest, BuildOfTheDemoSpritesGivesTheReviewedFiles) {
  const std::string sprites = std::string(PICONEL_SOURCE_DIR) + "/examples/demo/sprites";
  const std::string golden = std::string(PICONEL_SOURCE_DIR) + "/tests/cli/golden/build/";
  ASSERT_EQ(run({"build", sprites, "--out", file("out"), "--label", "--table-text",
                 "--table-little", "--table-big", "--label-from-name", "--jobs", "1"}),
            kExitOk)
      << console_.errors;
  EXPECT_EQ(console_.errors, "");
  for (const char* name :
       {"page000.bmp", "imgidx.h", "imgtable.h", "imgtable_l.bin", "imgtable_b.bin"}) {
    EXPECT_EQ(test::read_bytes(file("out") + "/" + name), test::read_bytes(golden + name)) << name;
  }
}

TEST_F(CliCheckListBuildTest, BuildMakesAPagePerFolderAndSavesWhatItBuilt) {
  write_sprite("art/top.bmp", 4, 4, 0x010101);
  for (int i = 0; i < 257; ++i) {
    write_sprite("art/walk-cycle/f" + std::to_string(1000 + i) + ".bmp", 2, 2, 0x020202);
  }
  write_sprite("art/empty/notes/n.bmp", 2, 2, 0x030303);
  std::filesystem::create_directories(folder_.path() / "art" / "nothing");
  ASSERT_EQ(run({"build", file("art"), "--out", file("out"), "--save", file("built.ijp"),
                 "--table-little", "--sheet-width", "64", "--sheet-height", "64"}),
            kExitOk)
      << console_.errors;
  ASSERT_EQ(run({"list", "--json", file("built.ijp")}), kExitOk);
  const nlohmann::json pages = parsed_output()["pages"];
  ASSERT_EQ(pages.size(), 4u) << console_.outputs;
  EXPECT_EQ(pages[0]["name"], "page000");
  EXPECT_EQ(pages[1]["name"], "empty");  // its images lie in a subfolder
  EXPECT_EQ(pages[2]["name"], "walk_cycle");
  EXPECT_EQ(pages[2]["label"], "WALK_CYCLE");
  EXPECT_EQ(pages[2]["images"].size(), 256u);
  EXPECT_EQ(pages[3]["name"], "walk_cycle_2");
  EXPECT_EQ(pages[3]["images"].size(), 1u);
  // Packed: 256 images of 2 x 2 fill a square of 32 x 32 inside the fixed
  // 64-pixel sheet, each on a cell of its own.
  std::set<std::pair<int, int>> cells;
  for (const nlohmann::json& image : pages[2]["images"]) {
    const int x = image["x"];
    const int y = image["y"];
    EXPECT_TRUE(x % 2 == 0 && y % 2 == 0 && x <= 30 && y <= 30) << x << "," << y;
    cells.emplace(x, y);
  }
  EXPECT_EQ(cells.size(), 256u);
  EXPECT_EQ(pages[2]["sheet"]["width"], "64");
  // Four pages in the binary table: 1, 1, 256 and 1 entries.
  const std::vector<std::uint8_t> table = test::read_bytes(file("out") + "/imgtable_l.bin");
  ASSERT_GE(table.size(), 4u);
  EXPECT_EQ(table[0] | table[1] << 8, 4);
}

TEST_F(CliCheckListBuildTest, BuildArgumentsAndPageNames) {
  const std::string hint = std::string("\n") + cli_texts::kUsageHint + "\n";
  struct Case {
    std::vector<std::string> arguments;
    std::string error;
  };
  const std::vector<Case> cases = {
      {{"build"}, texts::kNoFolderGiven},
      {{"build", "art"}, texts::kOutRequired},
      {{"build", "art", "--out", "o", "--jobs", "0"}, std::string(cli_texts::kBadJobs) + "0"},
      {{"build", "art", "--out", "o", "--fast"},
       std::string(cli_texts::kUnknownArgument) + "--fast"},
      {{"build", "art", "--out", "o", "--sheet-width", "0", "--sheet-height", "8"},
       texts::kBadSheetSide + std::string("0")},
      {{"build", "art", "--out", "o", "--sheet-width", "8"},
       texts::kBadSheetSide + std::string("--sheet-height")},
      {{"list"}, cli_texts::kMissingProject},
      {{"check", "a.ijp", "b.ijp"}, std::string(cli_texts::kExtraArgument) + "b.ijp"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments.size());
    EXPECT_EQ(run(c.arguments), kExitUsage);
    EXPECT_EQ(console_.errors, c.error + hint);
  }
  EXPECT_EQ(run({"build", file("nowhere"), "--out", file("o")}), kExitUsage);
  EXPECT_EQ(console_.errors,
            texts::kFolderNotRead + full_path_of(file("nowhere")).value_or("?") + "\n");

  const std::pair<std::string, std::string> names[] = {
      {"walk-cycle", "walk_cycle"},
      {"\x83\x5c.v2", "\x83\x5c_v2"},  // ソ stays whole
      {"\xb1\xb2", "__"},              // half-width katakana is no page name character
      {std::string(40, 'a'), std::string(30, 'a')},
      {"", "page"},
  };
  for (const auto& [folder, page] : names) {
    EXPECT_EQ(page_name_for_folder(folder), page) << folder;
  }
}

}  // namespace
}  // namespace piconel
