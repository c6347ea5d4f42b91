#include "cli/cli_pack.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "output/output_fixture.h"

namespace piconel {
namespace {

struct RecordingConsole : CliConsole {
  std::string errors;
  std::string outputs;
  void error(std::string_view cp932) override { errors += cp932; }
  void output(std::string_view cp932) override { outputs += cp932; }
  bool error_is_terminal() const override { return false; }
  double elapsed_seconds() const override { return 0; }
};

const std::string kHeader =
    "[INFOMATION]\r\n"
    "APPLICATIONNAME=\x83\x73\x83\x52\x83\x6c\x83\x8b\x83\x76\x83\x8d\x83\x57\x83\x46\x83\x4e"
    "\x83\x67\r\n"  // ピコネルプロジェクト
    "APPLICATIONVERSION=1.0.8\r\n";
// 充填率
const std::string kFill = "\x8f[\x93U\x97\xa6";

class CliPackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::vector<std::uint32_t> pixels(32 * 32, 0x00FF00);
    test::write_bytes(folder_.file("a.bmp"), test::make_bitmap_file(32, 32, 24, {}, pixels));
    const std::vector<std::uint32_t> big(50 * 50, 0x0000FF);
    test::write_bytes(folder_.file("big.bmp"), test::make_bitmap_file(50, 50, 24, {}, big));
  }

  void write_project(const std::string& body) {
    const std::string text = kHeader + body;
    test::write_bytes(project(), std::vector<std::uint8_t>(text.begin(), text.end()));
  }

  std::string saved() const {
    const std::vector<std::uint8_t> bytes = test::read_bytes(project());
    return std::string(bytes.begin(), bytes.end());
  }

  int run(std::vector<std::string> arguments) {
    CliInvocation invocation;
    invocation.arguments = std::move(arguments);
    return run_cli(invocation, console_);
  }

  std::string project() const { return folder_.file("game.ijp"); }

  test::ScratchFolder folder_;
  RecordingConsole console_;
};

// Four 32 px images spread over 132 x 132, and a second page left alone.
const std::string kSpread =
    "[PAGELIST]\r\np\r\nq\r\n[PROPERTY:p]\r\nPUTIMAGEWIDTH=132\r\nPUTIMAGEHEIGHT=132\r\n"
    "[FILELIST:p]\r\n"
    "a.bmp\t0\t0\tA\r\na.bmp\t100\t0\tB\r\na.bmp\t0\t100\tC\r\na.bmp\t100\t100\tD\r\n"
    "[FILELIST:q]\r\na.bmp\t500\t500\tQ\r\n";

TEST_F(CliPackTest, PacksThePageAndSaves) {
  write_project(kSpread);
  ASSERT_EQ(run({"pack", project(), "--page", "p"}), kExitOk) << console_.errors;
  EXPECT_EQ(console_.outputs, "p: 64 x 64  " + kFill + " 100.0%\n");
  const std::string text = saved();
  EXPECT_NE(text.find("PUTIMAGEWIDTH=64\r\nPUTIMAGEHEIGHT=64\r\n"), std::string::npos) << text;
  // A 2 x 2 square; the labels stay with their rows.
  for (const char* row : {"\t0\t0\t", "\t32\t0\t", "\t0\t32\t", "\t32\t32\t"}) {
    EXPECT_NE(text.find(row), std::string::npos) << row << "\n" << text;
  }
  EXPECT_NE(text.find("a.bmp\t500\t500\tQ"), std::string::npos) << "the other page stays";
}

TEST_F(CliPackTest, OptionsAndRememberedChoices) {
  // The page remembers padding 2; --pot asks for a power-of-two sheet.
  write_project(
      "[PAGELIST]\r\np\r\n[PROPERTY:p]\r\nPACK_PADDING=2\r\n"
      "[FILELIST:p]\r\na.bmp\t0\t0\r\na.bmp\t40\t40\r\n");
  ASSERT_EQ(run({"pack", project(), "--pot", "--dry-run"}), kExitOk) << console_.errors;
  // 66 x 32 (2 px between), sheet 128 x 32; nothing saved.
  EXPECT_EQ(console_.outputs.substr(0, 12), "p: 66 x 32  ");
  EXPECT_NE(console_.outputs.find("128 x 32"), std::string::npos) << console_.outputs;
  EXPECT_NE(saved().find("a.bmp\t40\t40"), std::string::npos);
}

TEST_F(CliPackTest, ManualSheetRefusals) {
  // A 64 x 40 manual sheet: big.bmp (50 x 50) is too large and stays; the
  // two 32 px images are packed beside each other.
  const std::string manual =
      "[PROPERTY:p]\r\nFIXEDSHEET=1\r\nSHEETSIZEMANUAL=1\r\nSHEETWIDTH=64\r\nSHEETHEIGHT=40\r\n";
  write_project("[PAGELIST]\r\np\r\n" + manual +
                "[FILELIST:p]\r\na.bmp\t9\t9\r\nbig.bmp\t200\t0\r\na.bmp\t90\t90\r\n");
  EXPECT_EQ(run({"pack", project(), "--all"}), kExitOk);
  // 大きすぎる画像(p): big.bmp
  EXPECT_EQ(console_.errors,
            "\x91\xe5\x82\xab\x82\xb7\x82\xac\x82\xe9\x89\xe6\x91\x9c(p): big.bmp\n");
  EXPECT_NE(saved().find("big.bmp\t200\t0"), std::string::npos);
  EXPECT_NE(saved().find("a.bmp\t32\t0"), std::string::npos);

  // Three 32 px images cannot share it: reported, nothing moved or saved.
  write_project("[PAGELIST]\r\np\r\n" + manual +
                "[FILELIST:p]\r\na.bmp\t9\t9\r\na.bmp\t90\t90\r\na.bmp\t190\t190\r\n");
  const std::string before = saved();
  console_.errors.clear();
  EXPECT_EQ(run({"pack", project()}), kExitPageFailed);
  EXPECT_EQ(console_.errors.substr(0, 16),
            "\x8bl\x82\xdf\x82\xc4\x94z\x92u\x82\xc5\x82\xab\x82\xdc");
  EXPECT_EQ(saved(), before);
}

TEST_F(CliPackTest, WrongArguments) {
  const struct {
    std::vector<std::string> arguments;
    int status;
  } cases[] = {
      {{"pack"}, kExitUsage},
      {{"pack", "x.ijp", "--padding", "257"}, kExitUsage},
      {{"pack", "x.ijp", "--padding=-1"}, kExitUsage},
      {{"pack", "x.ijp", "--page", "p", "--all"}, kExitUsage},
      {{"pack", "x.ijp", "--jobs", "2"}, kExitUsage},
      {{"pack", "missing.ijp"}, kExitUsage},
      {{"pack", "--help"}, kExitOk},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(run(c.arguments), c.status) << c.arguments.back();
  }
  write_project(kSpread);
  EXPECT_EQ(run({"pack", project(), "--page", "nothere"}), kExitUsage);
}

}  // namespace
}  // namespace piconel
