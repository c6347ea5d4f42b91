#pragma once

// The one pair of conversions between the program's CP932 text and the
// UTF-16 of the Win32 W functions. Both name code page 932 explicitly, so the
// result never depends on the system's ANSI code page.
//
// Invalid input: the plain forms are for text shown to the user and never
// fail; a CP932 byte sequence that is not a character (a lead byte with a bad
// or missing trail byte) becomes the code page's default character, and a
// UTF-16 character without a CP932 form becomes '?'. The strict forms are for
// file names, where a substitute could name a different file: they give none
// for such input.

#include <optional>
#include <string>
#include <string_view>

namespace piconel {

[[nodiscard]] std::wstring to_wide(std::string_view cp932);
[[nodiscard]] std::string to_cp932(std::wstring_view wide);

[[nodiscard]] std::optional<std::wstring> to_wide_strict(std::string_view cp932);
[[nodiscard]] std::optional<std::string> to_cp932_strict(std::wstring_view wide);

}  // namespace piconel
