#include "app/commands_win32.h"

#include <array>
#include <optional>
#include <string_view>

#include "app/output_port_win32.h"
#include "app/resource.h"
#include "output/project_output.h"
#include "project/current_page.h"
#include "project/project_file.h"

namespace piconel {
namespace {

// New and Open ask about unsaved changes first and do nothing on cancel.
void new_project(App& app, const CommandMessage&) {
  if (!ask_save_changes(app.project)) {
    return;
  }
  open_project(app.project, std::string_view());
  static_cast<void>(update_title(app.project));
}

void open_project_file(App& app, const CommandMessage&) {
  if (!ask_save_changes(app.project)) {
    return;
  }
  open_project(app.project, std::nullopt);
  static_cast<void>(update_title(app.project));
}

// Save and Save As write the current page back first; a failed write is
// reported by save_project itself.
void save(App& app, const CommandMessage&) {
  static_cast<void>(sync_current_page(app.project));
  static_cast<void>(save_project(app.project, std::nullopt));
}

void save_as(App& app, const CommandMessage&) {
  static_cast<void>(sync_current_page(app.project));
  static_cast<void>(save_project(app.project, std::string_view()));
}

void output(App& app, const CommandMessage&) {
  WindowOutputPort port(app.main_window, app.prompter);
  static_cast<void>(run_project_output(app.project, &app.plugins, port));
}

// The close sequence runs on the close request.
void exit_program(App& app, const CommandMessage&) {
  PostMessageW(app.main_window, WM_CLOSE, 0, 0);
}

constexpr std::array kCommands = {
    Command{IDM_PROJECT_NEW, new_project}, Command{IDM_PROJECT_OPEN, open_project_file},
    Command{IDM_PROJECT_SAVE, save},       Command{IDM_PROJECT_SAVE_AS, save_as},
    Command{IDM_OUTPUT, output},           Command{IDM_EXIT, exit_program},
};

}  // namespace

std::span<const Command> command_table() {
  return kCommands;
}

bool run_command(App& app, const CommandMessage& message) {
  for (const Command& command : kCommands) {
    if (command.id == message.id) {
      command.run(app, message);
      return true;
    }
  }
  return false;
}

}  // namespace piconel
