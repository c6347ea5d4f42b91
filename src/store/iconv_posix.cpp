#include "store/iconv_posix.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace piconel {

namespace {

// Owns one iconv conversion descriptor.
class IconvDescriptor {
 public:
  IconvDescriptor(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~IconvDescriptor() {
    if (valid()) {
      iconv_close(cd_);
    }
  }
  IconvDescriptor(const IconvDescriptor&) = delete;
  IconvDescriptor& operator=(const IconvDescriptor&) = delete;
  bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

}  // namespace

std::optional<std::string> iconv_convert(const char* to, const char* from, std::string_view text) {
  IconvDescriptor cd(to, from);
  if (!cd.valid()) {
    return std::nullopt;
  }
  // iconv takes a non-const input pointer; convert from a private copy.
  std::vector<char> input(text.begin(), text.end());
  char* in = input.data();
  std::size_t in_left = input.size();
  std::string output;
  char buffer[256];
  while (in_left > 0) {
    char* put = buffer;
    std::size_t put_left = sizeof buffer;
    const std::size_t done = iconv(cd.get(), &in, &in_left, &put, &put_left);
    output.append(buffer, static_cast<std::size_t>(put - buffer));
    if (done == static_cast<std::size_t>(-1) && errno != E2BIG) {
      return std::nullopt;
    }
  }
  // Flush any shift state (none for these encodings, but iconv asks for it).
  char* put = buffer;
  std::size_t put_left = sizeof buffer;
  if (iconv(cd.get(), nullptr, nullptr, &put, &put_left) == static_cast<std::size_t>(-1)) {
    return std::nullopt;
  }
  output.append(buffer, static_cast<std::size_t>(put - buffer));
  return output;
}

}  // namespace piconel
