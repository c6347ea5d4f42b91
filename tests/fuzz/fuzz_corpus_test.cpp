// Every checked-in corpus file (tests/fuzz/corpus/<harness>/) through its
// harness, as an ordinary test: a finding stops the process, and the
// sanitizer build catches what the harness cannot see.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/fuzz_targets.h"

namespace piconel {
namespace {

std::vector<std::uint8_t> read_all(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(FuzzCorpus, EveryFileRunsThroughItsHarness) {
  const std::filesystem::path corpus =
      std::filesystem::path(PICONEL_SOURCE_DIR) / "tests" / "fuzz" / "corpus";
  for (const fuzz::Target& target : fuzz::targets()) {
    SCOPED_TRACE(std::string(target.name));
    int files = 0;
    for (const auto& item : std::filesystem::directory_iterator(corpus / target.name)) {
      SCOPED_TRACE(item.path().filename().string());
      const std::vector<std::uint8_t> bytes = read_all(item.path());
      EXPECT_EQ(target.run(bytes.data(), bytes.size()), 0);
      ++files;
    }
    EXPECT_GT(files, 0) << "no seed corpus";
    // And the empty input, which libFuzzer always tries first.
    EXPECT_EQ(target.run(nullptr, 0), 0);
  }
}

}  // namespace
}  // namespace piconel
