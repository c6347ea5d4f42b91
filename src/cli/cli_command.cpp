#include "cli/cli_command.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <thread>

#include "cli/cli_arguments.h"
#include "cli/cli_pack.h"
#include "cli/cli_plugins.h"
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

// One job per core; one when the number of cores is not known.
int default_jobs() {
  const unsigned cores = std::thread::hardware_concurrency();
  return cores == 0 ? 1 : static_cast<int>(std::min(cores, 64u));
}

void usage_error(CliConsole& console, std::string_view message) {
  console.error(std::string(message) + "\n" + cli_texts::kUsageHint + "\n");
}

}  // namespace

int run_cli(const CliInvocation& invocation, CliConsole& console) {
  if (!invocation.arguments.empty() && invocation.arguments[0] == "pack") {
    return run_pack_command(invocation, console);
  }
  const CliParse parse = parse_cli_arguments(invocation.arguments);
  if (!parse.options) {
    usage_error(console, parse.error);
    return kExitUsage;
  }
  const CliOptions& options = *parse.options;
  if (options.help) {
    console.output(cli_texts::kHelpText);
    return kExitOk;
  }

  // The application level: --settings FILE (must load; may be empty), else
  // piconel.ini beside the program when it is there.
  DocumentStore settings;
  std::optional<std::string> settings_path = options.settings;
  if (!settings_path) {
    std::string beside = invocation.program_folder + "piconel.ini";
    if (!invocation.program_folder.empty() && file_exists(beside)) {
      settings_path = std::move(beside);
    }
  }
  if (settings_path && !settings.load(*settings_path, false)) {
    console.error(std::string(cli_texts::kSettingsLoadFailed) + "\n");
    return kExitUsage;
  }

  // Opened as the window opens it (a project without pages gets page000,
  // the current page is loaded and later synchronised), so the same file
  // gives the same output. No window: the open's own messages go nowhere and
  // are reported here instead.
  Project project(ProjectPorts{}, &settings);
  const OpenResult opened = open_project(project, options.project);
  if (opened != OpenResult::Opened) {
    std::string message = cli_texts::kProjectLoadFailed;
    if (opened == OpenResult::LoadFailed && project.store->line_count() > 0) {
      message += "\n(line:" + format_decimal(project.store->line_count()) + ")";
    }
    console.error(message + "\n");
    return kExitUsage;
  }

  std::optional<std::string> output_folder;
  if (options.out) {
    if (!is_directory(*options.out) && !make_directories(*options.out)) {
      console.error(std::string(cli_texts::kCannotMakeOutputFolder) + *options.out + "\n");
      return kExitUsage;
    }
    output_folder = *options.out;
  } else if (!project.store->get_flag(kPropertySection, kOutputEnableKey)) {
    usage_error(console, cli_texts::kNoOutputFolder);
    return kExitUsage;
  }

  // Plug-ins first, as in the window; the built-in decoders follow them.
  const std::unique_ptr<PictureDecoder> plugins =
      load_cli_plugins(invocation.program_folder, read_search_susie_folder(settings));

  CliPort port(console);
  const OutputRunResult result =
      run_project_output(project, plugins.get(), port, output_folder, options.if_changed,
                         options.jobs ? *options.jobs : default_jobs());
  port.end_progress_line();
  if (!result.failed_pages.empty() || (options.strict && port.unreadable_images() > 0)) {
    return kExitPageFailed;
  }
  return kExitOk;
}

}  // namespace piconel
