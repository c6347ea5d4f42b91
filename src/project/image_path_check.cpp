#include "project/image_path_check.h"

#include <string>

#include "project/project_texts.h"
#include "store/bounded_format.h"

namespace piconel {

bool is_storable_image_path(std::string_view path) {
  for (const char c : path) {
    if (c == '=' || static_cast<unsigned char>(c) < 0x20) {
      return false;
    }
  }
  return true;
}

bool check_image_path_storable(std::string_view path, Prompter* owner) {
  if (is_storable_image_path(path)) {
    return true;
  }
  if (owner != nullptr) {
    const std::string shown(path);
    std::string text;
    (void)bounded_format_string(text, 512, project_texts::kUnstorablePathFormat, shown.c_str());
    (void)owner->message_box(text, project_texts::kAddImageCaption, kMbOk | kMbIconExclamation);
  }
  return false;
}

}  // namespace piconel
