#include "output/page_file_name.h"

#include <gtest/gtest.h>

namespace piconel {
namespace {

TEST(PageFileName, OnlyPlainFileNamesInsideTheFolder) {
  using namespace std::string_literals;
  const std::string plain[] = {
      "page000",
      "a b",
      "a-b.c",
      "...a",
      "CONSOLE",
      "COM10",
      "LPT",
      "nul_",
      "\x83\x5c",          // ソ: its second byte is the byte of '\'
      "\x95\x5c\x95\x7c",  // 表 and a character whose second byte is '|'
      "\xb1",              // single-byte katakana
  };
  for (const std::string& name : plain) {
    EXPECT_EQ(page_bitmap_file_name(name), name + ".bmp") << name;
  }
  const std::string refused[] = {
      "",           ".",
      "..",         "..\\..\\escaped",
      "../escaped", "sub\\inner",
      "sub/inner",  "C:\\x",
      "C:x",        "\\\\srv\\share\\x",
      "a:stream",   "a<b",
      "a>b",        "a\"b",
      "a|b",        "a?b",
      "a*b",        "a\tb",
      "a\x7f",      "a\0b"s,
      "\x1f",
      "\x83",    // a lead byte at the end
      "\x83/x",  // a lead byte before a byte that cannot follow it
      "\x83\x1f",   "CON",
      "con",        "Nul.txt",
      "AUX  ",      "prn .x",
      "COM1",       "lpt9",
  };
  for (const std::string& name : refused) {
    EXPECT_EQ(page_bitmap_file_name(name), std::nullopt) << name;
  }
}

}  // namespace
}  // namespace piconel
