#pragma once

// The page bitmap file: 8 bits with a colour table when the page palette
// holds every colour of the sheet and the sheet is at most 1024 x 1024,
// else 24 bits.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "image/colour.h"
#include "output/bitmap_header.h"
#include "output/sheet_canvas.h"
#include "output/sheet_pixels.h"

namespace piconel {

inline constexpr std::int32_t kMaxEightBitSide = 1024;

// Bytes per row of an 8-bit picture of `width` pixels.
constexpr std::size_t eight_bit_stride(std::int32_t width) {
  return (static_cast<std::size_t>(width) + 3) / 4 * 4;
}

// The 54 header bytes and the colour table (blue, green, red, 0 for each
// entry) that start an 8-bit page file; its rows follow.
struct EightBitHead {
  std::array<std::uint8_t, kBitmapHeadersBytes + 4 * kMaxColours> bytes{};
  std::size_t size = 0;
  std::span<const std::uint8_t> span() const { return {bytes.data(), size}; }
};

// `table` holds 1 to 256 colours.
[[nodiscard]] EightBitHead eight_bit_head(std::int32_t width, std::int32_t height,
                                          std::span<const PaletteEntry> table);

// A whole 8-bit bitmap file in memory.
struct EightBitFile {
  std::unique_ptr<std::uint8_t[]> bytes;
  std::size_t size = 0;
  std::span<const std::uint8_t> span() const { return {bytes.get(), size}; }
  // The colour table the file holds, and where its rows begin.
  std::array<PaletteEntry, kMaxColours> table{};
  std::size_t table_size = 0;
  std::size_t rows_offset = 0;

  [[nodiscard]] SheetPixels pixels(std::int32_t width, std::int32_t height) const;
};

// The 8-bit file of the canvas with `palette` as colour table:
//  - entry 0 (the background) is dropped, the others moving down, when no
//    pixel of the sheet has its colour;
//  - each pixel becomes the index of the first entry of its colour.
// None when a pixel's colour is in no entry (such a sheet is written with 24
// bits rather than with a wrong colour), when the palette count is not 1..256,
// or when the buffer cannot be had.
[[nodiscard]] std::optional<EightBitFile> encode_eight_bit_bitmap(const SheetCanvas& canvas,
                                                                  const ColourList& palette);

// The 54 header bytes of the canvas's 24-bit file; the canvas rows follow
// them as they lie in memory.
[[nodiscard]] std::array<std::uint8_t, kBitmapHeadersBytes> twenty_four_bit_headers(
    const SheetCanvas& canvas);

// The pixels write_page_bitmap writes for the canvas: those of `eight`
// when encode_eight_bit_bitmap gave it, else the canvas's own 24-bit rows.
[[nodiscard]] SheetPixels canvas_pixels(const SheetCanvas& canvas, const EightBitFile* eight);

// Writes `pixels` as a bitmap file: 8 bits with their colour table, or 24
// bits. False when the file cannot be written (`if_changed` as below).
[[nodiscard]] bool write_sheet_bitmap(std::string_view path, const SheetPixels& pixels,
                                      bool if_changed);

// Writes the page bitmap to `path`: 8 bits when the palette count is not -1,
// both sides are at most 1024 and encode_eight_bit_bitmap succeeds; 24 bits
// otherwise. False when the file cannot be written. With `if_changed` a file
// that already holds the same bytes is not rewritten (write_output_file).
[[nodiscard]] bool write_page_bitmap(std::string_view path, const SheetCanvas& canvas,
                                     const ColourList& palette, bool if_changed = false);

}  // namespace piconel
