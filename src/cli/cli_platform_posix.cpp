#include <unistd.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <limits.h>
#include <cstdio>

#include "cli/cli_platform.h"
#include "store/cp932.h"
#include "store/iconv_posix.h"

namespace piconel {
namespace {

// CP932 for the terminal: bytes that are no character become '?'.
std::string lenient_utf8(std::string_view cp932) {
  if (auto whole = iconv_convert("UTF-8", "CP932", cp932)) {
    return *whole;
  }
  std::string out;
  for (std::size_t i = 0; i < cp932.size();) {
    const bool pair =
        is_cp932_lead_byte(static_cast<unsigned char>(cp932[i])) && i + 1 < cp932.size();
    const std::size_t length = pair ? 2 : 1;
    const auto one = iconv_convert("UTF-8", "CP932", cp932.substr(i, length));
    out += one ? *one : "?";
    i += length;
  }
  return out;
}

void write_all(std::FILE* stream, std::string_view cp932) {
  const std::string text = lenient_utf8(cp932);
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fflush(stream);
}

}  // namespace

std::optional<std::string> utf8_to_cp932(std::string_view utf8) {
  return iconv_convert("CP932", "UTF-8", utf8);
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

std::optional<std::string> full_path_of(std::string_view path) {
  if (path.empty()) {
    return std::nullopt;
  }
  // Already in the program's form (a drive or a share): as it is.
  if ((path.size() >= 3 && path[1] == ':' && path[2] == '\\') ||
      (path.size() >= 2 && path[0] == '\\' && path[1] == '\\')) {
    return std::string(path);
  }
  std::string joined;
  if (path[0] != '/') {
    char current[PATH_MAX];
    if (getcwd(current, sizeof current) == nullptr) {
      return std::nullopt;
    }
    const auto folder = utf8_to_cp932(current);
    if (!folder) {
      return std::nullopt;
    }
    joined = *folder + "/";
  }
  joined += path;
  // '/' is never the second byte of a CP932 character, so the split is safe.
  std::vector<std::string_view> parts;
  std::string_view rest = joined;
  while (!rest.empty()) {
    const std::size_t slash = rest.find('/');
    const std::string_view part = rest.substr(0, slash);
    rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
    if (part.empty() || part == ".") {
      continue;
    }
    if (part == "..") {
      if (!parts.empty()) {
        parts.pop_back();
      }
      continue;
    }
    parts.push_back(part);
  }
  std::string full = "Z:";
  for (const std::string_view part : parts) {
    full += '\\';
    full += part;
  }
  if (parts.empty()) {
    full += '\\';
  }
  return full;
}

void keep_freed_memory_for_reuse() {
#ifdef __GLIBC__
  // Blocks below 16 MB come from the heap, and up to 64 MB of free heap is
  // kept rather than trimmed.
  mallopt(M_MMAP_THRESHOLD, 16 << 20);
  mallopt(M_TRIM_THRESHOLD, 64 << 20);
#endif
}

}  // namespace piconel
