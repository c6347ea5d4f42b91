#pragma once

// The page bitmap's file name, "<page>.bmp", only for a page name that is a
// plain file name: one that names a file inside the output folder and
// nowhere else. A project written by someone else may name a page
// "..\\..\\x", "sub\\x" or "C:\\x"; such a page must not write outside the
// folder the user chose.

#include <optional>
#include <string>
#include <string_view>

namespace piconel {

// True when `name` is a plain file name: not empty, not "." or "..", no
// separator, no drive, none of < > : " | ? * (which Windows refuses in file
// names), no control byte (0x00-0x1F, 0x7F), no broken double-byte character
// (a lead byte at the end or before a byte that cannot follow it), and not a
// device name (CON, PRN, AUX, NUL, COM1-9, LPT1-9, in any letter case, also
// with an extension), which Windows opens as the device instead of a file.
// The second byte of a double-byte character is never taken for one of
// these (ソ is 0x83 0x5C).
[[nodiscard]] bool is_plain_file_name(std::string_view name);

// "<page_name>.bmp" when the page name is a plain file name; none otherwise.
[[nodiscard]] std::optional<std::string> page_bitmap_file_name(std::string_view page_name);

// "<page_name><extension>" (extension with its dot, such as ".png") under
// the same rule.
[[nodiscard]] std::optional<std::string> page_file_name(std::string_view page_name,
                                                        std::string_view extension);

}  // namespace piconel
