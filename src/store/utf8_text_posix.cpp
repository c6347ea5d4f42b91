#include "store/iconv_posix.h"
#include "store/utf8_text.h"

namespace piconel {

std::optional<std::string> cp932_characters_to_utf8(std::string_view characters) {
  return iconv_convert("UTF-8", "CP932", characters);
}

}  // namespace piconel
