#pragma once

// A fresh, writable folder for one test, removed with everything in it when
// the object goes. Its path is plain ASCII in the program's form (CP932,
// backslashes on Windows), so CP932 names can be joined onto it.

#include <string>
#include <string_view>

namespace piconel::testing {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  bool ok() const { return !path_.empty(); }
  // The folder, ending in its separator.
  const std::string& path() const { return path_; }
  // path() + name.
  std::string file(std::string_view name) const { return path_ + std::string(name); }
  // The platform's separator: '\\' on Windows, '/' elsewhere.
  static char separator();

 private:
  std::string path_;
  std::string native_;  // for removal
};

// Writes or reads a whole file by its program-form path, through the store's
// own file boundary.
bool write_test_file(std::string_view path, std::string_view bytes);
std::string read_test_file(std::string_view path);

}  // namespace piconel::testing
