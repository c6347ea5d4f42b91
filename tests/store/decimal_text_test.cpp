#include "store/decimal_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string_view>

namespace piconel {
namespace {

TEST(ParseDecimalInRange, DigitsOnlyWithinTheBounds) {
  struct Case {
    std::string_view text;
    int low;
    int high;
    std::optional<int> expected;
  };
  const Case cases[] = {
      {"0", 0, 256, 0},
      {"256", 0, 256, 256},
      {"257", 0, 256, std::nullopt},
      {"0", 1, 256, std::nullopt},
      {"007", 1, 256, 7},
      {"", 0, 256, std::nullopt},
      {"-1", -5, 256, std::nullopt},  // no sign, even where the range allows it
      {"+1", 0, 256, std::nullopt},
      {" 1", 0, 256, std::nullopt},
      {"1x", 0, 256, std::nullopt},
      {"99999999999999999999999", 0, 2147483647, std::nullopt},  // no overflow
      {"2147483647", 0, 2147483647, 2147483647},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(parse_decimal_in_range(c.text, c.low, c.high), c.expected) << c.text;
  }
}

}  // namespace
}  // namespace piconel
