#pragma once

// The pixels of a finished page exactly as its bitmap file holds them: the
// one description the bitmap and the PNG are both written from, so the two
// files cannot differ in a pixel.

#include <cstddef>
#include <cstdint>
#include <span>

#include "image/colour.h"

namespace piconel {

struct SheetPixels {
  std::int32_t width = 0;
  std::int32_t height = 0;
  // 8: one palette index per byte; 24: blue, green, red per pixel.
  int bits_per_pixel = 24;
  // 8 bits: the file's colour table, 1 to 256 entries in file order.
  std::span<const PaletteEntry> colour_table;
  // Bottom row first, `stride` bytes per row (padding included).
  std::span<const std::uint8_t> rows;
  std::size_t stride = 0;

  const std::uint8_t* row_from_top(std::int32_t y) const {
    return rows.data() + static_cast<std::size_t>(height - 1 - y) * stride;
  }
};

}  // namespace piconel
