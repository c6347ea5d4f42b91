#pragma once

// Why a file-system write failed, as the system words it, so messages can
// tell the user what to fix (a folder in the way, access denied, a full
// disk). Like errno, the number is kept per thread and only meaningful right
// after a failure: pages are written on several threads at once.

#include <string>
#include <string_view>

namespace piconel {

// The text for a failure without a system reason.
inline constexpr std::string_view kUnknownFileError =
    "\x8f\x91\x82\xab\x8d\x9e\x82\xdf\x82\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd";  // 書き込めませんでした

// The system's error number (errno on Linux, GetLastError() on Windows) of
// the last failure of write_file_replacing, write_file_replacing_parts or
// make_directories on this thread; 0 when cleared since, or when the failure
// came from no system call.
[[nodiscard]] int last_file_error();
// Sets it; the file layer records each failure, callers clear it (0) before
// an operation whose failure may also come from elsewhere (memory).
void set_last_file_error(int code);

// The system's text for such a number in CP932 (the user's language where
// the system has it), without a line end; kUnknownFileError for 0, and the number
// itself when the system has no text for it.
[[nodiscard]] std::string file_error_text(int code);

}  // namespace piconel
