// The PNG sheets and the JSON sprite data of the output run: the PNG holds
// exactly the bitmap's pixels (every depth, with and without transparency),
// the JSON the same coordinates as the binary table of the same run, and a
// PNG or JSON that cannot be written fails its page as a bitmap does.

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "image/bitmap_reader.h"
#include "image/png_decoder.h"
#include "output/output_fixture.h"
#include "output/output_run.h"
#include "output/project_output.h"
#include "output/sheet_png.h"
#include "project/project_file.h"
#include "project/project_keys.h"

namespace piconel {
namespace {

using test::make_bitmap_file;
using test::read_bytes;

constexpr std::uint32_t kRed = 0xFF0000;  // 0x00RRGGBB
constexpr std::uint32_t kGreen = 0x00FF00;
constexpr std::uint32_t kBlue = 0x0000FF;

class PngJsonOutputTest : public ::testing::Test {
 protected:
  // One project: `properties` in PROPERTY, pages given as (name, rows),
  // each page 8 x 4 unless its rows say more through `sheet`.
  void project(const std::vector<std::string>& properties,
               const std::vector<std::pair<std::string, std::vector<std::string>>>& pages,
               const std::string& sheet = "PUTIMAGEWIDTH=8\r\nPUTIMAGEHEIGHT=4") {
    std::string text = "[PAGELIST]\r\n";
    for (const auto& page : pages) {
      text += page.first + "\r\n";
    }
    text += "[PROPERTY]\r\nTRANSPARENTENABLE=1\r\nTRANSPARENTCOLOR=255,0,255\r\n";
    for (const std::string& line : properties) {
      text += line + "\r\n";
    }
    for (const auto& [name, rows] : pages) {
      text += "[PROPERTY:" + name + "]\r\nPAGELABEL=" + name + "\r\n" + sheet + "\r\n";
      text += "[FILELIST:" + name + "]\r\n";
      for (const std::string& row : rows) {
        text += row + "\r\n";
      }
    }
    std::vector<std::string> lines;
    std::size_t at = 0;
    for (std::size_t end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2) {
      lines.push_back(text.substr(at, end - at));
    }
    test::load_project_text(store_, lines);
  }

  OutputRunResult run(bool if_changed = false) {
    std::filesystem::create_directories(folder_.path() / "out");
    OutputRunRequest request;
    request.project = &store_;
    request.settings = &settings_;
    project_path_ = folder_.file("game.ijp");
    request.project_path = project_path_;
    project_folder_ = folder_.folder();
    request.project_folder = project_folder_;
    request.output_folder = folder_.file("out");
    request.port = &port_;
    request.if_changed = if_changed;
    return run_output(request);
  }

  void image(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    test::write_bytes(folder_.file(name), bytes);
  }
  std::string out(const std::string& name) const { return folder_.file("out") + "/" + name; }

  test::ScratchFolder folder_;
  DocumentStore store_;
  DocumentStore settings_;
  test::RecordingPort port_;
  std::string project_path_;
  std::string project_folder_;
};

// The data of the PNG's chunk `type`, or none.
std::optional<std::vector<std::uint8_t>> chunk(const std::vector<std::uint8_t>& png,
                                               const std::string& type) {
  for (std::size_t at = 8; at + 12 <= png.size();) {
    const std::size_t length = static_cast<std::size_t>(png[at]) << 24 | png[at + 1] << 16 |
                               png[at + 2] << 8 | png[at + 3];
    if (std::string(png.begin() + static_cast<std::ptrdiff_t>(at + 4),
                    png.begin() + static_cast<std::ptrdiff_t>(at + 8)) == type) {
      return std::vector<std::uint8_t>(png.begin() + static_cast<std::ptrdiff_t>(at + 8),
                                       png.begin() + static_cast<std::ptrdiff_t>(at + 8 + length));
    }
    at += 12 + length;
  }
  return std::nullopt;
}

// Same size, same colour at every pixel and, for a palette page, the same
// index with the PNG's palette the start of the bitmap's colour table.
void expect_same_pixels(const std::string& bmp_path, const std::string& png_path) {
  const BitmapReadResult bmp = read_bitmap_file(read_bytes(bmp_path));
  const PngDecodeResult png = decode_png(read_bytes(png_path));
  ASSERT_TRUE(bmp.ok() && png.ok()) << png_path;
  ASSERT_EQ(png.dib.width, bmp.dib.width);
  ASSERT_EQ(png.dib.height, bmp.dib.height);
  const bool indexed = bmp.dib.bits_per_pixel == 8;
  EXPECT_EQ(png.dib.bits_per_pixel <= 8, indexed);
  if (indexed) {
    ASSERT_LE(png.dib.colour_table.size(), bmp.dib.colour_table.size());
    EXPECT_TRUE(std::equal(png.dib.colour_table.begin(), png.dib.colour_table.end(),
                           bmp.dib.colour_table.begin()));
  }
  for (std::int32_t y = 0; y < bmp.dib.height; ++y) {
    for (std::int32_t x = 0; x < bmp.dib.width; ++x) {
      ASSERT_EQ(png.dib.pixel(x, y), bmp.dib.pixel(x, y)) << x << "," << y;
      if (indexed) {
        ASSERT_EQ(png.dib.palette_index(x, y), bmp.dib.palette_index(x, y)) << x << "," << y;
      }
    }
  }
}

// 0x00RRGGBB pixels of a w x h picture, a different colour for each (none
// the background's).
std::vector<std::uint32_t> many_colours(int w, int h) {
  std::vector<std::uint32_t> pixels;
  for (int i = 0; i < w * h; ++i) {
    pixels.push_back(static_cast<std::uint32_t>(i + 1));
  }
  return pixels;
}

TEST_F(PngJsonOutputTest, PngHoldsTheBitmapPixelsAtEveryDepth) {
  struct Case {
    const char* what;
    std::vector<std::uint8_t> picture;
    int png_bits;  // bits per pixel of the PNG's IHDR
    int palette;   // PLTE entries (0: RGB)
  };
  const Case cases[] = {
      // Background and one colour: 1 bit.
      {"two colours", make_bitmap_file(2, 1, 24, {}, {kRed, kRed}), 1, 2},
      {"three colours", make_bitmap_file(2, 1, 24, {}, {kRed, kGreen}), 2, 3},
      {"five colours", make_bitmap_file(4, 1, 8, {kRed, kGreen, kBlue, 0x123456}, {0, 1, 2, 3}), 4,
       5},
      {"seventeen colours", make_bitmap_file(8, 2, 24, {}, many_colours(8, 2)), 8, 17},
      // The picture covers the sheet: the table has no background entry.
      {"covered", make_bitmap_file(8, 4, 24, {}, std::vector<std::uint32_t>(32, kBlue)), 1, 1},
      // More than 256 colours: 24 bits.
      {"true colour", make_bitmap_file(17, 16, 24, {}, many_colours(17, 16)), 8, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    image("a.bmp", c.picture);
    project({"OUTPUT_PNG=1"}, {{"p", {"a.bmp\t0\t0"}}});
    const OutputRunResult result = run();
    ASSERT_TRUE(result.failed_pages.empty());
    expect_same_pixels(out("p.bmp"), out("p.png"));
    const std::vector<std::uint8_t> png = read_bytes(out("p.png"));
    const auto header = chunk(png, "IHDR");
    ASSERT_TRUE(header);
    EXPECT_EQ((*header)[8], c.png_bits);
    EXPECT_EQ((*header)[9], c.palette > 0 ? 3 : 2);  // palette / RGB
    const auto palette = chunk(png, "PLTE");
    EXPECT_EQ(palette ? palette->size() / 3 : 0u, static_cast<std::size_t>(c.palette));
    EXPECT_FALSE(chunk(png, "tRNS"));
  }
}

TEST_F(PngJsonOutputTest, TransparencySwitchMakesTheBackgroundClear) {
  struct Case {
    const char* what;
    std::vector<std::uint8_t> picture;
    std::vector<std::uint8_t> trns;  // empty: no tRNS chunk
  };
  const Case cases[] = {
      // The background is palette entry 0: one alpha entry.
      {"palette", make_bitmap_file(2, 1, 24, {}, {kRed, kGreen}), {0}},
      // No background pixel left: no entry is clear.
      {"covered", make_bitmap_file(8, 4, 24, {}, std::vector<std::uint32_t>(32, kBlue)), {}},
      // RGB: the background colour as three 16-bit samples (255, 0, 255).
      {"true colour",
       make_bitmap_file(17, 16, 24, {}, many_colours(17, 16)),
       {0, 255, 0, 0, 0, 255}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    image("a.bmp", c.picture);
    project({"OUTPUT_PNG=1", "OUTPUT_PNG_TRANSPARENT=1"}, {{"p", {"a.bmp\t0\t0"}}});
    ASSERT_TRUE(run().failed_pages.empty());
    expect_same_pixels(out("p.bmp"), out("p.png"));
    const auto trns = chunk(read_bytes(out("p.png")), "tRNS");
    EXPECT_EQ(trns.value_or(std::vector<std::uint8_t>{}), c.trns);
    EXPECT_EQ(trns.has_value(), !c.trns.empty());
  }
}

TEST_F(PngJsonOutputTest, PngInsteadOfTheBitmapAndNothingNewByDefault) {
  image("a.bmp", make_bitmap_file(2, 1, 24, {}, {kRed, kGreen}));
  project({}, {{"p", {"a.bmp\t0\t0"}}});
  ASSERT_TRUE(run().failed_pages.empty());
  EXPECT_TRUE(test::exists(out("p.bmp")));
  EXPECT_FALSE(test::exists(out("p.png")));
  EXPECT_FALSE(test::exists(out("p.json")));
  const std::vector<std::uint8_t> bitmap = read_bytes(out("p.bmp"));
  std::filesystem::remove(out("p.bmp"));

  project({"OUTPUT_BMP=0", "OUTPUT_PNG=1", "OUTPUT_JSON=1"}, {{"p", {"a.bmp\t0\t0"}}});
  ASSERT_TRUE(run().failed_pages.empty());
  EXPECT_FALSE(test::exists(out("p.bmp")));
  test::write_bytes(out("p.bmp"), bitmap);
  expect_same_pixels(out("p.bmp"), out("p.png"));
  const auto json = nlohmann::json::parse(test::read_text(out("p.json")), nullptr, false);
  ASSERT_FALSE(json.is_discarded());
  EXPECT_EQ(json["meta"]["image"], "p.png");
}

TEST_F(PngJsonOutputTest, UnwritablePngOrJsonFailsItsPage) {
  image("a.bmp", make_bitmap_file(1, 1, 24, {}, {kGreen}));
  // ページ出力エラー(bad)
  const std::string message =
      "\x83\x79\x81\x5b\x83\x57\x8f\x6f\x97\xcd\x83\x47\x83\x89\x81\x5b(bad)";
  for (const char* blocked : {"bad.png", "bad.json"}) {
    SCOPED_TRACE(blocked);
    std::filesystem::remove_all(folder_.path() / "out");
    // A folder of the file's name: the file cannot be written.
    std::filesystem::create_directories(folder_.path() / "out" / blocked);
    project({"OUTPUT_PNG=1", "OUTPUT_JSON=1", "OUTPUT_TABLE_LITTLE=1"},
            {{"good", {"a.bmp\t0\t0"}}, {"bad", {"a.bmp\t0\t0"}}});
    port_.errors.clear();
    const OutputRunResult result = run();
    EXPECT_EQ(result.failed_pages, std::vector<std::string>{"bad"});
    ASSERT_EQ(port_.errors.size(), 1u);
    // The page's line, then the file that could not be written and why.
    const std::string& shown = port_.errors[0].first;
    EXPECT_EQ(shown.substr(0, shown.find('\n')), message);
    EXPECT_NE(shown.find(std::string("out\\") + blocked), std::string::npos) << shown;
    // Only the good page is counted in the table.
    EXPECT_EQ(read_bytes(out("imgtable_l.bin")),
              (std::vector<std::uint8_t>{1, 0, 1, 0, 0, 0, 0, 0, 1, 0, 1, 0}));
    EXPECT_TRUE(test::exists(out("good.png")));
    EXPECT_TRUE(test::exists(out("good.json")));
  }
}

// Little-endian 16-bit fields of the binary table, signed.
std::vector<int> table_fields(const std::vector<std::uint8_t>& bytes) {
  std::vector<int> fields;
  for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
    fields.push_back(static_cast<std::int16_t>(bytes[at] | bytes[at + 1] << 8));
  }
  return fields;
}

TEST_F(PngJsonOutputTest, JsonFramesAreTheBinaryTableOfTheSameRun) {
  image("a.bmp", make_bitmap_file(2, 1, 24, {}, {kRed, kGreen}));
  image("b.bmp", make_bitmap_file(3, 2, 24, {}, many_colours(3, 2)));
  struct Case {
    const char* what;
    std::vector<std::string> properties;
    std::vector<std::string> names_of_first_page;
  };
  const Case cases[] = {
      // Labels: the imgidx.h text; a name met twice gets "#<index>".
      {"labels",
       {"OUTPUT_LABEL=1", "OUTPUT_LABEL_FORMAT=%PAGE%_%FILE%"},
       {"one_A", "one_B", "one_A#2", "one_\xE3\x82\xBD\xE3\x83\xBC\xE3\x83\x89", "one_"}},
      // No label header: the image's file name.
      {"file names", {}, {"a.bmp", "b.bmp", "a.bmp#2", "missing.bmp", "b.bmp#4"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::string> properties = c.properties;
    properties.insert(properties.end(), {"OUTPUT_JSON=1", "OUTPUT_TABLE_LITTLE=1"});
    // ソード (0x83 0x5C: the second byte is a backslash) as a label.
    project(properties,
            {{"one",
              {"a.bmp\t0\t0\tA", "b.bmp\t2\t1\tB", "a.bmp\t5\t3\tA",
               "missing.bmp\t1\t1\t\x83\x5c\x81\x5b\x83\x68", "b.bmp\t-2\t7\t\t1\t64\t32"}},
             {"two", {"b.bmp\t4\t0\tC"}}});
    ASSERT_TRUE(run().failed_pages.empty());
    const std::vector<int> table = table_fields(read_bytes(out("imgtable_l.bin")));
    ASSERT_EQ(table[0], 2);
    std::size_t at = 1;
    for (const char* page : {"one", "two"}) {
      const std::string text = test::read_text(out(std::string(page) + ".json"));
      const auto json = nlohmann::ordered_json::parse(text, nullptr, false);
      ASSERT_FALSE(json.is_discarded()) << page;
      const auto& frames = json["frames"];
      ASSERT_EQ(static_cast<int>(frames.size()), table[at++]) << page;
      int index = 0;
      std::vector<std::string> names;
      for (const auto& [name, frame] : frames.items()) {
        names.push_back(name);
        EXPECT_EQ(frame["index"], index++);
        const int x = table[at++], y = table[at++], w = table[at++], h = table[at++];
        EXPECT_EQ(frame["frame"], (nlohmann::ordered_json{{"x", x}, {"y", y}, {"w", w}, {"h", h}}));
        EXPECT_EQ(frame["spriteSourceSize"],
                  (nlohmann::ordered_json{{"x", 0}, {"y", 0}, {"w", w}, {"h", h}}));
        EXPECT_EQ(frame["sourceSize"], (nlohmann::ordered_json{{"w", w}, {"h", h}}));
        EXPECT_EQ(frame["rotated"], false);
        EXPECT_EQ(frame["trimmed"], false);
      }
      if (std::string(page) == "one") {
        EXPECT_EQ(names, c.names_of_first_page);
      }
      EXPECT_EQ(json["meta"],
                (nlohmann::ordered_json{{"app", "\xE3\x83\x94\xE3\x82\xB3\xE3\x83\x8D\xE3\x83\xAB"},
                                        {"version", "1.0.8"},
                                        {"image", std::string(page) + ".bmp"},
                                        {"format", "RGB888"},
                                        {"size", {{"w", 8}, {"h", 4}}},
                                        {"scale", "1"}}))
          << page;
      // Keys in the order written; two-space indentation, LF line ends.
      EXPECT_EQ(text.rfind("{\n  \"frames\": {\n    \"" + names[0] + "\": {\n", 0), 0u);
      EXPECT_EQ(text.find('\r'), std::string::npos);
    }
    EXPECT_EQ(at, table.size());
  }
}

TEST(SheetPng, IndexBeyondTheColourTableIsRefused) {
  // Two rows of 3 indices (stride 4), bottom row first; the table has two
  // entries, so index 2 names none.
  const std::vector<std::uint8_t> rows = {0, 1, 0, 0, 1, 2, 1, 0};
  const PaletteEntry table[2] = {{255, 0, 0, 0}, {0, 255, 0, 0}};
  SheetPixels pixels;
  pixels.width = 3;
  pixels.height = 2;
  pixels.bits_per_pixel = 8;
  pixels.colour_table = table;
  pixels.rows = rows;
  pixels.stride = 4;
  EXPECT_FALSE(encode_sheet_png(pixels, std::nullopt));
  // Within the table it is written, at 1 bit, and the same bytes each time.
  const std::vector<std::uint8_t> fitting = {0, 1, 0, 0, 1, 1, 1, 0};
  pixels.rows = fitting;
  const auto once = encode_sheet_png(pixels, std::nullopt);
  ASSERT_TRUE(once);
  EXPECT_EQ(encode_sheet_png(pixels, std::nullopt), once);
  EXPECT_EQ((*chunk(*once, "IHDR"))[8], 1);
}

// The demo's golden PNGs, read with libpng, hold their golden bitmaps' pixels.
TEST(GoldenPng, EveryPageDecodesToItsBitmap) {
  const std::string golden = std::string(PICONEL_SOURCE_DIR) + "/tests/cli/golden/";
  for (const char* variant : {"demo/", "demo-transparent/"}) {
    for (const char* page : {"page000", "page001"}) {
      SCOPED_TRACE(std::string(variant) + page);
      expect_same_pixels(golden + "demo/" + page + ".bmp", golden + variant + page + ".png");
    }
  }
}

// The window's output command on the demo, switches set as the dialog sets
// them: byte for byte the golden files the command line wrote on Linux, so
// the Windows build (this test runs under Wine too) writes the same files.
TEST(GoldenPng, WindowOutputOfTheDemoIsTheGoldenFiles) {
  const std::string golden = std::string(PICONEL_SOURCE_DIR) + "/tests/cli/golden/";
  for (const bool transparent : {false, true}) {
    SCOPED_TRACE(transparent);
    DocumentStore settings;
    Project project(ProjectPorts{}, &settings);
    ASSERT_EQ(open_project(project, std::string(PICONEL_SOURCE_DIR) + "/examples/demo/demo.ijp"),
              OpenResult::Opened);
    for (const std::string_view key : {kOutputPngKey, kOutputJsonKey}) {
      ASSERT_TRUE(project.store->set_string(kPropertySection, key, "1"));
    }
    ASSERT_TRUE(project.store->set_string(kPropertySection, kOutputPngTransparentKey,
                                          transparent ? "1" : "0"));
    test::ScratchFolder folder;
    test::RecordingPort port;
    const OutputRunResult result = run_project_output(project, nullptr, port, folder.folder());
    EXPECT_EQ(result.pages_output, 2);
    const std::string expected = golden + (transparent ? "demo-transparent/" : "demo/");
    for (const char* name : {"page000.png", "page001.png", "page000.json", "page001.json"}) {
      EXPECT_EQ(read_bytes(folder.file(name)), read_bytes(expected + name)) << name;
    }
    for (const char* name : {"page000.bmp", "page001.bmp", "imgtable_l.bin"}) {
      EXPECT_EQ(read_bytes(folder.file(name)), read_bytes(golden + "demo/" + name)) << name;
    }
  }
}

}  // namespace
}  // namespace piconel
