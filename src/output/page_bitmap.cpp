#include "output/page_bitmap.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>

#include "image/colour_index.h"
#include "output/bitmap_header.h"
#include "output/output_file.h"
#include "store/file_io.h"

namespace piconel {
namespace {

bool sheet_has_colour(const SheetCanvas& canvas, const PaletteEntry& colour) {
  const std::span<const std::uint8_t> rows = canvas.rows();
  for (std::int32_t row = 0; row < canvas.height(); ++row) {
    const std::uint8_t* p = rows.data() + static_cast<std::size_t>(row) * canvas.stride();
    for (std::int32_t x = 0; x < canvas.width(); ++x, p += 3) {
      if (p[0] == colour.blue && p[1] == colour.green && p[2] == colour.red) {
        return true;
      }
    }
  }
  return false;
}

}  // namespace

EightBitHead eight_bit_head(std::int32_t width, std::int32_t height,
                            std::span<const PaletteEntry> table) {
  const std::size_t pixel_bytes = eight_bit_stride(width) * static_cast<std::size_t>(height);
  BitmapHeaderFields fields;
  fields.width = width;
  fields.height = height;
  fields.bits_per_pixel = 8;
  fields.size_image = static_cast<std::uint32_t>(pixel_bytes);
  fields.colours_used = static_cast<std::uint32_t>(table.size());
  fields.pixel_bytes = static_cast<std::uint32_t>(pixel_bytes);
  EightBitHead head;
  head.size = kBitmapHeadersBytes + 4 * table.size();
  write_bitmap_headers({head.bytes.data(), kBitmapHeadersBytes}, fields);
  std::uint8_t* entry = head.bytes.data() + kBitmapHeadersBytes;
  for (const PaletteEntry& colour : table) {
    entry[0] = colour.blue;
    entry[1] = colour.green;
    entry[2] = colour.red;
    entry[3] = 0;
    entry += 4;
  }
  return head;
}

std::optional<EightBitFile> encode_eight_bit_bitmap(const SheetCanvas& canvas,
                                                    const ColourList& palette) {
  if (palette.count < 1 || palette.count > kMaxColours) {
    return std::nullopt;
  }
  std::array<PaletteEntry, kMaxColours> table{};
  int count = palette.count;
  std::copy_n(palette.entries.begin(), count, table.begin());
  if (!sheet_has_colour(canvas, table[0])) {
    std::copy(table.begin() + 1, table.begin() + count, table.begin());
    --count;
    if (count == 0) {
      return std::nullopt;
    }
  }

  const std::size_t stride = eight_bit_stride(canvas.width());
  const std::size_t pixel_bytes = stride * static_cast<std::size_t>(canvas.height());
  const EightBitHead head =
      eight_bit_head(canvas.width(), canvas.height(), {table.data(), std::size_t(count)});
  const std::size_t size = head.size + pixel_bytes;
  EightBitFile file;
  file.bytes.reset(new (std::nothrow) std::uint8_t[size]);
  if (!file.bytes) {
    return std::nullopt;
  }
  file.size = size;
  std::copy_n(table.begin(), count, file.table.begin());
  file.table_size = static_cast<std::size_t>(count);
  file.rows_offset = head.size;
  // Of the rows only the padding needs clearing: every pixel is written.
  std::memcpy(file.bytes.get(), head.bytes.data(), head.size);

  // Filled in index order: a lookup gives the first entry of a colour.
  ColourIndex index;
  for (int i = 0; i < count; ++i) {
    index.add(colour_key(table[i].blue, table[i].green, table[i].red), i);
  }
  const std::span<const std::uint8_t> rows = canvas.rows();
  std::uint8_t* out_rows = file.bytes.get() + head.size;
  // Neighbouring pixels mostly repeat a colour: the last one's index is
  // reused without a lookup.
  std::uint32_t last_key = colour_key(table[0].blue, table[0].green, table[0].red);
  int last_index = 0;
  const auto width = static_cast<std::size_t>(canvas.width());
  // Rows keep their bottom-up order; padding bytes are 0.
  for (std::int32_t row = 0; row < canvas.height(); ++row) {
    const std::uint8_t* p = rows.data() + static_cast<std::size_t>(row) * canvas.stride();
    std::uint8_t* out = out_rows + static_cast<std::size_t>(row) * stride;
    std::memset(out + width, 0, stride - width);
    // The last pixel of a row is read whole only when a byte follows it.
    const std::size_t last_pixel_end =
        static_cast<std::size_t>(row) * canvas.stride() + 3 * (width - 1) + 4;
    const std::size_t wide_end = last_pixel_end <= rows.size() ? width : width - 1;
    for (std::size_t x = 0; x < width; ++x, p += 3) {
      const std::uint32_t key =
          x < wide_end ? colour_key_with_spare_byte(p) : colour_key(p[0], p[1], p[2]);
      if (key != last_key) {
        last_index = index.find(key);
        if (last_index < 0) {
          return std::nullopt;
        }
        last_key = key;
      }
      out[x] = static_cast<std::uint8_t>(last_index);
    }
  }
  return file;
}

std::array<std::uint8_t, kBitmapHeadersBytes> twenty_four_bit_headers(const SheetCanvas& canvas) {
  BitmapHeaderFields fields;
  fields.width = canvas.width();
  fields.height = canvas.height();
  fields.bits_per_pixel = 24;
  fields.size_image = 0;
  fields.colours_used = 0;
  fields.pixel_bytes = static_cast<std::uint32_t>(canvas.rows().size());
  std::array<std::uint8_t, kBitmapHeadersBytes> headers{};
  write_bitmap_headers(headers, fields);
  return headers;
}

SheetPixels EightBitFile::pixels(std::int32_t width, std::int32_t height) const {
  SheetPixels pixels;
  pixels.width = width;
  pixels.height = height;
  pixels.bits_per_pixel = 8;
  pixels.colour_table = {table.data(), table_size};
  pixels.rows = span().subspan(rows_offset);
  pixels.stride = eight_bit_stride(width);
  return pixels;
}

SheetPixels canvas_pixels(const SheetCanvas& canvas, const EightBitFile* eight) {
  if (eight != nullptr) {
    return eight->pixels(canvas.width(), canvas.height());
  }
  SheetPixels pixels;
  pixels.width = canvas.width();
  pixels.height = canvas.height();
  pixels.bits_per_pixel = 24;
  pixels.rows = canvas.rows();
  pixels.stride = canvas.stride();
  return pixels;
}

bool write_sheet_bitmap(std::string_view path, const SheetPixels& pixels, bool if_changed) {
  if (pixels.bits_per_pixel == 8) {
    const EightBitHead head = eight_bit_head(pixels.width, pixels.height, pixels.colour_table);
    const std::span<const std::uint8_t> parts[] = {head.span(), pixels.rows};
    return write_output_file(path, parts, if_changed);
  }
  BitmapHeaderFields fields;
  fields.width = pixels.width;
  fields.height = pixels.height;
  fields.bits_per_pixel = 24;
  fields.pixel_bytes = static_cast<std::uint32_t>(pixels.rows.size());
  std::array<std::uint8_t, kBitmapHeadersBytes> headers{};
  write_bitmap_headers(headers, fields);
  const std::span<const std::uint8_t> parts[] = {headers, pixels.rows};
  return write_output_file(path, parts, if_changed);
}

bool write_page_bitmap(std::string_view path, const SheetCanvas& canvas, const ColourList& palette,
                       bool if_changed) {
  if (palette.count != -1 && canvas.width() <= kMaxEightBitSide &&
      canvas.height() <= kMaxEightBitSide) {
    if (const auto eight = encode_eight_bit_bitmap(canvas, palette)) {
      return write_output_file(path, eight->span(), if_changed);
    }
  }
  const auto headers = twenty_four_bit_headers(canvas);
  const std::span<const std::uint8_t> parts[] = {headers, canvas.rows()};
  return write_output_file(path, parts, if_changed);
}

}  // namespace piconel
