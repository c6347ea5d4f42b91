#include <iconv.h>
#include <unistd.h>

#include <limits.h>
#include <cerrno>
#include <cstdio>

#include "cli/cli_platform.h"
#include "store/cp932.h"

namespace piconel {
namespace {

class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() {
    if (valid()) {
      iconv_close(cd_);
    }
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

// Whole-text conversion; none on any invalid or unconvertible sequence.
std::optional<std::string> convert(const char* to, const char* from, std::string_view text) {
  Iconv cd(to, from);
  if (!cd.valid()) {
    return std::nullopt;
  }
  std::string out;
  char* in = const_cast<char*>(text.data());
  std::size_t in_left = text.size();
  char buffer[256];
  while (in_left > 0) {
    char* put = buffer;
    std::size_t put_left = sizeof buffer;
    const std::size_t done = iconv(cd.get(), &in, &in_left, &put, &put_left);
    out.append(buffer, static_cast<std::size_t>(put - buffer));
    if (done == static_cast<std::size_t>(-1) && errno != E2BIG) {
      return std::nullopt;
    }
  }
  return out;
}

// CP932 for the terminal: bytes that are no character become '?'.
std::string cp932_to_utf8_lenient(std::string_view cp932) {
  if (auto whole = convert("UTF-8", "CP932", cp932)) {
    return *whole;
  }
  std::string out;
  for (std::size_t i = 0; i < cp932.size();) {
    const bool pair =
        is_cp932_lead_byte(static_cast<unsigned char>(cp932[i])) && i + 1 < cp932.size();
    const std::size_t length = pair ? 2 : 1;
    const auto one = convert("UTF-8", "CP932", cp932.substr(i, length));
    out += one ? *one : "?";
    i += length;
  }
  return out;
}

void write_all(std::FILE* stream, std::string_view cp932) {
  const std::string text = cp932_to_utf8_lenient(cp932);
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fflush(stream);
}

}  // namespace

std::optional<std::string> utf8_to_cp932(std::string_view utf8) {
  return convert("CP932", "UTF-8", utf8);
}

std::optional<std::vector<std::string>> cp932_arguments(int argc, char** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) {
    auto converted = utf8_to_cp932(argv[i]);
    if (!converted) {
      return std::nullopt;
    }
    arguments.push_back(std::move(*converted));
  }
  return arguments;
}

void write_error_text(std::string_view cp932) {
  write_all(stderr, cp932);
}
void write_output_text(std::string_view cp932) {
  write_all(stdout, cp932);
}

bool stderr_is_terminal() {
  return isatty(STDERR_FILENO) == 1;
}

std::string program_folder() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) {
    return {};
  }
  const auto converted = utf8_to_cp932(std::string_view(path, static_cast<std::size_t>(length)));
  if (!converted) {
    return {};
  }
  return folder_of(*converted);
}

}  // namespace piconel
