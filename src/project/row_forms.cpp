#include "project/row_forms.h"

#include "image/image_entry.h"
#include "project/image_path_check.h"
#include "store/cp932.h"

namespace piconel {

namespace {

// A path that a row can hold and that is read back as it stands.
bool reads_back_as_is(std::string_view path) {
  return is_absolute_image_path(path) && is_storable_image_path(path) &&
         path.size() <= static_cast<std::size_t>(kMaxPathBytes);
}

}  // namespace

std::optional<std::string> row_path_for_entry(std::string_view full_path, std::string_view folder) {
  if (reads_back_as_is(full_path)) {
    return std::string(full_path);
  }
  if (full_path.starts_with(folder)) {
    const std::string_view below = full_path.substr(folder.size());
    if (!below.empty() && !is_absolute_image_path(below) && is_storable_image_path(below)) {
      return std::string(below);
    }
  }
  return std::nullopt;
}

std::optional<std::string> full_image_row(std::string_view row, std::string_view folder) {
  const std::string_view path = row.substr(0, row.find('\t'));
  if (folder.empty() || path.empty() || is_absolute_image_path(path)) {
    return std::string(row);
  }
  std::string full(folder);
  full.append(path);
  if (!reads_back_as_is(full)) {
    return std::nullopt;
  }
  full.append(row.substr(path.size()));
  return full;
}

std::string relative_image_row(std::string_view row, std::string_view prefix) {
  if (!prefix.empty() && row.starts_with(prefix)) {
    row.remove_prefix(prefix.size());
  }
  return std::string(row);
}

}  // namespace piconel
