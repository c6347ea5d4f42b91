#include "cli/cli_remove.h"

#include <optional>

#include "cli/cli_command_arguments.h"
#include "cli/cli_page_fill.h"
#include "cli/cli_platform.h"
#include "cli/cli_project_texts.h"
#include "cli/cli_session.h"
#include "cli/cli_texts.h"
#include "image/image_path.h"
#include "project/page_operations.h"
#include "project/project_file.h"
#include "store/file_io.h"

namespace piconel {

int run_remove_command(std::span<const std::string> arguments, const CliInvocation& invocation,
                       CliConsole& console) {
  bool missing = false;
  std::optional<std::string> page;
  std::optional<std::string> image;
  std::optional<std::string> settings;
  const CliSwitch switches[] = {{"--missing", &missing}};
  const CliValueOption values[] = {
      {"--page", &page}, {"--image", &image}, {"--settings", &settings}};
  const CliCommandParse parse = parse_command_arguments(arguments, {switches, values, 1});
  const ProjectArgument project_argument =
      take_project_argument(parse, cli_project_texts::kRemoveHelp, console);
  if (!project_argument.path) {
    return project_argument.exit_status;
  }
  if (!page) {
    report_usage_error(console, cli_project_texts::kPageRequired);
    return kExitUsage;
  }
  if (image.has_value() == missing) {
    report_usage_error(console, cli_project_texts::kImageOrMissing);
    return kExitUsage;
  }
  const std::optional<std::string>& project_path = project_argument.path;

  CliSession session(invocation, console);
  if (!session.start(settings) || !session.open(*project_path)) {
    return kExitUsage;
  }
  Project& project = session.project();
  const std::optional<int> index = find_page(project, *page);
  if (!index) {
    console.error(cli_project_texts::kNoSuchPage + *page + "\n");
    return kExitUsage;
  }
  select_page(project, *index);

  // The image as a full path from here, and as a row relative to the
  // project folder would name it.
  std::optional<std::string> given;
  std::optional<std::string> beside_project;
  if (image) {
    given = full_path_of(*image);
    beside_project = resolve_image_path(*image, project.folder);
  }
  const auto goes = [&](const ImageEntry& entry) {
    if (missing) {
      return !file_exists(entry.path);
    }
    return entry.path == given || entry.path == beside_project;
  };
  const int removed = project.images.remove_where(goes);
  if (removed == 0) {
    if (missing) {
      return kExitOk;
    }
    console.error(cli_project_texts::kNoSuchImage + *image + "\n");
    return kExitFailed;
  }
  return save_cli_project(project, std::nullopt) ? kExitOk : kExitFailed;
}

}  // namespace piconel
