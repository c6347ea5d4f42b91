#include "cli/cli_output.h"

#include <memory>
#include <optional>
#include <utility>

#include "cli/cli_arguments.h"
#include "cli/cli_command.h"
#include "cli/cli_plugins.h"
#include "cli/cli_session.h"
#include "cli/cli_texts.h"
#include "image/plugin_settings.h"
#include "output/output_run.h"
#include "output/project_output.h"
#include "project/project.h"
#include "project/project_file.h"
#include "project/project_keys.h"
#include "store/bounded_format.h"
#include "store/decimal_text.h"
#include "store/document_store.h"
#include "store/file_io.h"

namespace piconel {
namespace {

// Progress is shown once a run has taken this long.
constexpr double kLongRunSeconds = 1.0;
// Room for one image message: the page name and a path of up to 259 bytes.
constexpr std::size_t kMessageBytes = 512;

class CliPort final : public OutputRunPort {
 public:
  explicit CliPort(CliConsole& console) : console_(console) {}

  // The command line settles the folder before the run; it never asks.
  bool choose_output_folder(std::string& folder) override {
    (void)folder;
    return false;
  }

  void show_error(std::string_view text, std::string_view caption) override {
    (void)caption;
    end_progress_line();
    console_.error(std::string(text) + "\n");
  }

  void image_unreadable(std::string_view page_name, std::string_view path) override {
    end_progress_line();
    std::string message;
    (void)bounded_format_string(message, kMessageBytes, cli_texts::kImageUnreadableFormat,
                                std::string(page_name).c_str(), std::string(path).c_str());
    console_.error(message + "\n");
    ++unreadable_images_;
  }

  int unreadable_images() const { return unreadable_images_; }

  void page_finished(int pages_done, int page_count) override {
    if (!console_.error_is_terminal() || console_.elapsed_seconds() < kLongRunSeconds) {
      return;
    }
    // Built by appending: GCC 12 warns wrongly (-Wrestrict) about "\r" + string.
    std::string line = "\r";
    line += format_decimal(pages_done);
    line += " / ";
    line += format_decimal(page_count);
    line += cli_texts::kProgressPages;
    console_.error(line);
    progress_shown_ = true;
  }

  void end_progress_line() {
    if (progress_shown_) {
      console_.error("\n");
      progress_shown_ = false;
    }
  }

 private:
  CliConsole& console_;
  bool progress_shown_ = false;
  int unreadable_images_ = 0;
};

}  // namespace

int run_output_command(const CliInvocation& invocation, CliConsole& console) {
  const CliParse parse = parse_cli_arguments(invocation.arguments);
  if (!parse.options) {
    report_usage_error(console, parse.error);
    return kExitUsage;
  }
  const CliOptions& options = *parse.options;
  if (options.help) {
    console.output(cli_texts::kHelpText);
    return kExitOk;
  }

  // The application level, then the project as the window opens it, so the
  // same file gives the same output. No sheet view: the current page's rows
  // are carried, not read, until the page pass reads them.
  DocumentStore settings;
  if (!load_cli_settings(settings, options.settings, invocation.program_folder, console)) {
    return kExitUsage;
  }
  Project project(ProjectPorts{}, &settings);
  if (!open_cli_project(project, options.project, console)) {
    return kExitUsage;
  }

  // Plug-ins first, as in the window; the built-in decoders follow them.
  const std::unique_ptr<PictureDecoder> plugins =
      load_cli_plugins(invocation.program_folder, read_search_susie_folder(settings));

  return output_opened_project(project, plugins.get(), options, console);
}

int output_opened_project(Project& project, const PictureDecoder* decoders,
                          const CliOptions& options, CliConsole& console) {
  // In the loaded copy only: the project file is never saved here.
  for (const auto& [on, key] : {std::pair{options.png, kOutputPngKey},
                                std::pair{options.png_transparent, kOutputPngTransparentKey},
                                std::pair{options.json, kOutputJsonKey}}) {
    if (on && !project.store->set_string(kPropertySection, key, "1")) {
      console.error(std::string(cli_texts::kProjectLoadFailed) + "\n");
      return kExitUsage;
    }
  }

  std::optional<std::string> output_folder;
  if (options.out) {
    // Made by the run when missing, as OUTPUTDIR is.
    output_folder = *options.out;
  } else if (!project.store->get_flag(kPropertySection, kOutputEnableKey)) {
    report_usage_error(console, cli_texts::kNoOutputFolder);
    return kExitUsage;
  }

  CliPort port(console);
  const OutputRunResult result =
      run_project_output(project, decoders, port, output_folder, options.if_changed,
                         options.jobs ? *options.jobs : one_job_per_core());
  port.end_progress_line();
  // Not run: the output folder could not be made (reported by the run).
  if (!result.ran || !result.failed_pages.empty() || !result.failed_files.empty() ||
      (options.strict && port.unreadable_images() > 0)) {
    return kExitPageFailed;
  }
  return kExitOk;
}

}  // namespace piconel
