// CP932 to UTF-8 for files other programs read: the same bytes from the
// Windows table (run under Wine) and glibc's (run natively).

#include "store/utf8_text.h"

#include <gtest/gtest.h>

#include <string>

namespace piconel {
namespace {

TEST(Cp932ToUtf8, SameBytesOnEveryPlatform) {
  struct Case {
    const char* what;
    std::string cp932;
    std::string utf8;
  };
  const Case cases[] = {
      {"ascii with backslash and tilde", "a\\b~", "a\\b~"},
      {"empty", "", ""},
      {"hiragana", "\x82\xa0", "\xE3\x81\x82"},                          // あ
      {"second byte is a backslash", "\x83\x5c", "\xE3\x82\xBD"},        // ソ
      {"half-width katakana", "\xb1\xdf", "\xEF\xBD\xB1\xEF\xBE\x9F"},   // ｱﾟ
      {"fullwidth reverse solidus", "\x81\x5f", "\xEF\xBC\xBC"},         // ＼
      {"wave dash is the fullwidth tilde", "\x81\x60", "\xEF\xBD\x9E"},  // ～
      {"NEC circled digit", "\x87\x40", "\xE2\x91\xA0"},                 // ①
      {"IBM extension", "\xfa\x40", "\xE2\x85\xB0"},                     // ⅰ
      {"user-defined area", "\xf0\x40", "\xEE\x80\x80"},                 // U+E000
      // Not characters: each byte U+FFFD, the text around them kept.
      {"lone lead byte at the end", "a\x83", "a\xEF\xBF\xBD"},
      {"lead byte before a control byte",
       "\x83\x0a"
       "b",
       "\xEF\xBF\xBD\nb"},
      {"bytes the code page leaves out", "\x80\xa0\xfd", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
      // An unassigned pair: U+FFFD for the pair, its neighbours converted.
      {"unassigned pair", "\x82\xa0\x85\x40\x82\xa0", "\xE3\x81\x82\xEF\xBF\xBD\xE3\x81\x82"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(cp932_to_utf8(c.cp932), c.utf8) << c.what;
  }
}

}  // namespace
}  // namespace piconel
