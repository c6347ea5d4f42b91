#pragma once

// piconel-cli add PROJECT.ijp PATH... [--page NAME] [--recursive]
// [--label-from-name]: image files, or the image files of folders, added to
// a page as the window's add places them; saved once at the end.

#include <span>
#include <string>

#include "cli/cli_command.h"

namespace piconel {

[[nodiscard]] int run_add_command(std::span<const std::string> arguments,
                                  const CliInvocation& invocation, CliConsole& console);

}  // namespace piconel
