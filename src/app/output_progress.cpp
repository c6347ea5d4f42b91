#include "app/output_progress.h"

#include "store/bounded_format.h"

namespace piconel {
namespace {

// 出力中: %d / %dページ
constexpr const char* kProgressFormat = "\x8fo\x97\xcd\x92\x86: %d / %d\x83y\x81[\x83W";
constexpr std::size_t kProgressBytes = 64;

}  // namespace

std::string output_progress_text(int pages_done, int page_count) {
  std::string text;
  (void)bounded_format_string(text, kProgressBytes, kProgressFormat, pages_done, page_count);
  return text;
}

std::optional<std::string> OutputProgress::page_finished(int pages_done, int page_count,
                                                         std::int64_t now_ms) {
  if (last_shown_ms_ && now_ms - *last_shown_ms_ < kOutputProgressIntervalMs) {
    return std::nullopt;
  }
  last_shown_ms_ = now_ms;
  return output_progress_text(pages_done, page_count);
}

}  // namespace piconel
