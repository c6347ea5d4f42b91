#pragma once

// Decimal integers as the text files hold them: written "%d" style, read with
// the rules of C atoi.

#include <optional>
#include <string>
#include <string_view>

namespace piconel {

// C atoi without its undefined overflow: leading white space (space, TAB, LF,
// VT, FF, CR) skipped, an optional '+' or '-', then the digits up to the first
// non-digit or the end of the text. No digits gives 0. A value beyond the int
// range saturates at INT_MAX or INT_MIN.
int c_atoi(std::string_view text);

// A number given on a command line: decimal digits only (no sign, no white
// space), within low..high; none otherwise.
[[nodiscard]] std::optional<int> parse_decimal_in_range(std::string_view text, int low, int high);

// "%d" of the value ("-2147483648" for INT_MIN).
std::string format_decimal(int value);

}  // namespace piconel
