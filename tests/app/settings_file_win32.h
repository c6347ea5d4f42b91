#pragma once

// A settings file path under the temporary folder that no file holds yet,
// deleted again at the end, and a file held open so that it cannot be
// replaced. Windows only.

#include <windows.h>

#include <string>

#include "store/handles_win32.h"
#include "store/wide_text.h"

namespace piconel::testing {

class SettingsFile {
 public:
  explicit SettingsFile(const wchar_t* name = L"piconel_close_test.ini") {
    wchar_t temp[MAX_PATH] = {};
    const DWORD length = GetTempPathW(MAX_PATH, temp);
    if (length > 0 && length < MAX_PATH) {
      path_ = std::wstring(temp) + name;
      DeleteFileW(path_.c_str());
    }
  }
  ~SettingsFile() { DeleteFileW(path_.c_str()); }
  SettingsFile(const SettingsFile&) = delete;
  SettingsFile& operator=(const SettingsFile&) = delete;

  [[nodiscard]] std::string cp932() const { return to_cp932(path_); }
  [[nodiscard]] bool exists() const {
    return GetFileAttributesW(path_.c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  [[nodiscard]] std::string read() const {
    FileHandle file(CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr));
    std::string bytes(65536, '\0');
    DWORD read = 0;
    if (!file ||
        !ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
      return {};
    }
    bytes.resize(read);
    return bytes;
  }

 private:
  std::wstring path_;
};

// Holds a file open for reading while it lives, sharing neither writing nor
// deleting, as another program may (an editor, a virus scanner): nothing
// can replace the file meanwhile. (Wine replaces a read-only file all the
// same, so that is no way to make a write fail there.)
class HeldFile {
 public:
  explicit HeldFile(const std::wstring& path)
      : file_(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                          nullptr)) {}
  [[nodiscard]] bool held() const { return file_.valid(); }

 private:
  FileHandle file_;
};

}  // namespace piconel::testing
