#pragma once

// The project argument of piconel.exe: the command line without the program
// name, as CP932 text with one pair of surrounding quotes removed. Windows
// only: include from *_win32.cpp files only.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace piconel {

// Longest argument taken: it must fit a 260-byte buffer with its terminator.
inline constexpr std::size_t kMaxArgumentBytes = 259;

// "引数が長すぎます" with caption "ピコネル".
inline constexpr std::string_view kArgumentTooLong =
    "\x88\xf8\x90\x94\x82\xaa\x92\xb7\x82\xb7\x82\xac\x82\xdc\x82\xb7";
inline constexpr std::string_view kProgramCaption = "\x83\x73\x83\x52\x83\x6c\x83\x8b";

// The tail of a command line: a quoted program name ends after its closing
// quote (or at the end when there is none), an unquoted one at the first
// blank or tab; the blanks and tabs after it are skipped.
[[nodiscard]] std::wstring_view command_line_tail(std::wstring_view command_line);

// The tail as the path handed to open_project: converted to CP932 (a
// character without a CP932 form becomes '?'), none when it takes 260 bytes
// or more; then, only when it begins with a double quote, that quote and a
// double quote at its end are removed. Blanks inside are kept, so two paths
// are one path. Empty text means a new project.
[[nodiscard]] std::optional<std::string> project_argument(std::wstring_view tail);

}  // namespace piconel
