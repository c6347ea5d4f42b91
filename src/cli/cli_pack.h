#pragma once

// piconel-cli pack PROJECT.ijp [--page NAME | --all] [--padding N] [--pot]
// [--square] [--dry-run] [--settings FILE]: packs pages tightly with the
// window's packer and saves the project atomically, printing per page its
// box and fill.
//
// Without --page or --all the project's current page is packed. Choices not
// given take the page's remembered ones (PACK_PADDING, PACK_POWEROFTWO,
// PACK_SQUARE along the property chain); the command does not change them.
// Images larger than a manual sheet are reported as "大きすぎる画像(PAGE):
// PATH" and stay; a page whose images do not fit together is reported as
// "詰めて配置できません(PAGE): ..." and left as it is; images that cannot be
// read are reported as by output and packed at their placeholder's size.
//
// Exit status: 0 when every page was packed (and saved), 1 when a page
// could not be packed or the save failed, 2 for wrong arguments or a
// project that does not load.

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "cli/cli_command.h"

namespace piconel {

struct PackCommandOptions {
  bool help = false;
  std::string project;
  std::optional<std::string> page;  // --page NAME
  bool all = false;
  std::optional<int> padding;
  bool power_of_two = false;
  bool square = false;
  bool dry_run = false;
  std::optional<std::string> settings;
};

struct PackCommandParse {
  std::optional<PackCommandOptions> options;  // none: wrong arguments
  std::string error;                          // CP932
};

// `arguments` start after "pack".
[[nodiscard]] PackCommandParse parse_pack_arguments(const std::vector<std::string>& arguments);

// `arguments` start after "pack".
[[nodiscard]] int run_pack_command(std::span<const std::string> arguments,
                                   const CliInvocation& invocation, CliConsole& console);

}  // namespace piconel
