#pragma once

// A device-independent bitmap as the loader hands it on: a header's facts, a
// colour table and bottom-up pixel rows padded to 4 bytes. The window layer
// turns it into a DIB section or a device bitmap; the output copies it onto
// its canvas.
//
// The loader normalises every accepted file to this one layout: rows are
// bottom-up (top-down files are flipped), there is no compression and no
// channel masks. A 16-bit picture is stored here as 24 bits (its 5-5-5 or
// bit-field channels widened to 8 bits), so `bits_per_pixel` is one of
// 1, 2, 4, 8, 24 and 32, while `file_bits_per_pixel` keeps the depth of the
// file (16 for such a picture). For 32-bit pictures the fourth byte of each
// pixel is carried along but means nothing.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/colour.h"

namespace piconel {

// Largest width or height the loader accepts.
inline constexpr std::int32_t kMaxBitmapSide = 32768;
// Largest pixel array (stride * height) the loader allocates.
inline constexpr std::uint64_t kMaxBitmapBytes = std::uint64_t{256} << 20;
// Largest picture, width * height, the loader accepts (256 megapixels). A
// 1-bit picture of 32768 x 32768 would pass the byte limit, yet a header of a
// few bytes claiming it would cost seconds of filling and gigabytes of work
// downstream; a sheet never needs it.
inline constexpr std::uint64_t kMaxBitmapPixels = std::uint64_t{256} << 20;

enum class PictureSizeCheck { Ok, BadDimensions, TooLarge };

// The first check of every declared picture size, made before anything is
// allocated or any row is read: each side 1..kMaxBitmapSide (else
// BadDimensions), and width * height at most kMaxBitmapPixels (else TooLarge).
[[nodiscard]] constexpr PictureSizeCheck check_picture_size(std::int64_t width,
                                                            std::int64_t height) {
  if (width <= 0 || height <= 0 || width > kMaxBitmapSide || height > kMaxBitmapSide) {
    return PictureSizeCheck::BadDimensions;
  }
  if (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > kMaxBitmapPixels) {
    return PictureSizeCheck::TooLarge;
  }
  return PictureSizeCheck::Ok;
}

struct Dib {
  std::int32_t width = 0;
  std::int32_t height = 0;                 // rows, always stored bottom-up
  std::int32_t bits_per_pixel = 0;         // 1, 2, 4, 8, 24 or 32 (see above)
  std::int32_t file_bits_per_pixel = 0;    // depth as read: 1, 2, 4, 8, 16, 24 or 32
  std::vector<PaletteEntry> colour_table;  // palette length entries (depth <= 8), else empty
  std::vector<std::uint8_t> pixels;        // stride * height bytes, bottom row first
  std::size_t stride = 0;

  // Colour of the pixel at (x, y), y counted from the TOP row, in DIB order
  // 0x00RRGGBB (the fourth byte of a 32-bit pixel is left out). A palette
  // index at or past the colour table's end gives 0 (black, as GDI shows
  // it), and so does a point outside the picture.
  DibColour pixel(std::int32_t x, std::int32_t y_from_top) const;

  // True when the fields agree: a known depth, a positive size within
  // kMaxBitmapSide, stride == dib_stride(bits_per_pixel, width), at least
  // stride * height pixel bytes, at most 256 table entries. Everything the
  // loader returns is well formed; the colour functions check Dibs built
  // elsewhere with it and leave malformed ones alone.
  bool is_well_formed() const;

  // Palette index of the pixel at (x, y) for depths 8 or less; -1 for deeper
  // pictures and for points outside the picture.
  std::int32_t palette_index(std::int32_t x, std::int32_t y_from_top) const;
};

// The BITMAPINFO that describes `dib` to GDI (CreateDIBSection,
// CreateDIBitmap, SetDIBitsToDevice): a 40-byte BITMAPINFOHEADER (positive
// height, one plane, BI_RGB, biSizeImage = stride * height, biClrUsed = the
// colour table's length) followed by the colour table, 4 bytes per entry
// (blue, green, red, 0). A Dib of 8 bits or less without a colour table gets
// 2^depth black entries, so GDI never reads a table past the bytes.
std::vector<std::uint8_t> bitmap_info_bytes(const Dib& dib);

// Bytes per stored row for a depth and width: below 8 bits
// depth * (width + 8 / depth - 1) / 8, else width * depth / 8, raised to a
// multiple of 4 (a row of 0 bytes counts as 4). Meant for widths 0 to
// kMaxBitmapSide and the depths above; a negative width counts as 0.
std::size_t dib_stride(std::int32_t bits_per_pixel, std::int32_t width);

// Value (palette index) of pixel `x` of a stored row of 1, 2, 4 or 8 bits a
// pixel; the leftmost pixel of a byte sits in its most significant bits. The
// caller keeps `x` inside the row.
inline unsigned packed_pixel_value(const std::uint8_t* row, std::int32_t depth, std::size_t x) {
  if (depth == 8) {
    return row[x];
  }
  const auto bits = static_cast<std::size_t>(depth);
  const std::size_t bit = x * bits;
  const auto shift = static_cast<unsigned>(8 - bits - bit % 8);
  return (row[bit / 8] >> shift) & ((1u << bits) - 1u);
}

}  // namespace piconel
