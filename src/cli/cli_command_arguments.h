#pragma once

// The argument reading shared by the project commands: positional arguments
// in order, switches ("--name") and options with a value ("--name VALUE" or
// "--name=VALUE") anywhere, --help / -h. Messages are those of the output's
// argument check.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace piconel {

struct CliSwitch {
  std::string_view name;  // "--recursive"
  bool* target;
};

struct CliValueOption {
  std::string_view name;  // "--page"
  std::optional<std::string>* target;
};

struct CliCommandArguments {
  std::span<const CliSwitch> switches;
  std::span<const CliValueOption> values;
  // Positional arguments taken; one more is an "extra argument".
  std::size_t max_positionals = 1;
  // When given, an option no switch or value names is kept here in order
  // instead of being an error (build hands them on to the output's check).
  std::vector<std::string>* others = nullptr;
};

struct CliCommandParse {
  bool help = false;
  std::vector<std::string> positionals;
  std::string error;  // CP932 message for wrong arguments; empty when none
};

// Fills the targets. A value that looks like an option is still the value;
// an empty value, an unknown option or a positional argument too many is an
// error, and so is "--" followed by nothing.
[[nodiscard]] CliCommandParse parse_command_arguments(std::span<const std::string> arguments,
                                                      const CliCommandArguments& accepted);

}  // namespace piconel
