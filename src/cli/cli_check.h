#pragma once

// piconel-cli check PROJECT.ijp [--json]: what would break the output or a
// build with its tables, page by page. Exit 0 when clean, 1 with findings,
// 2 when the project does not load.

#include <span>
#include <string>

#include "cli/cli_command.h"

namespace piconel {

[[nodiscard]] int run_check_command(std::span<const std::string> arguments,
                                    const CliInvocation& invocation, CliConsole& console);

}  // namespace piconel
