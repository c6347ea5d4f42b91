// new, add and remove: arguments, exit statuses, messages and the bytes
// saved.
#include <filesystem>

#include <gtest/gtest.h>

#include "cli/cli_command.h"
#include "cli/cli_platform.h"
#include "cli/cli_project_texts.h"
#include "cli/cli_texts.h"
#include "cli/fake_console.h"
#include "output/output_fixture.h"

namespace piconel {
namespace {

using test::make_bitmap_file;
namespace texts = cli_project_texts;

// [INFOMATION] as every open writes it.
const std::string kHeader =
    "[INFOMATION]\r\n"
    "APPLICATIONNAME=\x83\x73\x83\x52\x83\x6c\x83\x8b\x83\x76\x83\x8d\x83\x57\x83\x46\x83\x4e"
    "\x83\x67\r\n"  // ピコネルプロジェクト
    "APPLICATIONVERSION=1.0.8\r\n";

class CliProjectCommandsTest : public ::testing::Test {
 protected:
  int run(std::vector<std::string> arguments) {
    console_ = {};
    CliInvocation invocation;
    invocation.arguments = std::move(arguments);
    return run_cli(invocation, console_);
  }
  std::string file(const std::string& name) const { return folder_.file(name); }
  // The full path the command line stores for a file of the scratch folder.
  std::string full(const std::string& name) const { return full_path_of(file(name)).value_or("?"); }
  std::string text_of(const std::string& name) const {
    const std::vector<std::uint8_t> bytes = test::read_bytes(file(name));
    return std::string(bytes.begin(), bytes.end());
  }
  void write_text(const std::string& name, const std::string& text) {
    test::write_bytes(file(name), std::vector<std::uint8_t>(text.begin(), text.end()));
  }
  void write_sprite(const std::string& name, int width, int height) {
    std::filesystem::create_directories(std::filesystem::path(file(name)).parent_path());
    test::write_bytes(file(name),
                      make_bitmap_file(width, height, 24, {},
                                       std::vector<std::uint32_t>(width * height, 0x102030)));
  }
  // One image row as the window writes it for a 24-bit picture of one colour.
  std::string row(const std::string& name, int x, int y, const std::string& label, int width,
                  int height) const {
    return full(name) + "\t" + std::to_string(x) + "\t" + std::to_string(y) + "\t" + label +
           "\t0\t" + std::to_string(width) + "\t" + std::to_string(height) + "\t0\t1056816\r\n";
  }

  test::ScratchFolder folder_;
  test::FakeConsole console_;
};

TEST_F(CliProjectCommandsTest, NewWritesWhatTheWindowsNewAndSaveAsWrite) {
  ASSERT_EQ(run({"new", file("a.ijp")}), kExitOk) << console_.errors;
  const std::string page =
      "[PAGELIST]\r\npage000\r\n[PROPERTY:page000]\r\nPAGELABEL=PAGE000\r\n"
      "PUTIMAGEWIDTH=0\r\nPUTIMAGEHEIGHT=0\r\n";
  EXPECT_EQ(text_of("a.ijp"), kHeader + page + "[PROPERTY]\r\nCURRENTPAGE=0\r\n");

  ASSERT_EQ(run({"new", "--out-dir=dist", file("b.ijp")}), kExitOk);
  EXPECT_EQ(text_of("b.ijp"),
            kHeader + page + "[PROPERTY]\r\nOUTPUTENABLE=1\r\nOUTPUTDIR=dist\r\nCURRENTPAGE=0\r\n");

  // An existing file is kept unless --force.
  write_text("c.ijp", "mine");
  EXPECT_EQ(run({"new", file("c.ijp")}), kExitFailed);
  EXPECT_EQ(console_.errors, texts::kProjectExists + file("c.ijp") + "\n");
  EXPECT_EQ(text_of("c.ijp"), "mine");
  EXPECT_EQ(run({"new", file("c.ijp"), "--force"}), kExitOk);
  EXPECT_EQ(text_of("c.ijp"), text_of("a.ijp"));
}

TEST_F(CliProjectCommandsTest, WrongArgumentsOfEachCommand) {
  const std::string hint = std::string("\n") + cli_texts::kUsageHint + "\n";
  struct Case {
    std::vector<std::string> arguments;
    std::string error;
  };
  const std::vector<Case> cases = {
      {{"new"}, cli_texts::kMissingProject},
      {{"new", "a.ijp", "b.ijp"}, std::string(cli_texts::kExtraArgument) + "b.ijp"},
      {{"new", "a.ijp", "--out-dir"}, std::string(cli_texts::kMissingValue) + "--out-dir"},
      {{"new", "a.ijp", "--out-dir="}, std::string(cli_texts::kMissingValue) + "--out-dir"},
      {{"new", "a.ijp", "--fast"}, std::string(cli_texts::kUnknownArgument) + "--fast"},
      {{"add"}, cli_texts::kMissingProject},
      {{"add", "a.ijp"}, texts::kNoImagesGiven},
      {{"add", "a.ijp", "x.bmp", "--page"}, std::string(cli_texts::kMissingValue) + "--page"},
      {{"add", "a.ijp", "x.bmp", "--recurse"},
       std::string(cli_texts::kUnknownArgument) + "--recurse"},
      {{"remove", "a.ijp", "--missing"}, texts::kPageRequired},
      {{"remove", "a.ijp", "--page", "p"}, texts::kImageOrMissing},
      {{"remove", "a.ijp", "--page", "p", "--missing", "--image", "x"}, texts::kImageOrMissing},
      {{"remove", "--page", "p", "--missing"}, cli_texts::kMissingProject},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments[0] + " " + std::to_string(c.arguments.size()));
    EXPECT_EQ(run(c.arguments), kExitUsage);
    EXPECT_EQ(console_.errors, c.error + hint);
    EXPECT_EQ(console_.outputs, "");
  }
  // Help per command, from anywhere in the arguments.
  const std::pair<const char*, const char*> helps[] = {
      {"new", texts::kNewHelp},     {"add", texts::kAddHelp},   {"remove", texts::kRemoveHelp},
      {"check", texts::kCheckHelp}, {"list", texts::kListHelp}, {"build", texts::kBuildHelp}};
  for (const auto& [command, help] : helps) {
    EXPECT_EQ(run({command, "a.ijp", "--help"}), kExitOk);
    EXPECT_EQ(console_.outputs, help);
  }
  // The overview names every command.
  EXPECT_EQ(run({"--help"}), kExitOk);
  for (const CliCommand& command : cli_commands()) {
    EXPECT_NE(console_.outputs.find(command.usage), std::string::npos) << command.name;
  }
}

TEST_F(CliProjectCommandsTest, AddPlacesAsTheWindowsAddAndSavesOnce) {
  write_sprite("a.bmp", 32, 16);
  write_sprite("b.bmp", 16, 16);
  write_sprite("c.bmp", 32, 8);
  ASSERT_EQ(run({"new", file("p.ijp")}), kExitOk);
  ASSERT_EQ(run({"add", file("p.ijp"), file("a.bmp"), file("b.bmp"), file("c.bmp")}), kExitOk)
      << console_.errors;
  EXPECT_EQ(console_.errors, "");
  const std::string rows = row("a.bmp", 0, 0, "A", 32, 16) + row("b.bmp", 32, 0, "B", 16, 16) +
                           row("c.bmp", 48, 0, "C", 32, 8);
  EXPECT_EQ(text_of("p.ijp"), kHeader +
                                  "[PAGELIST]\r\npage000\r\n[PROPERTY:page000]\r\n"
                                  "PAGELABEL=PAGE000\r\nPUTIMAGEWIDTH=80\r\nPUTIMAGEHEIGHT=16\r\n"
                                  "[PROPERTY]\r\nCURRENTPAGE=0\r\n[FILELIST:page000]\r\n" +
                                  rows);

  // A page of fixed width 48: the third image starts a new row under the
  // tallest; the named page is made with its label; labels from names.
  write_sprite("2-up.bmp", 16, 16);
  write_text("q.ijp", kHeader +
                          "[PAGELIST]\r\npage000\r\n[PROPERTY]\r\nFIXEDSHEET=1\r\n"
                          "SHEETSIZEMANUAL=1\r\nSHEETWIDTH=48\r\nSHEETHEIGHT=64\r\n");
  ASSERT_EQ(run({"add", file("q.ijp"), "--page", "Sprites", "--label-from-name", file("a.bmp"),
                 file("2-up.bmp"), file("c.bmp")}),
            kExitOk)
      << console_.errors;
  EXPECT_NE(text_of("q.ijp").find("[PAGELIST]\r\npage000\r\nSprites\r\n"), std::string::npos);
  EXPECT_NE(text_of("q.ijp").find("[PROPERTY:Sprites]\r\nPAGELABEL=SPRITES\r\n"),
            std::string::npos);
  EXPECT_NE(text_of("q.ijp").find("[FILELIST:Sprites]\r\n" + row("a.bmp", 0, 0, "A", 32, 16) +
                                  row("2-up.bmp", 32, 0, "_2_UP", 16, 16) +
                                  row("c.bmp", 0, 16, "C", 32, 8)),
            std::string::npos)
      << text_of("q.ijp");
}

TEST_F(CliProjectCommandsTest, AddOfAFolderInPathOrderKeepsWhatItDoesNotKnow) {
  write_sprite("art/b.bmp", 8, 8);
  write_sprite("art/A.BMP", 8, 8);
  write_sprite("art/sub/c.png.bmp", 8, 8);
  write_text("art/readme.txt", "not an image");
  const std::string unknown = "[TOOL]\r\nBUILT=yes\r\n";
  write_text("p.ijp", kHeader + "[PAGELIST]\r\np\r\n[PROPERTY]\r\nMYKEY=7\r\n" + unknown);
  ASSERT_EQ(run({"add", file("p.ijp"), file("art")}), kExitOk) << console_.errors;
  const std::string flat = row("art/A.BMP", 0, 0, "A", 8, 8) + row("art/b.bmp", 8, 0, "B", 8, 8);
  EXPECT_NE(text_of("p.ijp").find("[FILELIST:p]\r\n" + flat), std::string::npos);
  EXPECT_NE(text_of("p.ijp").find("MYKEY=7\r\n"), std::string::npos);
  EXPECT_NE(text_of("p.ijp").find(unknown), std::string::npos);

  write_text("r.ijp", kHeader + "[PAGELIST]\r\np\r\n");
  ASSERT_EQ(run({"add", file("r.ijp"), "--recursive", file("art")}), kExitOk);
  EXPECT_NE(text_of("r.ijp").find(flat + row("art/sub/c.png.bmp", 16, 0, "C.PNG", 8, 8)),
            std::string::npos)
      << text_of("r.ijp");
}

TEST_F(CliProjectCommandsTest, FailingAddLeavesTheFileByteIdentical) {
  write_sprite("a.bmp", 4, 4);
  write_text("bad.bmp", "BM broken");
  write_sprite("x=1.bmp", 4, 4);
  const std::string project = kHeader + "[PAGELIST]\r\np\r\n[EXTRA]\r\nkeep\r\n";
  // ファイルのパスに「=」が含まれているため、この画像は追加できません。
  const std::string equals_refusal =
      "\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xcc\x83\x70\x83\x58\x82\xc9\x81\x75=\x81\x76\x82\xaa"
      "\x8a\xdc\x82\xdc\x82\xea\x82\xc4\x82\xa2\x82\xe9\x82\xbd\x82\xdf\x81\x41\x82\xb1\x82\xcc"
      "\x89\xe6\x91\x9c\x82\xcd\x92\xc7\x89\xc1\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1\x81\x42\n";
  struct Case {
    std::vector<std::string> arguments;
    int status;
    std::string errors;
  };
  const std::vector<Case> cases = {
      {{"bad.bmp"}, kExitFailed, texts::kImageNotRead + full("bad.bmp") + "\n"},
      {{"gone.bmp"}, kExitFailed, texts::kImageNotRead + full("gone.bmp") + "\n"},
      {{"x=1.bmp"}, kExitFailed, equals_refusal + full("x=1.bmp") + "\n"},
      {{"a.bmp", "--page", "no-dash"}, kExitUsage, ""},
      {{"a.bmp", "--page", std::string(31, 'p')},
       kExitUsage,
       texts::kPageNameTooLong + std::string(31, 'p') + "\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments[0] + " " + std::to_string(c.arguments.size()));
    write_text("p.ijp", project);
    std::vector<std::string> arguments = {"add", file("p.ijp")};
    for (const std::string& argument : c.arguments) {
      arguments.push_back(argument.find('.') != std::string::npos ? file(argument) : argument);
    }
    EXPECT_EQ(run(arguments), c.status);
    if (!c.errors.empty()) {
      EXPECT_EQ(console_.errors, c.errors);
    } else {
      EXPECT_NE(console_.errors, "");  // the window's page name message
    }
    EXPECT_EQ(text_of("p.ijp"), project);
  }
  // A project that does not load is not touched either.
  write_text("other.ijp", "[INFOMATION]\r\nAPPLICATIONNAME=other\r\n");
  EXPECT_EQ(run({"add", file("other.ijp"), file("a.bmp")}), kExitUsage);
  EXPECT_EQ(console_.errors, std::string(cli_texts::kProjectLoadFailed) + "\n");
  EXPECT_EQ(text_of("other.ijp"), "[INFOMATION]\r\nAPPLICATIONNAME=other\r\n");

  // With one readable file among them, it is added and the status is 1.
  write_text("p.ijp", project);
  EXPECT_EQ(run({"add", file("p.ijp"), file("gone.bmp"), file("a.bmp")}), kExitFailed);
  EXPECT_NE(text_of("p.ijp").find(row("a.bmp", 0, 0, "A", 4, 4)), std::string::npos);
}

TEST_F(CliProjectCommandsTest, AFullPageGoesOnWithTheNextPage) {
  std::vector<std::string> arguments = {"add", file("p.ijp"), "--page", "big"};
  for (int i = 0; i < 258; ++i) {
    const std::string name = "s/" +
                             std::string(i < 10    ? "00"
                                         : i < 100 ? "0"
                                                   : "") +
                             std::to_string(i) + ".bmp";
    write_sprite(name, 2, 2);
    if (i == 0) {
      arguments.push_back(file("s"));
    }
  }
  write_text("p.ijp", kHeader + "[PAGELIST]\r\nbig\r\nlast\r\n");
  ASSERT_EQ(run(arguments), kExitOk) << console_.errors;
  const std::string text = text_of("p.ijp");
  EXPECT_NE(text.find("[PAGELIST]\r\nbig\r\nbig_2\r\nlast\r\n"), std::string::npos);
  EXPECT_NE(text.find("[FILELIST:big_2]\r\n" + row("s/256.bmp", 0, 0, "256", 2, 2) +
                      row("s/257.bmp", 2, 0, "257", 2, 2)),
            std::string::npos)
      << text.substr(text.find("[FILELIST:big_2]"));
}

TEST_F(CliProjectCommandsTest, RemoveOneImageOrTheMissingOnes) {
  write_sprite("a.bmp", 4, 4);
  write_sprite("b.bmp", 4, 4);
  const std::string project = kHeader + "[PAGELIST]\r\np\r\nq\r\n[FILELIST:p]\r\n" + full("a.bmp") +
                              "\t0\t0\r\n" + full("gone.bmp") +
                              "\t4\t0\r\nb.bmp\t8\t0\tBEE\r\n[FILELIST:q]\r\na.bmp\t0\t0\r\n";
  write_text("p.ijp", project);
  // Not there: nothing changes.
  EXPECT_EQ(run({"remove", file("p.ijp"), "--page", "p", "--image", file("c.bmp")}), kExitFailed);
  EXPECT_EQ(console_.errors, texts::kNoSuchImage + file("c.bmp") + "\n");
  EXPECT_EQ(run({"remove", file("p.ijp"), "--page", "r", "--missing"}), kExitUsage);
  EXPECT_EQ(console_.errors, texts::kNoSuchPage + std::string("r\n"));
  EXPECT_EQ(text_of("p.ijp"), project);

  // A row relative to the project folder, named as the project names it.
  ASSERT_EQ(run({"remove", file("p.ijp"), "--page", "p", "--image", "b.bmp"}), kExitOk)
      << console_.errors;
  EXPECT_EQ(text_of("p.ijp").find("BEE"), std::string::npos);
  ASSERT_EQ(run({"remove", file("p.ijp"), "--missing", "--page", "p"}), kExitOk);
  // The page's rows are written again as the window writes them; the other
  // page keeps its row as it was.
  const std::string text = text_of("p.ijp");
  EXPECT_EQ(text.find("gone.bmp"), std::string::npos);
  EXPECT_NE(text.find("[FILELIST:q]\r\na.bmp\t0\t0\r\n"), std::string::npos);
  EXPECT_NE(text.find("[FILELIST:p]\r\n" + full("a.bmp") + "\t0\t0\t\t0\t0\t0\t0\t0\r\n"),
            std::string::npos)
      << text;
}

}  // namespace
}  // namespace piconel
