#include "output/output_run.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "output/output_fixture.h"
#include "output/output_folder.h"
#include "output/page_tables.h"
#include "store/file_error.h"
#include "store/file_io.h"

namespace piconel {
namespace {

using test::make_bitmap_file;
using test::read_bytes;
using test::read_text;

constexpr std::uint32_t kRed = 0xFF0000;  // 0x00RRGGBB
constexpr std::uint32_t kGreen = 0x00FF00;
constexpr std::uint32_t kBlue = 0x0000FF;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kGrey = 0x808080;

const std::string kHeader[] = {"[INFOMATION]",
                               "APPLICATIONNAME=\x83\x73\x83\x52\x83\x6c\x83\x8b\x83\x76\x83\x8d"
                               "\x83\x57\x83\x46\x83\x4e\x83\x67",  // ピコネルプロジェクト
                               "APPLICATIONVERSION=1.0.8"};

// One page of a fixture project.
struct PageSpec {
  std::string name;
  std::vector<std::string> properties;  // KEY=value lines of "PROPERTY:<name>"
  std::vector<std::string> rows;        // image rows
};

class OutputRunTest : public ::testing::Test {
 protected:
  void project(const std::vector<std::string>& project_properties,
               const std::vector<PageSpec>& pages) {
    std::vector<std::string> lines(std::begin(kHeader), std::end(kHeader));
    lines.push_back("[PAGELIST]");
    for (const PageSpec& page : pages) {
      lines.push_back(page.name);
    }
    lines.push_back("[PROPERTY]");
    lines.insert(lines.end(), project_properties.begin(), project_properties.end());
    for (const PageSpec& page : pages) {
      lines.push_back("[PROPERTY:" + page.name + "]");
      lines.insert(lines.end(), page.properties.begin(), page.properties.end());
      if (!page.rows.empty()) {
        lines.push_back("[FILELIST:" + page.name + "]");
        lines.insert(lines.end(), page.rows.begin(), page.rows.end());
      }
    }
    test::load_project_text(store_, lines);
  }

  void image(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    test::write_bytes(folder_.file(name), bytes);
  }

  // Runs the output into the scratch folder's "out" (or as the project says
  // when `into_out` is false).
  OutputRunResult run(bool into_out = true) {
    std::filesystem::create_directories(folder_.path() / "out");
    OutputRunRequest request;
    request.project = &store_;
    request.settings = &settings_;
    project_path_ = folder_.file("game.ijp");
    request.project_path = project_path_;
    project_folder_ = folder_.folder();
    request.project_folder = project_folder_;
    if (into_out) {
      request.output_folder = out("");
    }
    request.port = &port_;
    return run_output(request);
  }

  std::string out(const std::string& name) const { return folder_.file("out") + "/" + name; }

  test::ScratchFolder folder_;
  DocumentStore store_;
  DocumentStore settings_;
  test::RecordingPort port_;
  std::string project_path_;
  std::string project_folder_;
};

std::string row(const std::string& path, int x, int y, const std::string& label = "",
                int forced = 0, int fw = 0, int fh = 0, int t_on = 0, int key = 0) {
  return path + "\t" + std::to_string(x) + "\t" + std::to_string(y) + "\t" + label + "\t" +
         std::to_string(forced) + "\t" + std::to_string(fw) + "\t" + std::to_string(fh) + "\t" +
         std::to_string(t_on) + "\t" + std::to_string(key);
}

const std::vector<std::string> kRedBackground = {"TRANSPARENTENABLE=1", "TRANSPARENTCOLOR=255,0,0"};
const std::vector<std::string> kAllTables = {"OUTPUT_LABEL=1", "OUTPUT_TABLE_TEXT=1",
                                             "OUTPUT_TABLE_LITTLE=1", "OUTPUT_TABLE_BIG=1"};

std::vector<std::string> with(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST_F(OutputRunTest, EightBitPageStartsTableWithBackground) {
  image("a.bmp", make_bitmap_file(2, 2, 8, {kGreen, kBlue}, {0, 1, 1, 0}));
  project(kRedBackground,
          {{"page000", {"PUTIMAGEWIDTH=4", "PUTIMAGEHEIGHT=3"}, {row("a.bmp", 1, 1)}}});
  const OutputRunResult result = run();
  EXPECT_TRUE(result.ran);
  EXPECT_EQ(result.pages_output, 1);
  EXPECT_TRUE(port_.errors.empty());
  EXPECT_EQ(read_bytes(out("page000.bmp")), make_bitmap_file(4, 3, 8, {kRed, kGreen, kBlue},
                                                             {0, 0, 0, 0,  //
                                                              0, 1, 2, 0,  //
                                                              0, 2, 1, 0}));
}

TEST_F(OutputRunTest, TransparentIndexShowsBackground) {
  image("a.bmp", make_bitmap_file(2, 1, 4, {kGreen, kBlue}, {0, 1}));
  project(
      kRedBackground,
      {{"p", {"PUTIMAGEWIDTH=3", "PUTIMAGEHEIGHT=1"}, {row("a.bmp", 0, 0, "", 0, 0, 0, 1, 1)}}});
  (void)run();
  // Blue (index 1) is the transparent colour: replaced by red, not merged.
  EXPECT_EQ(read_bytes(out("p.bmp")), make_bitmap_file(3, 1, 8, {kRed, kGreen}, {1, 0, 0}));
}

TEST_F(OutputRunTest, TrueColourKeyShowsBackground) {
  image("a.bmp", make_bitmap_file(2, 1, 24, {}, {kBlue, kGrey}));
  image("b.bmp", make_bitmap_file(1, 1, 32, {}, {kGreen}));
  project(kRedBackground, {{"p",
                            {"PUTIMAGEWIDTH=3", "PUTIMAGEHEIGHT=1"},
                            {row("a.bmp", 0, 0, "", 0, 0, 0, 1, 0x0000FF), row("b.bmp", 2, 0)}}});
  (void)run();
  // A true-colour key stays among the picture's colours (only a palette
  // index is left out of the merge), so blue keeps its table entry.
  EXPECT_EQ(read_bytes(out("p.bmp")),
            make_bitmap_file(3, 1, 8, {kRed, kBlue, kGrey, kGreen}, {0, 2, 3}));
}

TEST_F(OutputRunTest, BackgroundDroppedWhenCovered) {
  image("a.bmp", make_bitmap_file(2, 1, 24, {}, {kGreen, kBlue}));
  project(kRedBackground, {{"p", {"PUTIMAGEWIDTH=2", "PUTIMAGEHEIGHT=1"}, {row("a.bmp", 0, 0)}}});
  (void)run();
  EXPECT_EQ(read_bytes(out("p.bmp")), make_bitmap_file(2, 1, 8, {kGreen, kBlue}, {0, 1}));
}

TEST_F(OutputRunTest, WhiteBackgroundWithoutEnabledLevel) {
  image("a.bmp", make_bitmap_file(1, 1, 24, {}, {kGreen}));
  // The colour is there but not enabled.
  project({"TRANSPARENTCOLOR=255,0,0"},
          {{"p", {"PUTIMAGEWIDTH=2", "PUTIMAGEHEIGHT=1"}, {row("a.bmp", 1, 0)}}});
  (void)run();
  EXPECT_EQ(read_bytes(out("p.bmp")), make_bitmap_file(2, 1, 8, {kWhite, kGreen}, {0, 1}));
}

TEST_F(OutputRunTest, ClippingForcedSizeAndMissingFileInTables) {
  image("a.bmp", make_bitmap_file(2, 2, 24, {}, {kGreen, kBlue, kBlue, kGreen}));
  project(with(kRedBackground, kAllTables),
          {{"page000",
            {"PAGELABEL=P0", "PUTIMAGEWIDTH=3", "PUTIMAGEHEIGHT=2"},
            {row("a.bmp", -1, 1, "CLIP"), row("a.bmp", 2, 0, "FORCED", 1, 64, 32),
             row("gone.bmp", 5, 6, "GONE")}}});
  (void)run();
  EXPECT_TRUE(port_.errors.empty());
  EXPECT_EQ(read_text(out("imgidx.h")),
            "enum {\r\n\tIMG_P0_CLIP,\r\n\tIMG_P0_FORCED,\r\n\tIMG_P0_GONE,\r\n\tIMG_P0_MAX\r\n"
            "};\r\n");
  EXPECT_EQ(read_text(out("imgtable.h")),
            "int img_table_page000[3][4] = {\r\n"
            "\t{   -1,    1,    2,    2}, \r\n"
            "\t{    2,    0,   64,   32}, \r\n"
            "\t{    5,    6,    0,    0}, \r\n"
            "};\r\n"
            "const int(*img_axis_index[1])[4] = {\r\n"
            "\t(const int(*)[4])img_table_page000, \r\n"
            "};\r\n");
  const std::vector<std::uint8_t> little = {1,    0,    3, 0,                //
                                            0xFF, 0xFF, 1, 0, 2,  0, 2,  0,  //
                                            2,    0,    0, 0, 64, 0, 32, 0,  //
                                            5,    0,    6, 0, 0,  0, 0,  0};
  EXPECT_EQ(read_bytes(out("imgtable_l.bin")), little);
  const std::vector<std::uint8_t> big = {0,    1,    0, 3,                //
                                         0xFF, 0xFF, 0, 1, 0, 2,  0, 2,   //
                                         0,    2,    0, 0, 0, 64, 0, 32,  //
                                         0,    5,    0, 6, 0, 0,  0, 0};
  EXPECT_EQ(read_bytes(out("imgtable_b.bin")), big);
  // The clipped image shows its top right pixel at (0, 1); the forced one is
  // drawn at its real 2 x 2 size, its left column on the sheet. True-colour
  // pictures add their colours bottom row first (blue before green).
  EXPECT_EQ(read_bytes(out("page000.bmp")), make_bitmap_file(3, 2, 8, {kRed, kBlue, kGreen},
                                                             {0, 0, 2,  //
                                                              1, 0, 1}));
}

TEST_F(OutputRunTest, ImagesInSubfolderAndBaseNameLabels) {
  std::filesystem::create_directories(folder_.path() / "img");
  image("img/logo.bmp", make_bitmap_file(1, 1, 24, {}, {kGreen}));
  project({"OUTPUT_LABEL=1", "OUTPUT_LABEL_FORMAT=%file%_%page%"},
          {{"page001", {"PUTIMAGEWIDTH=1", "PUTIMAGEHEIGHT=1"}, {row("img\\logo.bmp", 0, 0)}}});
  (void)run();
  EXPECT_EQ(read_text(out("imgidx.h")), "enum {\r\n\tlogo_page001,\r\n\tIMG__MAX\r\n};\r\n");
  EXPECT_EQ(read_bytes(out("page001.bmp")), make_bitmap_file(1, 1, 8, {kGreen}, {0}));
}

TEST_F(OutputRunTest, SheetSizeRules) {
  struct Case {
    const char* what;
    std::vector<std::string> project_keys;
    std::vector<std::string> page_keys;
    int width, height, bits;
  };
  const std::vector<Case> cases = {
      {"DefaultSize", {}, {}, 1024, 1024, 8},
      {"OnlyWidthStored", {}, {"PUTIMAGEWIDTH=7", "PUTIMAGEHEIGHT="}, 7, 1024, 8},
      {"ManualSize",
       {},
       {"FIXEDSHEET=1", "SHEETSIZEMANUAL=1", "SHEETWIDTH=5", "SHEETHEIGHT=3", "PUTIMAGEWIDTH=1"},
       5,
       3,
       8},
      {"ManualWide1025",
       {},
       {"FIXEDSHEET=1", "SHEETSIZEMANUAL=1", "SHEETWIDTH=1025", "SHEETHEIGHT=100"},
       1025,
       100,
       24},
      {"ManualLimitedTo32768",
       {},
       {"FIXEDSHEET=1", "SHEETSIZEMANUAL=1", "SHEETWIDTH=40000", "SHEETHEIGHT=10"},
       32768,
       10,
       24},
      {"ManualNeedsAllThreeKeys",
       {},
       {"FIXEDSHEET=1", "SHEETSIZEMANUAL=1", "SHEETWIDTH=5", "PUTIMAGEWIDTH=2", "PUTIMAGEHEIGHT=2"},
       2,
       2,
       8},
      {"ManualOff",
       {},
       {"FIXEDSHEET=1", "SHEETSIZEMANUAL=0", "SHEETWIDTH=5", "SHEETHEIGHT=5", "PUTIMAGEWIDTH=2",
        "PUTIMAGEHEIGHT=2"},
       2,
       2,
       8},
      {"PageLevelNotEnabledFallsToProject",
       {"FIXEDSHEET=1", "SHEETSIZEMANUAL=1", "SHEETWIDTH=6", "SHEETHEIGHT=4"},
       {"FIXEDSHEET=0", "SHEETSIZEMANUAL=1", "SHEETWIDTH=256", "SHEETHEIGHT=256"},
       6,
       4,
       8},
  };
  image("a.bmp", make_bitmap_file(1, 1, 24, {}, {kGreen}));
  for (const Case& c : cases) {
    project(c.project_keys, {{"p", c.page_keys, {row("a.bmp", 0, 0)}}});
    const OutputRunResult result = run();
    EXPECT_TRUE(port_.errors.empty()) << c.what;
    const auto bytes = read_bytes(out("p.bmp"));
    ASSERT_GE(bytes.size(), 54u) << c.what;
    EXPECT_EQ(test::u32_at(bytes, 18), static_cast<std::uint32_t>(c.width)) << c.what;
    EXPECT_EQ(test::u32_at(bytes, 22), static_cast<std::uint32_t>(c.height)) << c.what;
    EXPECT_EQ(test::u16_at(bytes, 28), c.bits) << c.what;
    const std::size_t stride = c.bits == 8 ? (c.width + 3) / 4 * 4 : (3 * c.width + 3) / 4 * 4;
    const std::size_t table = c.bits == 8 ? 8 : 0;  // white and green
    EXPECT_EQ(bytes.size(), 54 + table + stride * c.height) << c.what;
    EXPECT_EQ(test::u32_at(bytes, 2), bytes.size()) << c.what;
  }
}

TEST_F(OutputRunTest, ApplicationLevelGivesSizeAndColour) {
  test::load_project_text(settings_,
                          {"[PROPERTY]", "FIXEDSHEET=1", "SHEETSIZEMANUAL=1", "SHEETWIDTH=2",
                           "SHEETHEIGHT=1", "TRANSPARENTENABLE=1", "TRANSPARENTCOLOR=0,0,255"});
  image("a.bmp", make_bitmap_file(1, 1, 24, {}, {kGreen}));
  // A project level with only two colour items is skipped.
  project({"TRANSPARENTENABLE=1", "TRANSPARENTCOLOR=9,9"}, {{"p", {}, {row("a.bmp", 1, 0)}}});
  (void)run();
  EXPECT_EQ(read_bytes(out("p.bmp")), make_bitmap_file(2, 1, 8, {kBlue, kGreen}, {0, 1}));
}

TEST_F(OutputRunTest, FailingPageLeavesNoTraceAndKeepsPageIndex) {
  image("a.bmp", make_bitmap_file(1, 1, 24, {}, {kGreen}));
  const std::vector<std::string> size = {"PUTIMAGEWIDTH=1", "PUTIMAGEHEIGHT=1"};
  project(with({"OUTPUT_LABEL_PAGENUM=1"}, kAllTables),
          {{"one", with({"PAGELABEL=ONE"}, size), {row("a.bmp", 0, 0, "A")}},
           {"two",
            {"PAGELABEL=TWO", "FIXEDSHEET=1", "SHEETSIZEMANUAL=1", "SHEETWIDTH=", "SHEETHEIGHT=4"},
            {row("a.bmp", 0, 0, "B")}},
           {"three", with({"PAGELABEL=THREE"}, size), {row("a.bmp", 0, 0, "C")}}});
  const OutputRunResult result = run();
  EXPECT_EQ(result.pages_output, 2);
  EXPECT_EQ(result.failed_pages, std::vector<std::string>{"two"});
  ASSERT_EQ(port_.errors.size(), 1u);
  // ページ出力エラー(two), then シートの幅か高さが 0 以下です; ピコネル：出力
  EXPECT_EQ(port_.errors[0].first,
            "\x83\x79\x81\x5b\x83\x57\x8f\x6f\x97\xcd\x83\x47\x83\x89\x81\x5b(two)\n"
            "\x83V\x81[\x83g\x82\xcc\x95\x9d\x82\xa9\x8d\x82\x82\xb3\x82\xaa 0 "
            "\x88\xc8\x89\xba\x82\xc5\x82\xb7");
  EXPECT_EQ(port_.errors[0].second, "\x83\x73\x83\x52\x83\x6c\x83\x8b\x81\x46\x8f\x6f\x97\xcd");
  EXPECT_TRUE(test::exists(out("one.bmp")));
  EXPECT_FALSE(test::exists(out("two.bmp")));
  EXPECT_TRUE(test::exists(out("three.bmp")));
  EXPECT_EQ(read_text(out("imgidx.h")),
            "enum {\r\n\tIMG_ONE_A = 0,\r\n\tIMG_ONE_MAX\r\n};\r\n"
            "enum {\r\n\tIMG_THREE_C = 256,\r\n\tIMG_THREE_MAX\r\n};\r\n");
  EXPECT_EQ(read_text(out("imgtable.h")),
            "int img_table_one[1][4] = {\r\n\t{    0,    0,    1,    1}, \r\n};\r\n"
            "int img_table_three[1][4] = {\r\n\t{    0,    0,    1,    1}, \r\n};\r\n"
            "const int(*img_axis_index[2])[4] = {\r\n"
            "\t(const int(*)[4])img_table_one, \r\n"
            "\t(const int(*)[4])img_table_three, \r\n"
            "};\r\n");
  EXPECT_EQ(read_bytes(out("imgtable_l.bin")),
            (std::vector<std::uint8_t>{2, 0, 1, 0, 0, 0, 0, 0, 1, 0, 1, 0,  //
                                       1, 0, 0, 0, 0, 0, 1, 0, 1, 0}));
  EXPECT_EQ(read_bytes(out("imgtable_b.bin")),
            (std::vector<std::uint8_t>{0, 2, 0, 1, 0, 0, 0, 0, 0, 1, 0, 1,  //
                                       0, 1, 0, 0, 0, 0, 0, 1, 0, 1}));
  EXPECT_EQ(port_.progress, (std::vector<std::pair<int, int>>{{1, 3}, {2, 3}, {3, 3}}));
}

// Pages that must not be written fail alone, with their message: nothing
// of them in the tables, no file anywhere, the pages around them written.
TEST_F(OutputRunTest, UnwritablePagesFailAlone) {
  struct Case {
    std::string name;
    std::size_t rows = 1;
  };
  const Case cases[] = {
      {"..\\escaped"},
      {"../escaped"},
      {"sub\\inner"},
      {"sub/inner"},
      {"."},
      {".."},
      {""},
      {"a*b"},
      {"a:b"},
      {"a\tb"},
      {"\x83"},
      // The binary tables count entries in 16 bits.
      {"many", kMaxPageTableEntries + 1},
  };
  image("a.bmp", make_bitmap_file(1, 1, 24, {}, {kGreen}));
  std::filesystem::create_directories(folder_.path() / "out" / "sub");
  const std::vector<std::string> size = {"PUTIMAGEWIDTH=1", "PUTIMAGEHEIGHT=1"};
  for (const Case& c : cases) {
    project({"OUTPUT_TABLE_LITTLE=1"},
            {{"first", size, {row("a.bmp", 0, 0)}}, {"last", size, {row("a.bmp", 0, 0)}}});
    ASSERT_TRUE(store_.insert_row("PAGELIST", 1, c.name));
    const std::string page_list = "FILELIST:" + c.name;
    for (std::size_t i = 0; i < c.rows; ++i) {
      ASSERT_TRUE(store_.set_string(page_list, std::nullopt, row("a.bmp", 0, 0)));
    }
    ASSERT_TRUE(store_.set_string("PROPERTY:" + c.name, "PUTIMAGEWIDTH", "1"));
    ASSERT_TRUE(store_.set_string("PROPERTY:" + c.name, "PUTIMAGEHEIGHT", "1"));
    port_.errors.clear();
    const OutputRunResult result = run();
    EXPECT_EQ(result.failed_pages, std::vector<std::string>{c.name}) << c.name;
    ASSERT_EQ(port_.errors.size(), 1u) << c.name;
    // ページ出力エラー(NAME), then why: ページ名をファイル名に使えません, or
    // 画像が多すぎます（1ページ 65535 枚まで）.
    const std::string reason =
        c.rows == 1
            ? "\x83y\x81[\x83W\x96\xbc\x82\xf0\x83t\x83@\x83\x43\x83\x8b\x96\xbc\x82\xc9\x8eg"
              "\x82\xa6\x82\xdc\x82\xb9\x82\xf1"
            : "\x89\xe6\x91\x9c\x82\xaa\x91\xbd\x82\xb7\x82\xac\x82\xdc\x82\xb7\x81i1\x83y\x81["
              "\x83W 65535 \x96\x87\x82\xdc\x82\xc5\x81j";
    EXPECT_EQ(port_.errors[0].first,
              "\x83\x79\x81\x5b\x83\x57\x8f\x6f\x97\xcd\x83\x47\x83\x89\x81\x5b(" + c.name + ")\n" +
                  reason);
    EXPECT_EQ(read_bytes(out("imgtable_l.bin")),
              (std::vector<std::uint8_t>{2, 0, 1, 0, 0, 0, 0, 0, 1, 0, 1, 0,  //
                                         1, 0, 0, 0, 0, 0, 1, 0, 1, 0}))
        << c.name;
    std::vector<std::string> files;
    for (const auto& item : std::filesystem::recursive_directory_iterator(folder_.path())) {
      if (!item.is_directory()) {
        files.push_back(std::filesystem::relative(item.path(), folder_.path()).generic_string());
      }
    }
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"a.bmp", "out/first.bmp", "out/imgtable_l.bin",
                                               "out/last.bmp"}))
        << c.name;
  }
}

TEST_F(OutputRunTest, EmptyPageCountedWithoutArray) {
  image("a.bmp", make_bitmap_file(1, 1, 24, {}, {kGreen}));
  project(with({"OUTPUT_LABEL_PAGENUM=1"}, kAllTables),
          {{"blank", {"PUTIMAGEWIDTH=0", "PUTIMAGEHEIGHT=0"}, {}},
           {"full",
            {"PAGELABEL=F", "PUTIMAGEWIDTH=1", "PUTIMAGEHEIGHT=1"},
            {row("a.bmp", 0, 0, "A")}}});
  const OutputRunResult result = run();
  EXPECT_EQ(result.pages_output, 2);
  EXPECT_TRUE(port_.errors.empty());
  EXPECT_FALSE(test::exists(out("blank.bmp")));
  EXPECT_EQ(read_text(out("imgidx.h")), "enum {\r\n\tIMG_F_A = 256,\r\n\tIMG_F_MAX\r\n};\r\n");
  EXPECT_EQ(read_text(out("imgtable.h")),
            "int img_table_full[1][4] = {\r\n\t{    0,    0,    1,    1}, \r\n};\r\n"
            "const int(*img_axis_index[2])[4] = {\r\n"
            "\t(const int(*)[4])0, \r\n"
            "\t(const int(*)[4])img_table_full, \r\n"
            "};\r\n");
  EXPECT_EQ(read_bytes(out("imgtable_l.bin")),
            (std::vector<std::uint8_t>{2, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 1, 0}));
}

TEST_F(OutputRunTest, ProjectWithoutPagesWritesClosingPartsOnly) {
  project(kAllTables, {});
  const OutputRunResult result = run();
  EXPECT_TRUE(result.ran);
  EXPECT_EQ(result.pages_output, 0);
  EXPECT_EQ(read_text(out("imgidx.h")), "");
  EXPECT_TRUE(test::exists(out("imgidx.h")));
  EXPECT_EQ(read_text(out("imgtable.h")), "const int(*img_axis_index[0])[4] = {\r\n};\r\n");
  EXPECT_EQ(read_bytes(out("imgtable_l.bin")), (std::vector<std::uint8_t>{0, 0}));
  EXPECT_EQ(read_bytes(out("imgtable_b.bin")), (std::vector<std::uint8_t>{0, 0}));
}

TEST_F(OutputRunTest, OutputBmpSwitch) {
  image("a.bmp", make_bitmap_file(1, 1, 24, {}, {kGreen}));
  const PageSpec page{"p", {"PUTIMAGEWIDTH=1", "PUTIMAGEHEIGHT=1"}, {row("a.bmp", 0, 0)}};
  project({"OUTPUT_BMP=0"}, {page});
  (void)run();
  EXPECT_FALSE(test::exists(out("p.bmp")));
  project({}, {page});
  (void)run();
  EXPECT_TRUE(test::exists(out("p.bmp")));
  // Only the bitmap: no table switch keys.
  EXPECT_FALSE(test::exists(out("imgidx.h")));
  EXPECT_FALSE(test::exists(out("imgtable.h")));
  EXPECT_FALSE(test::exists(out("imgtable_l.bin")));
  EXPECT_FALSE(test::exists(out("imgtable_b.bin")));
}

TEST_F(OutputRunTest, LabelTemplateCutTo259Bytes) {
  image("a.bmp", make_bitmap_file(1, 1, 24, {}, {kGreen}));
  // 86 unknown keys (258 bytes, giving nothing), then "ABC": only the "A"
  // lies within the 259 bytes of the template buffer.
  std::string label_template;
  for (int i = 0; i < 86; ++i) {
    label_template += "%Q%";
  }
  project({"OUTPUT_LABEL=1", "OUTPUT_LABEL_FORMAT=" + label_template + "ABC"},
          {{"p", {"PAGELABEL=P", "PUTIMAGEWIDTH=1", "PUTIMAGEHEIGHT=1"}, {row("a.bmp", 0, 0)}}});
  (void)run();
  EXPECT_EQ(read_text(out("imgidx.h")), "enum {\r\n\tA,\r\n\tIMG_P_MAX\r\n};\r\n");
}

TEST_F(OutputRunTest, TablesWithoutBitmapsStillMeasureImages) {
  image("a.bmp", make_bitmap_file(3, 2, 24, {}, {0, 0, 0, 0, 0, 0}));
  project({"OUTPUT_BMP=0", "OUTPUT_TABLE_LITTLE=1"},
          {{"p", {"PUTIMAGEWIDTH=0", "PUTIMAGEHEIGHT=1"}, {row("a.bmp", 0, 0)}}});
  (void)run();
  // Width 0: the page fails even without a bitmap.
  EXPECT_EQ(read_bytes(out("imgtable_l.bin")), (std::vector<std::uint8_t>{0, 0}));
  project({"OUTPUT_BMP=0", "OUTPUT_TABLE_LITTLE=1"},
          {{"p", {"PUTIMAGEWIDTH=1", "PUTIMAGEHEIGHT=1"}, {row("a.bmp", 0, 0)}}});
  (void)run();
  EXPECT_EQ(read_bytes(out("imgtable_l.bin")),
            (std::vector<std::uint8_t>{1, 0, 1, 0, 0, 0, 0, 0, 3, 0, 2, 0}));
}

TEST_F(OutputRunTest, PageNumbersOn256Entries) {
  std::vector<std::string> rows;
  for (int i = 0; i < 256; ++i) {
    rows.push_back(row("none.bmp", 0, 0, std::string("E") += std::to_string(i)));
  }
  project(
      {"OUTPUT_LABEL=1", "OUTPUT_LABEL_PAGENUM=1", "OUTPUT_BMP=0"},
      {{"a", {"PAGELABEL=A", "PUTIMAGEWIDTH=1", "PUTIMAGEHEIGHT=1"}, rows},
       {"b", {"PAGELABEL=B", "PUTIMAGEWIDTH=1", "PUTIMAGEHEIGHT=1"}, {row("x.bmp", 0, 0, "F")}}});
  (void)run();
  const std::string text = read_text(out("imgidx.h"));
  EXPECT_NE(text.find("\tIMG_A_E0 = 0,\r\n\tIMG_A_E1,\r\n"), std::string::npos);
  EXPECT_NE(text.find("\tIMG_A_E255,\r\n\tIMG_A_MAX\r\n};\r\nenum {\r\n\tIMG_B_F = 256,\r\n"),
            std::string::npos);
}

class OutputFolderTest : public OutputRunTest {
 protected:
  void SetUp() override { image("a.bmp", make_bitmap_file(1, 1, 24, {}, {kGreen})); }
  std::vector<PageSpec> one_page() const {
    return {{"p", {"PUTIMAGEWIDTH=1", "PUTIMAGEHEIGHT=1"}, {row("a.bmp", 0, 0)}}};
  }
};

TEST_F(OutputFolderTest, RelativeOutputDirTakenFromProjectFolder) {
  std::filesystem::create_directories(folder_.path() / "dist");
  project({"OUTPUTENABLE=1", "OUTPUTDIR=dist"}, one_page());
  const OutputRunResult result = run(false);
  EXPECT_EQ(result.output_folder, folder_.folder() + "dist");
  EXPECT_TRUE(test::exists(folder_.file("dist") + "/p.bmp"));
  EXPECT_TRUE(port_.preselected.empty());
}

TEST_F(OutputFolderTest, MissingOutputDirIsMadeWithItsParents) {
  project(with({"OUTPUTENABLE=1", "OUTPUTDIR=build\\sheets"}, kAllTables), one_page());
  const OutputRunResult result = run(false);
  EXPECT_TRUE(result.ran);
  EXPECT_TRUE(port_.errors.empty());
  EXPECT_EQ(result.output_folder, folder_.folder() + "build\\sheets");
  for (const char* name : {"p.bmp", "imgidx.h", "imgtable.h", "imgtable_l.bin", "imgtable_b.bin"}) {
    EXPECT_TRUE(test::exists(folder_.file("build") + "/sheets/" + name)) << name;
    // Never beside the project instead, where a sprite may have the name.
    EXPECT_FALSE(test::exists(folder_.file(name))) << name;
  }
}

// An output folder that cannot be made (a file holds its name or its
// parent's) ends the run before anything is written, with a message naming
// the folder and the system's reason; whether it came from OUTPUTDIR, the
// folder selection or the command line's folder.
TEST_F(OutputFolderTest, FolderThatCannotBeMadeEndsTheRunWritingNothing) {
  test::write_bytes(folder_.file("taken"), {'x'});
  struct Case {
    const char* what;
    std::vector<std::string> keys;
    std::optional<std::string> answer;     // the folder selection's choice
    std::optional<std::string> explicit_;  // --out
    std::string folder;                    // as the message names it
  };
  const std::string base = folder_.folder();
  const Case cases[] = {
      {"OutputDirIsAFile", {"OUTPUTENABLE=1", "OUTPUTDIR=taken"}, {}, {}, base + "taken"},
      {"ParentIsAFile", {"OUTPUTENABLE=1", "OUTPUTDIR=taken\\sub"}, {}, {}, base + "taken\\sub"},
      {"ChosenFolderIsAFile", {"OUTPUTENABLE=0"}, base + "taken", {}, base + "taken"},
      {"ExplicitFolderIsAFile", {}, {}, base + "taken", base + "taken"},
  };
  for (const Case& c : cases) {
    project(with(c.keys, kAllTables), one_page());
    port_.errors.clear();
    port_.folder_answer = c.answer;
    OutputRunRequest request;
    request.project = &store_;
    request.settings = &settings_;
    project_path_ = folder_.file("game.ijp");
    request.project_path = project_path_;
    request.project_folder = base;
    request.output_folder = c.explicit_;
    request.port = &port_;
    const OutputRunResult result = run_output(request);
    EXPECT_FALSE(result.ran) << c.what;
    ASSERT_EQ(port_.errors.size(), 1u) << c.what;
    // 出力フォルダを作成できません: FOLDER, then the reason.
    const std::string heading =
        "\x8f\x6f\x97\xcd\x83\x74\x83\x48\x83\x8b\x83\x5f\x82\xf0\x8d\xec\x90\xac\x82\xc5\x82"
        "\xab\x82\xdc\x82\xb9\x82\xf1: " +
        c.folder + "\n";
    const std::string& text = port_.errors[0].first;
    EXPECT_EQ(text.substr(0, heading.size()), heading) << c.what;
    EXPECT_GT(text.size(), heading.size()) << c.what;
    EXPECT_EQ(text.find(std::string(kUnknownFileError)), std::string::npos) << c.what;
    EXPECT_EQ(port_.errors[0].second, kOutputCaption) << c.what;
    std::vector<std::string> files;
    for (const auto& item : std::filesystem::recursive_directory_iterator(folder_.path())) {
      files.push_back(std::filesystem::relative(item.path(), folder_.path()).generic_string());
    }
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"a.bmp", "taken"})) << c.what;
  }
}

// A table file or page bitmap that cannot be written (a folder holds its
// name) is reported with its path and the system's reason; the rest of the
// run goes on.
TEST_F(OutputFolderTest, UnwritableFilesReportedWithTheirReason) {
  std::filesystem::create_directories(folder_.path() / "out" / "imgidx.h");
  std::filesystem::create_directories(folder_.path() / "out" / "p.bmp");
  project(kAllTables,
          {one_page()[0], {"q", {"PUTIMAGEWIDTH=1", "PUTIMAGEHEIGHT=1"}, {row("a.bmp", 0, 0)}}});
  const OutputRunResult result = run();
  EXPECT_TRUE(result.ran);
  EXPECT_EQ(result.failed_pages, std::vector<std::string>{"p"});
  EXPECT_EQ(result.failed_files, std::vector<std::string>{"imgidx.h"});
  ASSERT_EQ(port_.errors.size(), 2u);
  struct Expected {
    std::string heading;  // the first line and the file on the second
  };
  const Expected expected[] = {
      // ページ出力エラー(p)
      {"\x83\x79\x81\x5b\x83\x57\x8f\x6f\x97\xcd\x83\x47\x83\x89\x81\x5b(p)\n" + out("p.bmp") +
       ": "},
      // ファイル出力エラー(imgidx.h)
      {"\x83\x74\x83\x40\x83\x43\x83\x8b\x8f\x6f\x97\xcd\x83\x47\x83\x89\x81\x5b(imgidx.h)\n" +
       out("imgidx.h") + ": "},
  };
  for (std::size_t i = 0; i < 2; ++i) {
    const std::string& text = port_.errors[i].first;
    EXPECT_EQ(text.substr(0, expected[i].heading.size()), expected[i].heading) << text;
    // The system's own reason, not the text for a failure without one.
    EXPECT_GT(text.size(), expected[i].heading.size()) << text;
    EXPECT_EQ(text.find(std::string(kUnknownFileError)), std::string::npos) << text;
  }
  EXPECT_TRUE(test::exists(out("q.bmp")));
  EXPECT_TRUE(test::exists(out("imgtable.h")));
  EXPECT_EQ(read_bytes(out("imgtable_l.bin")),
            (std::vector<std::uint8_t>{1, 0, 1, 0, 0, 0, 0, 0, 1, 0, 1, 0}));
}

TEST_F(OutputFolderTest, OutputDirCutTo259Bytes) {
  // The setting is read into a path buffer of 260 bytes: "dist" and 255
  // separators remain, an existing folder, while the whole value is none.
  std::filesystem::create_directories(folder_.path() / "dist");
  const std::string kept = "dist" + std::string(255, '/');
  project({"OUTPUTENABLE=1", "OUTPUTDIR=" + kept + "zz"}, one_page());
  const OutputRunResult result = run(false);
  EXPECT_EQ(result.output_folder, folder_.folder() + kept);
  EXPECT_TRUE(test::exists(folder_.file("dist") + "/p.bmp"));
}

TEST_F(OutputFolderTest, EmptyOutputDirIsProjectFolder) {
  project({"OUTPUTENABLE=1", "OUTPUTDIR="}, one_page());
  EXPECT_EQ(run(false).output_folder, folder_.folder());
  EXPECT_TRUE(test::exists(folder_.file("p.bmp")));
}

TEST_F(OutputFolderTest, AbsoluteOutputDirUsedAsItIs) {
  test::ScratchFolder other;
  project({"OUTPUTENABLE=1", "OUTPUTDIR=" + other.path().string()}, one_page());
  EXPECT_EQ(run(false).output_folder, other.path().string());
  EXPECT_TRUE(test::exists(other.file("p.bmp")));
}

TEST_F(OutputFolderTest, DisabledAsksStartingAtProjectFolder) {
  test::ScratchFolder other;
  port_.folder_answer = other.path().string();
  project({"OUTPUTDIR=ignored"}, one_page());
  const OutputRunResult result = run(false);
  EXPECT_EQ(port_.preselected, std::vector<std::string>{folder_.folder()});
  EXPECT_TRUE(result.ran);
  EXPECT_TRUE(test::exists(other.file("p.bmp")));
}

TEST_F(OutputFolderTest, CancelledSelectionWritesNothing) {
  project(with({"OUTPUTENABLE=0"}, kAllTables), one_page());
  const OutputRunResult result = run(false);
  EXPECT_FALSE(result.ran);
  EXPECT_EQ(port_.preselected.size(), 1u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.path() / "out"),
                          std::filesystem::directory_iterator()),
            0);
  EXPECT_FALSE(test::exists(folder_.file("p.bmp")));
  EXPECT_FALSE(test::exists(folder_.file("imgidx.h")));
}

TEST(OutputRun, NoProjectDoesNothing) {
  test::RecordingPort port;
  OutputRunRequest request;
  request.port = &port;
  EXPECT_FALSE(run_output(request).ran);
}

TEST(MakeOutputFolder, Rules) {
  test::ScratchFolder folder;
  std::filesystem::create_directories(folder.path() / "out");
  test::write_bytes(folder.file("file"), {'x'});
  struct Case {
    std::string folder;
    bool made;
  };
  const Case cases[] = {
      {folder.folder() + "out", true},
      {folder.folder() + "gone\\deeper\\", true},
      {"", true},  // the current directory
      {folder.folder() + "file", false},
      {folder.folder() + "file\\sub", false},
  };
  for (const Case& c : cases) {
    int error = -1;
    EXPECT_EQ(make_output_folder(c.folder, error), c.made) << c.folder;
    EXPECT_EQ(error != 0, !c.made) << c.folder;
  }
  EXPECT_TRUE(is_directory(folder.folder() + "gone\\deeper"));
}

TEST(ResolveOutputDir, RootRelativeOutputDirTakesTheProjectDrive) {
  struct Case {
    const char* output_dir;
    const char* project_base;
    const char* expected;
  };
  const Case cases[] = {
      // Entered from the project's folder, "\\out" is the root of its drive.
      {"\\out", "D:\\proj\\", "D:\\out"},
      {"\\out\\x", "\\\\srv\\share\\proj\\", "\\\\srv\\share\\out\\x"},
      {"\\out", "", "\\out"},
      {"/out", "/home/proj/", "/out"},
      {"\\\\srv\\share\\out", "D:\\proj\\", "\\\\srv\\share\\out"},
      {"C:\\out", "D:\\proj\\", "C:\\out"},
      {"out", "D:\\proj\\", "D:\\proj\\out"},
      {"", "D:\\proj\\", "D:\\proj\\"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(resolve_output_dir(c.output_dir, c.project_base), c.expected) << c.output_dir;
  }
}

}  // namespace
}  // namespace piconel
