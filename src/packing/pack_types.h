#pragma once

// Plain values shared by the rectangle packer and its callers. Everything is
// in sheet pixels and integers, so a layout is the same on every platform and
// build.

#include <cstdint>

namespace piconel {

// The largest sheet side; also the packer's limit when a page has no manual
// sheet size.
inline constexpr std::int32_t kPackSheetLimit = 32768;

struct PackSize {
  std::int32_t width = 0;
  std::int32_t height = 0;
};

struct PackPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;

  friend bool operator==(const PackPoint&, const PackPoint&) = default;
};

struct PackRect {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;

  friend bool operator==(const PackRect&, const PackRect&) = default;
};

}  // namespace piconel
