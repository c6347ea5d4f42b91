#include "output/sheet_canvas.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

#include "output/bitmap_header.h"

namespace piconel {

std::optional<SheetCanvas> SheetCanvas::create(std::int32_t width, std::int32_t height) {
  if (width < 1 || height < 1 || width > kMaxSheetSide || height > kMaxSheetSide) {
    return std::nullopt;
  }
  const std::size_t stride = canvas_stride(width);
  // At most 98304 * 32768 + 54 bytes: checked against size_t for 32-bit builds.
  const std::uint64_t bytes =
      std::uint64_t{stride} * static_cast<std::uint64_t>(height) + kBitmapHeadersBytes;
  if (bytes > std::numeric_limits<std::size_t>::max()) {
    return std::nullopt;
  }
  std::unique_ptr<std::uint8_t[]> buffer(new (std::nothrow)
                                             std::uint8_t[static_cast<std::size_t>(bytes)]);
  if (!buffer) {
    return std::nullopt;
  }
  std::memset(buffer.get(), 0, static_cast<std::size_t>(bytes));
  return SheetCanvas(width, height, stride, std::move(buffer), static_cast<std::size_t>(bytes));
}

void SheetCanvas::fill(ColorRef colour) {
  const auto red = static_cast<std::uint8_t>(colour & 0xFF);
  const auto green = static_cast<std::uint8_t>((colour >> 8) & 0xFF);
  const auto blue = static_cast<std::uint8_t>((colour >> 16) & 0xFF);
  std::uint8_t* first = buffer_.get() + kBitmapHeadersBytes;
  for (std::int32_t x = 0; x < width_; ++x) {
    first[3 * x] = blue;
    first[3 * x + 1] = green;
    first[3 * x + 2] = red;
  }
  for (std::int32_t row = 1; row < height_; ++row) {
    std::memcpy(first + static_cast<std::size_t>(row) * stride_, first, 3 * std::size_t(width_));
  }
}

void SheetCanvas::draw(const Dib& picture, std::int32_t x, std::int32_t y) {
  if (picture.width <= 0 || picture.height <= 0) {
    return;
  }
  // Sheet rectangle covered by the picture, in 64 bits: positions come from
  // the project file and may be anything an int holds.
  const std::int64_t left = std::max<std::int64_t>(x, 0);
  const std::int64_t top = std::max<std::int64_t>(y, 0);
  const std::int64_t right = std::min<std::int64_t>(std::int64_t{x} + picture.width, width_);
  const std::int64_t bottom = std::min<std::int64_t>(std::int64_t{y} + picture.height, height_);
  for (std::int64_t sheet_y = top; sheet_y < bottom; ++sheet_y) {
    std::uint8_t* row = row_from_top(static_cast<std::int32_t>(sheet_y));
    const auto picture_y = static_cast<std::int32_t>(sheet_y - y);
    for (std::int64_t sheet_x = left; sheet_x < right; ++sheet_x) {
      const DibColour colour = picture.pixel(static_cast<std::int32_t>(sheet_x - x), picture_y);
      std::uint8_t* p = row + 3 * sheet_x;
      p[0] = static_cast<std::uint8_t>(colour & 0xFF);          // blue
      p[1] = static_cast<std::uint8_t>((colour >> 8) & 0xFF);   // green
      p[2] = static_cast<std::uint8_t>((colour >> 16) & 0xFF);  // red
    }
  }
}

PaletteEntry SheetCanvas::pixel(std::int32_t x, std::int32_t y_from_top) const {
  const std::uint8_t* p = row_from_top(y_from_top) + 3 * static_cast<std::size_t>(x);
  return PaletteEntry{p[0], p[1], p[2], 0};
}

std::span<const std::uint8_t> SheetCanvas::rows() const {
  return {buffer_.get() + kBitmapHeadersBytes, buffer_bytes_ - kBitmapHeadersBytes};
}

std::span<const std::uint8_t> SheetCanvas::as_bitmap_file_24() {
  BitmapHeaderFields fields;
  fields.width = width_;
  fields.height = height_;
  fields.bits_per_pixel = 24;
  fields.size_image = 0;
  fields.colours_used = 0;
  fields.pixel_bytes = static_cast<std::uint32_t>(buffer_bytes_ - kBitmapHeadersBytes);
  write_bitmap_headers({buffer_.get(), kBitmapHeadersBytes}, fields);
  return {buffer_.get(), buffer_bytes_};
}

}  // namespace piconel
