#include <windows.h>

#include <climits>

#include "store/wide_text.h"

namespace piconel {

namespace {

constexpr UINT kCodePage = 932;

std::optional<std::wstring> convert_to_wide(std::string_view cp932, DWORD flags) {
  if (cp932.empty()) {
    return std::wstring();
  }
  if (cp932.size() > static_cast<std::size_t>(INT_MAX)) {
    return std::nullopt;
  }
  const int in_length = static_cast<int>(cp932.size());
  // Size first, then convert, both with explicit lengths (no terminator).
  const int length = MultiByteToWideChar(kCodePage, flags, cp932.data(), in_length, nullptr, 0);
  if (length <= 0) {
    return std::nullopt;
  }
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  if (MultiByteToWideChar(kCodePage, flags, cp932.data(), in_length, wide.data(), length) !=
      length) {
    return std::nullopt;
  }
  return wide;
}

std::optional<std::string> convert_to_cp932(std::wstring_view wide, bool strict) {
  if (wide.empty()) {
    return std::string();
  }
  if (wide.size() > static_cast<std::size_t>(INT_MAX)) {
    return std::nullopt;
  }
  const int in_length = static_cast<int>(wide.size());
  // Without WC_NO_BEST_FIT_CHARS the conversion maps characters CP932 lacks
  // to look-alikes without reporting a default character: U+00A5 (yen)
  // becomes 0x5C, the path separator, and U+00EB (e with diaeresis) becomes
  // "e", so a name would open another file.
  const DWORD flags = strict ? WC_NO_BEST_FIT_CHARS : 0;
  BOOL used_default = FALSE;
  BOOL* used_default_out = strict ? &used_default : nullptr;
  const int length = WideCharToMultiByte(kCodePage, flags, wide.data(), in_length, nullptr, 0,
                                         nullptr, used_default_out);
  if (length <= 0 || used_default) {
    return std::nullopt;
  }
  std::string text(static_cast<std::size_t>(length), '\0');
  if (WideCharToMultiByte(kCodePage, flags, wide.data(), in_length, text.data(), length, nullptr,
                          used_default_out) != length ||
      used_default) {
    return std::nullopt;
  }
  // Exact means the bytes name the same UTF-16 text again; this also
  // catches mappings the default-character report misses (lone surrogates,
  // a conversion table that still folds a character).
  if (strict) {
    const std::optional<std::wstring> back = convert_to_wide(text, MB_ERR_INVALID_CHARS);
    if (!back || *back != wide) {
      return std::nullopt;
    }
  }
  return text;
}

}  // namespace

std::wstring to_wide(std::string_view cp932) {
  return convert_to_wide(cp932, 0).value_or(std::wstring());
}

std::string to_cp932(std::wstring_view wide) {
  return convert_to_cp932(wide, false).value_or(std::string());
}

std::optional<std::wstring> to_wide_strict(std::string_view cp932) {
  return convert_to_wide(cp932, MB_ERR_INVALID_CHARS);
}

std::optional<std::string> to_cp932_strict(std::wstring_view wide) {
  return convert_to_cp932(wide, true);
}

}  // namespace piconel
