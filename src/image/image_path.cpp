#include "image/image_path.h"

#include "image/image_entry.h"
#include "store/cp932.h"

namespace piconel {

std::optional<std::string> resolve_image_path(std::string_view path,
                                              std::string_view project_folder) {
  std::string full;
  if (is_absolute_image_path(path)) {
    full = std::string(path);
  } else {
    full.reserve(project_folder.size() + path.size());
    full.append(project_folder);
    full.append(path);
  }
  if (full.size() > static_cast<std::size_t>(kMaxPathBytes)) {
    return std::nullopt;
  }
  return full;
}

std::string cut_label(std::string_view label) {
  std::size_t end = 0;
  while (end < label.size()) {
    const std::size_t step =
        starts_name_double_byte(static_cast<unsigned char>(label[end])) ? 2 : 1;
    if (end + step > static_cast<std::size_t>(kMaxLabelBytes)) {
      break;
    }
    end += step;
  }
  // A lone first byte at the very end of the text stays (there is no second
  // byte to keep it company anyway).
  return std::string(label.substr(0, end < label.size() ? end : label.size()));
}

std::string label_from_path(std::string_view path) {
  return cut_label(to_upper_keeping_double_bytes(split_path(path).name));
}

}  // namespace piconel
