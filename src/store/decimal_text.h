#pragma once

// Decimal integers as the text files hold them: written "%d" style, read with
// the rules of C atoi.

#include <string>
#include <string_view>

namespace piconel {

// C atoi without its undefined overflow: leading white space (space, TAB, LF,
// VT, FF, CR) skipped, an optional '+' or '-', then the digits up to the first
// non-digit or the end of the text. No digits gives 0. A value beyond the int
// range saturates at INT_MAX or INT_MIN.
int c_atoi(std::string_view text);

// "%d" of the value ("-2147483648" for INT_MIN).
std::string format_decimal(int value);

}  // namespace piconel
