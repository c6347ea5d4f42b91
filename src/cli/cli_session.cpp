#include "cli/cli_session.h"

#include "cli/cli_platform.h"
#include "cli/cli_plugins.h"
#include "cli/cli_project_texts.h"
#include "cli/cli_texts.h"
#include "image/plugin_settings.h"
#include "project/current_page.h"
#include "project/project_file.h"
#include "project/used_extent.h"
#include "store/decimal_text.h"
#include "store/file_io.h"

namespace piconel {
namespace {

// The window's texts end their lines in CR LF; the console wants LF.
std::string console_lines(std::string_view text) {
  std::string lines;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      continue;
    }
    lines += text[i];
  }
  return lines;
}

struct HeadlessDisplay final : EntryDisplay {};

}  // namespace

ProjectArgument take_project_argument(const CliCommandParse& parse, std::string_view help,
                                      CliConsole& console) {
  if (parse.help) {
    console.output(help);
    return {};
  }
  ProjectArgument result;
  result.exit_status = kExitUsage;
  if (!parse.error.empty()) {
    report_usage_error(console, parse.error);
  } else if (parse.positionals.empty()) {
    report_usage_error(console, cli_texts::kMissingProject);
  } else if (!(result.path = full_path_of(parse.positionals[0]))) {
    report_usage_error(console, cli_project_texts::kBadPath + parse.positionals[0]);
  }
  return result;
}

bool load_cli_settings(DocumentStore& settings, const std::optional<std::string>& settings_option,
                       std::string_view program_folder, CliConsole& console) {
  std::optional<std::string> settings_path = settings_option;
  if (!settings_path) {
    std::string beside = std::string(program_folder) + "piconel.ini";
    if (!program_folder.empty() && file_exists(beside)) {
      settings_path = std::move(beside);
    }
  }
  if (settings_path && !settings.load(*settings_path, false)) {
    console.error(std::string(cli_texts::kSettingsLoadFailed) + "\n");
    return false;
  }
  return true;
}

bool open_cli_project(Project& project, std::string_view path, CliConsole& console) {
  // Opened as the window opens it (a project without pages gets page000,
  // the current page is loaded). The open's own messages would name the
  // failing line in a box; here they are reported instead.
  Prompter* const prompter = project.ports.prompter;
  project.ports.prompter = &null_prompter();
  const OpenResult opened = open_project(project, path);
  project.ports.prompter = prompter;
  if (opened == OpenResult::Opened) {
    return true;
  }
  std::string message = cli_texts::kProjectLoadFailed;
  if (opened == OpenResult::LoadFailed && project.store && project.store->line_count() > 0) {
    message += "\n(line:" + format_decimal(project.store->line_count()) + ")";
  }
  console.error(message + "\n");
  return false;
}

bool save_cli_project(Project& project, std::optional<std::string_view> path) {
  if (!sync_current_page(project)) {
    return false;
  }
  return save_project(project, path) == SaveResult::Saved;
}

int CliPrompter::message_box(std::string_view text, std::string_view caption, unsigned type) {
  static_cast<void>(caption);
  if ((type & 0xF) != kMbOk) {
    return kIdCancel;
  }
  console_.error(console_lines(text) + "\n");
  return kIdOk;
}

bool CliPrompter::ask_file_name(std::string_view caption, std::string& file_name,
                                std::span<const FileFilter> filters, bool save_mode) {
  static_cast<void>(caption);
  static_cast<void>(file_name);
  static_cast<void>(filters);
  static_cast<void>(save_mode);
  return false;
}

SheetExtent HeadlessSheetView::used_extent() const {
  return compute_used_extent(project_.images.entries());
}

std::unique_ptr<EntryDisplay> HeadlessDisplays::create_display(ImageEntry& entry,
                                                               const Dib& picture) {
  static_cast<void>(entry);
  static_cast<void>(picture);
  return std::make_unique<HeadlessDisplay>();
}

std::unique_ptr<EntryDisplay> HeadlessDisplays::create_placeholder_display(ImageEntry& entry) {
  static_cast<void>(entry);
  return std::make_unique<HeadlessDisplay>();
}

CliSession::CliSession(const CliInvocation& invocation, CliConsole& console)
    : invocation_(invocation),
      console_(console),
      prompter_(console),
      project_(ProjectPorts{}, &settings_),
      view_(project_) {
  project_.ports.prompter = &prompter_;
  project_.ports.sheet = &view_;
}

bool CliSession::start(const std::optional<std::string>& settings_option) {
  if (!load_cli_settings(settings_, settings_option, invocation_.program_folder, console_)) {
    return false;
  }
  // Plug-ins first, as in the window; the built-in decoders follow them.
  plugins_ = load_cli_plugins(invocation_.program_folder, read_search_susie_folder(settings_));
  entry_source_ = std::make_unique<ImageEntrySource>(plugins_.get(), nullptr, &displays_);
  project_.ports.entry_source = entry_source_.get();
  return true;
}

}  // namespace piconel
