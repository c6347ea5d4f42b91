#include "cli/cli_new.h"

#include <optional>

#include "cli/cli_command_arguments.h"
#include "cli/cli_platform.h"
#include "cli/cli_project_texts.h"
#include "cli/cli_session.h"
#include "cli/cli_texts.h"
#include "image/image_entry.h"
#include "project/project_file.h"
#include "project/project_keys.h"
#include "store/file_io.h"

namespace piconel {

int run_new_command(std::span<const std::string> arguments, const CliInvocation& invocation,
                    CliConsole& console) {
  bool force = false;
  std::optional<std::string> out_dir;
  std::optional<std::string> settings;
  const CliSwitch switches[] = {{"--force", &force}};
  const CliValueOption values[] = {{"--out-dir", &out_dir}, {"--settings", &settings}};
  const CliCommandParse parse = parse_command_arguments(arguments, {switches, values, 1});
  const ProjectArgument project_argument =
      take_project_argument(parse, cli_project_texts::kNewHelp, console);
  if (!project_argument.path) {
    return project_argument.exit_status;
  }
  const std::optional<std::string>& path = project_argument.path;
  // The project dialog's field holds at most 259 bytes; so does the key.
  if (out_dir && out_dir->size() > static_cast<std::size_t>(kMaxPathBytes)) {
    report_usage_error(console, cli_project_texts::kBadPath + *out_dir);
    return kExitUsage;
  }
  if (!force && (file_exists(*path) || is_directory(*path))) {
    console.error(cli_project_texts::kProjectExists + parse.positionals[0] + "\n");
    return kExitFailed;
  }

  CliSession session(invocation, console);
  if (!session.start(settings)) {
    return kExitUsage;
  }
  Project& project = session.project();
  // The window's New: the identification, page000 and its defaults.
  if (open_project(project, "") != OpenResult::NewProject) {
    return kExitFailed;
  }
  if (out_dir) {
    // As the project dialog writes its output folder fields.
    if (!project.store->set_string(kPropertySection, kOutputEnableKey, "1") ||
        !project.store->set_string(kPropertySection, kOutputDirKey, *out_dir)) {
      return kExitFailed;
    }
  }
  // Save As: the failure is reported through the prompter.
  return save_cli_project(project, *path) ? kExitOk : kExitFailed;
}

}  // namespace piconel
