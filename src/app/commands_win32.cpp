#include "app/commands_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

#include "app/command_actions_win32.h"
#include "app/output_port_win32.h"
#include "app/pack_command_win32.h"
#include "app/toolbar_win32.h"
#include "canvas/overlap_check.h"
#include "canvas/sheet_geometry.h"
#include "output/output_messages.h"
#include "output/project_output.h"
#include "project/current_page.h"
#include "project/page_list_item.h"
#include "project/page_operations.h"
#include "project/page_properties.h"
#include "project/project_file.h"
#include "window/resource.h"

namespace piconel {
namespace {

// New and Open ask about unsaved changes only when the open project is
// about to be replaced: a cancelled dialog or a file that fails to load
// leaves it as it was, unsaved changes and zoom included. The zoom goes back
// to "x 1" before the new project's page is shown.
bool may_replace_project(App& app) {
  if (!ask_save_changes(app.project)) {
    return false;
  }
  apply_zoom_step(app, kStartZoomStep);
  return true;
}

void new_project(App& app, const CommandMessage&) {
  open_project(app.project, std::string_view(), [&] { return may_replace_project(app); });
  static_cast<void>(update_title(app.project));
}

void open_project_file(App& app, const CommandMessage&) {
  open_project(app.project, std::nullopt, [&] { return may_replace_project(app); });
  static_cast<void>(update_title(app.project));
}

// Save and Save As write the current page back first; a failed write is
// reported by save_project itself. Ctrl+S is bound to Save as well.
void save(App& app, const CommandMessage&) {
  static_cast<void>(sync_current_page(app.project));
  static_cast<void>(save_project(app.project, std::nullopt));
}

void save_as(App& app, const CommandMessage&) {
  static_cast<void>(sync_current_page(app.project));
  static_cast<void>(save_project(app.project, std::string_view()));
}

// The status bar says how far a run is while it runs; failures were shown as
// they came; then the status bar says what was written where, so a run never
// ends without a word. Pages are composed on every core; this thread shows
// the messages and the progress in page order, as with one job.
void output(App& app, const CommandMessage&) {
  WindowOutputPort port(app.main_window, app.prompter,
                        [&](std::string_view text) { app.controls.set_status_text(1, text); });
  // Without plug-ins the pages are composed on every core; plug-ins are not
  // known to be thread-safe.
  const PictureDecoder* decoders = app.plugins.thread_safe() ? nullptr : &app.plugins;
  const OutputRunResult result =
      run_project_output(app.project, decoders, port, std::nullopt, false, one_job_per_core());
  if (result.ran) {
    app.controls.set_status_text(1, output_summary(result, full_folder_path(result.output_folder)));
  }
}

// The close sequence runs on the close request.
void exit_program(App& app, const CommandMessage&) {
  PostMessageW(app.main_window, WM_CLOSE, 0, 0);
}

// The project and application settings dialogs; afterwards the page's
// properties reach the view and the page list rows show them.
void project_settings(App& app, const CommandMessage&) {
  run_guarded(app, 0, [&] {
    app.dialogs->project_properties();
    apply_page_properties(app.project);
    refresh_page_items(app.project);
  });
}

void application_settings(App& app, const CommandMessage&) {
  run_guarded(app, 0, [&] {
    app.dialogs->application_settings();
    apply_page_properties(app.project);
    refresh_page_items(app.project);
  });
}

}  // namespace

void open_image_settings(App& app, const ImageEntry& entry, HWND owner) {
  run_guarded(app, 0, [&] {
    app.dialogs->image_settings(entry, owner);
    apply_page_properties(app.project);
    refresh_page_items(app.project);
  });
}

void MainWindowControls::entry_double_clicked(const ImageEntry& entry) {
  if (app != nullptr) {
    open_image_settings(*app, entry, app->main_window);
  }
}

namespace {

void page_settings(App& app, const CommandMessage&) {
  const int page = app.project.current_page;
  run_guarded(app, page, [&] {
    app.dialogs->page_settings(page, app.main_window);
    if (app.project.current_page == page) {
      apply_page_properties(app.project);
    }
  });
}

void add_image(App& app, const CommandMessage&) {
  add_image_through_dialog(app);
}

// The "削除(Del)" menu item.
void delete_images(App& app, const CommandMessage&) {
  delete_selected_images(app);
}

// The Delete key, translated for every window of the thread: in the page
// list it deletes the focused page (with the usual question), never the
// images selected on the sheet out of the user's sight; in the image list
// and on the sheet it deletes the selected images.
void delete_key(App& app, const CommandMessage&) {
  if (app.list_windows->is_foreground(ListWindowKind::PageList)) {
    app.list_windows->delete_focused_page();
    return;
  }
  delete_selected_images(app);
}

void pack_page(App& app, const CommandMessage&) {
  pack_current_page(app);
}

void select_all(App& app, const CommandMessage&) {
  app.sheet_view.select_all();
}

// "重なりチェック": the message box goes through the project's prompter, owned
// by the main window.
void overlap_check(App& app, const CommandMessage&) {
  const SheetViewState& view = app.sheet_view.state();
  check_overlaps(app.project.images.entries(), {view.sheet_width, view.sheet_height},
                 app.sheet_view, *app.project.ports.prompter);
}

void page_list(App& app, const CommandMessage&) {
  toggle_list_window(app, ListWindowKind::PageList);
}

void image_list(App& app, const CommandMessage&) {
  toggle_list_window(app, ListWindowKind::ImageList);
}

bool page_list_open(const App& app) {
  return app.list_windows->is_open(ListWindowKind::PageList);
}

bool image_list_open(const App& app) {
  return app.list_windows->is_open(ListWindowKind::ImageList);
}

void zoom_in_command(App& app, const CommandMessage&) {
  zoom_in(app);
}

void zoom_out_command(App& app, const CommandMessage&) {
  zoom_out(app);
}

void zoom_box(App& app, const CommandMessage& message) {
  if (message.code == CBN_SELCHANGE) {
    apply_zoom_step(app, selected_zoom_step(app.controls));
  }
}

// Ctrl+Up / Ctrl+Down: the image list's selected rows when it is in front;
// the focused page when the page list is in front and no name is edited.
void move_up(App& app, const CommandMessage&) {
  if (app.list_windows->is_foreground(ListWindowKind::ImageList)) {
    static_cast<void>(app.project.images.move_selected(MoveDirection::Up));
  }
  if (app.list_windows->is_foreground(ListWindowKind::PageList) &&
      !app.accelerators.name_edit_active) {
    move_page_up(app.project, -1);
  }
}

void move_down(App& app, const CommandMessage&) {
  if (app.list_windows->is_foreground(ListWindowKind::ImageList)) {
    static_cast<void>(app.project.images.move_selected(MoveDirection::Down));
  }
  if (app.list_windows->is_foreground(ListWindowKind::PageList) &&
      !app.accelerators.name_edit_active) {
    move_page_down(app.project, -1);
  }
}

void rename_page(App& app, const CommandMessage&) {
  if (app.list_windows->is_foreground(ListWindowKind::PageList) &&
      !app.accelerators.name_edit_active) {
    app.list_windows->start_page_rename();
  }
}

void help_file(App& app, const CommandMessage&) {
  open_help_file(app);
}

void about(App& app, const CommandMessage&) {
  show_about_box(app);
}

constexpr std::array kCommands = {
    Command{IDM_PROJECT_NEW, new_project},
    Command{IDM_PROJECT_OPEN, open_project_file},
    Command{IDM_PROJECT_SAVE, save},
    Command{IDM_SAVE_KEY, save},
    Command{IDM_PROJECT_SAVE_AS, save_as},
    Command{IDM_PROJECT_SETTINGS, project_settings},
    Command{IDM_OUTPUT, output},
    Command{IDM_APP_SETTINGS, application_settings},
    Command{IDM_EXIT, exit_program},
    Command{IDM_ADD_IMAGE, add_image},
    Command{IDM_DELETE_MENU, delete_images},
    Command{IDM_PAGE_SETTINGS, page_settings},
    Command{IDM_PACK_PAGE, pack_page},
    Command{IDM_PAGE_LIST, page_list, page_list_open},
    Command{IDM_IMAGE_LIST, image_list, image_list_open},
    Command{IDM_ZOOM_IN, zoom_in_command},
    Command{IDM_ZOOM_OUT, zoom_out_command},
    Command{IDM_HELP_FILE, help_file},
    Command{IDM_ABOUT, about},
    Command{IDM_SELECT_ALL, select_all},
    Command{IDM_OVERLAP_CHECK, overlap_check},
    Command{IDM_DELETE_SELECTED, delete_key},
    Command{IDM_MOVE_UP, move_up},
    Command{IDM_MOVE_DOWN, move_down},
    Command{IDM_RENAME_PAGE, rename_page},
    Command{IDC_ZOOM_BOX, zoom_box},
};

const Command* find_command(unsigned id) {
  const auto found = std::find_if(kCommands.begin(), kCommands.end(),
                                  [&](const Command& command) { return command.id == id; });
  return found != kCommands.end() ? &*found : nullptr;
}

bool is_checked(const App& app, const Command& command) {
  return command.checked != nullptr && command.checked(app);
}

bool is_enabled(const App& app, const Command& command) {
  return command.enabled == nullptr || command.enabled(app);
}

}  // namespace

std::span<const Command> command_table() {
  return kCommands;
}

bool run_command(App& app, const CommandMessage& message) {
  const Command* command = find_command(message.id);
  if (command == nullptr) {
    return false;
  }
  command->run(app, message);
  show_toolbar_states(app);
  return true;
}

// By command: an id the menu or the toolbar does not hold changes nothing,
// and a state that is already shown is not drawn again.
void show_menu_states(const App& app, HMENU popup) {
  for (const Command& command : kCommands) {
    CheckMenuItem(popup, command.id,
                  MF_BYCOMMAND | (is_checked(app, command) ? MF_CHECKED : MF_UNCHECKED));
    EnableMenuItem(popup, command.id,
                   MF_BYCOMMAND | (is_enabled(app, command) ? MF_ENABLED : MF_GRAYED));
  }
}

void show_toolbar_states(const App& app) {
  if (app.controls.toolbar == nullptr) {
    return;
  }
  for (const Command& command : kCommands) {
    SendMessageW(app.controls.toolbar, TB_CHECKBUTTON, command.id,
                 MAKELPARAM(is_checked(app, command), 0));
    SendMessageW(app.controls.toolbar, TB_ENABLEBUTTON, command.id,
                 MAKELPARAM(is_enabled(app, command), 0));
  }
}

}  // namespace piconel
