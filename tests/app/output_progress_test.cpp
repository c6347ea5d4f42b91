#include "app/output_progress.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace piconel {
namespace {

// 出力中: N / Mページ
std::string progress(const std::string& numbers) {
  return "\x8fo\x97\xcd\x92\x86: " + numbers + "\x83y\x81[\x83W";
}

TEST(OutputProgress, TextNamesThePagesDoneOfAll) {
  EXPECT_EQ(output_progress_text(1, 3), progress("1 / 3"));
  EXPECT_EQ(output_progress_text(256, 256), progress("256 / 256"));
}

TEST(OutputProgress, FirstPageShownThenAtMostEveryHundredMilliseconds) {
  const struct {
    int page;
    std::int64_t now_ms;
    bool shown;
  } steps[] = {
      {1, 5000, true},  {2, 5050, false}, {3, 5099, false}, {4, 5100, true},
      {5, 5150, false}, {6, 5260, true},  {7, 5261, false}, {8, 9000, true},
  };
  OutputProgress pace;
  for (const auto& step : steps) {
    const std::optional<std::string> text = pace.page_finished(step.page, 8, step.now_ms);
    EXPECT_EQ(text.has_value(), step.shown) << step.page;
    if (text) {
      EXPECT_EQ(*text, output_progress_text(step.page, 8));
    }
  }
}

}  // namespace
}  // namespace piconel
