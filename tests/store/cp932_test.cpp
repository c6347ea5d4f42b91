// ソ is 0x83 0x5C and 表 is 0x95 0x5C: their second byte is a backslash that
// must never split a path.

#include "store/cp932.h"

#include <gtest/gtest.h>

namespace piconel {
namespace {

#define SO "\x83\x5C"   // ソ
#define HYO "\x95\x5C"  // 表

TEST(Cp932SplitPath, Cases) {
  struct Case {
    const char* path;
    const char* drive;
    const char* directory;
    const char* name;
    const char* extension;
  };
  const Case cases[] = {
      {"C:\\dir\\file.bmp", "C:", "\\dir\\", "file", ".bmp"},
      {"C:\\" SO "\\" HYO ".bmp", "C:", "\\" SO "\\", HYO, ".bmp"},
      {"C:\\dir\\" SO, "C:", "\\dir\\", SO, ""},
      {SO HYO, "", "", SO HYO, ""},
      {"a/b\\c.d.e", "", "a/b\\", "c.d", ".e"},
      {"dir.x\\file", "", "dir.x\\", "file", ""},
      {".hidden", "", "", "", ".hidden"},
      {"C:file.txt", "C:", "", "file", ".txt"},
      {"\\\\server\\share\\f.ijp", "", "\\\\server\\share\\", "f", ".ijp"},
      {"", "", "", "", ""},
      {"C:", "C:", "", "", ""},
      {"dir\\", "", "dir\\", "", ""},
      // A lead byte as the last byte does not swallow anything past the end.
      {"dir\\x\x83", "", "dir\\", "x\x83", ""},
      // 0x83 0x2E is not a character but the dot still belongs to it.
      {"a\x83.b", "", "", "a\x83.b", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const PathParts parts = split_path(c.path);
    EXPECT_EQ(parts.drive, c.drive);
    EXPECT_EQ(parts.directory, c.directory);
    EXPECT_EQ(parts.name, c.name);
    EXPECT_EQ(parts.extension, c.extension);
    EXPECT_EQ(folder_of(c.path), std::string(c.drive) + c.directory);
    EXPECT_EQ(file_name_of(c.path), std::string(c.name) + c.extension);
    EXPECT_EQ(extension_of(c.path), c.extension);
  }
}

TEST(Cp932, AbsoluteImagePath) {
  EXPECT_TRUE(is_absolute_image_path("C:\\a.bmp"));
  EXPECT_TRUE(is_absolute_image_path("\\\\server\\a.bmp"));
  EXPECT_FALSE(is_absolute_image_path("C:a.bmp"));
  EXPECT_FALSE(is_absolute_image_path("\\a.bmp"));
  EXPECT_FALSE(is_absolute_image_path("C:/a.bmp"));
  EXPECT_FALSE(is_absolute_image_path(SO "\\a.bmp"));
  EXPECT_FALSE(is_absolute_image_path(""));
  EXPECT_FALSE(is_absolute_image_path("C:"));
}

TEST(Cp932, EndsWithPathSeparator) {
  EXPECT_TRUE(ends_with_path_separator("C:\\dir\\"));
  EXPECT_TRUE(ends_with_path_separator("dir/"));
  EXPECT_TRUE(ends_with_path_separator(SO "\\"));
  EXPECT_FALSE(ends_with_path_separator(""));
  EXPECT_FALSE(ends_with_path_separator("C:\\dir"));
  EXPECT_FALSE(ends_with_path_separator("C:\\" SO));
  EXPECT_FALSE(ends_with_path_separator("C:\\" HYO));
  EXPECT_FALSE(ends_with_path_separator("dir\\\x83"));  // a lone lead byte at the end
}

TEST(Cp932, EqualsIgnoringAsciiCase) {
  EXPECT_TRUE(equals_ignoring_ascii_case("Page.BMP", "page.bmp"));
  EXPECT_TRUE(equals_ignoring_ascii_case(SO "a", SO "A"));
  EXPECT_FALSE(equals_ignoring_ascii_case("ab", "abc"));
  // ア is 0x83 0x41 and チ is 0x83 0x61: the trail bytes look like 'A' and 'a'.
  EXPECT_FALSE(equals_ignoring_ascii_case("\x83\x41", "\x83\x61"));
  EXPECT_TRUE(equals_ignoring_ascii_case("\x83\x41", "\x83\x41"));
  EXPECT_FALSE(equals_ignoring_ascii_case("\xE9", "\xC9"));  // no Latin-1 folding
  EXPECT_TRUE(equals_ignoring_ascii_case("", ""));
}

TEST(Cp932, ToUpperKeepingDoubleBytes) {
  EXPECT_EQ(to_upper_keeping_double_bytes("page_01"), "PAGE_01");
  // チ (0x83 0x61) keeps its trail byte; the letters around it change.
  EXPECT_EQ(to_upper_keeping_double_bytes("a\x83\x61z"), "A\x83\x61Z");
  // 0x80 and 0xFD-0xFF also start a pair under this rule.
  EXPECT_EQ(to_upper_keeping_double_bytes("\x80xa"), "\x80xA");
  EXPECT_EQ(to_upper_keeping_double_bytes("\xFFxa"), "\xFFxA");
  // Half-width katakana (0xA1-0xDF) are single bytes.
  EXPECT_EQ(to_upper_keeping_double_bytes("\xB1x"), "\xB1X");
  EXPECT_EQ(to_upper_keeping_double_bytes("x\x83"), "X\x83");
}

}  // namespace
}  // namespace piconel
