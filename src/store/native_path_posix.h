#pragma once

// CP932 program paths as Linux file names (see file_io.h).

#include <optional>
#include <string>
#include <string_view>

namespace piconel {

// Backslashes (outside double-byte characters) become '/', a leading "Z:" or
// "z:" is dropped so the path starts at the root as on Wine's Z: drive, and
// the bytes are converted from CP932 to UTF-8. None when the bytes are not
// valid CP932 or the path is empty.
std::optional<std::string> native_path(std::string_view cp932_path);

}  // namespace piconel
