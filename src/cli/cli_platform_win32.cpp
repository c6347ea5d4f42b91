#include <windows.h>

// After windows.h, which it needs.
#include <shellapi.h>

#include <cstdio>

#include "cli/cli_platform.h"
#include "store/cp932.h"
#include "store/wide_text.h"

namespace piconel {
namespace {

// Owns the array CommandLineToArgvW returns.
class ArgvW {
 public:
  ArgvW() : argv_(CommandLineToArgvW(GetCommandLineW(), &count_)) {}
  ~ArgvW() {
    if (argv_ != nullptr) {
      LocalFree(argv_);
    }
  }
  ArgvW(const ArgvW&) = delete;
  ArgvW& operator=(const ArgvW&) = delete;
  int count() const { return argv_ != nullptr ? count_ : 0; }
  const wchar_t* at(int i) const { return argv_[i]; }

 private:
  int count_ = 0;
  wchar_t** argv_;
};

void write_console(DWORD which, std::FILE* stream, std::string_view cp932) {
  const std::wstring wide = to_wide(cp932);
  HANDLE handle = GetStdHandle(which);
  DWORD mode = 0;
  if (handle != INVALID_HANDLE_VALUE && handle != nullptr && GetConsoleMode(handle, &mode)) {
    // A console window shows UTF-16 whatever its code page is.
    DWORD written = 0;
    WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    return;
  }
  // Redirected: bytes in the console's code page, CP932 without a console.
  const UINT code_page = GetConsoleOutputCP();
  std::string bytes(cp932);
  if (code_page != 0 && code_page != 932 && !wide.empty()) {
    const int size = WideCharToMultiByte(code_page, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
    if (size > 0) {
      bytes.assign(static_cast<std::size_t>(size), '\0');
      WideCharToMultiByte(code_page, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(),
                          size, nullptr, nullptr);
    }
  }
  std::fwrite(bytes.data(), 1, bytes.size(), stream);
  std::fflush(stream);
}

}  // namespace

std::optional<std::string> utf8_to_cp932(std::string_view utf8) {
  if (utf8.empty()) {
    return std::string();
  }
  const int size = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                       static_cast<int>(utf8.size()), nullptr, 0);
  if (size <= 0) {
    return std::nullopt;
  }
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()),
                      wide.data(), size);
  return to_cp932_strict(wide);
}

std::optional<std::vector<std::string>> cp932_arguments(int argc, char** argv) {
  (void)argc;
  (void)argv;
  // The narrow argv is in the ANSI code page; the wide command line is exact.
  const ArgvW wide;
  std::vector<std::string> arguments;
  for (int i = 1; i < wide.count(); ++i) {
    auto converted = to_cp932_strict(wide.at(i));
    if (!converted) {
      return std::nullopt;
    }
    arguments.push_back(std::move(*converted));
  }
  return arguments;
}

void write_error_text(std::string_view cp932) {
  write_console(STD_ERROR_HANDLE, stderr, cp932);
}
void write_output_text(std::string_view cp932) {
  write_console(STD_OUTPUT_HANDLE, stdout, cp932);
}

bool stderr_is_terminal() {
  HANDLE handle = GetStdHandle(STD_ERROR_HANDLE);
  DWORD mode = 0;
  return handle != INVALID_HANDLE_VALUE && handle != nullptr && GetConsoleMode(handle, &mode);
}

std::string program_folder() {
  std::wstring path(32768, L'\0');
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  if (length == 0 || length >= path.size()) {
    return {};
  }
  path.resize(length);
  const auto converted = to_cp932_strict(path);
  if (!converted) {
    return {};
  }
  return folder_of(*converted);
}

std::optional<std::string> full_path_of(std::string_view path) {
  const std::optional<std::wstring> wide = path.empty() ? std::nullopt : to_wide_strict(path);
  if (!wide) {
    return std::nullopt;
  }
  const DWORD needed = GetFullPathNameW(wide->c_str(), 0, nullptr, nullptr);
  if (needed == 0) {
    return std::nullopt;
  }
  std::wstring full(needed, L'\0');
  const DWORD length = GetFullPathNameW(wide->c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed) {
    return std::nullopt;
  }
  full.resize(length);
  return to_cp932_strict(full);
}

// The Windows heap keeps freed blocks of this size for reuse by itself.
void keep_freed_memory_for_reuse() {}

}  // namespace piconel
