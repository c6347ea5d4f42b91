#pragma once

// The page being composed: a 24-bit picture stored bottom-up (the first row
// in memory is the bottom row), 3 bytes per pixel blue, green, red, each row
// padded to stride = 4 * ceil(3 * width / 4) bytes. The page bitmap writer
// (page_bitmap.h) turns it into a file.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "image/colour.h"
#include "image/dib.h"

namespace piconel {

inline constexpr std::int32_t kMaxSheetSide = 32768;

// Bytes per row of a 24-bit picture of `width` pixels.
constexpr std::size_t canvas_stride(std::int32_t width) {
  return (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
}

// The part of a sheet of `sheet_width` x `sheet_height` a picture covers
// with its top-left corner at (x, y), y growing downward: columns left..right
// and rows top..bottom, ends excluded, in 64 bits (positions come from the
// project file and may be anything an int holds). Empty when the picture
// lies wholly outside.
struct CoveredArea {
  std::int64_t left = 0;
  std::int64_t top = 0;
  std::int64_t right = 0;
  std::int64_t bottom = 0;
  bool empty() const { return left >= right || top >= bottom; }
};
CoveredArea covered_area(std::int32_t sheet_width, std::int32_t sheet_height, const Dib& picture,
                         std::int32_t x, std::int32_t y);

class SheetCanvas {
 public:
  // None when a side is not within 1..32768 or the memory cannot be had.
  // Every pixel starts out as `background` (COLORREF; black unless given),
  // the row padding as 0.
  [[nodiscard]] static std::optional<SheetCanvas> create(std::int32_t width, std::int32_t height,
                                                         ColorRef background = 0);

  // The canvas of an 8-bit picture: `indices` holds at least `height` rows
  // bottom-up, `index_stride` (>= width) bytes each, and `colours` the colour
  // of every index. Rows from the top before `first_row` and from `end_row`
  // on are taken to hold index 0 alone (they are filled without being read).
  // None as create gives none.
  [[nodiscard]] static std::optional<SheetCanvas> from_indices(
      std::int32_t width, std::int32_t height, std::span<const std::uint8_t> indices,
      std::size_t index_stride, const std::array<PaletteEntry, kMaxColours>& colours,
      std::int32_t first_row = 0, std::int32_t end_row = kMaxSheetSide);

  std::int32_t width() const { return width_; }
  std::int32_t height() const { return height_; }
  std::size_t stride() const { return stride_; }

  // Every pixel becomes `colour` (COLORREF order, red in the low byte); the
  // row padding becomes 0.
  void fill(ColorRef colour);

  // Copies the whole picture with its top-left corner at sheet (x, y), y
  // growing downward; the parts outside the sheet are left out.
  void draw(const Dib& picture, std::int32_t x, std::int32_t y);

  // Blue, green, red of the pixel at (x, y) counted from the top; must lie
  // inside the sheet.
  PaletteEntry pixel(std::int32_t x, std::int32_t y_from_top) const;

  // The pixel rows as they lie in memory, bottom row first: stride * height
  // bytes.
  std::span<const std::uint8_t> rows() const;

 private:
  SheetCanvas(std::int32_t width, std::int32_t height, std::size_t stride,
              std::unique_ptr<std::uint8_t[]> buffer, std::size_t buffer_bytes)
      : width_(width),
        height_(height),
        stride_(stride),
        buffer_(std::move(buffer)),
        buffer_bytes_(buffer_bytes) {}

  // Pixels and padding not set.
  static std::optional<SheetCanvas> allocate(std::int32_t width, std::int32_t height);

  std::uint8_t* row_from_top(std::int32_t y) const {
    return buffer_.get() + static_cast<std::size_t>(height_ - 1 - y) * stride_;
  }

  std::int32_t width_;
  std::int32_t height_;
  std::size_t stride_;
  std::unique_ptr<std::uint8_t[]> buffer_;
  std::size_t buffer_bytes_;
};

}  // namespace piconel
