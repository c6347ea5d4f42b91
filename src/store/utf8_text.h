#pragma once

// CP932 text as UTF-8, for files read by other programs (the sprite data of
// the output). The window and the command line must write the same bytes, so
// what counts as a character is decided here, not by the platform:
//  - ASCII, single-byte katakana (0xA1-0xDF) and every lead byte followed by
//    a trail byte are characters, converted by the platform's code page 932
//    table (Windows' own on Windows, glibc's "CP932" on Linux, which follow
//    the same Microsoft table: 0x815F is U+FF3C, 0x8160 U+FF5E);
//  - every other byte (a lone lead byte, 0x80, 0xA0, 0xFD-0xFF), and a pair
//    the table does not assign, becomes U+FFFD.

#include <optional>
#include <string>
#include <string_view>

namespace piconel {

// None only when memory runs out.
[[nodiscard]] std::optional<std::string> cp932_to_utf8(std::string_view cp932);

// The platform's part: `characters` (whole characters only, by the rules
// above) as UTF-8; none when the table lacks one of them.
[[nodiscard]] std::optional<std::string> cp932_characters_to_utf8(std::string_view characters);

}  // namespace piconel
