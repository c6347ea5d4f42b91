#include "cli/cli_command.h"

#include <chrono>
#include <filesystem>
#include <map>

#include <gtest/gtest.h>

#include "cli/cli_texts.h"
#include "output/output_fixture.h"
#include "output/project_output.h"
#include "project/project_file.h"
#include "project/row_forms.h"
#include "store/file_io.h"

namespace piconel {
namespace {

using test::make_bitmap_file;

struct FakeConsole : CliConsole {
  std::string errors;
  std::string outputs;
  bool terminal = false;
  double seconds = 0;

  void error(std::string_view cp932) override { errors += cp932; }
  void output(std::string_view cp932) override { outputs += cp932; }
  bool error_is_terminal() const override { return terminal; }
  double elapsed_seconds() const override { return seconds; }
};

const std::string kHeader =
    "[INFOMATION]\r\n"
    "APPLICATIONNAME=\x83\x73\x83\x52\x83\x6c\x83\x8b\x83\x76\x83\x8d\x83\x57\x83\x46\x83\x4e"
    "\x83\x67\r\n"  // ピコネルプロジェクト
    "APPLICATIONVERSION=1.0.8\r\n";

// ページ出力エラー(two), then シートの幅か高さが 0 以下です
const std::string kPageTwoFailed =
    "\x83\x79\x81\x5b\x83\x57\x8f\x6f\x97\xcd\x83\x47\x83\x89\x81\x5b(two)\n"
    "\x83V\x81[\x83g\x82\xcc\x95\x9d\x82\xa9\x8d\x82\x82\xb3\x82\xaa 0 "
    "\x88\xc8\x89\xba\x82\xc5\x82\xb7\n";

class CliCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::write_bytes(folder_.file("a.bmp"), make_bitmap_file(1, 1, 24, {}, {0x00FF00}));
  }

  void write_project(const std::string& body, const std::string& name = "game.ijp") {
    const std::string text = kHeader + body;
    test::write_bytes(folder_.file(name), std::vector<std::uint8_t>(text.begin(), text.end()));
  }

  int run(std::vector<std::string> arguments) {
    CliInvocation invocation;
    invocation.arguments = std::move(arguments);
    invocation.program_folder = program_folder_;
    return run_cli(invocation, console_);
  }

  std::string project() const { return folder_.file("game.ijp"); }
  std::string out(const std::string& name) const { return folder_.file("out") + "/" + name; }

  test::ScratchFolder folder_;
  FakeConsole console_;
  std::string program_folder_;
};

const std::string kOnePage =
    "[PAGELIST]\r\np\r\n[PROPERTY]\r\nOUTPUT_TABLE_LITTLE=1\r\n"
    "[PROPERTY:p]\r\nPUTIMAGEWIDTH=2\r\nPUTIMAGEHEIGHT=1\r\n"
    "[FILELIST:p]\r\na.bmp\t1\t0\r\n";

TEST_F(CliCommandTest, WritesIntoOutFolderCreatingIt) {
  write_project(kOnePage);
  const std::string nested = folder_.file("out") + "/deeper";
  EXPECT_EQ(run({"output", project(), "--out", nested}), kExitOk);
  EXPECT_EQ(console_.errors, "");
  EXPECT_EQ(test::read_bytes(nested + "/p.bmp"),
            make_bitmap_file(2, 1, 8, {0xFFFFFF, 0x00FF00}, {0, 1}));
  EXPECT_EQ(test::read_bytes(nested + "/imgtable_l.bin"),
            (std::vector<std::uint8_t>{1, 0, 1, 0, 1, 0, 0, 0, 1, 0, 1, 0}));
}

// An output folder that cannot be made (a file holds the name) ends the run
// with status 1 before anything is written, naming the folder and the
// system's reason; so does a table file that cannot be written.
TEST_F(CliCommandTest, UnwritableOutputGivesStatusOne) {
  write_project(kOnePage);
  test::write_bytes(folder_.file("taken"), {'x'});
  EXPECT_EQ(run({"output", project(), "--out", folder_.file("taken")}), kExitPageFailed);
  // 出力フォルダを作成できません: FOLDER, then the reason
  const std::string heading =
      "\x8f\x6f\x97\xcd\x83\x74\x83\x48\x83\x8b\x83\x5f\x82\xf0\x8d\xec\x90\xac\x82\xc5\x82\xab"
      "\x82\xdc\x82\xb9\x82\xf1: " +
      folder_.file("taken") + "\n";
  EXPECT_EQ(console_.errors.substr(0, heading.size()), heading);
  EXPECT_GT(console_.errors.size(), heading.size() + 1);
  EXPECT_FALSE(test::exists(folder_.file("p.bmp")));
  EXPECT_FALSE(test::exists(folder_.file("imgtable_l.bin")));

  console_.errors.clear();
  std::filesystem::create_directories(folder_.path() / "out" / "imgtable_l.bin");
  EXPECT_EQ(run({"output", project(), "--out", folder_.file("out")}), kExitPageFailed);
  // ファイル出力エラー(imgtable_l.bin)
  EXPECT_EQ(console_.errors.rfind("\x83\x74\x83\x40\x83\x43\x83\x8b\x8f\x6f\x97\xcd\x83\x47\x83\x89"
                                  "\x81\x5b(imgtable_l.bin)\n" +
                                      folder_.file("out") + "\\imgtable_l.bin: ",
                                  0),
            0u)
      << console_.errors;
  EXPECT_TRUE(test::exists(out("p.bmp")));
}

TEST_F(CliCommandTest, OutputEnableUsesOutputDir) {
  std::filesystem::create_directories(folder_.path() / "dist");
  write_project(
      "[PAGELIST]\r\np\r\n[PROPERTY]\r\nOUTPUTENABLE=1\r\nOUTPUTDIR=dist\r\n"
      "[FILELIST:p]\r\na.bmp\t0\t0\r\n[PROPERTY:p]\r\nPUTIMAGEWIDTH=1\r\n"
      "PUTIMAGEHEIGHT=1\r\n");
  EXPECT_EQ(run({"output", project()}), kExitOk);
  EXPECT_TRUE(test::exists(folder_.file("dist") + "/p.bmp"));
}

TEST_F(CliCommandTest, OutputEnableOffNeedsOut) {
  write_project(kOnePage);
  EXPECT_EQ(run({"output", project()}), kExitUsage);
  EXPECT_EQ(console_.errors,
            std::string(cli_texts::kNoOutputFolder) + "\n" + cli_texts::kUsageHint + "\n");
  EXPECT_FALSE(test::exists(folder_.file("p.bmp")));
}

TEST_F(CliCommandTest, FailingPageGivesStatusOne) {
  write_project(
      "[PAGELIST]\r\none\r\ntwo\r\n[FILELIST:one]\r\na.bmp\t0\t0\r\n[FILELIST:two]\r\n"
      "a.bmp\t0\t0\r\n[PROPERTY:one]\r\nPUTIMAGEWIDTH=1\r\nPUTIMAGEHEIGHT=1\r\n"
      "[PROPERTY:two]\r\nPUTIMAGEWIDTH=-3\r\nPUTIMAGEHEIGHT=1\r\n");
  EXPECT_EQ(run({"output", project(), "--out", folder_.file("out")}), kExitPageFailed);
  EXPECT_EQ(console_.errors, kPageTwoFailed);
  EXPECT_TRUE(test::exists(out("one.bmp")));
  EXPECT_FALSE(test::exists(out("two.bmp")));
}

TEST_F(CliCommandTest, ProjectThatDoesNotLoad) {
  const std::string failed = std::string(cli_texts::kProjectLoadFailed) + "\n";
  EXPECT_EQ(run({"output", folder_.file("missing.ijp"), "--out", folder_.file("out")}), kExitUsage);
  EXPECT_EQ(console_.errors, failed);

  console_.errors.clear();
  // The fifth line holds a CR without LF.
  write_project("[PAGELIST]\r\np\rq\r\n");
  EXPECT_EQ(run({"output", project(), "--out", folder_.file("out")}), kExitUsage);
  EXPECT_EQ(console_.errors, std::string(cli_texts::kProjectLoadFailed) + "\n(line:5)\n");

  console_.errors.clear();
  const std::string other = "[INFOMATION]\r\nAPPLICATIONNAME=other\r\nAPPLICATIONVERSION=1.0.8\r\n";
  test::write_bytes(project(), std::vector<std::uint8_t>(other.begin(), other.end()));
  EXPECT_EQ(run({"output", project(), "--out", folder_.file("out")}), kExitUsage);
  EXPECT_EQ(console_.errors, failed);
  EXPECT_FALSE(test::exists(folder_.file("out")));
}

// The command line opens a project as the window does, so both give the
// same bytes: a project without pages gets page000 (an empty page: a line in
// the index, no bitmap) instead of tables that list no page.
TEST_F(CliCommandTest, ProjectWithoutPagesOutputsAsTheWindowDoes) {
  write_project("[PROPERTY]\r\nOUTPUT_TABLE_TEXT=1\r\nOUTPUT_TABLE_LITTLE=1\r\n");
  EXPECT_EQ(run({"output", project(), "--out", folder_.file("out")}), kExitOk);
  EXPECT_EQ(console_.errors, "");
  const std::vector<std::uint8_t> index = test::read_bytes(out("imgtable.h"));
  EXPECT_NE(std::string(index.begin(), index.end()).find("img_axis_index[1]"), std::string::npos);

  struct SilentPort : OutputRunPort {
    bool choose_output_folder(std::string&) override { return false; }
    void show_error(std::string_view, std::string_view) override {}
  } port;
  DocumentStore settings;
  Project window(ProjectPorts{}, &settings);
  ASSERT_EQ(open_project(window, project()), OpenResult::Opened);
  const std::string window_out = folder_.file("window");
  ASSERT_TRUE(make_directories(window_out));
  EXPECT_EQ(run_project_output(window, nullptr, port, window_out).pages_output, 1);
  for (const char* name : {"imgtable.h", "imgtable_l.bin"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(test::read_bytes(out(name)), test::read_bytes(window_out + "/" + name));
  }
}

TEST_F(CliCommandTest, SettingsFileIsTheApplicationLevel) {
  write_project("[PAGELIST]\r\np\r\n[FILELIST:p]\r\na.bmp\t1\t0\r\n");
  const std::string settings =
      "[PROPERTY]\r\nTRANSPARENTENABLE=1\r\nTRANSPARENTCOLOR=0,0,255\r\n"
      "FIXEDSHEET=1\r\nSHEETSIZEMANUAL=1\r\nSHEETWIDTH=2\r\n"
      "SHEETHEIGHT=1\r\n";
  test::write_bytes(folder_.file("s.ini"),
                    std::vector<std::uint8_t>(settings.begin(), settings.end()));
  EXPECT_EQ(
      run({"output", project(), "--settings", folder_.file("s.ini"), "--out", folder_.file("out")}),
      kExitOk);
  EXPECT_EQ(test::read_bytes(out("p.bmp")),
            make_bitmap_file(2, 1, 8, {0x0000FF, 0x00FF00}, {0, 1}));
}

TEST_F(CliCommandTest, DefaultSettingsBesideTheProgram) {
  write_project("[PAGELIST]\r\np\r\n[FILELIST:p]\r\na.bmp\t0\t0\r\n");
  std::filesystem::create_directories(folder_.path() / "bin");
  const std::string settings =
      "[PROPERTY]\r\nFIXEDSHEET=1\r\nSHEETSIZEMANUAL=1\r\nSHEETWIDTH=3\r\nSHEETHEIGHT=1\r\n";
  test::write_bytes(folder_.file("bin") + "/piconel.ini",
                    std::vector<std::uint8_t>(settings.begin(), settings.end()));
  program_folder_ = folder_.file("bin") + "/";
  EXPECT_EQ(run({"output", project(), "--out", folder_.file("out")}), kExitOk);
  EXPECT_EQ(test::u32_at(test::read_bytes(out("p.bmp")), 18), 3u);

  // Without it the page has its stored size (none here: 1024).
  program_folder_ = folder_.file("nowhere") + "/";
  EXPECT_EQ(run({"output", project(), "--out", folder_.file("out")}), kExitOk);
  EXPECT_EQ(test::u32_at(test::read_bytes(out("p.bmp")), 18), 1024u);
}

TEST_F(CliCommandTest, EmptySettingsFileAllowedMissingOneNot) {
  write_project(kOnePage);
  test::write_bytes(folder_.file("empty.ini"), {});
  EXPECT_EQ(run({"output", project(), "--settings", folder_.file("empty.ini"), "--out",
                 folder_.file("out")}),
            kExitOk);
  EXPECT_EQ(console_.errors, "");
  EXPECT_EQ(run({"output", project(), "--settings", folder_.file("gone.ini"), "--out",
                 folder_.file("out")}),
            kExitUsage);
  EXPECT_EQ(console_.errors, std::string(cli_texts::kSettingsLoadFailed) + "\n");
}

TEST_F(CliCommandTest, WrongArgumentsAndHelp) {
  EXPECT_EQ(run({}), kExitUsage);
  EXPECT_EQ(console_.errors,
            std::string(cli_texts::kMissingProject) + "\n" + cli_texts::kUsageHint + "\n");
  EXPECT_EQ(console_.outputs, "");
  console_.errors.clear();
  EXPECT_EQ(run({"--help"}), kExitOk);
  // The output's help first, then the other commands.
  EXPECT_EQ(console_.outputs.rfind(cli_texts::kHelpText, 0), 0u);
  EXPECT_EQ(console_.errors, "");
}

TEST_F(CliCommandTest, ProgressOnlyOnATerminalInALongRun) {
  write_project(
      "[PAGELIST]\r\none\r\ntwo\r\n[FILELIST:one]\r\na.bmp\t0\t0\r\n[FILELIST:two]\r\n"
      "a.bmp\t0\t0\r\n[PROPERTY:one]\r\nPUTIMAGEWIDTH=1\r\nPUTIMAGEHEIGHT=1\r\n"
      "[PROPERTY:two]\r\nPUTIMAGEWIDTH=0\r\nPUTIMAGEHEIGHT=1\r\n");
  const std::vector<std::string> arguments = {"output", project(), "--out", folder_.file("out")};
  console_.seconds = 5;
  EXPECT_EQ(run(arguments), kExitPageFailed);
  EXPECT_EQ(console_.errors, kPageTwoFailed);  // not a terminal

  console_.errors.clear();
  console_.terminal = true;
  console_.seconds = 0.1;
  EXPECT_EQ(run(arguments), kExitPageFailed);
  EXPECT_EQ(console_.errors, kPageTwoFailed);  // short run

  console_.errors.clear();
  console_.seconds = 5;
  EXPECT_EQ(run(arguments), kExitPageFailed);
  const std::string pages = cli_texts::kProgressPages;
  EXPECT_EQ(console_.errors, "\r1 / 2" + pages + "\n" + kPageTwoFailed + "\r2 / 2" + pages + "\n");
}

// 画像読み込みエラー(p): NAME
std::string unreadable(const std::string& name) {
  return "\x89\xe6\x91\x9c\x93\xc7\x82\xdd\x8d\x9e\x82\xdd\x83\x47\x83\x89\x81\x5b(p): " + name +
         "\n";
}

TEST_F(CliCommandTest, UnreadableImagesAreReportedAndFailOnlyWithStrict) {
  test::write_bytes(folder_.file("broken.gif"), {'G', 'I', 'F', '8', '9', 'a', 1});
  write_project(
      "[PAGELIST]\r\np\r\n[PROPERTY]\r\nOUTPUT_TABLE_LITTLE=1\r\n"
      "[PROPERTY:p]\r\nPUTIMAGEWIDTH=2\r\nPUTIMAGEHEIGHT=1\r\n"
      "[FILELIST:p]\r\nmissing.png\t0\t0\r\na.bmp\t1\t0\r\n"
      "broken.gif\t0\t0\tB\t1\t5\t6\r\n");
  // Opening makes rows full against the project folder where the image path
  // rule takes it as absolute (a drive on Windows); the report names the row.
  const auto row_path = [&](std::string_view name) {
    return full_image_row(name, folder_.file("")).value_or(std::string(name));
  };
  const std::string reports =
      unreadable(row_path("missing.png")) + unreadable(row_path("broken.gif"));
  const std::vector<std::uint8_t> table = {1, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0,
                                           0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 5, 0, 6, 0};
  for (const bool strict : {false, true}) {
    console_.errors.clear();
    std::vector<std::string> arguments = {"output", project(), "--out", folder_.file("out")};
    if (strict) {
      arguments.push_back("--strict");
    }
    EXPECT_EQ(run(arguments), strict ? kExitPageFailed : kExitOk);
    EXPECT_EQ(console_.errors, reports);
    // The page is still written: the two unread images as 0 x 0 and the
    // forced 5 x 6.
    EXPECT_EQ(test::read_bytes(out("p.bmp")),
              make_bitmap_file(2, 1, 8, {0xFFFFFF, 0x00FF00}, {0, 1}));
    EXPECT_EQ(test::read_bytes(out("imgtable_l.bin")), table);
  }
  // Without unreadable images --strict changes nothing.
  console_.errors.clear();
  write_project(kOnePage);
  EXPECT_EQ(run({"output", project(), "--out", folder_.file("out"), "--strict"}), kExitOk);
  EXPECT_EQ(console_.errors, "");
}

// Copies tests/data/image/png_gif/<name> into the scratch folder.
void copy_fixture(const test::ScratchFolder& folder, const std::string& name) {
  test::write_bytes(folder.file(name), test::read_bytes(std::string(PICONEL_TEST_DATA_DIR) +
                                                        "/image/png_gif/" + name));
}

TEST_F(CliCommandTest, PngAndGifProjectOutputsLikeItsBitmaps) {
  // Each PNG or GIF beside the same picture converted to a bitmap by
  // ImageMagick (same palette order). Every output file must be the same,
  // with a paletted key and a true-colour key replaced by the background.
  const std::string names[] = {"png_index4", "png_rgb8", "gif_8bit"};
  const std::string extensions[] = {".png", ".png", ".gif"};
  for (const std::string& name : names) {
    copy_fixture(folder_, name + ".bmp");
  }
  copy_fixture(folder_, "png_index4.png");
  copy_fixture(folder_, "png_rgb8.png");
  copy_fixture(folder_, "gif_8bit.gif");
  const auto project_with = [&](bool bitmaps) {
    std::string rows;
    const std::string keys[] = {"\t\t0\t0\t0\t1\t2", "\t\t0\t0\t0\t1\t65280", ""};
    for (std::size_t i = 0; i < 3; ++i) {
      rows += names[i] + (bitmaps ? ".bmp" : extensions[i]) + "\t" + std::to_string(i * 9) + "\t1" +
              keys[i] + "\r\n";
    }
    return "[PAGELIST]\r\np\r\n[PROPERTY]\r\nOUTPUT_LABEL=1\r\nOUTPUT_TABLE_TEXT=1\r\n"
           "OUTPUT_TABLE_LITTLE=1\r\nOUTPUT_TABLE_BIG=1\r\n"
           "[PROPERTY:p]\r\nPUTIMAGEWIDTH=27\r\nPUTIMAGEHEIGHT=4\r\n"
           "[FILELIST:p]\r\n" +
           rows;
  };
  write_project(project_with(false), "images.ijp");
  write_project(project_with(true), "bitmaps.ijp");
  ASSERT_EQ(run({"output", folder_.file("images.ijp"), "--out", folder_.file("a")}), kExitOk);
  ASSERT_EQ(run({"output", folder_.file("bitmaps.ijp"), "--out", folder_.file("b")}), kExitOk);
  EXPECT_EQ(console_.errors, "");
  for (const char* file : {"p.bmp", "imgidx.h", "imgtable.h", "imgtable_l.bin", "imgtable_b.bin"}) {
    const std::vector<std::uint8_t> written = test::read_bytes(folder_.file("a") + "/" + file);
    EXPECT_FALSE(written.empty()) << file;
    EXPECT_EQ(written, test::read_bytes(folder_.file("b") + "/" + file)) << file;
  }
}

}  // namespace
}  // namespace piconel

namespace piconel {
namespace {

// Every regular file of `folder` by name with its bytes.
std::map<std::string, std::vector<std::uint8_t>> files_of(const std::string& folder) {
  std::map<std::string, std::vector<std::uint8_t>> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    files[entry.path().filename().string()] = test::read_bytes(entry.path());
  }
  return files;
}

// "p" and the number, appended: GCC 12 warns falsely (-Wrestrict) about
// "p" + std::to_string(page) at -O3.
std::string numbered_page(int page) {
  std::string name = "p";
  name += std::to_string(page);
  return name;
}

TEST_F(CliCommandTest, JobsGiveTheBytesMessagesAndStatusOfOneJob) {
  // Twelve pages of up to five images; pages 3 and 8 fail (no sheet size)
  // and page 5 is empty, so later pages' first labels depend on the pages
  // before them.
  test::write_bytes(folder_.file("b.bmp"),
                    make_bitmap_file(2, 2, 8, {0x112233, 0x445566}, {0, 1, 1, 0}));
  std::string body = "[PAGELIST]\r\n";
  for (int page = 0; page < 12; ++page) {
    body += numbered_page(page) + "\r\n";
  }
  body +=
      "[PROPERTY]\r\nOUTPUT_LABEL=1\r\nOUTPUT_LABEL_PAGENUM=1\r\nOUTPUT_TABLE_TEXT=1\r\n"
      "OUTPUT_TABLE_LITTLE=1\r\nOUTPUT_TABLE_BIG=1\r\n";
  for (int page = 0; page < 12; ++page) {
    const std::string name = numbered_page(page);
    const bool fails = page == 3 || page == 8;
    body += "[PROPERTY:" + name + "]\r\nPAGELABEL=L" + std::to_string(page) +
            "\r\nPUTIMAGEWIDTH=" + (fails ? "0" : "12") + "\r\nPUTIMAGEHEIGHT=3\r\n";
    if (page != 5) {
      body += "[FILELIST:" + name + "]\r\n";
      for (int i = 0; i <= page % 5; ++i) {
        body += std::string(i % 2 == 0 ? "a.bmp" : "b.bmp") + "\t" + std::to_string(2 * i) +
                "\t0\tE" + std::to_string(i) + "\r\n";
      }
    }
  }
  write_project(body);
  EXPECT_EQ(run({"output", project(), "--out", out("one"), "--jobs", "1", "--png", "--json"}),
            kExitPageFailed);
  const std::string one_job_errors = console_.errors;
  console_.errors.clear();
  EXPECT_EQ(run({"output", project(), "--out", out("four"), "--jobs", "4", "--png", "--json"}),
            kExitPageFailed);
  EXPECT_EQ(console_.errors, one_job_errors);
  // ページ出力エラー(p3), ページ出力エラー(p8), each with its reason
  const std::string sheet_size =
      "\x83V\x81[\x83g\x82\xcc\x95\x9d\x82\xa9\x8d\x82\x82\xb3\x82\xaa 0 "
      "\x88\xc8\x89\xba\x82\xc5\x82\xb7\n";
  EXPECT_EQ(one_job_errors,
            "\x83\x79\x81\x5b\x83\x57\x8f\x6f\x97\xcd\x83\x47\x83\x89\x81\x5b(p3)\n" + sheet_size +
                "\x83\x79\x81\x5b\x83\x57\x8f\x6f\x97\xcd\x83\x47\x83\x89\x81\x5b(p8)\n" +
                sheet_size);
  const auto one = files_of(out("one"));
  // Nine pages written (eleven with images, less two failed), each a bitmap,
  // a PNG and a JSON; plus the tables.
  EXPECT_EQ(one.size(), 3 * 9u + 4u);
  EXPECT_EQ(files_of(out("four")), one);
  // p4 is the fourth page output (p3 failed): its first label is 3 * 256.
  const std::vector<std::uint8_t>& label = one.at("imgidx.h");
  EXPECT_NE(std::string(label.begin(), label.end()).find("\tIMG_L4_E0 = 768,\r\n"),
            std::string::npos);
}

TEST_F(CliCommandTest, IfChangedLeavesFilesWithTheSameBytesUntouched) {
  write_project(kOnePage);
  const std::vector<std::string> arguments = {"output",       project(), "--out", out(""),
                                              "--if-changed", "--png",   "--json"};
  ASSERT_EQ(run(arguments), kExitOk);
  const auto old_time = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24);
  const auto time_of = [&](const char* name) {
    return std::filesystem::last_write_time(out(name));
  };
  for (const char* name : {"p.bmp", "imgtable_l.bin", "p.png", "p.json"}) {
    std::filesystem::last_write_time(out(name), old_time);
  }
  // The file system keeps the time at its own resolution (coarser under Wine).
  const auto stored_old_time = time_of("p.bmp");
  ASSERT_EQ(time_of("imgtable_l.bin"), stored_old_time);

  // Nothing changed: neither file is written.
  ASSERT_EQ(run(arguments), kExitOk);
  EXPECT_EQ(time_of("p.bmp"), stored_old_time);
  EXPECT_EQ(time_of("imgtable_l.bin"), stored_old_time);
  EXPECT_EQ(time_of("p.png"), stored_old_time);
  EXPECT_EQ(time_of("p.json"), stored_old_time);

  // Another colour, same place and size: the bitmap is new, the table not.
  test::write_bytes(folder_.file("a.bmp"), make_bitmap_file(1, 1, 24, {}, {0x0000FF}));
  ASSERT_EQ(run(arguments), kExitOk);
  EXPECT_NE(time_of("p.bmp"), stored_old_time);
  EXPECT_EQ(test::read_bytes(out("p.bmp")),
            make_bitmap_file(2, 1, 8, {0xFFFFFF, 0x0000FF}, {0, 1}));
  EXPECT_EQ(time_of("imgtable_l.bin"), stored_old_time);
  EXPECT_NE(time_of("p.png"), stored_old_time);
  EXPECT_EQ(time_of("p.json"), stored_old_time);

  // Without the option every file is written again.
  ASSERT_EQ(run({"output", project(), "--out", out("")}), kExitOk);
  EXPECT_NE(time_of("imgtable_l.bin"), stored_old_time);
}

}  // namespace
}  // namespace piconel
