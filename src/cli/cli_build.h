#pragma once

// piconel-cli build FOLDER --out DIR [--save PROJECT.ijp] [...]: one call
// from a folder of sprites to sheets and tables. The folder's own images go
// on page000, each subfolder holding images becomes a page, the pages are
// placed by place_build_page and output as `output` does.

#include <span>
#include <string>

#include "cli/cli_command.h"

namespace piconel {

[[nodiscard]] int run_build_command(std::span<const std::string> arguments,
                                    const CliInvocation& invocation, CliConsole& console);

// A page name for a folder name: every byte the page name rule refuses
// becomes '_' (a double-byte character stays whole), cut to 30 bytes;
// "page" for an empty name.
[[nodiscard]] std::string page_name_for_folder(std::string_view folder_name);

}  // namespace piconel
