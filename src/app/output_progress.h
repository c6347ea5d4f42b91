#pragma once

// What the window shows while the output runs: "出力中: N / Mページ" in the
// status bar, from the first page on and then at most every 100 ms, so a
// long run says how far it is without spending its time on drawing.

#include <cstdint>
#include <optional>
#include <string>

namespace piconel {

inline constexpr std::int64_t kOutputProgressIntervalMs = 100;

// "出力中: 3 / 64ページ" (CP932).
[[nodiscard]] std::string output_progress_text(int pages_done, int page_count);

class OutputProgress {
 public:
  // The text to show after `pages_done` of `page_count` pages at `now_ms`
  // (a monotonic clock), or none while the last one shown is recent.
  [[nodiscard]] std::optional<std::string> page_finished(int pages_done, int page_count,
                                                         std::int64_t now_ms);

 private:
  std::optional<std::int64_t> last_shown_ms_;
};

}  // namespace piconel
