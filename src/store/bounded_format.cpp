#include "store/bounded_format.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

#include "store/cp932.h"

namespace piconel {

namespace {

int bounded_vformat(char* buffer, std::size_t size, const char* format, std::va_list args) {
  if (buffer == nullptr || size == 0) {
    return -1;
  }
  const int length = std::vsnprintf(buffer, size, format, args);
  if (length < 0) {
    buffer[0] = '\0';
    return -1;
  }
  if (static_cast<std::size_t>(length) >= size) {
    buffer[size - 1] = '\0';
    return -1;
  }
  return length;
}

// The length of the longest prefix of `text` that ends with a whole CP932
// character: a lead byte left without its trail byte by a cut is dropped.
std::size_t whole_characters_length(std::string_view text) {
  std::size_t position = 0;
  while (position < text.size()) {
    const bool lead = is_cp932_lead_byte(static_cast<unsigned char>(text[position]));
    if (lead && position + 1 == text.size()) {
      return position;
    }
    position += lead ? 2 : 1;
  }
  return text.size();
}

}  // namespace

int bounded_format(char* buffer, std::size_t size, const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  const int result = bounded_vformat(buffer, size, format, args);
  va_end(args);
  return result;
}

int bounded_format_string(std::string& out, std::size_t size, const char* format, ...) {
  out.clear();
  if (size == 0) {
    return -1;
  }
  std::vector<char> buffer(size);
  std::va_list args;
  va_start(args, format);
  const int result = bounded_vformat(buffer.data(), size, format, args);
  va_end(args);
  out.assign(buffer.data());
  if (result < 0) {
    out.resize(whole_characters_length(out));
  }
  return result;
}

}  // namespace piconel
