// Running out of memory is a result, never the end of the program: a project,
// a picture and a page canvas are each loaded in a forked child whose address
// space is capped a few megabytes above what it already uses. A child that
// ends by a signal (std::bad_alloc reaching std::terminate aborts) fails the
// test; one that exits reports what the operation returned.

#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "image/load_image.h"
#include "output/output_fixture.h"
#include "output/output_run.h"
#include "store/document_store.h"

#if defined(__SANITIZE_ADDRESS__)
#define PICONEL_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PICONEL_ADDRESS_SANITIZER 1
#endif
#endif

namespace piconel {
namespace {

constexpr int kCrashed = -1;

std::size_t address_space_in_use() {
  unsigned long pages = 0;
  if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%lu", &pages) != 1) {
      pages = 0;
    }
    std::fclose(statm);
  }
  return pages * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

// Runs `body` in a child limited to `headroom_mb` MiB of address space above
// what it uses at the fork (0: no limit); its exit code, or kCrashed.
int run_limited(std::size_t headroom_mb, const std::function<int()>& body) {
  std::fflush(nullptr);
  const pid_t child = ::fork();
  if (child == 0) {
    // Large blocks always get fresh address space, whatever free heap the
    // parent left behind.
    ::mallopt(M_MMAP_THRESHOLD, 64 * 1024);
    if (headroom_mb != 0) {
      const rlimit limit{address_space_in_use() + (headroom_mb << 20), RLIM_INFINITY};
      ::setrlimit(RLIMIT_AS, &limit);
    }
    ::_exit(body());
  }
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
    return kCrashed;
  }
  return WEXITSTATUS(status);
}

// Large fixtures are made in a child too: the blocks they free would stay in
// this process's heap and give the limited children room the limit denies.
int make_in_child(const std::function<void()>& make) {
  return run_limited(0, [&] {
    make();
    return 0;
  });
}

class AllocationFailure : public ::testing::Test {
 protected:
  void SetUp() override {
#ifdef PICONEL_ADDRESS_SANITIZER
    GTEST_SKIP() << "AddressSanitizer reserves more address space than any useful limit";
#endif
  }
  test::ScratchFolder folder_;
};

// 8 MiB of the shortest rows: the file's bytes, then 2.8 million entries.
// Outcomes: 0 loaded whole; 1 refused while reading (line counter 0, path
// kept); 2 refused while building (line counter on the line being built,
// path emptied).
TEST_F(AllocationFailure, StoreLoadFailsWithItsLineCounter) {
  const std::string path = folder_.file("short.ijp");
  ASSERT_EQ(make_in_child([&] {
              std::string text = "[ROWS]\r\n";
              while (text.size() < (std::size_t{8} << 20)) {
                text += "1\r\n";
              }
              test::write_bytes(path, std::vector<std::uint8_t>(text.begin(), text.end()));
            }),
            0);
  const int rows = static_cast<int>(((std::size_t{8} << 20) - 8 + 2) / 3);
  std::set<int> seen;
  for (const std::size_t headroom_mb : {2u, 12u, 24u, 512u}) {
    const int outcome = run_limited(headroom_mb, [&] {
      DocumentStore store;
      if (store.load(path, false)) {
        return store.entry_count("ROWS") == rows ? 0 : 10;
      }
      if (!store.sections().empty()) {
        return 11;
      }
      if (store.line_count() == 0) {
        return store.file_path() == path ? 1 : 12;
      }
      return store.line_count() >= 1 && store.file_path().empty() ? 2 : 13;
    });
    EXPECT_TRUE(outcome >= 0 && outcome <= 2) << headroom_mb << " MiB: outcome " << outcome;
    seen.insert(outcome);
  }
  EXPECT_EQ(seen, (std::set<int>{0, 1, 2}));
}

// A 2048 x 2048 24-bit picture (12 MiB): no room for the file, then no room
// for its pixels, then enough. The picture is unreadable, not fatal.
TEST_F(AllocationFailure, PictureIsUnreadable) {
  const std::string path = folder_.file("big.bmp");
  test::write_bytes(path,
                    test::make_bitmap_file(2048, 2048, 24, {},
                                           std::vector<std::uint32_t>(2048 * 2048, 0x123456)));
  const struct {
    std::size_t headroom_mb;
    int expected;  // 1 loaded, 0 unreadable
  } cases[] = {{4, 0}, {18, 0}, {256, 1}};
  for (const auto& c : cases) {
    const int outcome = run_limited(c.headroom_mb, [&] {
      LoadImageRequest request;
      request.path = path;
      const std::optional<Dib> dib = load_image(request);
      return dib && dib->width == 2048 ? 1 : 0;
    });
    EXPECT_EQ(outcome, c.expected) << c.headroom_mb << " MiB";
  }
}

// A page of a 32768 x 32768 sheet needs a 3 GiB canvas: with no room for it
// that page fails with its message and the next page is still written.
TEST_F(AllocationFailure, PageFailsWithItsMessage) {
  test::write_bytes(folder_.file("a.bmp"), test::make_bitmap_file(1, 1, 24, {}, {0xFF0000}));
  DocumentStore store;
  test::load_project_text(
      store,
      {"[PROPERTY]", "OUTPUT_BMP=1", "[PAGELIST]", "huge", "small", "[PROPERTY:huge]",
       "FIXEDSHEET=1", "SHEETSIZEMANUAL=1", "SHEETWIDTH=32768", "SHEETHEIGHT=32768",
       "[FILELIST:huge]", "a.bmp\t0\t0", "[PROPERTY:small]", "FIXEDSHEET=1", "SHEETSIZEMANUAL=1",
       "SHEETWIDTH=4", "SHEETHEIGHT=4", "[FILELIST:small]", "a.bmp\t0\t0"});
  const int outcome = run_limited(64, [&] {
    test::RecordingPort port;
    OutputRunRequest request;
    request.project = &store;
    request.project_folder = folder_.folder();
    request.output_folder = folder_.folder();
    request.port = &port;
    const OutputRunResult result = run_output(request);
    const bool huge_failed = result.failed_pages == std::vector<std::string>{"huge"} &&
                             port.errors.size() == 1 &&
                             port.errors[0].first.find("(huge)") != std::string::npos;
    return huge_failed && result.pages_output == 1 && test::exists(folder_.file("small.bmp")) ? 0
                                                                                              : 1;
  });
  EXPECT_EQ(outcome, 0);
}

}  // namespace
}  // namespace piconel
