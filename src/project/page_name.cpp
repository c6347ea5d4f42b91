#include "project/page_name.h"

#include <string>

#include "project/project_texts.h"
#include "store/bounded_format.h"
#include "store/cp932.h"

namespace piconel {

namespace {

bool is_name_byte(unsigned char byte) {
  return (byte >= '0' && byte <= '9') || (byte >= 'a' && byte <= 'z') ||
         (byte >= 'A' && byte <= 'Z') || byte == '_';
}

}  // namespace

int find_invalid_page_name_character(std::string_view name) {
  if (name.empty()) {
    return -1;
  }
  int position = 1;
  std::size_t i = 0;
  while (i < name.size()) {
    const auto byte = static_cast<unsigned char>(name[i]);
    if (starts_name_double_byte(byte)) {
      // The byte after it is taken without any test; a first byte with
      // nothing after it (only from broken input) is refused.
      if (name.size() - i < 2) {
        return position;
      }
      i += 2;
    } else {
      if (!is_name_byte(byte)) {
        return position;
      }
      ++i;
    }
    ++position;
  }
  return 0;
}

bool check_page_name(std::string_view name, Prompter* owner) {
  const int position = find_invalid_page_name_character(name);
  if (position == 0) {
    return true;
  }
  if (position > 0 && owner != nullptr) {
    std::string text;
    (void)bounded_format_string(text, 256, project_texts::kInvalidPageNameFormat, position);
    (void)owner->message_box(text, project_texts::kRenamePageCaption, kMbOk | kMbIconError);
  }
  return false;
}

}  // namespace piconel
