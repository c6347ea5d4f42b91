#pragma once

// Small bitmap files written for the dialog tests, read back into image
// entries as the sheet view reads them. Windows only.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "image/image_entry.h"
#include "image/load_image.h"
#include "store/handles_win32.h"
#include "store/wide_text.h"

namespace piconel::testing {

inline void put32(std::string& bytes, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) {
    bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  }
}

// A BMP file: the 14-byte file header, a 40-byte info header, `palette`
// (blue, green, red, 0 each) and `rows` already padded, bottom row first.
inline std::string bitmap_file(std::int32_t width, std::int32_t height, int bits,
                               const std::vector<std::uint32_t>& palette, const std::string& rows) {
  const auto table = static_cast<std::uint32_t>(palette.size() * 4);
  std::string bytes = "BM";
  put32(bytes, 54 + table + static_cast<std::uint32_t>(rows.size()));
  put32(bytes, 0);
  put32(bytes, 54 + table);
  put32(bytes, 40);
  put32(bytes, static_cast<std::uint32_t>(width));
  put32(bytes, static_cast<std::uint32_t>(height));
  put32(bytes, 1 | (static_cast<std::uint32_t>(bits) << 16));
  put32(bytes, 0);
  put32(bytes, static_cast<std::uint32_t>(rows.size()));
  put32(bytes, 2835);
  put32(bytes, 2835);
  put32(bytes, static_cast<std::uint32_t>(palette.size()));
  put32(bytes, 0);
  for (const std::uint32_t colour : palette) {
    put32(bytes, colour);  // 0x00RRGGBB is blue, green, red, 0 in memory
  }
  return bytes + rows;
}

// A file in the temporary folder, deleted again at the end.
class TempFile {
 public:
  TempFile(const std::string& name, const std::string& bytes) {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    path_ = to_cp932(std::wstring(folder)) + name;
    FileHandle file(
        CreateFileW(to_wide(path_).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  }
  ~TempFile() { DeleteFileW(to_wide(path_).c_str()); }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  [[nodiscard]] const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// The entry as the sheet view makes it: analysed by the loader, with its
// path and size (no window).
inline ImageEntry entry_of(const std::string& path) {
  ImageEntry entry;
  LoadImageRequest request;
  request.path = path;
  request.entry = &entry;
  if (const auto picture = load_image(request)) {
    entry.path = path;
    entry.width = picture->width;
    entry.height = picture->height;
  }
  return entry;
}

}  // namespace piconel::testing
