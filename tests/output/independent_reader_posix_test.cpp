// The page bitmaps read back by an independent reader (ImageMagick) and
// compared pixel for pixel with the expected composition. Linux only (the
// tools run on the host); skipped where ImageMagick is not installed.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "output/output_fixture.h"
#include "output/output_run.h"

namespace piconel {
namespace {

using test::make_bitmap_file;

std::string find_tool(const char* name) {
  for (const std::string& candidate :
       {std::string("/usr/bin/") + name + "-im6.q16", std::string("/usr/bin/") + name}) {
    if (std::filesystem::exists(candidate)) {
      return candidate;
    }
  }
  return {};
}

// Runs a command, returning what it wrote to stdout and stderr.
std::string run_tool(const std::string& command, const std::string& capture) {
  const std::string full = command + " >" + capture + " 2>&1";
  (void)std::system(full.c_str());
  return test::read_text(capture);
}

// Expected sheet: rows of 0x00RRGGBB from the top.
struct Sheet {
  int width, height;
  std::vector<std::uint32_t> pixels;
  void paste(int x, int y, int w, int h, const std::vector<std::uint32_t>& colours,
             std::uint32_t transparent, std::uint32_t background) {
    for (int py = 0; py < h; ++py) {
      for (int px = 0; px < w; ++px) {
        const int sx = x + px;
        const int sy = y + py;
        if (sx < 0 || sy < 0 || sx >= width || sy >= height) {
          continue;
        }
        const std::uint32_t c = colours[static_cast<std::size_t>(py) * w + px];
        pixels[static_cast<std::size_t>(sy) * width + sx] = c == transparent ? background : c;
      }
    }
  }
  void write_ppm(const std::string& path) const {
    std::vector<std::uint8_t> bytes;
    const std::string header =
        "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    bytes.assign(header.begin(), header.end());
    for (std::uint32_t c : pixels) {
      bytes.push_back(static_cast<std::uint8_t>(c >> 16));
      bytes.push_back(static_cast<std::uint8_t>(c >> 8));
      bytes.push_back(static_cast<std::uint8_t>(c));
    }
    test::write_bytes(path, bytes);
  }
};

std::vector<std::uint32_t> lookup(const std::vector<std::uint32_t>& palette,
                                  const std::vector<std::uint32_t>& indices) {
  std::vector<std::uint32_t> out;
  for (std::uint32_t i : indices) {
    out.push_back(palette[i]);
  }
  return out;
}

TEST(IndependentReader, PagesMatchTheExpectedComposition) {
  const std::string compare = find_tool("compare");
  const std::string identify = find_tool("identify");
  if (compare.empty() || identify.empty()) {
    GTEST_SKIP() << "ImageMagick compare/identify not installed";
  }
  test::ScratchFolder folder;
  constexpr std::uint32_t kBackground = 0x336699;
  constexpr std::uint32_t kNone = 0xFF000000;  // matches no pixel

  const std::vector<std::uint32_t> pal4 = {0xFF0000, 0x00FF00, 0x0000FF, 0x000000};
  const std::vector<std::uint32_t> idx4 = {0, 1, 2, 3, 2, 1};
  test::write_bytes(folder.file("s4.bmp"), make_bitmap_file(3, 2, 4, pal4, idx4));
  const std::vector<std::uint32_t> pal8 = {0xFFFF00, 0x00FFFF, 0xFF00FF};
  const std::vector<std::uint32_t> idx8 = {0, 2, 2, 1};
  test::write_bytes(folder.file("s8.bmp"), make_bitmap_file(2, 2, 8, pal8, idx8));
  const std::vector<std::uint32_t> c24 = {0x102030, 0x405060, 0x708090,
                                          0xA0B0C0, 0xD0E0F0, 0x102030};
  test::write_bytes(folder.file("s24.bmp"), make_bitmap_file(2, 3, 24, {}, c24));
  const std::vector<std::uint32_t> c32 = {0x111111, 0x222222, 0x333333, 0x444444};
  test::write_bytes(folder.file("s32.bmp"), make_bitmap_file(2, 2, 32, {}, c32));
  // 20 x 20 distinct colours: more than a palette holds.
  std::vector<std::uint32_t> many;
  for (std::uint32_t i = 0; i < 400; ++i) {
    many.push_back(0x010000 * (i % 20) * 12 + 0x000100 * (i / 20) * 12 + 7);
  }
  test::write_bytes(folder.file("many.bmp"), make_bitmap_file(20, 20, 24, {}, many));

  DocumentStore store;
  test::load_project_text(store, {"[PAGELIST]",
                                  "small",
                                  "large",
                                  "[PROPERTY]",
                                  "OUTPUT_PNG=1",
                                  "TRANSPARENTENABLE=1",
                                  "TRANSPARENTCOLOR=51,102,153",
                                  "[PROPERTY:small]",
                                  "PUTIMAGEWIDTH=8",
                                  "PUTIMAGEHEIGHT=6",
                                  "[FILELIST:small]",
                                  "s4.bmp\t0\t0",
                                  "s8.bmp\t3\t0\t\t0\t0\t0\t1\t2",
                                  "s24.bmp\t5\t3",
                                  "s32.bmp\t7\t-1",
                                  "[PROPERTY:large]",
                                  "PUTIMAGEWIDTH=24",
                                  "PUTIMAGEHEIGHT=22",
                                  "[FILELIST:large]",
                                  "many.bmp\t2\t1"});
  test::RecordingPort port;
  OutputRunRequest request;
  request.project = &store;
  const std::string project_path = folder.file("p.ijp");
  request.project_path = project_path;
  const std::string project_folder = folder.folder();
  request.project_folder = project_folder;
  request.output_folder = folder.folder();
  request.port = &port;
  const OutputRunResult result = run_output(request);
  ASSERT_EQ(result.pages_output, 2);

  Sheet small{8, 6, std::vector<std::uint32_t>(48, kBackground)};
  small.paste(0, 0, 3, 2, lookup(pal4, idx4), kNone, kBackground);
  small.paste(3, 0, 2, 2, lookup(pal8, idx8), pal8[2], kBackground);
  small.paste(5, 3, 2, 3, c24, kNone, kBackground);
  small.paste(7, -1, 2, 2, c32, kNone, kBackground);
  small.write_ppm(folder.file("small.ppm"));
  Sheet large{24, 22, std::vector<std::uint32_t>(24 * 22, kBackground)};
  large.paste(2, 1, 20, 20, many, kNone, kBackground);
  large.write_ppm(folder.file("large.ppm"));

  const std::string capture = folder.file("capture.txt");
  EXPECT_EQ(run_tool(identify + " -format '%w %h %z %r' " + folder.file("small.bmp"), capture),
            "8 6 8 PseudoClass sRGB ");
  EXPECT_EQ(run_tool(identify + " -format '%w %h %r' " + folder.file("large.bmp"), capture),
            "24 22 DirectClass sRGB ");
  for (const char* page : {"small", "large"}) {
    const std::string bmp = folder.file(std::string(page) + ".bmp");
    const std::string ppm = folder.file(std::string(page) + ".ppm");
    EXPECT_EQ(run_tool(compare + " -metric AE " + bmp + " " + ppm + " null:", capture), "0")
        << page;
    const std::string png = folder.file(std::string(page) + ".png");
    EXPECT_EQ(run_tool(compare + " -metric AE " + png + " " + ppm + " null:", capture), "0")
        << page;
  }
}

// Every page of the demo's golden output: its PNG (plain and with the
// background transparent) shows exactly the bitmap's colours.
TEST(IndependentReader, GoldenPngPagesAreTheirBitmaps) {
  const std::string compare = find_tool("compare");
  const std::string identify = find_tool("identify");
  if (compare.empty() || identify.empty()) {
    GTEST_SKIP() << "ImageMagick compare/identify not installed";
  }
  test::ScratchFolder folder;
  const std::string capture = folder.file("capture.txt");
  const std::string golden = std::string(PICONEL_SOURCE_DIR) + "/tests/cli/golden/";
  int pages = 0;
  for (const auto& item : std::filesystem::directory_iterator(golden + "demo")) {
    if (item.path().extension() != ".bmp") {
      continue;
    }
    ++pages;
    const std::string bmp = item.path().string();
    const std::string page = item.path().stem().string();
    for (const char* variant : {"demo/", "demo-transparent/"}) {
      const std::string png = golden + variant + page + ".png";
      // -alpha off: the colours under the transparency.
      EXPECT_EQ(run_tool(compare + " -metric AE -alpha off " + png + " " + bmp + " null:", capture),
                "0")
          << variant << page;
      EXPECT_EQ(run_tool(identify + " -format '%A' " + png, capture),
                std::string(variant) == "demo/" ? "False" : "True")
          << variant << page;
    }
  }
  EXPECT_EQ(pages, 2);
}

}  // namespace
}  // namespace piconel
