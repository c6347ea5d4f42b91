#pragma once

// BITMAPFILEHEADER and BITMAPINFOHEADER of the page bitmaps, written field by
// field in little-endian order (no struct packing involved).

#include <cstddef>
#include <cstdint>
#include <span>

namespace piconel {

inline constexpr std::size_t kBitmapHeadersBytes = 54;  // file header 14 + info header 40

struct BitmapHeaderFields {
  std::int32_t width = 0;
  std::int32_t height = 0;  // positive: rows bottom-up
  std::uint16_t bits_per_pixel = 24;
  std::uint32_t size_image = 0;    // biSizeImage
  std::uint32_t colours_used = 0;  // biClrUsed = entries of the colour table
  std::uint32_t pixel_bytes = 0;   // stride * height
};

// Writes the 54 header bytes into `out` (at least 54 bytes): "BM", bfSize =
// 54 + 4 * colours_used + pixel_bytes, reserved 0, bfOffBits = 54 + 4 *
// colours_used, biSize 40, width, height, 1 plane, the depth, no compression,
// size_image, 0 pixels per metre, colours_used, 0 important colours.
void write_bitmap_headers(std::span<std::uint8_t> out, const BitmapHeaderFields& fields);

}  // namespace piconel
