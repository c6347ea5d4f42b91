#pragma once

// The output folder made ready before a run writes anything.

#include <string_view>

namespace piconel {

// True when `folder` is a folder, made with its missing parents when it did
// not exist; an empty folder is the current directory. False, with the
// system's error number in `error` (0 when it gave none), when it cannot be
// made: a file of that name, no access, an invalid path.
[[nodiscard]] bool make_output_folder(std::string_view folder, int& error);

}  // namespace piconel
