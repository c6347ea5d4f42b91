#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

#include "fuzz/fuzz_targets.h"

namespace piconel::fuzz {

std::span<const Target> targets() {
  static const Target all[] = {
      {"store", store},   {"cp932", cp932}, {"bmp", bmp},       {"png", png},   {"gif", gif},
      {"plugin", plugin}, {"probe", probe}, {"output", output}, {"args", args},
  };
  return all;
}

void require(bool rule, const char* what) {
  if (!rule) {
    std::fprintf(stderr, "fuzz finding: %s\n", what);
    std::abort();
  }
}

namespace {

// Removed with what the harnesses left in it when the process ends.
struct ScratchFolder {
  std::filesystem::path path;
  ScratchFolder() {
    std::error_code error;
    const std::filesystem::path base = std::filesystem::temp_directory_path(error);
    std::random_device seed;
    path = base / ("piconel-fuzz-" + std::to_string(seed()) + "-" + std::to_string(seed()));
    std::filesystem::create_directories(path, error);
    require(!error, "no scratch folder");
  }
  ~ScratchFolder() {
    std::error_code error;
    std::filesystem::remove_all(path, error);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
};

}  // namespace

const std::string& scratch_folder() {
  static const ScratchFolder folder;
  static const std::string text = folder.path.string() + "/";
  return text;
}

}  // namespace piconel::fuzz
