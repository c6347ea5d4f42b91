#include "output/page_tables.h"

#include <climits>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "output/run_tables.h"

namespace piconel {
namespace {

OutputContext all_tables() {
  OutputContext context;
  context.write_label = true;
  context.write_text_table = true;
  context.write_little_table = true;
  context.write_big_table = true;
  return context;
}

std::string bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) {
    out.push_back(static_cast<char>(v));
  }
  return out;
}

TEST(PageTables, OnePageOneImage) {
  const OutputContext context = all_tables();
  PageTables page;
  open_page_tables(page, context, "page000", 1);
  add_entry_tables(page, context, "IMG_TITLE_LOGO", 0, 0, {16, 32, 8, 8});
  close_page_tables(page, context, "TITLE");
  RunTables run;
  run.add_page(page, "page000");

  EXPECT_EQ(run.label_file(), "enum {\r\n\tIMG_TITLE_LOGO,\r\n\tIMG_TITLE_MAX\r\n};\r\n");
  EXPECT_EQ(run.text_table_file(),
            "int img_table_page000[1][4] = {\r\n"
            "\t{   16,   32,    8,    8}, \r\n"
            "};\r\n"
            "const int(*img_axis_index[1])[4] = {\r\n"
            "\t(const int(*)[4])img_table_page000, \r\n"
            "};\r\n");
  EXPECT_EQ(run.little_table_file(), bytes({1, 0, 1, 0, 0x10, 0, 0x20, 0, 8, 0, 8, 0}));
  EXPECT_EQ(run.big_table_file(), bytes({0, 1, 0, 1, 0, 0x10, 0, 0x20, 0, 8, 0, 8}));
}

TEST(PageTables, NegativeAnd32768And16BitWrap) {
  OutputContext context = all_tables();
  context.write_label = false;
  PageTables page;
  open_page_tables(page, context, "p", 1);
  add_entry_tables(page, context, "", 0, 0, {-1, 32768, 65537, -32768});
  EXPECT_EQ(page.text, "int img_table_p[1][4] = {\r\n\t{   -1, 32768, 65537, -32768}, \r\n");
  EXPECT_EQ(page.little, bytes({1, 0, 0xFF, 0xFF, 0x00, 0x80, 0x01, 0x00, 0x00, 0x80}));
  EXPECT_EQ(page.big, bytes({0, 1, 0xFF, 0xFF, 0x80, 0x00, 0x00, 0x01, 0x80, 0x00}));
  EXPECT_TRUE(page.label.empty());
}

TEST(PageTables, PageNumberInUpperBitsOnFirstEntryOnly) {
  OutputContext context;
  context.write_label = true;
  context.page_number_in_upper_bits = true;
  PageTables page;
  open_page_tables(page, context, "page002", 2);
  add_entry_tables(page, context, "A", 0, 2, {});
  add_entry_tables(page, context, "B", 1, 2, {});
  close_page_tables(page, context, "");
  EXPECT_EQ(page.label, "enum {\r\n\tA = 512,\r\n\tB,\r\n\tIMG__MAX\r\n};\r\n");
}

TEST(PageTables, WithoutPageNumberEveryPageStartsAtZero) {
  OutputContext context;
  context.write_label = true;
  PageTables page;
  open_page_tables(page, context, "p", 1);
  add_entry_tables(page, context, "A", 0, 5, {});
  EXPECT_EQ(page.label, "enum {\r\n\tA,\r\n");
}

TEST(PageTables, SwitchedOffTablesStayEmpty) {
  const OutputContext context;
  PageTables page;
  open_page_tables(page, context, "p", 1);
  add_entry_tables(page, context, "A", 0, 0, {1, 2, 3, 4});
  close_page_tables(page, context, "P");
  empty_page_tables(page, context);
  EXPECT_TRUE(page.label.empty());
  EXPECT_TRUE(page.text.empty());
  EXPECT_TRUE(page.little.empty());
  EXPECT_TRUE(page.big.empty());
}

TEST(RunTables, NoPagesGivesOnlyClosingParts) {
  const RunTables run;
  EXPECT_EQ(run.label_file(), "");
  EXPECT_EQ(run.text_table_file(), "const int(*img_axis_index[0])[4] = {\r\n};\r\n");
  EXPECT_EQ(run.little_table_file(), bytes({0, 0}));
  EXPECT_EQ(run.big_table_file(), bytes({0, 0}));
}

TEST(RunTables, EmptyPageIsCountedWithANullIndexLine) {
  const OutputContext context = all_tables();
  RunTables run;
  PageTables empty;
  empty_page_tables(empty, context);
  run.add_page(empty, std::nullopt);
  PageTables page;
  open_page_tables(page, context, "b", 1);
  add_entry_tables(page, context, "L", 0, 1, {1, 2, 3, 4});
  close_page_tables(page, context, "B");
  run.add_page(page, "b");

  EXPECT_EQ(run.page_count(), 2);
  EXPECT_EQ(run.label_file(), "enum {\r\n\tL,\r\n\tIMG_B_MAX\r\n};\r\n");
  EXPECT_EQ(run.text_table_file(),
            "int img_table_b[1][4] = {\r\n"
            "\t{    1,    2,    3,    4}, \r\n"
            "};\r\n"
            "const int(*img_axis_index[2])[4] = {\r\n"
            "\t(const int(*)[4])0, \r\n"
            "\t(const int(*)[4])img_table_b, \r\n"
            "};\r\n");
  EXPECT_EQ(run.little_table_file(), bytes({2, 0, 0, 0, 1, 0, 1, 0, 2, 0, 3, 0, 4, 0}));
  EXPECT_EQ(run.big_table_file(), bytes({0, 2, 0, 0, 0, 1, 0, 1, 0, 2, 0, 3, 0, 4}));
}

TEST(PageTables, LongNamesAreNotCut) {
  OutputContext context;
  context.write_text_table = true;
  const std::string name(400, 'n');
  PageTables page;
  open_page_tables(page, context, name, 3);
  EXPECT_EQ(page.text, "int img_table_" + name + "[3][4] = {\r\n");
}

// The entry lines are put together by hand; they must read exactly as the
// printf formats they replace.
TEST(PageTables, EntryLinesReadAsTheirPrintfFormats) {
  const std::int32_t values[] = {0,    5,     -5,     999,   -999,   1000,    -1000,
                                 9999, 10000, -10000, 65537, -32768, INT_MAX, INT_MIN};
  OutputContext context = all_tables();
  context.page_number_in_upper_bits = true;
  for (const std::int32_t value : values) {
    PageTables page;
    add_entry_tables(page, context, "L", 0, value / 256, {value, 1, value, -value / 2});
    char expected[128];
    std::snprintf(expected, sizeof expected, "\t{ %4d, %4d, %4d, %4d}, \r\n", value, 1, value,
                  -value / 2);
    EXPECT_EQ(page.text, expected) << value;
    std::snprintf(expected, sizeof expected, "\tL = %d,\r\n", (value / 256) * 256);
    EXPECT_EQ(page.label, expected) << value;
  }
  // "%s" ended a label at a NUL byte.
  PageTables page;
  add_entry_tables(page, context, std::string_view("AB\0C", 4), 1, 0, {});
  EXPECT_EQ(page.label, "\tAB,\r\n");
}

}  // namespace
}  // namespace piconel
