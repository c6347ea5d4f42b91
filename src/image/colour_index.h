#pragma once

// Colour -> position among at most 256 colours, for the scans that look up
// every pixel of a picture or a sheet: the colour analysis of true-colour
// pictures and the 8-bit page bitmap. An open-addressing table of twice the
// most colours it holds keeps every probe short.

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "image/colour.h"

namespace piconel {

// The 24-bit key of a colour: blue | green << 8 | red << 16.
constexpr std::uint32_t colour_key(std::uint8_t blue, std::uint8_t green, std::uint8_t red) {
  return std::uint32_t{blue} | (std::uint32_t{green} << 8) | (std::uint32_t{red} << 16);
}

// colour_key of the pixel whose blue, green, red bytes start at `p`, read
// with one 32-bit load on little-endian machines: the byte after the pixel
// must lie inside the same buffer (its value is masked off).
inline std::uint32_t colour_key_with_spare_byte(const std::uint8_t* p) {
  if constexpr (std::endian::native == std::endian::little) {
    std::uint32_t word = 0;
    std::memcpy(&word, p, sizeof word);
    return word & 0xFFFFFFu;
  } else {
    return colour_key(p[0], p[1], p[2]);
  }
}

// An open-addressing table of 2^SlotBits slots (at least twice the most
// colours it holds, so every probe is short).
template <unsigned SlotBits>
class BasicColourIndex {
 public:
  // A key no colour has (keys have 24 bits).
  static constexpr std::uint32_t kNoColour = 0xFFFFFFFFu;

  BasicColourIndex() { keys_.fill(kNoColour); }

  // Position stored with `key`, or -1.
  [[nodiscard]] int find(std::uint32_t key) const {
    // Found is the common answer: tested first (no key equals kNoColour).
    for (std::size_t slot = start(key);; slot = (slot + 1) & kMask) {
      if (keys_[slot] == key) {
        return positions_[slot];
      }
      if (keys_[slot] == kNoColour) {
        return -1;
      }
    }
  }

  // Position of `key` when it sits in its first slot, else -1 (find then
  // answers): one load and one compare.
  [[nodiscard]] int find_in_first_slot(std::uint32_t key) const {
    const std::size_t slot = start(key);
    return keys_[slot] == key ? int{positions_[slot]} : -1;
  }

  // Stores `position` (0..255) with `key` unless the key is there already:
  // the first position of a colour stays, as a linear search from the start
  // would find it. At most kMaxColours distinct keys may be added.
  void add(std::uint32_t key, int position) {
    std::size_t slot = start(key);
    while (keys_[slot] != kNoColour && keys_[slot] != key) {
      slot = (slot + 1) & kMask;
    }
    if (keys_[slot] == kNoColour) {
      keys_[slot] = key;
      positions_[slot] = static_cast<std::uint8_t>(position);
    }
  }

 private:
  static constexpr std::size_t kSlots = std::size_t{1} << SlotBits;
  static constexpr std::size_t kMask = kSlots - 1;
  static_assert(kSlots >= 2 * kMaxColours);

  // The top bits of a multiplicative hash, so near colours spread.
  static std::size_t start(std::uint32_t key) {
    return static_cast<std::size_t>((key * 0x9E3779B1u) >> (32 - SlotBits));
  }

  std::array<std::uint32_t, kSlots> keys_{};
  std::array<std::uint8_t, kSlots> positions_{};
};

// Twice the most colours.
using ColourIndex = BasicColourIndex<9>;

}  // namespace piconel
