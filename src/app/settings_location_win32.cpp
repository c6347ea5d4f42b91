#include "app/settings_location_win32.h"

#include <windows.h>

#include <cstdint>
#include <span>
#include <vector>

#include "app/settings_model.h"
#include "store/native_file_io_win32.h"
#include "store/wide_text.h"

namespace piconel {

namespace {

// The longest path the W functions take with the "\\?\" prefix.
constexpr DWORD kLongestPathChars = 32768;

// The folder and settings path of the executable at `module_path`; none for
// a path without a folder.
std::optional<ProgramLocation> location_of_module(const std::wstring& module_path) {
  const std::size_t separator = module_path.find_last_of(L"\\/");
  if (separator == std::wstring::npos) {
    return std::nullopt;
  }
  ProgramLocation location;
  location.folder = module_path.substr(0, separator + 1);
  const std::string_view file_name = settings_keys::kFileName;
  location.settings_path = location.folder + std::wstring(file_name.begin(), file_name.end());
  return location;
}

}  // namespace

std::optional<ProgramLocation> locate_program() {
  // A buffer the size of the longest path; the result tells "fits" from
  // "cut" by leaving room for the terminator.
  std::vector<wchar_t> module(kLongestPathChars + 1, L'\0');
  const DWORD length = GetModuleFileNameW(nullptr, module.data(), kLongestPathChars + 1);
  if (length == 0 || length > kLongestPathChars) {
    return std::nullopt;
  }
  return location_of_module(std::wstring(module.data(), length));
}

std::optional<std::string> cp932_folder_for_plugins(const std::wstring& folder) {
  if (std::optional<std::string> exact = to_cp932_strict(folder)) {
    return exact;
  }
  const DWORD needed = GetShortPathNameW(folder.c_str(), nullptr, 0);
  if (needed == 0) {
    return std::nullopt;
  }
  std::wstring short_name(needed, L'\0');
  const DWORD length = GetShortPathNameW(folder.c_str(), short_name.data(), needed);
  if (length == 0 || length >= needed) {
    return std::nullopt;
  }
  short_name.resize(length);
  return to_cp932_strict(short_name);
}

bool load_settings_file(DocumentStore& settings, const std::wstring& path) {
  settings.clear();
  const FileBytes file = read_whole_file_wide(path);
  if (file.status == ReadStatus::NotFound) {
    return true;
  }
  if (file.status != ReadStatus::Ok) {
    return false;
  }
  const std::string_view text(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size());
  return settings.parse(text);
}

bool save_settings_file(const DocumentStore& settings, const std::wstring& path) {
  const std::string text = settings.serialize();
  // Every start writes INFOMATION, so an empty text means memory ran out:
  // keep the file rather than empty it.
  if (text.empty()) {
    return false;
  }
  const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(text.data()),
                                            text.size());
  return write_file_replacing_wide(path, std::span(&bytes, 1));
}

}  // namespace piconel
