#include "store/bounded_format.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace piconel {
namespace {

TEST(BoundedFormat, LengthsAroundTheBufferSize) {
  struct Case {
    std::size_t length;
    int result;
    std::size_t kept;
  };
  const Case cases[] = {{300, -1, 259}, {259, 259, 259}, {260, -1, 259}, {0, 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    const std::string text(c.length, 'a');
    char buffer[261];
    std::memset(buffer, 'z', sizeof buffer);
    EXPECT_EQ(bounded_format(buffer, 260, "%s", text.c_str()), c.result);
    EXPECT_EQ(std::strlen(buffer), c.kept);
    EXPECT_EQ(buffer[260], 'z');  // nothing past the given size

    std::string out = "old";
    EXPECT_EQ(bounded_format_string(out, 260, "%s", text.c_str()), c.result);
    EXPECT_EQ(out, text.substr(0, c.kept));
  }
}

TEST(BoundedFormat, FormatsArguments) {
  char buffer[32];
  EXPECT_EQ(bounded_format(buffer, sizeof buffer, "(line:%d)", 12), 9);
  EXPECT_STREQ(buffer, "(line:12)");
  // A percent sign inside an argument is text, not a format.
  EXPECT_EQ(bounded_format(buffer, sizeof buffer, "%s%s", "C:\\", "100%d.bmp"), 12);
  EXPECT_STREQ(buffer, "C:\\100%d.bmp");
}

TEST(BoundedFormat, ZeroSizeWritesNothing) {
  char buffer[1] = {'z'};
  EXPECT_EQ(bounded_format(buffer, 0, "%s", "x"), -1);
  EXPECT_EQ(buffer[0], 'z');
  std::string out = "old";
  EXPECT_EQ(bounded_format_string(out, 0, "%s", "x"), -1);
  EXPECT_EQ(out, "");
}

TEST(BoundedFormat, SizeOneHoldsOnlyTheZero) {
  char buffer[1] = {'z'};
  EXPECT_EQ(bounded_format(buffer, 1, "%s", "x"), -1);
  EXPECT_EQ(buffer[0], '\0');
  EXPECT_EQ(bounded_format(buffer, 1, "%s", ""), 0);
}

}  // namespace
}  // namespace piconel
