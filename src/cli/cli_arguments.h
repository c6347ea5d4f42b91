#pragma once

// The command line: piconel-cli output PROJECT.ijp [--out DIR] [--settings FILE]
// [--jobs N] [--if-changed] [--strict] (also --out=DIR, --settings=FILE,
// --jobs=N), or --help / -h.

#include <optional>
#include <string>
#include <vector>

namespace piconel {

struct CliOptions {
  bool help = false;
  std::string project;                  // CP932 path
  std::optional<std::string> out;       // --out DIR
  std::optional<std::string> settings;  // --settings FILE
  std::optional<int> jobs;              // --jobs N (1 or more); none: one per core
  bool if_changed = false;              // --if-changed
  bool strict = false;                  // --strict: an unreadable image fails the run
};

struct CliParse {
  std::optional<CliOptions> options;  // none: wrong arguments
  std::string error;                  // CP932 message for wrong arguments
};

[[nodiscard]] CliParse parse_cli_arguments(const std::vector<std::string>& arguments);

}  // namespace piconel
