#include "output/bitmap_header.h"

namespace piconel {
namespace {

void put16(std::span<std::uint8_t> out, std::size_t at, std::uint32_t value) {
  out[at] = static_cast<std::uint8_t>(value & 0xFF);
  out[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

void put32(std::span<std::uint8_t> out, std::size_t at, std::uint32_t value) {
  put16(out, at, value & 0xFFFF);
  put16(out, at + 2, value >> 16);
}

}  // namespace

void write_bitmap_headers(std::span<std::uint8_t> out, const BitmapHeaderFields& fields) {
  const std::uint32_t table_bytes = 4 * fields.colours_used;
  // BITMAPFILEHEADER
  out[0] = 'B';
  out[1] = 'M';
  put32(out, 2, 54 + table_bytes + fields.pixel_bytes);  // bfSize
  put32(out, 6, 0);                                      // bfReserved1, bfReserved2
  put32(out, 10, 54 + table_bytes);                      // bfOffBits
  // BITMAPINFOHEADER
  put32(out, 14, 40);                                         // biSize
  put32(out, 18, static_cast<std::uint32_t>(fields.width));   // biWidth
  put32(out, 22, static_cast<std::uint32_t>(fields.height));  // biHeight
  put16(out, 26, 1);                                          // biPlanes
  put16(out, 28, fields.bits_per_pixel);                      // biBitCount
  put32(out, 30, 0);                                          // biCompression BI_RGB
  put32(out, 34, fields.size_image);                          // biSizeImage
  put32(out, 38, 0);                                          // biXPelsPerMeter
  put32(out, 42, 0);                                          // biYPelsPerMeter
  put32(out, 46, fields.colours_used);                        // biClrUsed
  put32(out, 50, 0);                                          // biClrImportant
}

}  // namespace piconel
