#pragma once

// piconel-cli list PROJECT.ijp [--json]: the pages with their settings and
// the images with path, position, size, label and key, as the window shows
// them.

#include <span>
#include <string>

#include "cli/cli_command.h"

namespace piconel {

[[nodiscard]] int run_list_command(std::span<const std::string> arguments,
                                   const CliInvocation& invocation, CliConsole& console);

}  // namespace piconel
