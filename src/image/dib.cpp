#include "image/dib.h"

#include "image/bitmap_info.h"

namespace piconel {

std::size_t dib_stride(std::int32_t bits_per_pixel, std::int32_t width) {
  const std::uint64_t w = width > 0 ? static_cast<std::uint64_t>(width) : 0;
  const std::uint64_t depth = bits_per_pixel > 0 ? static_cast<std::uint64_t>(bits_per_pixel) : 0;
  std::uint64_t row_bytes = 0;
  if (depth > 0 && depth < 8) {
    row_bytes = depth * (w + 8 / depth - 1) / 8;
  } else {
    row_bytes = w * depth / 8;
  }
  if (row_bytes == 0) {
    return 4;
  }
  return static_cast<std::size_t>((row_bytes + 3) / 4 * 4);
}

bool Dib::is_well_formed() const {
  switch (bits_per_pixel) {
    case 1:
    case 2:
    case 4:
    case 8:
    case 24:
    case 32:
      break;
    default:
      return false;
  }
  if (width <= 0 || height <= 0 || width > kMaxBitmapSide || height > kMaxBitmapSide) {
    return false;
  }
  return stride == dib_stride(bits_per_pixel, width) &&
         pixels.size() / stride >= static_cast<std::size_t>(height) && colour_table.size() <= 256;
}

std::int32_t Dib::palette_index(std::int32_t x, std::int32_t y_from_top) const {
  if (bits_per_pixel > 8 || bits_per_pixel <= 0 || x < 0 || x >= width || y_from_top < 0 ||
      y_from_top >= height) {
    return -1;
  }
  const std::size_t row = static_cast<std::size_t>(height - 1 - y_from_top);
  const std::size_t offset = row * stride;
  const std::size_t bit = static_cast<std::size_t>(x) * static_cast<std::size_t>(bits_per_pixel);
  if (offset + bit / 8 >= pixels.size()) {
    return -1;
  }
  return static_cast<std::int32_t>(
      packed_pixel_value(pixels.data() + offset, bits_per_pixel, static_cast<std::size_t>(x)));
}

DibColour Dib::pixel(std::int32_t x, std::int32_t y_from_top) const {
  if (x < 0 || x >= width || y_from_top < 0 || y_from_top >= height) {
    return 0;
  }
  if (bits_per_pixel <= 8) {
    const std::int32_t index = palette_index(x, y_from_top);
    if (index < 0 || static_cast<std::size_t>(index) >= colour_table.size()) {
      return 0;
    }
    const PaletteEntry& entry = colour_table[static_cast<std::size_t>(index)];
    return (entry.red << 16) | (entry.green << 8) | entry.blue;
  }
  const std::size_t bytes_per_pixel = static_cast<std::size_t>(bits_per_pixel) / 8;
  const std::size_t row = static_cast<std::size_t>(height - 1 - y_from_top);
  const std::size_t at = row * stride + static_cast<std::size_t>(x) * bytes_per_pixel;
  if (bytes_per_pixel < 3 || at + 3 > pixels.size()) {
    return 0;
  }
  return (pixels[at + 2] << 16) | (pixels[at + 1] << 8) | pixels[at];
}

std::vector<std::uint8_t> bitmap_info_bytes(const Dib& dib) {
  // A paletted Dib without a colour table would say biClrUsed 0, and GDI then
  // reads a full table of 2^depth entries past the header: that many black
  // entries are written instead (Dib::pixel shows such indices black too).
  const bool paletted = dib.bits_per_pixel > 0 && dib.bits_per_pixel <= 8;
  const std::size_t table_entries = paletted && dib.colour_table.empty()
                                        ? std::size_t{1} << dib.bits_per_pixel
                                        : dib.colour_table.size();
  std::vector<std::uint8_t> info(kInfoHeaderBytes + 4 * table_entries, 0);
  const auto put = [&info](std::size_t pos, std::uint32_t value, std::size_t bytes) {
    for (std::size_t i = 0; i < bytes; ++i) {
      info[pos + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
  };
  put(0, kInfoHeaderBytes, 4);
  put(4, static_cast<std::uint32_t>(dib.width), 4);
  put(8, static_cast<std::uint32_t>(dib.height), 4);
  put(12, 1, 2);
  put(14, static_cast<std::uint32_t>(dib.bits_per_pixel), 2);
  put(20, static_cast<std::uint32_t>(dib.pixels.size()), 4);
  put(32, static_cast<std::uint32_t>(table_entries), 4);
  for (std::size_t i = 0; i < dib.colour_table.size(); ++i) {
    const PaletteEntry& entry = dib.colour_table[i];
    std::uint8_t* out = info.data() + kInfoHeaderBytes + 4 * i;
    out[0] = entry.blue;
    out[1] = entry.green;
    out[2] = entry.red;
  }
  return info;
}

}  // namespace piconel
