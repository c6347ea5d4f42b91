#include "canvas/transparent_key.h"

#include <cstddef>

namespace piconel {

namespace {

constexpr std::int32_t kMaxPalettedBits = 8;

bool is_paletted(const ImageEntry& entry) {
  return entry.bits_per_pixel <= kMaxPalettedBits;
}

DibColour colour_of(const PaletteEntry& entry) {
  return (static_cast<DibColour>(entry.red) << 16) | (static_cast<DibColour>(entry.green) << 8) |
         static_cast<DibColour>(entry.blue);
}

}  // namespace

DibColour key_to_colour(const ImageEntry& entry, std::int32_t key) {
  if (key < 0) {
    return -1;
  }
  if (!is_paletted(entry)) {
    return key;
  }
  if (key >= kMaxColours) {
    return -1;
  }
  return colour_of(entry.palette[static_cast<std::size_t>(key)]);
}

std::int32_t colour_to_key(const ImageEntry& entry, DibColour colour) {
  if (colour < 0) {
    return -1;
  }
  if (!is_paletted(entry)) {
    return colour;
  }
  std::int32_t used_seen = 0;
  for (std::int32_t index = 0; index < kMaxColours && used_seen < entry.colour_count; ++index) {
    const PaletteEntry& slot = entry.palette[static_cast<std::size_t>(index)];
    if (slot.flag != 0) {
      continue;
    }
    if (colour_of(slot) == (colour & 0xFFFFFF)) {
      return index;
    }
    ++used_seen;
  }
  return -1;
}

}  // namespace piconel
