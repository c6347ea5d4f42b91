#pragma once

// What the command line needs from the system: its arguments as CP932 text,
// the console's encoding, whether stderr is a terminal, and the program's
// folder. cli_platform_posix.cpp and cli_platform_win32.cpp implement it.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace piconel {

// UTF-8 text as CP932; none when it is not valid UTF-8 or holds a character
// without a CP932 form (a substitute could name another file).
[[nodiscard]] std::optional<std::string> utf8_to_cp932(std::string_view utf8);

// The program's arguments after its name, as CP932: converted from UTF-8 on
// Linux, read as UTF-16 (GetCommandLineW) and converted with code page 932 on
// Windows. None when an argument has no CP932 form.
[[nodiscard]] std::optional<std::vector<std::string>> cp932_arguments(int argc, char** argv);

// Writes CP932 text to stderr / stdout in the console's encoding: UTF-8 on
// Linux, the console's code page (or UTF-16 into a console window) on Windows.
void write_error_text(std::string_view cp932);
void write_output_text(std::string_view cp932);

// True when stderr is a terminal (a console window on Windows), where
// progress lines may be rewritten in place; false when redirected.
[[nodiscard]] bool stderr_is_terminal();

// `path` (CP932) as a full path in the program's form, so project rows and
// project folders name it from anywhere: on Windows as GetFullPathNameW
// gives it; on Linux taken from the current folder when relative, "." and
// ".." folded, and written as Wine's Z: drive with backslashes ("Z:\\home\\a").
// None when it cannot be made (no current folder, or text without a CP932
// form).
[[nodiscard]] std::optional<std::string> full_path_of(std::string_view path);

// Folder of the running program as CP932, ending in a separator; empty when
// it cannot be found.
[[nodiscard]] std::string program_folder();

// Asks the allocator to keep freed memory for reuse: the output composes
// page after page in buffers of up to a few MB, and returning them to the
// system after each page costs page faults to get them back (and, with
// several workers, a cross-core flush for every unmapping).
void keep_freed_memory_for_reuse();

}  // namespace piconel
