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
  BOOL used_default = FALSE;
  BOOL* used_default_out = strict ? &used_default : nullptr;
  const int length = WideCharToMultiByte(kCodePage, 0, wide.data(), in_length, nullptr, 0, nullptr,
                                         used_default_out);
  if (length <= 0 || used_default) {
    return std::nullopt;
  }
  std::string text(static_cast<std::size_t>(length), '\0');
  if (WideCharToMultiByte(kCodePage, 0, wide.data(), in_length, text.data(), length, nullptr,
                          used_default_out) != length ||
      used_default) {
    return std::nullopt;
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
