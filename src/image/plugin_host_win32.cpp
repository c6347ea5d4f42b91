// Finding and loading Susie plug-in libraries.

#include <windows.h>

#include <array>
#include <cstring>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>

#include "image/plugin_host.h"
#include "store/cp932.h"
#include "store/handles_win32.h"
#include "store/wide_text.h"

namespace piconel {

namespace {

// Closers of the owned handles below; std::unique_ptr never calls them with
// a null handle.
struct FindCloser {
  void operator()(HANDLE find) const { FindClose(find); }
};
struct KeyCloser {
  void operator()(HKEY key) const { RegCloseKey(key); }
};

// FindFirstFileW's search, closed with FindClose.
using FindHandle = std::unique_ptr<void, FindCloser>;
// RegOpenKeyExW's key, closed with RegCloseKey.
using RegistryKey = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

// Pairs are counted until GetPluginInfo answers 0; a library that never does
// is cut off here rather than asked forever.
constexpr std::int32_t kMaxPairs = 1024;

using GetPluginInfoFunction = int(WINAPI*)(int infono, LPSTR buffer, int buffer_length);

// Plug-ins of unknown quality write past the length they are offered (a
// terminator after a full buffer, or a whole string regardless): each call
// gets this much zeroed room behind what it is offered, and only the offered
// part is read back, up to its first zero.
constexpr std::size_t kPluginOverrunRoom = 4096;

// One GetPluginInfo answer as text, asked with 256 bytes offered; the text
// ends at its first zero within them, or after 255 bytes (plugin_info_text).
std::string ask_plugin_info(GetPluginInfoFunction get_info, int infono, int* returned) {
  std::array<char, kPluginInfoBytes + kPluginOverrunRoom> buffer{};
  *returned = get_info(infono, buffer.data(), static_cast<int>(kPluginInfoBytes));
  return std::string(plugin_info_text(std::span<const char>(buffer.data(), kPluginInfoBytes)));
}

}  // namespace

std::optional<std::string> read_susie_plugin_folder(std::string_view key,
                                                    std::string_view value_name) {
  const std::optional<std::wstring> wide_key = to_wide_strict(key);
  const std::optional<std::wstring> wide_value = to_wide_strict(value_name);
  if (!wide_key || !wide_value) {
    return std::nullopt;
  }
  HKEY key_handle = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, wide_key->c_str(), 0, KEY_READ, &key_handle) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  const RegistryKey opened(key_handle);
  // Room for a full path; one extra character keeps a terminator even when
  // the stored value has none.
  wchar_t buffer[MAX_PATH + 1] = {};
  DWORD type = 0;
  DWORD bytes = MAX_PATH * sizeof(wchar_t);
  if (RegQueryValueExW(opened.get(), wide_value->c_str(), nullptr, &type,
                       reinterpret_cast<BYTE*>(buffer), &bytes) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  if (type != REG_SZ && type != REG_EXPAND_SZ) {
    return std::nullopt;
  }
  const std::size_t chars = wcsnlen(buffer, bytes / sizeof(wchar_t));
  if (chars == 0) {
    return std::nullopt;
  }
  buffer[chars] = L'\0';
  if (type == REG_EXPAND_SZ) {
    // "%USERPROFILE%\susie" and the like name a folder only once expanded.
    wchar_t expanded[MAX_PATH + 1] = {};
    const DWORD length = ExpandEnvironmentStringsW(buffer, expanded, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH) {
      return std::nullopt;
    }
    return to_cp932_strict(std::wstring_view(expanded, wcsnlen(expanded, MAX_PATH)));
  }
  return to_cp932_strict(std::wstring_view(buffer, chars));
}

int PluginHost::load_plugins(std::string_view program_folder, bool search_susie_folder) {
  std::optional<std::string> susie_folder;
  if (search_susie_folder) {
    susie_folder = read_susie_plugin_folder();
  }
  const std::vector<std::string> folders = plugin_folders(program_folder, susie_folder);
  return load_plugins_from(folders);
}

int PluginHost::load_plugins_from(std::span<const std::string> folders) {
  int loaded = 0;
  for (const std::string& folder : folders) {
    const std::string prefix = with_folder_separator(folder);
    const std::optional<std::wstring> pattern =
        to_wide_strict(prefix + "*" + std::string(kPluginLibraryExtension));
    if (!pattern) {
      continue;
    }
    WIN32_FIND_DATAW found = {};
    const HANDLE first = FindFirstFileW(pattern->c_str(), &found);
    if (first == INVALID_HANDLE_VALUE) {
      continue;
    }
    const FindHandle find(first);
    do {
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        continue;
      }
      const std::optional<std::string> name = to_cp932_strict(found.cFileName);
      // Windows also matches "*.sph" against 8.3 short names, so "x.sphx"
      // would come back too; only the real extension counts.
      if (!name || !equals_ignoring_ascii_case(extension_of(*name), kPluginLibraryExtension)) {
        continue;
      }
      if (load_plugin(prefix + *name)) {
        ++loaded;
      }
    } while (FindNextFileW(find.get(), &found));
  }
  return loaded;
}

bool PluginHost::load_plugin(std::string_view path) {
  const std::optional<std::wstring> wide_path = to_wide_strict(path);
  if (!wide_path) {
    return false;
  }
  // Freed on every early return; released to the plug-in list at the end
  // (plug-ins stay loaded for the whole run).
  Library library(LoadLibraryW(wide_path->c_str()));
  if (!library) {
    return false;
  }

  Plugin plugin;
  wchar_t module_path[MAX_PATH + 1] = {};
  const DWORD module_chars = GetModuleFileNameW(library.get(), module_path, MAX_PATH);
  std::optional<std::string> narrow_path;
  if (module_chars > 0 && module_chars < MAX_PATH) {
    narrow_path = to_cp932_strict(std::wstring_view(module_path, module_chars));
  }
  plugin.module_path = narrow_path.value_or(std::string(path));
  plugin.file_name = file_name_of(plugin.module_path);

  for (std::size_t i = 0; i < kPluginEntryCount; ++i) {
    const std::string name(kPluginEntryNames[i]);
    // FARPROC to the generic void(*)() form; the call sites cast back.
    plugin.entry_points[i] =
        reinterpret_cast<PluginEntryPoint>(GetProcAddress(library.get(), name.c_str()));
  }
  const auto get_info =
      reinterpret_cast<GetPluginInfoFunction>(plugin.entry(PluginEntry::GetPluginInfo));
  if (get_info == nullptr) {
    return false;
  }

  // The version check offers 9 bytes of a zeroed buffer (with room behind
  // them, as above) and reads back at most those 9.
  std::array<char, 9 + kPluginOverrunRoom> version{};
  const int version_length = get_info(0, version.data(), 9);
  const std::string_view version_text = plugin_info_text(std::span<const char>(version.data(), 10));
  if (!is_image_filter_version(version_text, version_length)) {
    return false;
  }
  plugin.kind = version_text[3];

  int returned = 0;
  static_cast<void>(ask_plugin_info(get_info, 0, &returned));
  plugin.about = ask_plugin_info(get_info, 1, &returned);
  // Pairs are counted first (info 2, 4, ... until one answers 0), then read.
  std::int32_t pairs = 0;
  while (pairs < kMaxPairs) {
    static_cast<void>(ask_plugin_info(get_info, 2 * pairs + 2, &returned));
    if (returned == 0) {
      break;
    }
    ++pairs;
  }
  plugin.pair_count = pairs;
  plugin.pairs.reserve(static_cast<std::size_t>(pairs));
  for (std::int32_t n = 0; n < pairs; ++n) {
    PluginPair pair;
    pair.patterns = ask_plugin_info(get_info, 2 * n + 2, &returned);
    pair.description = ask_plugin_info(get_info, 2 * n + 3, &returned);
    plugin.pairs.push_back(std::move(pair));
  }

  plugin.module = library.release();
  plugins_.push_back(std::move(plugin));
  return true;
}

void PluginHost::free_plugins() {
  plugins_.clear();
}

}  // namespace piconel
