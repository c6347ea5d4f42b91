#include "store/cp932.h"

#include <cstddef>

namespace piconel {

namespace {

// Start offsets of the last separator and the last '.' at or after `from`,
// stepping over both bytes of every double-byte character.
struct Marks {
  std::size_t last_separator = std::string_view::npos;
  std::size_t last_dot = std::string_view::npos;
};

Marks scan_marks(std::string_view path, std::size_t from) {
  Marks marks;
  std::size_t pos = from;
  while (pos < path.size()) {
    const auto byte = static_cast<unsigned char>(path[pos]);
    if (is_cp932_lead_byte(byte)) {
      pos += 2;
      continue;
    }
    if (is_path_separator(path[pos])) {
      marks.last_separator = pos;
    } else if (path[pos] == '.') {
      marks.last_dot = pos;
    }
    ++pos;
  }
  return marks;
}

std::size_t drive_length(std::string_view path) {
  return starts_with_drive(path) ? 2 : 0;
}

char ascii_upper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

bool starts_with_drive(std::string_view path) {
  // A lead byte in front cannot start a drive letter; its trail byte is never
  // ':' in CP932 anyway, but the check keeps the rule explicit.
  return path.size() >= 2 && !is_cp932_lead_byte(static_cast<unsigned char>(path[0])) &&
         path[1] == ':';
}

std::size_t find_path_separator(std::string_view path, std::size_t from) {
  for (std::size_t pos = from; pos < path.size(); ++pos) {
    if (is_cp932_lead_byte(static_cast<unsigned char>(path[pos]))) {
      ++pos;  // the trail byte may be 0x5C and is not a separator
    } else if (is_path_separator(path[pos])) {
      return pos;
    }
  }
  return path.size();
}

PathParts split_path(std::string_view path) {
  PathParts parts;
  const std::size_t drive = drive_length(path);
  parts.drive = std::string(path.substr(0, drive));
  const std::string_view rest = path.substr(drive);
  const Marks separators = scan_marks(rest, 0);
  std::size_t name_start = 0;
  if (separators.last_separator != std::string_view::npos) {
    name_start = separators.last_separator + 1;
    parts.directory = std::string(rest.substr(0, name_start));
  }
  const std::string_view file = rest.substr(name_start);
  const Marks dots = scan_marks(file, 0);
  if (dots.last_dot != std::string_view::npos) {
    parts.name = std::string(file.substr(0, dots.last_dot));
    parts.extension = std::string(file.substr(dots.last_dot));
  } else {
    parts.name = std::string(file);
  }
  return parts;
}

std::string folder_of(std::string_view path) {
  PathParts parts = split_path(path);
  return parts.drive + parts.directory;
}

std::string file_name_of(std::string_view path) {
  PathParts parts = split_path(path);
  return parts.name + parts.extension;
}

std::string_view extension_of(std::string_view path) {
  const std::size_t drive = drive_length(path);
  const Marks marks = scan_marks(path, drive);
  const std::size_t name_start =
      marks.last_separator == std::string_view::npos ? drive : marks.last_separator + 1;
  if (marks.last_dot == std::string_view::npos || marks.last_dot < name_start) {
    return {};
  }
  return path.substr(marks.last_dot);
}

bool ends_with_path_separator(std::string_view path) {
  const Marks marks = scan_marks(path, 0);
  return marks.last_separator != std::string_view::npos && marks.last_separator + 1 == path.size();
}

bool is_absolute_image_path(std::string_view path) {
  if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
    return true;
  }
  return path.size() >= 3 && path[1] == ':' && path[2] == '\\';
}

bool equals_ignoring_ascii_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  std::size_t pos = 0;
  while (pos < a.size()) {
    const auto byte = static_cast<unsigned char>(a[pos]);
    if (is_cp932_lead_byte(byte)) {
      // Both bytes of a double-byte character compare exactly: its second
      // byte may look like an ASCII letter.
      const std::size_t width = pos + 1 < a.size() ? 2 : 1;
      if (a.substr(pos, width) != b.substr(pos, width)) {
        return false;
      }
      pos += width;
      continue;
    }
    if (ascii_upper(a[pos]) != ascii_upper(b[pos])) {
      return false;
    }
    ++pos;
  }
  return true;
}

std::string to_upper_keeping_double_bytes(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    const auto byte = static_cast<unsigned char>(text[pos]);
    if (starts_name_double_byte(byte)) {
      out += text[pos++];
      if (pos < text.size()) {
        out += text[pos++];
      }
      continue;
    }
    out += ascii_upper(text[pos++]);
  }
  return out;
}

}  // namespace piconel
