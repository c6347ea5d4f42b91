// CP932 text: the path helpers and the native name of a path; and the
// command line's arguments (NUL-separated in the input).

#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_arguments.h"
#include "fuzz/fuzz_targets.h"
#include "image/image_path.h"
#include "output/page_file_name.h"
#include "store/cp932.h"
#include "store/file_io.h"

namespace piconel::fuzz {

int cp932(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const PathParts parts = split_path(text);
  require(
      parts.drive.size() + parts.directory.size() + parts.name.size() + parts.extension.size() <=
          text.size(),
      "split_path longer than its path");
  static_cast<void>(folder_of(text));
  static_cast<void>(file_name_of(text));
  const std::string_view extension = extension_of(text);
  require(extension.empty() || text.ends_with(extension), "extension not at the end");
  static_cast<void>(starts_with_drive(text));
  static_cast<void>(ends_with_path_separator(text));
  static_cast<void>(is_absolute_image_path(text));
  for (std::size_t at = find_path_separator(text); at < text.size();
       at = find_path_separator(text, at + 1)) {
    require(is_path_separator(text[at]), "separator found where there is none");
  }
  require(to_upper_keeping_double_bytes(text).size() == text.size(), "upper case changes length");
  static_cast<void>(equals_ignoring_ascii_case(text, to_upper_keeping_double_bytes(text)));
  static_cast<void>(native_path_for_display(text));
  static_cast<void>(page_bitmap_file_name(text));
  static_cast<void>(resolve_image_path(text, "Z:\\project\\"));
  return 0;
}

int args(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> arguments(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      arguments.emplace_back();
    } else {
      arguments.back().push_back(static_cast<char>(data[i]));
    }
  }
  const CliParse parse = parse_cli_arguments(arguments);
  require(parse.options.has_value() || !parse.error.empty(), "refused without a message");
  if (parse.options && parse.options->jobs) {
    require(*parse.options->jobs >= 1, "jobs below 1");
  }
  return 0;
}

}  // namespace piconel::fuzz
