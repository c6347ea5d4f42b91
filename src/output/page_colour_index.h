#pragma once

// Colour -> first position in a page palette, looked up for every pixel of a
// true-colour picture merged into the page. The answers of ColourIndex, in a
// table sixteen times the most colours instead of twice: one slot in sixteen
// at most is taken, so nearly every colour sits in its first slot and the
// per-pixel look-up is one load and one compare (find_in_first_slot), with a
// branch that is almost never taken. One table per page: its size costs
// nothing per picture.

#include <array>
#include <cstddef>
#include <cstdint>

#include "image/colour.h"

namespace piconel {

class PageColourIndex {
 public:
  // A key no colour has (keys have 24 bits).
  static constexpr std::uint32_t kNoColour = 0xFFFFFFFFu;

  PageColourIndex() { keys_.fill(kNoColour); }

  // Position stored with `key`, or -1.
  [[nodiscard]] int find(std::uint32_t key) const {
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
  // answers).
  [[nodiscard]] int find_in_first_slot(std::uint32_t key) const {
    const std::size_t slot = start(key);
    return keys_[slot] == key ? int{positions_[slot]} : -1;
  }

  // Stores `position` (0..255) with `key` unless the key is there already:
  // the first position of a colour stays, as a linear search from the start
  // would find it. At most kMaxColours distinct keys.
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
  static constexpr unsigned kSlotBits = 12;
  static constexpr std::size_t kSlots = std::size_t{1} << kSlotBits;
  static constexpr std::size_t kMask = kSlots - 1;
  static_assert(kSlots >= 16 * kMaxColours);

  // The top bits of a multiplicative hash, so near colours spread.
  static std::size_t start(std::uint32_t key) {
    return static_cast<std::size_t>((key * 0x9E3779B1u) >> (32 - kSlotBits));
  }

  std::array<std::uint32_t, kSlots> keys_{};
  std::array<std::uint8_t, kSlots> positions_{};
};

}  // namespace piconel
