#pragma once

// piconel-cli output PROJECT.ijp ...: the output run without a window (also
// what runs for arguments that name no other command, so their messages stay
// those of the output's argument check).

#include "cli/cli_arguments.h"
#include "cli/cli_command.h"
#include "image/picture_decoder.h"
#include "project/project.h"

namespace piconel {

[[nodiscard]] int run_output_command(const CliInvocation& invocation, CliConsole& console);

// The output of an opened project with the output's options (`project` and
// `settings` of them are not used): the output folder settled, every page
// output, unreadable images and failed pages reported. The output's exit
// status.
[[nodiscard]] int output_opened_project(Project& project, const PictureDecoder* decoders,
                                        const CliOptions& options, CliConsole& console);

}  // namespace piconel
