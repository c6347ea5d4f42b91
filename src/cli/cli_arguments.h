#pragma once

// The command line: piconel-cli output PROJECT.ijp [--out DIR] [--settings FILE]
// (also --out=DIR and --settings=FILE), or --help / -h.

#include <optional>
#include <string>
#include <vector>

namespace piconel {

struct CliOptions {
  bool help = false;
  std::string project;                  // CP932 path
  std::optional<std::string> out;       // --out DIR
  std::optional<std::string> settings;  // --settings FILE
};

struct CliParse {
  std::optional<CliOptions> options;  // none: wrong arguments
  std::string error;                  // CP932 message for wrong arguments
};

[[nodiscard]] CliParse parse_cli_arguments(const std::vector<std::string>& arguments);

}  // namespace piconel
