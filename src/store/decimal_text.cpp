#include "store/decimal_text.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace piconel {

namespace {

bool is_c_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

int c_atoi(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && is_c_space(text[pos])) {
    ++pos;
  }
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  // Accumulated as a magnitude in 64 bits and capped just past the int range,
  // so no digit count can overflow.
  constexpr std::int64_t kCap = std::int64_t{INT_MAX} + 1;
  std::int64_t magnitude = 0;
  while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
    magnitude = magnitude * 10 + (text[pos] - '0');
    if (magnitude > kCap) {
      magnitude = kCap;
    }
    ++pos;
  }
  if (negative) {
    return static_cast<int>(-magnitude);  // -kCap is INT_MIN
  }
  return magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
}

std::optional<int> parse_decimal_in_range(std::string_view text, int low, int high) {
  if (text.empty()) {
    return std::nullopt;
  }
  // Capped just past `high`, so no digit count can overflow.
  const std::int64_t cap = std::int64_t{high} + 1;
  std::int64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') {
      return std::nullopt;
    }
    value = std::min(value * 10 + (c - '0'), cap);
  }
  if (value < low || value > high) {
    return std::nullopt;
  }
  return static_cast<int>(value);
}

std::string format_decimal(int value) {
  // Built by hand from the unsigned magnitude so INT_MIN needs no special
  // case and no locale is involved.
  std::uint32_t magnitude =
      value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
  char digits[12];
  std::size_t count = 0;
  do {
    digits[count++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  std::string text;
  text.reserve(count + 1);
  if (value < 0) {
    text.push_back('-');
  }
  while (count > 0) {
    text.push_back(digits[--count]);
  }
  return text;
}

}  // namespace piconel
