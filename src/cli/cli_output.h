#pragma once

// piconel-cli output PROJECT.ijp ...: the output run without a window (also
// what runs for arguments that name no other command, so their messages stay
// those of the output's argument check).

#include "cli/cli_command.h"

namespace piconel {

[[nodiscard]] int run_output_command(const CliInvocation& invocation, CliConsole& console);

}  // namespace piconel
