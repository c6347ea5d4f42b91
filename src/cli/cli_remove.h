#pragma once

// piconel-cli remove PROJECT.ijp --page NAME (--image PATH | --missing):
// removes image rows of a page, one image or every image whose file is gone.

#include <span>
#include <string>

#include "cli/cli_command.h"

namespace piconel {

[[nodiscard]] int run_remove_command(std::span<const std::string> arguments,
                                     const CliInvocation& invocation, CliConsole& console);

}  // namespace piconel
