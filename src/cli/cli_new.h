#pragma once

// piconel-cli new PROJECT.ijp [--out-dir DIR] [--force]: a new project as
// the window's New and Save As write it.

#include <span>
#include <string>

#include "cli/cli_command.h"

namespace piconel {

[[nodiscard]] int run_new_command(std::span<const std::string> arguments,
                                  const CliInvocation& invocation, CliConsole& console);

}  // namespace piconel
