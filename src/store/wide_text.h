#pragma once

// The one pair of conversions between the program's CP932 text and the
// UTF-16 of the Win32 W functions. Both name code page 932 explicitly, so the
// result never depends on the system's ANSI code page.
//
// Invalid input: the plain forms are for text shown to the user and never
// fail; a CP932 byte sequence that is not a character (a lead byte with a bad
// or missing trail byte) becomes the code page's default character, and a
// UTF-16 character without a CP932 form becomes '?' or a look-alike. The
// strict forms are for names (files, folders, the command line), where a
// substitute could name a different file: they give none for such input.
// to_cp932_strict takes no look-alike (the yen sign U+00A5 is not the
// separator 0x5C, U+00EB is not "e") and gives bytes only when they convert
// back to exactly the same UTF-16 text.

#include <optional>
#include <string>
#include <string_view>

namespace piconel {

[[nodiscard]] std::wstring to_wide(std::string_view cp932);
[[nodiscard]] std::string to_cp932(std::wstring_view wide);

[[nodiscard]] std::optional<std::wstring> to_wide_strict(std::string_view cp932);
[[nodiscard]] std::optional<std::string> to_cp932_strict(std::wstring_view wide);

}  // namespace piconel
