#include <cstdint>
#include <filesystem>
#include <random>
#include <span>
#include <system_error>

#include "store/file_io.h"
#include "store/temp_folder.h"

namespace piconel::testing {

namespace {

bool is_ascii(const std::string& text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) {
      return false;
    }
  }
  return true;
}

}  // namespace

char TempFolder::separator() {
#ifdef _WIN32
  return '\\';
#else
  return '/';
#endif
}

TempFolder::TempFolder() {
  std::error_code error;
  const std::filesystem::path base = std::filesystem::temp_directory_path(error);
  if (error) {
    return;
  }
  std::random_device seed;
  std::mt19937 random(seed());
  for (int attempt = 0; attempt < 20; ++attempt) {
    const std::filesystem::path candidate =
        base / ("piconel-store-test-" + std::to_string(random()));
    if (std::filesystem::create_directory(candidate, error) && !error) {
      const std::string text = candidate.string();
      if (!is_ascii(text)) {
        std::filesystem::remove_all(candidate, error);
        return;
      }
      native_ = text;
      path_ = text + separator();
      return;
    }
  }
}

TempFolder::~TempFolder() {
  if (!native_.empty()) {
    std::error_code error;
    std::filesystem::remove_all(std::filesystem::path(native_), error);
  }
}

bool write_test_file(std::string_view path, std::string_view bytes) {
  return write_file_replacing(
      path, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

std::string read_test_file(std::string_view path) {
  const FileBytes file = read_whole_file(path);
  return std::string(file.bytes.begin(), file.bytes.end());
}

}  // namespace piconel::testing
