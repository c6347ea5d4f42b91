// The system's texts for errno values. The program does not set a locale, so
// glibc gives its English texts; should a caller set one, a UTF-8 text is
// converted to CP932.

#include <string.h>

#include <algorithm>
#include <optional>
#include <string>

#include "store/file_error.h"
#include "store/iconv_posix.h"

namespace piconel {

std::string file_error_text(int code) {
  if (code == 0) {
    return std::string(kUnknownFileError);
  }
  char buffer[256] = {};
  // The GNU form: returns the text, in the buffer or a static one.
  const std::string text = ::strerror_r(code, buffer, sizeof buffer);
  if (std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; })) {
    return text;
  }
  return iconv_convert("CP932", "UTF-8", text).value_or("errno " + std::to_string(code));
}

}  // namespace piconel
