// The view paints each picture straight from its DIB section's pixels. What
// it shows must be what copying the section through a memory DC shows (the
// way GDI draws a bitmap), at every zoom, for every depth the loader hands
// over, for whole and partial repaints, with and without the selection
// outline; and at whole magnifications each picture pixel lands upright in
// its own zoom x zoom square.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "canvas/entry_picture_win32.h"
#include "canvas/sheet_geometry.h"
#include "canvas/sheet_paint_win32.h"
#include "canvas/snapping.h"
#include "image/gdi_read_back_win32.h"
#include "store/handles_win32.h"

namespace piconel {
namespace {

constexpr int kWidth = 7;  // odd sizes: rows padded, no symmetry to hide a flip
constexpr int kHeight = 5;
constexpr int kTarget = 80;  // the painted area, large enough for "x 8"
constexpr COLORREF kSheet = RGB(10, 20, 30);

// Pixel (x, y), top row 0, of the test picture as 0x00RRGGBB: every pixel
// of the direct-colour pictures differs; a palette picture repeats its few
// colours along the rows in a pattern that is not symmetric.
std::uint32_t direct_colour(int x, int y) {
  return static_cast<std::uint32_t>((40 * x + 3) << 16 | (50 * y + 7) << 8 | (x * 31 + y * 17));
}

int palette_index(int x, int y, int colours) {
  return (x + 3 * y + x * y) % colours;
}

std::uint32_t palette_colour(int index) {
  return static_cast<std::uint32_t>((index * 60 + 15) % 256 << 16 | (200 + index * 10) % 256 << 8 |
                                    index * 7 % 256);
}

Dib test_picture(int bits_per_pixel) {
  Dib dib;
  dib.width = kWidth;
  dib.height = kHeight;
  dib.bits_per_pixel = bits_per_pixel;
  dib.file_bits_per_pixel = bits_per_pixel;
  dib.stride = dib_stride(bits_per_pixel, kWidth);
  dib.pixels.assign(dib.stride * kHeight, 0);
  const int colours = bits_per_pixel <= 8 ? 1 << bits_per_pixel : 0;
  for (int index = 0; index < colours; ++index) {
    const std::uint32_t colour = palette_colour(index);
    dib.colour_table.push_back({static_cast<std::uint8_t>(colour & 0xFF),
                                static_cast<std::uint8_t>((colour >> 8) & 0xFF),
                                static_cast<std::uint8_t>(colour >> 16), 0});
  }
  for (int y = 0; y < kHeight; ++y) {
    // Stored bottom row first.
    std::uint8_t* row = dib.pixels.data() + static_cast<std::size_t>(kHeight - 1 - y) * dib.stride;
    for (int x = 0; x < kWidth; ++x) {
      if (colours > 0) {
        const int per_byte = 8 / bits_per_pixel;
        const int shift = 8 - bits_per_pixel * (x % per_byte + 1);
        row[x / per_byte] |= static_cast<std::uint8_t>(palette_index(x, y, colours) << shift);
      } else {
        const std::uint32_t colour = direct_colour(x, y);
        std::uint8_t* pixel = row + x * (bits_per_pixel / 8);
        pixel[0] = static_cast<std::uint8_t>(colour & 0xFF);
        pixel[1] = static_cast<std::uint8_t>((colour >> 8) & 0xFF);
        pixel[2] = static_cast<std::uint8_t>(colour >> 16);
      }
    }
  }
  return dib;
}

std::uint32_t picture_colour(int bits_per_pixel, int x, int y) {
  return bits_per_pixel <= 8 ? palette_colour(palette_index(x, y, 1 << bits_per_pixel))
                             : direct_colour(x, y);
}

// A 32-bit bitmap in a memory DC, filled with the sheet colour.
struct Target {
  Target() {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = kTarget;
    info.bmiHeader.biHeight = -kTarget;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    bitmap = GdiBitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    dc = MemoryDc(CreateCompatibleDC(nullptr));
    if (bitmap && dc) {
      SelectObject(dc.get(), bitmap.get());
      const RECT all{0, 0, kTarget, kTarget};
      GdiBrush sheet(CreateSolidBrush(kSheet));
      FillRect(dc.get(), &all, sheet.get());
    }
  }
  [[nodiscard]] std::vector<std::uint32_t> pixels() const {
    GdiFlush();
    return gdi_read_back(bitmap.get(), kTarget, kTarget);
  }
  GdiBitmap bitmap;
  MemoryDc dc;
};

// Whether the entry is painted at all for `update`.
bool meets(const ViewRect& rect, const RECT& update) {
  return rect.left < update.right && update.left < rect.right && rect.top < update.bottom &&
         update.top < rect.bottom;
}

// The same entry as the earlier paint drew it: the section selected into a
// memory DC and stretched from there, then a selected entry's dotted
// outline.
void paint_through_memory_dc(HDC dc, const EntryPicture& picture, const EntryBlit& blit,
                             const ViewRect& rect, bool selected) {
  MemoryDc source(CreateCompatibleDC(dc));
  SelectGuard picture_guard(source.get(), picture.bitmap());
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, blit.destination.x, blit.destination.y, blit.destination.width,
             blit.destination.height, source.get(), blit.source.x, blit.source.y, blit.source.width,
             blit.source.height, SRCCOPY);
  if (selected) {
    GdiPen dots(CreatePen(PS_DOT, 1, RGB(0, 0, 0)));
    SelectGuard pen_guard(dc, dots.get());
    SelectGuard brush_guard(dc, GetStockObject(HOLLOW_BRUSH));
    Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
  }
}

TEST(EntryPicturePaint, PicturesShowAsTheirSectionsThroughAMemoryDcAtEveryZoomAndUpdate) {
  // The entry at sheet (3, 2), scrolled by (1, 1): its view rectangle starts
  // off the origin and, at "x 8", runs past the painted area.
  struct Update {
    const char* name;
    RECT rect;
  };
  const Update updates[] = {
      {"whole", {0, 0, kTarget, kTarget}},
      {"top rows cut", {0, 9, kTarget, kTarget}},
      {"left columns cut", {13, 0, kTarget, kTarget}},
      {"inner box", {11, 7, 29, 23}},
      {"one pixel", {17, 12, 18, 13}},
  };
  for (const int depth : {1, 2, 4, 8, 24, 32}) {
    ImageEntryList entries(1);
    ImageEntry& entry = entries.front();
    entry.display = EntryPicture::create(test_picture(depth));
    const EntryPicture* picture = entry_picture(entry);
    ASSERT_NE(picture, nullptr) << depth;
    ASSERT_NE(picture->info(), nullptr) << depth;
    entry.x = 3;
    entry.y = 2;
    entry.width = kWidth;
    entry.height = kHeight;
    for (const ZoomStep& zoom : kZoomSteps) {
      SheetViewState state;
      state.zoom = zoom.sixteenths;
      state.scroll_x = 1;
      state.scroll_y = 1;
      const ViewRect rect = entry_view_rect(sheet_rect_of(entry), 1, 1, zoom.sixteenths);
      for (const Update& update : updates) {
        // Selected every other time, so each depth and zoom meets both.
        entry.selected = !entry.selected;
        const std::string where = std::to_string(depth) + " bits, zoom " + std::string(zoom.text) +
                                  ", " + update.name + (entry.selected ? ", selected" : "");
        Target painted;
        paint_entries(painted.dc.get(), update.rect, state, entries);
        Target expected;
        const ViewRect clip{update.rect.left, update.rect.top, update.rect.right,
                            update.rect.bottom};
        paint_through_memory_dc(expected.dc.get(), *picture,
                                entry_blit(rect, clip, kWidth, kHeight, zoom.sixteenths), rect,
                                entry.selected && meets(rect, update.rect));
        const std::vector<std::uint32_t> shown = painted.pixels();
        ASSERT_EQ(shown.size(), static_cast<std::size_t>(kTarget * kTarget)) << where;
        EXPECT_EQ(shown, expected.pixels()) << where;
        if (zoom.sixteenths < kZoomUnit || entry.selected) {
          continue;
        }
        // Whole magnifications: every painted pixel is its picture pixel.
        const int scale = zoom.sixteenths / kZoomUnit;
        int wrong = 0;
        for (int y = std::max<int>(rect.top, update.rect.top);
             y < std::min<int>({rect.bottom, update.rect.bottom, kTarget}); ++y) {
          for (int x = std::max<int>(rect.left, update.rect.left);
               x < std::min<int>({rect.right, update.rect.right, kTarget}); ++x) {
            const std::uint32_t want =
                picture_colour(depth, (x - rect.left) / scale, (y - rect.top) / scale);
            wrong += shown[static_cast<std::size_t>(y) * kTarget + x] != want ? 1 : 0;
          }
        }
        EXPECT_EQ(wrong, 0) << where;
      }
    }
  }
}

}  // namespace
}  // namespace piconel
