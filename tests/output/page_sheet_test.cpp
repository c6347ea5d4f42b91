#include "output/page_sheet.h"

#include <gtest/gtest.h>

#include <functional>

#include "image/colour_index.h"
#include "image/load_image.h"
#include "output/output_fixture.h"
#include "output/page_bitmap.h"

namespace piconel {
namespace {

// A picture of `bits` whose pixel (x, y from the top) holds value(x, y): a
// palette index up to 8 bits (the table from `table`, 0x00RRGGBB), else the
// colour 0x00RRGGBB.
Dib make_picture(int width, int height, int bits, const std::vector<std::uint32_t>& table,
                 const std::function<std::uint32_t(int, int)>& value) {
  Dib dib;
  dib.width = width;
  dib.height = height;
  dib.bits_per_pixel = bits;
  dib.file_bits_per_pixel = bits;
  dib.stride = dib_stride(bits, width);
  dib.pixels.assign(dib.stride * static_cast<std::size_t>(height), 0);
  for (std::uint32_t c : table) {
    dib.colour_table.push_back({static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8),
                                static_cast<std::uint8_t>(c >> 16), 0});
  }
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = dib.pixels.data() + static_cast<std::size_t>(height - 1 - y) * dib.stride;
    for (int x = 0; x < width; ++x) {
      const std::uint32_t v = value(x, y);
      if (bits > 8) {
        std::uint8_t* p = row + static_cast<std::size_t>(x * bits / 8);
        p[0] = static_cast<std::uint8_t>(v);
        p[1] = static_cast<std::uint8_t>(v >> 8);
        p[2] = static_cast<std::uint8_t>(v >> 16);
        continue;
      }
      const int bit = x * bits;
      row[bit / 8] = static_cast<std::uint8_t>(row[bit / 8] | v << (8 - bits - bit % 8));
    }
  }
  return dib;
}

// Adds the colours the picture shows to the page palette, as the loader's
// merge does: in order, each once, -1 past 256.
void merge(ColourList& palette, const Dib& picture) {
  for (int y = 0; y < picture.height && palette.count >= 0; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const DibColour c = picture.pixel(x, y);
      const PaletteEntry entry{static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8),
                               static_cast<std::uint8_t>(c >> 16), 0};
      const auto end = palette.entries.begin() + palette.count;
      if (std::find(palette.entries.begin(), end, entry) != end) {
        continue;
      }
      if (palette.count == kMaxColours) {
        palette.count = -1;
        break;
      }
      palette.entries[static_cast<std::size_t>(palette.count++)] = entry;
    }
  }
}

struct Placed {
  Dib picture;
  int x = 0;
  int y = 0;
  bool merged = true;  // false: its colours are left out of the palette
};

struct Scenario {
  const char* name;
  int width;
  int height;
  ColorRef background;
  std::vector<Placed> pictures;
  bool stays_indexed;
  int bits;  // of the file written
};

const std::vector<std::uint32_t> kSixteen = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

std::vector<Scenario> scenarios() {
  const auto gradient = [](int x, int y) { return std::uint32_t(0x102030 + 0x010203 * (x + y)); };
  const auto wide = [](int x, int y) { return std::uint32_t(x * 0x010101 + y * 0x1000); };
  const auto pattern = [](int modulo) {
    return [modulo](int x, int y) { return std::uint32_t((x * 3 + y * 5) % modulo); };
  };
  std::vector<std::uint32_t> grey(256);
  for (std::uint32_t i = 0; i < 256; ++i) {
    grey[i] = i * 0x010101;
  }
  const ColorRef red = make_colorref(255, 0, 0);
  return {
      {"every depth, overlapping and clipped",
       37,
       23,
       red,
       {{make_picture(9, 7, 1, {0x123456, 0xFEDCBA}, pattern(2)), -3, -2},
        {make_picture(10, 6, 2, {0x1, 0x2, 0x3, 0x4}, pattern(4)), 30, 20},
        {make_picture(11, 9, 4, kSixteen, pattern(16)), 5, 4},
        {make_picture(12, 8, 8, grey, pattern(200)), 9, 6},
        {make_picture(13, 7, 24, {}, gradient), 20, 10},
        {make_picture(7, 7, 32, {}, gradient), 25, -4},
        {make_picture(3, 3, 24, {}, [](int, int) { return 0xFF0000u; }), 0, 20}},
       true,
       8},
      {"the background covered: its entry left out",
       6,
       3,
       red,
       {{make_picture(6, 3, 4, kSixteen, pattern(8)), 0, 0}},
       true,
       8},
      {"past 256 colours at the second picture",
       41,
       30,
       0,
       {{make_picture(8, 8, 8, grey, pattern(256)), 1, 1},
        {make_picture(40, 20, 24, {}, wide), 0, 10},
        {make_picture(5, 5, 4, kSixteen, pattern(16)), 30, 0}},
       false,
       24},
      {"a colour the palette lacks",
       16,
       16,
       0,
       {{make_picture(4, 4, 4, kSixteen, pattern(16)), 2, 2},
        {make_picture(4, 4, 24, {}, gradient), 8, 8, false}},
       false,
       24},
      {"an index past the colour table (black, not in the palette)",
       16,
       16,
       make_colorref(9, 9, 9),
       {{make_picture(4, 4, 4, {0x00FF00, 0x0000FF}, pattern(3)), 2, 2}},
       true,
       8},
      {"wider than an 8-bit page",
       1025,
       2,
       0,
       {{make_picture(4, 2, 4, kSixteen, pattern(16)), 1020, 0}},
       false,
       24},
  };
}

TEST(PageSheet, WritesTheBytesOfTheCanvasPathForEveryScenario) {
  test::ScratchFolder folder;
  for (const Scenario& s : scenarios()) {
    SCOPED_TRACE(s.name);
    auto canvas = SheetCanvas::create(s.width, s.height, s.background);
    auto sheet = PageSheet::create(s.width, s.height, s.background);
    ASSERT_TRUE(canvas && sheet);
    ColourList palette = ColourList::starting_with(s.background);
    for (const Placed& placed : s.pictures) {
      if (placed.merged) {
        merge(palette, placed.picture);
      }
      canvas->draw(placed.picture, placed.x, placed.y);
      ASSERT_TRUE(sheet->draw(placed.picture, placed.x, placed.y, palette));
    }
    EXPECT_EQ(sheet->indexed(), s.stays_indexed);
    ASSERT_TRUE(write_page_bitmap(folder.file("canvas.bmp"), *canvas, palette));
    ASSERT_TRUE(sheet->write(folder.file("sheet.bmp"), palette, false));
    const std::vector<std::uint8_t> expected = test::read_bytes(folder.file("canvas.bmp"));
    EXPECT_EQ(test::read_bytes(folder.file("sheet.bmp")), expected);
    EXPECT_EQ(test::u16_at(expected, 28), s.bits);
  }
}

// Pictures drawn with draw_merging against the usual way (load_image's colour
// steps with the page's key and replacement, then draw).
struct Keyed {
  Dib picture;
  int x = 0;
  int y = 0;
  std::int32_t key = -1;  // 0x00RRGGBB in DIB order, as a row's key
};

struct MergingCase {
  const char* name;
  int width;
  int height;
  ColorRef background;
  ColorRef replacement;
  std::vector<Keyed> pictures;
  int merged;  // pictures draw_merging draws
};

struct DrawnPage {
  std::vector<std::uint8_t> file;
  ColourList palette;
  bool indexed = false;
  int merged = 0;
};

DrawnPage draw_page(const MergingCase& c, bool merging, const std::string& path) {
  DrawnPage page;
  auto sheet = PageSheet::create(c.width, c.height, c.background);
  EXPECT_TRUE(sheet);
  if (!sheet) {
    return page;
  }
  page.palette = ColourList::starting_with(c.background);
  for (const Keyed& keyed : c.pictures) {
    if (merging && sheet->draw_merging(keyed.picture, keyed.x, keyed.y, keyed.key, c.replacement,
                                       page.palette)) {
      ++page.merged;
      continue;
    }
    ImageEntry scratch;
    LoadImageRequest request;
    request.entry = &scratch;
    request.colour_list = &page.palette;
    request.transparent_key = keyed.key;
    request.replacement_colour = c.replacement;
    request.index_true_colour = true;
    const Dib picture = finish_image(DecodedFile{keyed.picture, -1}, request);
    EXPECT_TRUE(sheet->draw(picture, keyed.x, keyed.y, page.palette));
  }
  page.indexed = sheet->indexed();
  EXPECT_TRUE(sheet->write(path, page.palette, false));
  page.file = test::read_bytes(path);
  return page;
}

TEST(PageSheet, DrawMergingGivesTheColoursAndPixelsOfTheUsualWay) {
  const auto gradient = [](int x, int y) { return std::uint32_t(0x102030 + 0x010203 * (x + y)); };
  // Every neighbour different, `colours` colours in all.
  const auto many = [](int colours) {
    return [colours](int x, int y) {
      return std::uint32_t(((x * 7 + y * 13) % colours) * 0x010305 + 0x000100);
    };
  };
  // 255 colours, `i` 0..254, several of them sharing a first slot in the
  // page's colour index (so that looking them up again has to probe further).
  const auto many_distinct = [](int i) {
    const auto n = static_cast<std::uint32_t>(i);
    return (n * n * 0x3B1u + n * 0x1F3u) & 0xFFFFFFu;
  };
  const auto framed = [](std::uint32_t frame) {
    return [frame](int x, int y) { return x == 0 || y == 0 ? frame : 0x204060u + x; };
  };
  const auto pattern = [](int modulo) {
    return [modulo](int x, int y) { return std::uint32_t((x * 3 + y * 5) % modulo); };
  };
  const std::uint32_t magenta = 0xFF00FF;
  const ColorRef magenta_ref = make_colorref(255, 0, 255);
  std::vector<std::uint32_t> grey(256);
  for (std::uint32_t i = 0; i < 256; ++i) {
    grey[i] = i * 0x010101;
  }
  const std::vector<MergingCase> cases = {
      {"both depths, odd widths, clipped on every side and outside",
       40,
       30,
       0,
       0,
       {{make_picture(5, 3, 24, {}, gradient), -2, -1},
        {make_picture(4, 4, 24, {}, gradient), 37, 28},
        {make_picture(1, 6, 24, {}, many(9)), 10, 5},
        {make_picture(7, 5, 32, {}, many(30)), 3, 26},
        {make_picture(6, 6, 32, {}, gradient), 50, 50},
        {make_picture(9, 9, 24, {}, many(40)), 12, 12}},
       6},
      {"keys: present, absent, the background's colour, bits above 24",
       32,
       32,
       magenta_ref,
       magenta_ref,
       {{make_picture(8, 8, 24, {}, framed(magenta)), 0, 0, static_cast<std::int32_t>(magenta)},
        {make_picture(8, 8, 32, {}, framed(0x123456)), 8, 0, 0x123456},
        {make_picture(8, 8, 24, {}, framed(0x123456)), 16, 0, static_cast<std::int32_t>(magenta)},
        {make_picture(8, 8, 32, {}, framed(0x654321)), 0, 8, 0x7F654321},
        {make_picture(8, 8, 24, {}, gradient), 8, 8, 0x102030}},
       5},
      {"after a paletted picture with a transparent index",
       24,
       24,
       make_colorref(0, 0, 0),
       make_colorref(0, 0, 0),
       {{make_picture(8, 8, 8, grey, [](int x, int y) { return std::uint32_t(x * 8 + y); }), 0, 0,
         0},
        {make_picture(8, 8, 24, {}, [](int x, int y) { return std::uint32_t(x * 0x010101 + y); }),
         8, 8, 0x000007}},
       2},
      {"past 256 colours within a picture, and the pictures after it",
       64,
       64,
       0,
       0,
       {{make_picture(10, 10, 24, {}, many(50)), 0, 0},
        {make_picture(30, 30, 32, {}, many(300)), 10, 10},
        {make_picture(6, 6, 24, {}, gradient), 50, 50}},
       1},
      {"255 colours drawn twice: the second finds every one, also those that collide",
       64,
       64,
       0,
       0,
       {{make_picture(15, 17, 24, {},
                      [many_distinct](int x, int y) { return many_distinct(x + 15 * y); }),
         0, 0},
        {make_picture(17, 15, 32, {},
                      [many_distinct](int x, int y) { return many_distinct(x * 15 + y); }),
         20, 20}},
       2},
      {"the page's 257th colour in a picture of few colours",
       64,
       64,
       0,
       0,
       {{make_picture(16, 16, 8, grey, [](int x, int y) { return std::uint32_t(x + 16 * y); }), 0,
         0},
        {make_picture(4, 4, 24, {},
                      [](int x, int y) { return 0x330000u + std::uint32_t(x + 4 * y); }),
         20, 20}},
       1},
      {"paletted: every depth, transparent entries used, unused and past the table",
       40,
       30,
       make_colorref(255, 0, 0),
       make_colorref(255, 0, 0),
       {{make_picture(9, 7, 1, {0x123456, 0xFEDCBA}, pattern(2)), -3, -2},
        {make_picture(10, 6, 2, {0x1, 0x2, 0x3, 0x4}, pattern(4)), 30, 20, 7},
        {make_picture(11, 9, 4, kSixteen, pattern(16)), 5, 4, 3},
        {make_picture(11, 9, 4, kSixteen, pattern(5)), 20, 4, 12},
        {make_picture(12, 8, 8, grey, pattern(200)), 9, 16, 199},
        {make_picture(5, 5, 4, kSixteen, pattern(16)), 38, 28}},
       6},
      {"paletted: the background's colour listed again after a transparent entry",
       20,
       20,
       make_colorref(255, 0, 0),
       make_colorref(255, 0, 0),
       {{make_picture(6, 6, 4, {0x00FF00, 0xFF0000, 0x0000FF}, pattern(3)), 0, 0, 0},
        {make_picture(6, 6, 4, {0x0000FF, 0xFF0000, 0x123456}, pattern(3)), 6, 0, 2},
        {make_picture(6, 6, 8, {0xFF0000, 0x654321}, pattern(2)), 12, 0},
        {make_picture(6, 6, 4, {0x00FF00, 0xFF0000}, pattern(2)), 0, 6, 0}},
       4},
      {"paletted: values past the table are black, which the page lacks",
       16,
       16,
       make_colorref(9, 9, 9),
       make_colorref(9, 9, 9),
       {{make_picture(4, 4, 4, {0x00FF00, 0x0000FF}, pattern(3)), 2, 2},
        {make_picture(4, 4, 8, {0x00FF00}, pattern(2)), 8, 8, 0}},
       0},
      {"paletted: a transparent entry kept (no replacement), not in the page",
       16,
       16,
       0,
       -1,
       {{make_picture(4, 4, 4, kSixteen, pattern(16)), 2, 2, 5}},
       0},
      {"paletted: past 256 colours",
       40,
       40,
       0,
       0,
       {{make_picture(16, 16, 8, grey, [](int x, int y) { return std::uint32_t(x + 16 * y); }), 0,
         0},
        {make_picture(4, 4, 4, kSixteen, pattern(16)), 20, 20}},
       1},
      {"a replacement the page lacks",
       16,
       16,
       0,
       -1,
       {{make_picture(6, 6, 24, {}, framed(magenta)), 1, 1, static_cast<std::int32_t>(magenta)}},
       0},
      {"wider than an 8-bit page",
       1030,
       8,
       0,
       0,
       {{make_picture(6, 6, 24, {}, gradient), 1026, 1}},
       0},
  };
  test::ScratchFolder folder;
  for (const MergingCase& c : cases) {
    SCOPED_TRACE(c.name);
    const DrawnPage usual = draw_page(c, false, folder.file("usual.bmp"));
    const DrawnPage merged = draw_page(c, true, folder.file("merged.bmp"));
    EXPECT_EQ(merged.merged, c.merged);
    EXPECT_EQ(merged.indexed, usual.indexed);
    ASSERT_EQ(merged.palette.count, usual.palette.count);
    for (std::int32_t i = 0; i < usual.palette.count; ++i) {
      EXPECT_TRUE(merged.palette.entries[static_cast<std::size_t>(i)] ==
                  usual.palette.entries[static_cast<std::size_t>(i)])
          << i;
    }
    EXPECT_EQ(merged.file, usual.file);
  }
}

}  // namespace
}  // namespace piconel
