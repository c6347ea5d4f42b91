#include "output/page_file_name.h"

#include <array>

#include "store/cp932.h"

namespace piconel {
namespace {

bool is_forbidden_byte(unsigned char byte) {
  if (byte < 0x20 || byte == 0x7F) {
    return true;
  }
  switch (byte) {
    case '<':
    case '>':
    case ':':
    case '"':
    case '|':
    case '?':
    case '*':
      return true;
    default:
      return is_path_separator(static_cast<char>(byte));
  }
}

// Windows maps these names to devices in every folder, whatever follows the
// first dot and whatever spaces stand before it.
bool is_device_name(std::string_view name) {
  std::string_view stem = name.substr(0, name.find('.'));
  while (!stem.empty() && stem.back() == ' ') {
    stem.remove_suffix(1);
  }
  static constexpr std::array<std::string_view, 4> kPlain = {"CON", "PRN", "AUX", "NUL"};
  for (const std::string_view device : kPlain) {
    if (equals_ignoring_ascii_case(stem, device)) {
      return true;
    }
  }
  if (stem.size() == 4 && stem[3] >= '1' && stem[3] <= '9') {
    const std::string_view prefix = stem.substr(0, 3);
    return equals_ignoring_ascii_case(prefix, "COM") || equals_ignoring_ascii_case(prefix, "LPT");
  }
  return false;
}

}  // namespace

bool is_plain_file_name(std::string_view name) {
  if (name.empty() || name == "." || name == ".." || starts_with_drive(name)) {
    return false;
  }
  for (std::size_t pos = 0; pos < name.size(); ++pos) {
    const auto byte = static_cast<unsigned char>(name[pos]);
    if (is_cp932_lead_byte(byte)) {
      // A lead byte before a byte that cannot follow it is no character; a
      // converter might drop it and leave the next byte (say '\\') alone.
      if (pos + 1 == name.size() ||
          !is_cp932_trail_byte(static_cast<unsigned char>(name[pos + 1]))) {
        return false;
      }
      ++pos;
    } else if (is_forbidden_byte(byte)) {
      return false;
    }
  }
  return !is_device_name(name);
}

std::optional<std::string> page_bitmap_file_name(std::string_view page_name) {
  return page_file_name(page_name, ".bmp");
}

std::optional<std::string> page_file_name(std::string_view page_name, std::string_view extension) {
  if (!is_plain_file_name(page_name)) {
    return std::nullopt;
  }
  return std::string(page_name) + std::string(extension);
}

}  // namespace piconel
