#include "image/image_path.h"

#include <gtest/gtest.h>

#include <string>

namespace piconel {
namespace {

TEST(ImagePathTest, Resolution) {
  struct Case {
    const char* path;
    const char* folder;
    const char* expected;
  };
  const Case cases[] = {
      {"a\\b.bmp", "C:\\proj\\", "C:\\proj\\a\\b.bmp"},
      {"\\\\server\\share\\x.bmp", "C:\\proj\\", "\\\\server\\share\\x.bmp"},
      {"D:\\x.bmp", "C:\\proj\\", "D:\\x.bmp"},
      {"\\x.bmp", "C:\\proj\\", "C:\\proj\\\\x.bmp"},  // one backslash: relative
      {"D:x.bmp", "C:\\proj\\", "C:\\proj\\D:x.bmp"},  // drive without backslash: relative
      {"x.bmp", "", "x.bmp"},
      // ソ (83 5C) and 表 (95 5C) inside an absolute path stay as they are.
      {"C:\\\x83\x5C\\\x95\x5C.bmp", "C:\\proj\\", "C:\\\x83\x5C\\\x95\x5C.bmp"},
      {"\x83\x5C.bmp", "C:\\\x95\x5C\\", "C:\\\x95\x5C\\\x83\x5C.bmp"},
  };
  for (const Case& c : cases) {
    const auto resolved = resolve_image_path(c.path, c.folder);
    ASSERT_TRUE(resolved.has_value()) << c.path;
    EXPECT_EQ(*resolved, c.expected) << c.path;
  }
}

TEST(ImagePathTest, ResolvedPathOver259BytesIsRefused) {
  const std::string folder = "C:\\" + std::string(200, 'f') + "\\";            // 204 bytes
  EXPECT_TRUE(resolve_image_path(std::string(55, 'n'), folder).has_value());   // 259
  EXPECT_FALSE(resolve_image_path(std::string(56, 'n'), folder).has_value());  // 260
  EXPECT_TRUE(resolve_image_path("C:\\" + std::string(256, 'a'), folder).has_value());
  EXPECT_FALSE(resolve_image_path("C:\\" + std::string(257, 'a'), "").has_value());
}

TEST(ImagePathTest, Labels) {
  struct Case {
    const char* path;
    std::string expected;
  };
  const Case cases[] = {
      {"C:\\proj\\sprite_01.bmp", "SPRITE_01"},
      {"C:\\dir.d\\name.ext.bmp", "NAME.EXT"},
      {"noext", "NOEXT"},
      {"C:\\a\\.bmp", ""},
      // ソ (83 5C) in the name and 表 (95 5C) in the folder: the trail bytes
      // are neither separators nor upper-cased.
      {"C:\\\x95\x5C\\\x83\x5C"
       "ab.bmp",
       "\x83\x5C"
       "AB"},
      // A trail byte that is a lower-case letter stays: 83 61 is one character.
      {"C:\\\x83\x61"
       "b.bmp",
       "\x83\x61"
       "B"},
      // The label rule also takes 0x80 and 0xFD-0xFF as first bytes.
      {"\x80"
       "a.bmp",
       "\x80"
       "a"},
      {"\xFD"
       "a"
       "b.bmp",
       "\xFD"
       "aB"},
      // Half-width katakana (A1-DF) are single bytes.
      {"\xB1"
       "x.bmp",
       "\xB1"
       "X"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(label_from_path(c.path), c.expected) << c.path;
  }
}

TEST(ImagePathTest, LabelIsCutTo63BytesWithoutSplittingACharacter) {
  EXPECT_EQ(label_from_path(std::string(70, 'a') + ".bmp"), std::string(63, 'A'));
  EXPECT_EQ(label_from_path(std::string(63, 'a') + ".bmp"), std::string(63, 'A'));
  // 62 ASCII bytes then ソ: the two-byte character would end at byte 64.
  EXPECT_EQ(label_from_path(std::string(62, 'a') + "\x83\x5C.bmp"), std::string(62, 'A'));
  EXPECT_EQ(label_from_path(std::string(61, 'a') + "\x83\x5C.bmp"),
            std::string(61, 'A') + "\x83\x5C");
}

}  // namespace
}  // namespace piconel
