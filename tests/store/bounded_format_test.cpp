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

TEST(BoundedFormat, ScreenTextIsCutAtACharacterBoundary) {
  struct Case {
    const char* text;
    const char* kept;
  };
  // Into 6 bytes: 5 bytes are kept unless that would split a character.
  const Case cases[] = {
      {"ab\x83\x73\x83\x52", "ab\x83\x73"},                  // ab + ピ; コ's lead byte dropped
      {"a\x83\x73\x83\x52x", "a\x83\x73\x83\x52"},           // cut after コ
      {"\xb1\xb2\xb3\xb4\xb5\xb6", "\xb1\xb2\xb3\xb4\xb5"},  // half-width kana
      {"abc\x83\x5c\x83", "abc\x83\x5c"},                    // ソ's trail byte is not a lead
  };
  for (const Case& c : cases) {
    std::string out;
    EXPECT_EQ(bounded_format_string(out, 6, "%s", c.text), -1);
    EXPECT_EQ(out, c.kept);
  }
}

}  // namespace
}  // namespace piconel
