// The system's texts for GetLastError() values, in the system's language
// (Japanese on a Japanese Windows), converted to CP932.

#include <windows.h>

#include <string>

#include "store/file_error.h"
#include "store/wide_text.h"

namespace piconel {

std::string file_error_text(int code) {
  if (code == 0) {
    return std::string(kUnknownFileError);
  }
  wchar_t buffer[512] = {};
  const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                      nullptr, static_cast<DWORD>(code), 0, buffer, 512, nullptr);
  std::wstring text(buffer, length);
  // The system's texts end in a line break.
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) {
    text.pop_back();
  }
  if (text.empty()) {
    return "Error " + std::to_string(code);
  }
  return to_cp932(text);
}

}  // namespace piconel
