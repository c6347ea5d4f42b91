#pragma once

// CP932 (Shift-JIS) byte-string helpers. Every search for '\\', '/', '.' or
// ':' in a path or name skips the second byte of a double-byte character, as
// the multibyte-aware C runtime does (ソ is 0x83 0x5C, 表 is 0x95 0x5C).

#include <cstddef>
#include <string>
#include <string_view>

namespace piconel {

// Lead byte of a double-byte character in the code page: 0x81-0x9F, 0xE0-0xFC.
constexpr bool is_cp932_lead_byte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Second byte of a double-byte character in the code page: 0x40-0x7E,
// 0x80-0xFC. A lead byte followed by anything else is not a character.
constexpr bool is_cp932_trail_byte(unsigned char byte) {
  return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

// '\\' or '/': both separate folders in a Windows path. Callers skip the
// second byte of a double-byte character before asking.
constexpr bool is_path_separator(char c) {
  return c == '\\' || c == '/';
}

// First byte of a double-byte character for the label and page-name rules:
// 0x80-0x9F or 0xE0-0xFF. Wider than is_cp932_lead_byte on purpose (0x80 and
// 0xFD-0xFF too, which the code page never uses), so such a byte and the one
// after it are kept together. 0xA0-0xDF (single-byte katakana) start none.
constexpr bool starts_name_double_byte(unsigned char byte) {
  return (byte >= 0x80 && byte <= 0x9F) || byte >= 0xE0;
}

// The parts of a path as _splitpath gives them: drive ("C:" or empty),
// directory (with its trailing separator), file name without extension,
// extension (from the last '.', dot included, or empty).
struct PathParts {
  std::string drive;
  std::string directory;
  std::string name;
  std::string extension;
};
PathParts split_path(std::string_view path);

// True when the path begins with a drive ("X:", the first byte not a lead
// byte).
[[nodiscard]] bool starts_with_drive(std::string_view path);

// Position of the first '\\' or '/' at or after `from`, stepping over both
// bytes of every double-byte character; the size when there is none.
[[nodiscard]] std::size_t find_path_separator(std::string_view path, std::size_t from = 0);

// drive + directory: the folder of a path, ending in its separator, or empty.
std::string folder_of(std::string_view path);
// name + extension.
std::string file_name_of(std::string_view path);
// Text after the last '.' of the last path component, dot included, or empty.
std::string_view extension_of(std::string_view path);

// True when the last character of `path` is '\\' or '/' (the trail byte of
// ソ or 表 is not one; a lone lead byte at the end is not either). False for
// an empty path.
[[nodiscard]] bool ends_with_path_separator(std::string_view path);

// Absolute when it begins with two backslashes or has ":\\" at bytes 1 and 2.
bool is_absolute_image_path(std::string_view path);

// ASCII-only case-insensitive comparison (double-byte characters compare
// byte-exactly).
bool equals_ignoring_ascii_case(std::string_view a, std::string_view b);

// C toupper on every byte except double-byte characters, whose two bytes stay
// as they are. Here starts_name_double_byte decides what starts one.
std::string to_upper_keeping_double_bytes(std::string_view text);

}  // namespace piconel
