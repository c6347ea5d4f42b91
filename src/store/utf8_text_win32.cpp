#include <windows.h>

#include <climits>

#include "store/utf8_text.h"
#include "store/wide_text.h"

namespace piconel {

std::optional<std::string> cp932_characters_to_utf8(std::string_view characters) {
  // Strict: an unassigned pair must fail here, not turn into a default
  // character the Linux side would not give.
  const std::optional<std::wstring> wide = to_wide_strict(characters);
  if (!wide || wide->size() > static_cast<std::size_t>(INT_MAX)) {
    return std::nullopt;
  }
  if (wide->empty()) {
    return std::string();
  }
  const int in_length = static_cast<int>(wide->size());
  const int length = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide->data(), in_length,
                                         nullptr, 0, nullptr, nullptr);
  if (length <= 0) {
    return std::nullopt;
  }
  std::string utf8(static_cast<std::size_t>(length), '\0');
  if (WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide->data(), in_length, utf8.data(),
                          length, nullptr, nullptr) != length) {
    return std::nullopt;
  }
  return utf8;
}

}  // namespace piconel
