#pragma once

// What every project command of the command line shares: the application
// settings, the Susie plug-ins, and a project opened and saved through the
// window's own code with headless stand-ins for its windows. Image entries
// get a display that draws nothing, so a page load, the automatic placement
// and the used extent work on them exactly as on the window's entries.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "cli/cli_command.h"
#include "cli/cli_command_arguments.h"
#include "image/open_image_entry.h"
#include "image/picture_decoder.h"
#include "project/image_entry_source.h"
#include "project/project.h"
#include "store/document_store.h"

namespace piconel {

// What a project command does first with its parsed arguments: --help
// answered with `help`; wrong arguments, a missing PROJECT.ijp and a path
// that cannot be made full reported. The project's full path, or none with
// `exit_status` the status to end with.
struct ProjectArgument {
  std::optional<std::string> path;
  int exit_status = kExitOk;
};
[[nodiscard]] ProjectArgument take_project_argument(const CliCommandParse& parse,
                                                    std::string_view help, CliConsole& console);

// The settings store of a command: --settings FILE (must load; may be
// empty), else piconel.ini beside the program when it is there. False (and
// reported) when the file does not load.
[[nodiscard]] bool load_cli_settings(DocumentStore& settings,
                                     const std::optional<std::string>& settings_option,
                                     std::string_view program_folder, CliConsole& console);

// Opens `path` as the window opens it; reports a project that does not load.
[[nodiscard]] bool open_cli_project(Project& project, std::string_view path, CliConsole& console);

// Synchronises the current page and saves as the window's Save (`path`
// none) or Save As does: atomically, every section kept. Refusals and
// failures are reported through the project's prompter.
[[nodiscard]] bool save_cli_project(Project& project, std::optional<std::string_view> path);

// The window's message boxes on the console: a box with only an OK button
// (a refusal or a failure) is written to stderr; a question is answered
// Cancel without being shown (a command line asks nothing). File dialogs
// are cancelled.
class CliPrompter final : public Prompter {
 public:
  explicit CliPrompter(CliConsole& console) : console_(console) {}
  int message_box(std::string_view text, std::string_view caption, unsigned type) override;
  bool ask_file_name(std::string_view caption, std::string& file_name,
                     std::span<const FileFilter> filters, bool save_mode) override;

 private:
  CliConsole& console_;
};

// The sheet view without a window: it keeps the page's fixed sheet size and
// measures the used extent over the project's entries.
class HeadlessSheetView final : public SheetViewPort {
 public:
  explicit HeadlessSheetView(const Project& project) : project_(project) {}
  bool exists() const override { return true; }
  void begin_page_load() override {}
  void reset_page_state() override {
    fixed_sheet_ = {};
    background_ = make_colorref(255, 255, 255);
  }
  void set_sheet_size(int width, int height) override { fixed_sheet_ = {width, height}; }
  void set_background_colour(ColorRef colour) override { background_ = colour; }
  void redraw() override {}
  SheetExtent used_extent() const override;
  void end_page_load() override {}

  // The page's fixed sheet size; 0 x 0 when the sheet size is automatic.
  SheetExtent fixed_sheet() const { return fixed_sheet_; }
  ColorRef background() const { return background_; }

 private:
  const Project& project_;
  SheetExtent fixed_sheet_;
  ColorRef background_ = make_colorref(255, 255, 255);
};

// Displays that draw nothing: an entry with one counts as shown.
class HeadlessDisplays final : public EntryDisplayFactory {
 public:
  std::unique_ptr<EntryDisplay> create_display(ImageEntry& entry, const Dib& picture) override;
  std::unique_ptr<EntryDisplay> create_placeholder_display(ImageEntry& entry) override;
};

// One command's project with its settings, plug-ins and headless windows.
class CliSession {
 public:
  CliSession(const CliInvocation& invocation, CliConsole& console);
  CliSession(const CliSession&) = delete;
  CliSession& operator=(const CliSession&) = delete;

  // Loads the settings and the plug-ins; false (reported) when the settings
  // do not load.
  [[nodiscard]] bool start(const std::optional<std::string>& settings_option);
  [[nodiscard]] bool open(std::string_view path) {
    return open_cli_project(project_, path, console_);
  }

  Project& project() { return project_; }
  const PictureDecoder* decoders() const { return plugins_.get(); }
  EntryDisplayFactory& displays() { return displays_; }
  const HeadlessSheetView& view() const { return view_; }
  Prompter& prompter() { return prompter_; }

 private:
  const CliInvocation& invocation_;
  CliConsole& console_;
  DocumentStore settings_;
  CliPrompter prompter_;
  HeadlessDisplays displays_;
  std::unique_ptr<PictureDecoder> plugins_;
  std::unique_ptr<ImageEntrySource> entry_source_;
  Project project_;
  HeadlessSheetView view_;
};

}  // namespace piconel
