#pragma once

// The whole-file read and the replacing write of file_io.h for a path the
// system gave as UTF-16 and the program keeps as it is: the program's own
// folder and the settings file beside it. Such a path never goes into a
// project, so it needs no CP932 form, and a program in a folder such as
// "C:\Users\José\" still finds its settings. Windows only: include from
// *_win32.cpp files only.

#include <cstdint>
#include <span>
#include <string>

#include "store/file_io.h"

namespace piconel {

// read_whole_file for a UTF-16 path (same statuses; an empty path is
// CannotOpen).
[[nodiscard]] FileBytes read_whole_file_wide(const std::wstring& path,
                                             std::uint64_t max_bytes = std::uint64_t{1} << 31);

// write_file_replacing_parts for a UTF-16 path.
[[nodiscard]] bool write_file_replacing_wide(const std::wstring& path,
                                             std::span<const std::span<const std::uint8_t>> parts,
                                             Durability durability = Durability::Synced);

}  // namespace piconel
