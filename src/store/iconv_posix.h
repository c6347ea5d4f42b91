#pragma once

// Whole-text conversion between encodings with glibc's iconv, for the Linux
// side of the program's text boundary (file names, the terminal, arguments).
// Included only from *_posix.cpp files.

#include <optional>
#include <string>
#include <string_view>

namespace piconel {

// `text` from encoding `from` to encoding `to` (iconv names such as "CP932",
// "UTF-8"); none on any invalid or unconvertible sequence, or when iconv does
// not know the pair.
std::optional<std::string> iconv_convert(const char* to, const char* from, std::string_view text);

}  // namespace piconel
