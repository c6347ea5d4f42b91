#include "store/bounded_format.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

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
  return result;
}

}  // namespace piconel
