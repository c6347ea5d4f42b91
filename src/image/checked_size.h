#pragma once

// Size arithmetic on numbers that come from files: every product either fits
// below a limit or is reported as too large, never wrapped.

#include <cstdint>
#include <optional>

namespace piconel {

// a * b when it is at most `limit`.
[[nodiscard]] constexpr std::optional<std::uint64_t> checked_mul(std::uint64_t a, std::uint64_t b,
                                                                 std::uint64_t limit) {
  if (a != 0 && b > limit / a) {
    return std::nullopt;
  }
  return a * b;
}

}  // namespace piconel
