#include "project/page_name.h"

#include <gtest/gtest.h>

#include "project_fakes.h"

namespace piconel {
namespace {

using testing::FakePrompter;

struct NameCase {
  const char* name;
  std::string text;
  int position;  // 0 valid, -1 empty, else 1-based character
};

TEST(PageNameTest, Rule) {
  const NameCase cases[] = {
      {"AsciiLettersDigitsUnderscore", "Stage_01", 0},
      // 背景_01: two double-byte characters, underscore, digits.
      {"DoubleBytesUnderscoreDigits", "\x94\x77\x8C\x69_01", 0},
      // ソ and 表 have 0x5C as their second byte.
      {"SecondByteBackslash", "\x83\x5C\x95\x5C", 0},
      {"Hyphen", "my-page", 3},
      {"StageHyphen", "stage-01", 6},
      {"Blank", "a b", 2},
      {"Dot", "a.b", 2},
      {"LeadingBlank", " a", 1},
      // ページ then a blank: the blank is the fourth character.
      {"BlankAfterThreeDoubleBytes", "\x83\x79\x81\x5B\x83\x57 x", 4},
      // Single-byte katakana ｱ (0xB1) is not a letter.
      {"HalfWidthKatakana", "a\xB1", 2},
      {"Equals", "a=b", 2},
      {"Empty", "", -1},
      // A first byte with nothing after it (only from broken input).
      {"LoneLeadByteAtEnd", "ab\x83", 3},
      // 0x80 and 0xFF begin a double-byte character under the rule.
      {"WideLeadRange", "\x80\x40\xFF\x40", 0},
      // 0xA0 and 0xDF lie between the two lead ranges: single bytes, not letters.
      {"ByteA0IsNoLeadByte", "a\xA0\x40", 2},
      {"ByteDFIsNoLeadByte", "\xDF\x40", 1},
      {"ByteE0BeginsDoubleByte", "\xE0\x40", 0},
      // The byte after a first byte is taken without any test, whatever it is.
      {"SecondByteNotTested", "a\x83\x09\x83=\x9F-\xE0 _", 0},
  };
  for (const NameCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(find_invalid_page_name_character(c.text), c.position);
    EXPECT_EQ(check_page_name(c.text, nullptr), c.position == 0);
  }
}

TEST(PageNameTest, InvalidNameMessage) {
  FakePrompter prompter;
  EXPECT_FALSE(check_page_name("my-page", &prompter));
  ASSERT_EQ(prompter.boxes.size(), 1u);
  // 使用できない文字が含まれています。\r\n(3文字目)
  EXPECT_EQ(prompter.boxes[0].text,
            "\x8Eg\x97p\x82\xC5\x82\xAB\x82\xC8\x82\xA2\x95\xB6\x8E\x9A\x82\xAA\x8A\xDC\x82\xDC\x82"
            "\xEA\x82\xC4\x82\xA2\x82\xDC\x82\xB7\x81"
            "B\r\n(3\x95\xB6\x8E\x9A\x96\xDA)");
  // ピコネル：ページ名の変更
  EXPECT_EQ(prompter.boxes[0].caption,
            "\x83s\x83R\x83l\x83\x8B\x81"
            "F\x83y\x81[\x83W\x96\xBC\x82\xCC\x95\xCF\x8DX");
  EXPECT_EQ(prompter.boxes[0].type, kMbOk | kMbIconError);
}

TEST(PageNameTest, EmptyNameHasNoMessage) {
  FakePrompter prompter;
  EXPECT_FALSE(check_page_name("", &prompter));
  EXPECT_TRUE(prompter.boxes.empty());
  EXPECT_TRUE(check_page_name("ok", &prompter));
  EXPECT_TRUE(prompter.boxes.empty());
}

}  // namespace
}  // namespace piconel
