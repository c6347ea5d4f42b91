#include "image/image_row.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace piconel {
namespace {

TEST(ImageRowTest, ParsesAllNineColumns) {
  const ImageRow row = parse_image_row("C:\\img\\a.bmp\t10\t-20\tHERO\t1\t32\t48\t1\t-1");
  EXPECT_EQ(row.path, "C:\\img\\a.bmp");
  EXPECT_EQ(row.x, 10);
  EXPECT_EQ(row.y, -20);
  EXPECT_EQ(row.settings.label, "HERO");
  EXPECT_EQ(row.settings.size_forced, 1);
  EXPECT_EQ(row.settings.forced_width, 32);
  EXPECT_EQ(row.settings.forced_height, 48);
  EXPECT_EQ(row.settings.transparent_on, 1);
  EXPECT_EQ(row.settings.transparent_key, -1);
}

TEST(ImageRowTest, MissingTrailingColumnsReadAsEmptyOrZero) {
  const ImageRow row = parse_image_row("a.bmp\t1\t2\tLABEL");
  EXPECT_EQ(row.path, "a.bmp");
  EXPECT_EQ(row.x, 1);
  EXPECT_EQ(row.y, 2);
  EXPECT_EQ(row.settings.label, "LABEL");
  EXPECT_EQ(row.settings, (ImageSettings{"LABEL", 0, 0, 0, 0, 0}));
}

struct RowCase {
  const char* name;
  std::string text;
  ImageRow expected;
};

TEST(ImageRowTest, ColumnRules) {
  const RowCase cases[] = {
      {"EmptyRow", "", {"", 0, 0, {"", 0, 0, 0, 0, 0}}},
      {"PathOnly", "x.bmp", {"x.bmp", 0, 0, {"", 0, 0, 0, 0, 0}}},
      {"TrailingTabAddsNoColumn", "x.bmp\t5\t", {"x.bmp", 5, 0, {"", 0, 0, 0, 0, 0}}},
      {"EmptyColumnsReadAsZero", "x.bmp\t\t7\t\t\t\t\t\t3", {"x.bmp", 0, 7, {"", 0, 0, 0, 0, 3}}},
      {"ExtraColumnsIgnored",
       "x.bmp\t1\t2\tL\t1\t2\t3\t4\t5\t6\t7",
       {"x.bmp", 1, 2, {"L", 1, 2, 3, 4, 5}}},
      {"EmptyPath", "\t3\t4", {"", 3, 4, {"", 0, 0, 0, 0, 0}}},
      {"AtoiRules", "p\t  +12px\t-0x10\tL\tabc\t 9", {"p", 12, 0, {"L", 0, 9, 0, 0, 0}}},
      {"SaturatingNumbers",
       "p\t99999999999\t-99999999999",
       {"p", INT_MAX, INT_MIN, {"", 0, 0, 0, 0, 0}}},
      // ソ is 0x83 0x5C: its second byte is not a separator of any kind here.
      {"DoubleBytePath", "\x83\x5C.bmp\t1", {"\x83\x5C.bmp", 1, 0, {"", 0, 0, 0, 0, 0}}},
  };
  for (const RowCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(parse_image_row(c.text), c.expected);
    // The path alone (what the output counts its files by) reads the same.
    EXPECT_EQ(image_row_path(c.text), c.expected.path);
  }
}

TEST(ImageRowTest, LabelCutTo63Bytes) {
  const std::string label70(70, 'A');
  const ImageRow row = parse_image_row("a.bmp\t0\t0\t" + label70 + "\t0");
  EXPECT_EQ(row.settings.label, std::string(63, 'A'));
}

TEST(ImageRowTest, PathCutTo259Bytes) {
  const std::string path300 = "C:\\" + std::string(297, 'p');
  const ImageRow row = parse_image_row(path300 + "\t4\t5");
  EXPECT_EQ(row.path.size(), 259u);
  EXPECT_EQ(row.path, path300.substr(0, 259));
  EXPECT_EQ(image_row_path(path300 + "\t4\t5"), row.path);
  EXPECT_EQ(image_row_path(path300), row.path);
  EXPECT_EQ(row.x, 4);
  EXPECT_EQ(row.y, 5);
}

TEST(ImageRowTest, FormatsNineColumns) {
  const ImageSettings settings{"HERO", 1, 32, 48, 1, 0x00FF00FF};
  EXPECT_EQ(format_image_row("C:\\img\\a.bmp", 10, -20, settings),
            "C:\\img\\a.bmp\t10\t-20\tHERO\t1\t32\t48\t1\t16711935");
  EXPECT_EQ(format_image_row("b.bmp", 0, 0, ImageSettings{}), "b.bmp\t0\t0\t\t0\t0\t0\t0\t0");
}

TEST(ImageRowTest, FormatCutsLongFieldsAndStaysWithinLimit) {
  ImageSettings settings;
  settings.label = std::string(100, 'L');
  settings.size_forced = INT_MIN;
  settings.forced_width = INT_MIN;
  settings.forced_height = INT_MIN;
  settings.transparent_on = INT_MIN;
  settings.transparent_key = INT_MIN;
  const std::string text = format_image_row(std::string(400, 'p'), INT_MIN, INT_MIN, settings);
  EXPECT_LE(text.size(), static_cast<std::size_t>(kMaxImageRowBytes));
  const ImageRow row = parse_image_row(text);
  EXPECT_EQ(row.path, std::string(259, 'p'));
  EXPECT_EQ(row.settings.label, std::string(63, 'L'));
  EXPECT_EQ(row.x, INT_MIN);
  EXPECT_EQ(row.settings.transparent_key, INT_MIN);
}

TEST(ImageRowTest, RoundTrip) {
  const ImageRow rows[] = {
      {"C:\\work\\img\\a.bmp", 0, 0, {"A", 0, 16, 16, 0, -1}},
      {"img\\\x95\x5C.png", 32768, 12, {"\x95\x5C", 1, 1, 2, 1, 0x123456}},
      {"", 0, 0, {}},
  };
  for (const ImageRow& row : rows) {
    EXPECT_EQ(parse_image_row(format_image_row(row)), row);
  }
}

}  // namespace
}  // namespace piconel
