#pragma once

// The command line: piconel-cli output PROJECT.ijp [--out DIR] [--settings FILE]
// [--jobs N] [--if-changed] [--strict] [--png] [--png-transparent] [--json]
// (also --out=DIR, --settings=FILE, --jobs=N), or --help / -h.

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
  // Outputs switched on for this run whatever the project says (the project
  // file is not changed): --png, --png-transparent (implies --png), --json.
  bool png = false;
  bool png_transparent = false;
  bool json = false;
};

struct CliParse {
  std::optional<CliOptions> options;  // none: wrong arguments
  std::string error;                  // CP932 message for wrong arguments
};

[[nodiscard]] CliParse parse_cli_arguments(const std::vector<std::string>& arguments);

}  // namespace piconel
