#pragma once

// A device-independent bitmap as the loader hands it on: a header's facts, a
// colour table and bottom-up pixel rows padded to 4 bytes. The window layer
// turns it into a DIB section or a device bitmap; the output copies it onto
// its canvas.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/colour.h"

namespace piconel {

struct Dib {
  std::int32_t width = 0;
  std::int32_t height = 0;        // rows, always stored bottom-up
  std::int32_t bits_per_pixel = 0;  // 1, 2, 4, 8, 16, 24 or 32
  std::vector<PaletteEntry> colour_table;  // palette length entries (depth <= 8)
  std::vector<std::uint8_t> pixels;        // stride * height bytes, bottom row first
  std::size_t stride = 0;

  // Colour of the pixel at (x, y), y counted from the TOP row, in DIB order
  // 0x00RRGGBB. Coordinates must lie inside the picture.
  DibColour pixel(std::int32_t x, std::int32_t y_from_top) const;
};

// Bytes per stored row for a depth and width: below 8 bits
// depth * (width + 8 / depth - 1) / 8, else width * depth / 8, raised to a
// multiple of 4 (a row of 0 bytes counts as 4).
std::size_t dib_stride(std::int32_t bits_per_pixel, std::int32_t width);

}  // namespace piconel
