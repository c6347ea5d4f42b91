#include "output/sheet_canvas.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>
#include <new>

#include "image/colour_index.h"

namespace piconel {

std::optional<SheetCanvas> SheetCanvas::allocate(std::int32_t width, std::int32_t height) {
  if (width < 1 || height < 1 || width > kMaxSheetSide || height > kMaxSheetSide) {
    return std::nullopt;
  }
  const std::size_t stride = canvas_stride(width);
  // At most 98304 * 32768 bytes: checked against size_t for 32-bit builds.
  const std::uint64_t bytes = std::uint64_t{stride} * static_cast<std::uint64_t>(height);
  if (bytes > std::numeric_limits<std::size_t>::max()) {
    return std::nullopt;
  }
  std::unique_ptr<std::uint8_t[]> buffer(new (std::nothrow)
                                             std::uint8_t[static_cast<std::size_t>(bytes)]);
  if (!buffer) {
    return std::nullopt;
  }
  return SheetCanvas(width, height, stride, std::move(buffer), static_cast<std::size_t>(bytes));
}

std::optional<SheetCanvas> SheetCanvas::create(std::int32_t width, std::int32_t height,
                                               ColorRef background) {
  std::optional<SheetCanvas> canvas = allocate(width, height);
  if (canvas) {
    // Filled once, padding included, rather than cleared and then filled.
    canvas->fill(background);
  }
  return canvas;
}

std::optional<SheetCanvas> SheetCanvas::from_indices(
    std::int32_t width, std::int32_t height, std::span<const std::uint8_t> indices,
    std::size_t index_stride, const std::array<PaletteEntry, kMaxColours>& colours,
    std::int32_t first_row, std::int32_t end_row) {
  std::optional<SheetCanvas> canvas = allocate(width, height);
  if (!canvas) {
    return canvas;
  }
  // Stored rows (bottom-up) that are read; the others take index 0's colour.
  const std::int32_t read_from = height - std::clamp(end_row, 0, height);
  const std::int32_t read_to = height - std::clamp(first_row, 0, height);
  // Each pixel is stored as 4 bytes whose last one the next pixel
  // overwrites; the last pixel of a row gets its 3 bytes alone.
  std::array<std::uint32_t, kMaxColours> words{};
  for (std::size_t i = 0; i < words.size(); ++i) {
    words[i] = colour_key(colours[i].blue, colours[i].green, colours[i].red);
  }
  const auto last = static_cast<std::size_t>(width) - 1;
  const std::uint8_t* filled = nullptr;  // a row of index 0 already made
  for (std::int32_t row = 0; row < height; ++row) {
    std::uint8_t* row_start =
        canvas->buffer_.get() + static_cast<std::size_t>(row) * canvas->stride_;
    if (row < read_from || row >= read_to) {
      if (filled != nullptr) {
        std::memcpy(row_start, filled, canvas->stride_);
        continue;
      }
      filled = row_start;
    }
    const std::uint8_t* in = indices.data() + static_cast<std::size_t>(row) * index_stride;
    std::uint8_t* out = row_start;
    for (std::size_t x = 0; x < last; ++x, out += 3) {
      const std::uint32_t word = words[in[x]];
      if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(out, &word, sizeof word);
      } else {
        out[0] = static_cast<std::uint8_t>(word);
        out[1] = static_cast<std::uint8_t>(word >> 8);
        out[2] = static_cast<std::uint8_t>(word >> 16);
      }
    }
    const PaletteEntry& colour = colours[in[last]];
    out[0] = colour.blue;
    out[1] = colour.green;
    out[2] = colour.red;
    std::memset(out + 3, 0, canvas->stride_ - 3 * (last + 1));
  }
  return canvas;
}

void SheetCanvas::fill(ColorRef colour) {
  const auto red = static_cast<std::uint8_t>(colour & 0xFF);
  const auto green = static_cast<std::uint8_t>((colour >> 8) & 0xFF);
  const auto blue = static_cast<std::uint8_t>((colour >> 16) & 0xFF);
  std::uint8_t* first = buffer_.get();
  for (std::int32_t x = 0; x < width_; ++x) {
    first[3 * x] = blue;
    first[3 * x + 1] = green;
    first[3 * x + 2] = red;
  }
  std::memset(first + 3 * std::size_t(width_), 0, stride_ - 3 * std::size_t(width_));
  for (std::int32_t row = 1; row < height_; ++row) {
    std::memcpy(first + static_cast<std::size_t>(row) * stride_, first, stride_);
  }
}

namespace {

// Copies `count` pixels of the stored picture row `source_row` from column
// `first` into `out` (3 bytes each, blue, green, red). The picture must be
// well formed, so every byte read lies inside its pixel array; the colours
// are those Dib::pixel gives (black for an index past the colour table).
void copy_picture_row(const Dib& picture, std::size_t source_row, std::int64_t first,
                      std::int64_t count, const std::array<PaletteEntry, 256>& colours,
                      std::uint8_t* out) {
  const std::uint8_t* line = picture.pixels.data() + source_row * picture.stride;
  const auto start = static_cast<std::size_t>(first);
  const auto n = static_cast<std::size_t>(count);
  if (picture.bits_per_pixel == 24) {
    std::memcpy(out, line + 3 * start, 3 * n);
    return;
  }
  if (picture.bits_per_pixel == 32) {
    const std::uint8_t* p = line + 4 * start;
    for (std::size_t i = 0; i < n; ++i, p += 4, out += 3) {
      out[0] = p[0];
      out[1] = p[1];
      out[2] = p[2];
    }
    return;
  }
  if (picture.bits_per_pixel == 8) {
    const std::uint8_t* p = line + start;
    for (std::size_t i = 0; i < n; ++i, out += 3) {
      const PaletteEntry& colour = colours[p[i]];
      out[0] = colour.blue;
      out[1] = colour.green;
      out[2] = colour.red;
    }
    return;
  }
  if (picture.bits_per_pixel == 4) {
    for (std::size_t i = 0; i < n; ++i, out += 3) {
      const std::size_t x = start + i;
      // The left pixel of a byte sits in its high half.
      const unsigned index = x % 2 == 0 ? line[x / 2] >> 4 : line[x / 2] & 15u;
      const PaletteEntry& colour = colours[index];
      out[0] = colour.blue;
      out[1] = colour.green;
      out[2] = colour.red;
    }
    return;
  }
  for (std::size_t i = 0; i < n; ++i, out += 3) {
    const PaletteEntry& colour =
        colours[packed_pixel_value(line, picture.bits_per_pixel, start + i)];
    out[0] = colour.blue;
    out[1] = colour.green;
    out[2] = colour.red;
  }
}

}  // namespace

CoveredArea covered_area(std::int32_t sheet_width, std::int32_t sheet_height, const Dib& picture,
                         std::int32_t x, std::int32_t y) {
  return {std::max<std::int64_t>(x, 0), std::max<std::int64_t>(y, 0),
          std::min<std::int64_t>(std::int64_t{x} + picture.width, sheet_width),
          std::min<std::int64_t>(std::int64_t{y} + picture.height, sheet_height)};
}

void SheetCanvas::draw(const Dib& picture, std::int32_t x, std::int32_t y) {
  if (picture.width <= 0 || picture.height <= 0) {
    return;
  }
  const CoveredArea area = covered_area(width_, height_, picture, x, y);
  if (area.empty()) {
    return;
  }
  const auto [left, top, right, bottom] = area;
  if (picture.is_well_formed()) {
    // Whole rows at a time; indices past the colour table show black.
    std::array<PaletteEntry, 256> colours{};
    std::copy(picture.colour_table.begin(), picture.colour_table.end(), colours.begin());
    for (std::int64_t sheet_y = top; sheet_y < bottom; ++sheet_y) {
      const auto source_row = static_cast<std::size_t>(picture.height - 1 - (sheet_y - y));
      copy_picture_row(picture, source_row, left - x, right - left, colours,
                       row_from_top(static_cast<std::int32_t>(sheet_y)) + 3 * left);
    }
    return;
  }
  // A picture built by hand whose fields disagree: pixel by pixel through
  // Dib::pixel, which checks every read.
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
  return {buffer_.get(), buffer_bytes_};
}

}  // namespace piconel
