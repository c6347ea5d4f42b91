#include "cli/cli_command.h"

#include <string>

#include "cli/cli_add.h"
#include "cli/cli_build.h"
#include "cli/cli_check.h"
#include "cli/cli_list.h"
#include "cli/cli_new.h"
#include "cli/cli_output.h"
#include "cli/cli_pack.h"
#include "cli/cli_pack_texts.h"
#include "cli/cli_project_texts.h"
#include "cli/cli_remove.h"
#include "cli/cli_texts.h"

namespace piconel {
namespace {

// One row per command; `output` is not here: it runs for every first
// argument no row names.
constexpr CliCommand kCliCommands[] = {
    {"new", cli_project_texts::kNewUsage, run_new_command},
    {"add", cli_project_texts::kAddUsage, run_add_command},
    {"remove", cli_project_texts::kRemoveUsage, run_remove_command},
    {"check", cli_project_texts::kCheckUsage, run_check_command},
    {"list", cli_project_texts::kListUsage, run_list_command},
    {"build", cli_project_texts::kBuildUsage, run_build_command},
    {"pack", cli_pack_texts::kUsage, run_pack_command},
};

// piconel-cli --help: the output's help, then the usage of the other commands.
std::string overview_help() {
  std::string text = cli_texts::kHelpText;
  bool first = true;
  for (const CliCommand& command : cli_commands()) {
    if (first) {
      text += "\n";
      text += cli_project_texts::kOtherCommandsHeading;
      text += "\n";
      first = false;
    }
    text += "  ";
    text += command.usage;
    text += "\n";
  }
  return text;
}

}  // namespace

std::span<const CliCommand> cli_commands() {
  return kCliCommands;
}

void report_usage_error(CliConsole& console, std::string_view message) {
  console.error(std::string(message) + "\n" + cli_texts::kUsageHint + "\n");
}

int run_cli(const CliInvocation& invocation, CliConsole& console) {
  const std::vector<std::string>& arguments = invocation.arguments;
  if (!arguments.empty()) {
    for (const CliCommand& command : cli_commands()) {
      if (arguments[0] == command.name) {
        return command.run(std::span(arguments).subspan(1), invocation, console);
      }
    }
    if (arguments[0] == "--help" || arguments[0] == "-h") {
      console.output(overview_help());
      return kExitOk;
    }
  }
  return run_output_command(invocation, console);
}

}  // namespace piconel
