#pragma once

// Colour values come in two byte orders:
//  - COLORREF order 0x00BBGGRR (red in the low byte) for colours the user
//    sets (background colours, the replacement colour);
//  - DIB order (bytes blue, green, red in memory; read as a little-endian
//    32-bit number 0x00RRGGBB) for palettes, pixels, colour-list entries and
//    true-colour transparent keys.

#include <array>
#include <cstdint>

namespace piconel {

using ColorRef = std::int32_t;  // 0x00BBGGRR; -1 = none
using DibColour = std::int32_t;  // 0x00RRGGBB; -1 = none

constexpr ColorRef make_colorref(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return static_cast<ColorRef>(red | (green << 8) | (blue << 16));
}

// Swaps the low and the third byte; only the low three bytes take part.
constexpr DibColour colorref_to_dib(ColorRef c) {
  return ((c >> 16) & 0xFF) | (c & 0xFF00) | ((c & 0xFF) << 16);
}

// One 4-byte colour-table entry: blue, green, red, then a flag byte (the
// reserved byte of a BMP colour table, `absent` in an image's palette).
struct PaletteEntry {
  std::uint8_t blue = 0;
  std::uint8_t green = 0;
  std::uint8_t red = 0;
  std::uint8_t flag = 0;

  bool same_colour(const PaletteEntry& other) const {
    return blue == other.blue && green == other.green && red == other.red;
  }
  friend bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};

inline constexpr int kMaxColours = 256;

// A count (-1 = more than 256 colours, sticky until rebuilt) and up to 256
// colours (blue, green, red, 0). The page palette of the output and the sheet
// colour list of the view are instances.
struct ColourList {
  std::int32_t count = 0;
  std::array<PaletteEntry, kMaxColours> entries{};

  // Count 1 holding `colour` (COLORREF order) as entry 0.
  static ColourList starting_with(ColorRef colour) {
    ColourList list;
    list.count = 1;
    list.entries[0] = {static_cast<std::uint8_t>((colour >> 16) & 0xFF),
                       static_cast<std::uint8_t>((colour >> 8) & 0xFF),
                       static_cast<std::uint8_t>(colour & 0xFF), 0};
    return list;
  }
};

}  // namespace piconel
