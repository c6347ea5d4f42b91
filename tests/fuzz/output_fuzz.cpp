// The whole way from a project file to its output: the input is the project
// file, its pages are output into a scratch folder with the command line's
// own code, from three small pictures beside it (a.bmp, b.png, c.gif).
// Sheet sizes are cut to 256 first so each input stays cheap: a project may
// rightly ask for a 32768-pixel sheet, which is no finding.

#include <array>
#include <charconv>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_command.h"
#include "fuzz/fuzz_targets.h"
#include "store/document_store.h"
#include "store/file_io.h"

namespace piconel::fuzz {

namespace {

constexpr std::array<std::uint8_t, 99> kPng = {
    137, 80,  78,  71,  13,  10, 26,  10,  0,   0,   0,   13,  73,  72,  68, 82,  0,  0,  0,  2,
    0,   0,   0,   1,   8,   3,  0,   0,   0,   195, 252, 143, 184, 0,   0,  0,   6,  80, 76, 84,
    69,  255, 0,   0,   0,   0,  255, 108, 161, 253, 142, 0,   0,   0,   1,  116, 82, 78, 83, 0,
    64,  230, 216, 102, 0,   0,  0,   11,  73,  68,  65,  84,  120, 156, 99, 96,  96, 4,  0,  0,
    4,   0,   2,   191, 122, 63, 74,  0,   0,   0,   0,   73,  69,  78,  68, 174, 66, 96, 130};
constexpr std::array<std::uint8_t, 35> kGif = {71, 73, 70, 56, 57,  97,  13,  0,  3, 0, 128, 1,
                                               0,  0,  0,  0,  255, 255, 255, 44, 0, 0, 0,   0,
                                               1,  0,  1,  0,  0,   2,   2,   68, 1, 0, 59};
// 2 x 2, 8 bits, two colours.
constexpr std::array<std::uint8_t, 70> kBmp = {
    'B', 'M', 70, 0, 0, 0, 0, 0, 0,   0, 62, 0,   0, 0, 40, 0, 0, 0, 2, 0, 0, 0, 2, 0,
    0,   0,   1,  0, 8, 0, 0, 0, 0,   0, 0,  0,   0, 0, 0,  0, 0, 0, 0, 0, 0, 0, 2, 0,
    0,   0,   0,  0, 0, 0, 0, 0, 255, 0, 0,  255, 0, 0, 0,  1, 0, 0, 1, 0, 0, 0};
constexpr int kMaxPages = 16;
constexpr int kMaxSide = 256;

struct Silent : CliConsole {
  void error(std::string_view) override {}
  void output(std::string_view) override {}
  bool error_is_terminal() const override { return false; }
  double elapsed_seconds() const override { return 0; }
};

void write(const std::string& path, std::span<const std::uint8_t> bytes) {
  require(write_file_replacing(path, bytes, Durability::Unsynced), "scratch file not written");
}

// Every sheet and extent size above kMaxSide becomes kMaxSide.
void cut_sizes(DocumentStore& project) {
  for (const StoreSection& section : project.sections()) {
    for (const std::string_view key :
         {"SHEETWIDTH", "SHEETHEIGHT", "PUTIMAGEWIDTH", "PUTIMAGEHEIGHT"}) {
      const auto value = project.get_string(section.name(), key);
      if (!value) {
        continue;
      }
      long long number = 0;
      const auto [end, error] =
          std::from_chars(value->data(), value->data() + value->size(), number);
      if (error != std::errc() || number > kMaxSide || number < -kMaxSide) {
        (void)project.set_string(section.name(), key, std::to_string(kMaxSide));
      }
    }
  }
}

}  // namespace

int output(const std::uint8_t* data, std::size_t size) {
  const std::string& folder = scratch_folder();
  static const bool pictures = [&] {
    write(folder + "a.bmp", kBmp);
    write(folder + "b.png", kPng);
    write(folder + "c.gif", kGif);
    return true;
  }();
  static_cast<void>(pictures);
  const std::string input = folder + "input.ijp";
  const std::string project = folder + "game.ijp";
  write(input, {data, size});
  DocumentStore store;
  if (!store.load(input, false) || store.entry_count("PAGELIST") > kMaxPages) {
    return 0;
  }
  cut_sizes(store);
  require(store.save(project), "project not written");
  CliInvocation invocation;
  invocation.arguments = {"output", project, "--out", folder + "out", "--jobs", "1"};
  Silent console;
  const int status = run_cli(invocation, console);
  require(status == kExitOk || status == kExitPageFailed || status == kExitUsage,
          "unknown exit status");
  return 0;
}

}  // namespace piconel::fuzz
