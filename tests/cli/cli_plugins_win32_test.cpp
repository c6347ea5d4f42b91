// piconel-cli on Windows loads the Susie plug-ins of its program folder, as
// the window does, and its output decodes images through them.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/cli_plugins.h"
#include "image/plugin_host.h"
#include "output/output_fixture.h"

namespace piconel {
namespace {

using test::make_bitmap_file;

struct QuietConsole : CliConsole {
  std::string errors;
  void error(std::string_view cp932) override { errors += cp932; }
  void output(std::string_view) override {}
  bool error_is_terminal() const override { return false; }
  double elapsed_seconds() const override { return 0; }
};

// A program folder whose "plugin" subfolder holds the test decoder plug-in
// (tests/image/plugins: "*.tst" pictures). The host keeps its libraries
// loaded, so they are released here before the folder goes.
class CliPluginsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::filesystem::path plugin_folder = program_.path() / "plugin";
    std::filesystem::create_directory(plugin_folder);
    plugin_path_ = plugin_folder / ("decoder" + std::string(kPluginLibraryExtension));
    test::write_bytes(plugin_path_, test::read_bytes(std::string(PICONEL_TEST_DECODER_PLUGIN)));
  }

  void TearDown() override {
    while (HMODULE module = GetModuleHandleW(plugin_path_.wstring().c_str())) {
      if (!FreeLibrary(module)) {
        break;
      }
    }
  }

  int run(const std::string& program_folder, const std::string& project, const std::string& out) {
    CliInvocation invocation;
    invocation.arguments = {"output", project, "--out", out};
    invocation.program_folder = program_folder;
    return run_cli(invocation, console_);
  }

  test::ScratchFolder program_;
  test::ScratchFolder work_;
  std::filesystem::path plugin_path_;
  QuietConsole console_;
};

// ".tst": "TST1", width, height (16 bits), red/green/blue pixels top row first.
std::vector<std::uint8_t> tst_file(std::uint8_t width, std::uint8_t height,
                                   const std::vector<std::uint8_t>& pixels) {
  std::vector<std::uint8_t> bytes(8 + pixels.size(), 0);
  const std::uint8_t header[8] = {'T', 'S', 'T', '1', width, 0, height, 0};
  std::copy(std::begin(header), std::end(header), bytes.begin());
  std::copy(pixels.begin(), pixels.end(), bytes.begin() + 8);
  return bytes;
}

TEST_F(CliPluginsTest, NoPluginsWithoutAFolderOrLibraries) {
  EXPECT_EQ(load_cli_plugins("", false), nullptr);
  EXPECT_EQ(load_cli_plugins(work_.folder(), false), nullptr);
  const std::unique_ptr<PictureDecoder> plugins = load_cli_plugins(program_.folder(), false);
  ASSERT_NE(plugins, nullptr);
  test::write_bytes(work_.file("one.tst"), tst_file(1, 1, {1, 2, 3}));
  const std::optional<DecodedPicture> picture = plugins->decode(work_.file("one.tst"));
  ASSERT_TRUE(picture.has_value());
  EXPECT_EQ(picture->dib.pixel(0, 0), 0x010203u);
}

TEST_F(CliPluginsTest, OutputReadsImagesThroughTheProgramFoldersPlugins) {
  // The same 2 x 2 picture as a plug-in file and as a bitmap: the outputs
  // must be the same bytes. Without the plug-ins the ".tst" image is
  // reported and counted as 0 x 0.
  test::write_bytes(work_.file("a.tst"),
                    tst_file(2, 2, {255, 0, 0, 0, 0, 255, 0, 255, 0, 10, 20, 30}));
  test::write_bytes(work_.file("a.bmp"),
                    make_bitmap_file(2, 2, 24, {}, {0xFF0000, 0x0000FF, 0x00FF00, 0x0A141E}));
  const auto project = [&](const std::string& name, const std::string& image) {
    const std::string text =
        "[INFOMATION]\r\n"
        "APPLICATIONNAME=\x83\x73\x83\x52\x83\x6c\x83\x8b\x83\x76\x83\x8d\x83\x57\x83\x46\x83\x4e"
        "\x83\x67\r\n"
        "APPLICATIONVERSION=1.0.8\r\n"
        "[PAGELIST]\r\np\r\n[PROPERTY]\r\nOUTPUT_TABLE_LITTLE=1\r\nOUTPUT_TABLE_TEXT=1\r\n"
        "[PROPERTY:p]\r\nPUTIMAGEWIDTH=4\r\nPUTIMAGEHEIGHT=2\r\n"
        "[FILELIST:p]\r\n" +
        image + "\t1\t0\r\n";
    test::write_bytes(work_.file(name), std::vector<std::uint8_t>(text.begin(), text.end()));
    return work_.file(name);
  };
  const std::string with_plugin = project("plugin.ijp", "a.tst");
  const std::string with_bitmap = project("bitmap.ijp", "a.bmp");

  ASSERT_EQ(run(program_.folder(), with_plugin, work_.file("a")), kExitOk);
  EXPECT_EQ(console_.errors, "");
  ASSERT_EQ(run(program_.folder(), with_bitmap, work_.file("b")), kExitOk);
  for (const char* file : {"p.bmp", "imgtable.h", "imgtable_l.bin"}) {
    const std::vector<std::uint8_t> written = test::read_bytes(work_.file("a") + "\\" + file);
    EXPECT_FALSE(written.empty()) << file;
    EXPECT_EQ(written, test::read_bytes(work_.file("b") + "\\" + file)) << file;
  }

  ASSERT_EQ(run(work_.folder(), with_plugin, work_.file("c")), kExitOk);
  EXPECT_NE(console_.errors.find("a.tst"), std::string::npos);
  EXPECT_NE(test::read_bytes(work_.file("c") + "\\imgtable_l.bin"),
            test::read_bytes(work_.file("a") + "\\imgtable_l.bin"));
}

}  // namespace
}  // namespace piconel
