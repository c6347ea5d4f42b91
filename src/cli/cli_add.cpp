#include "cli/cli_add.h"

#include <limits>
#include <optional>
#include <vector>

#include "cli/cli_command_arguments.h"
#include "cli/cli_page_fill.h"
#include "cli/cli_platform.h"
#include "cli/cli_project_texts.h"
#include "cli/cli_session.h"
#include "cli/cli_texts.h"
#include "store/file_io.h"

namespace piconel {

int run_add_command(std::span<const std::string> arguments, const CliInvocation& invocation,
                    CliConsole& console) {
  bool recursive = false;
  PageFill fill;
  std::optional<std::string> page;
  std::optional<std::string> settings;
  const CliSwitch switches[] = {{"--recursive", &recursive},
                                {"--label-from-name", &fill.label_from_name}};
  const CliValueOption values[] = {{"--page", &page}, {"--settings", &settings}};
  const CliCommandParse parse = parse_command_arguments(
      arguments, {switches, values, std::numeric_limits<std::size_t>::max()});
  const ProjectArgument project_argument =
      take_project_argument(parse, cli_project_texts::kAddHelp, console);
  if (!project_argument.path) {
    return project_argument.exit_status;
  }
  if (parse.positionals.size() < 2) {
    report_usage_error(console, cli_project_texts::kNoImagesGiven);
    return kExitUsage;
  }
  const std::optional<std::string>& project_path = project_argument.path;

  CliSession session(invocation, console);
  if (!session.start(settings) || !session.open(*project_path)) {
    return kExitUsage;
  }
  Project& project = session.project();

  // Files in the order given; a folder's images sorted by path.
  bool complete = true;
  std::vector<std::string> paths;
  for (std::size_t i = 1; i < parse.positionals.size(); ++i) {
    const std::optional<std::string> path = full_path_of(parse.positionals[i]);
    if (!path) {
      console.error(cli_project_texts::kBadPath + parse.positionals[i] + "\n");
      complete = false;
    } else if (is_directory(*path)) {
      FolderImages images = folder_images(*path, recursive, console);
      complete = complete && images.complete;
      paths.insert(paths.end(), images.paths.begin(), images.paths.end());
    } else {
      paths.push_back(*path);
    }
  }

  const std::string page_name =
      page ? *page : page_name_at(project, project.current_page).value_or(std::string());
  const PageFillResult result = fill_page(session, page_name, paths, fill, console);
  if (result.page_refused && result.added == 0) {
    return kExitUsage;
  }
  // Saved once, and only when something changed: a failing add leaves the
  // file as it was.
  if (result.added > 0 && !save_cli_project(project, std::nullopt)) {
    return kExitFailed;
  }
  return complete && result.failed == 0 ? kExitOk : kExitFailed;
}

}  // namespace piconel
