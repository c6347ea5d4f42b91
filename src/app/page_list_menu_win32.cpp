// The page list's context menu (menu resource 111) and its six commands,
// each acting on the row under the right-click (-1 when it hit no row), and
// the Delete key on the focused row.

#include "app/command_actions_win32.h"
#include "app/page_list_window_win32.h"
#include "project/page_operations.h"
#include "project/page_properties.h"
#include "store/handles_win32.h"
#include "window/prompter_win32.h"
#include "window/resource.h"

namespace piconel {

void PageListWindow::show_context_menu(const NMITEMACTIVATE& click) {
  clicked_row_ = click.iItem >= 0 ? click.iItem : -1;
  OwnedMenu menu(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_PAGE_MENU)));
  if (!menu) {
    return;
  }
  POINT at = click.ptAction;
  ClientToScreen(list_, &at);
  // The chosen command comes back to this window as WM_COMMAND.
  TrackPopupMenu(GetSubMenu(menu.get(), 0), TPM_RIGHTBUTTON, at.x, at.y, 0, window_, nullptr);
}

void PageListWindow::delete_focused_page() {
  // Reached through the main window's command, which already holds the
  // program busy.
  if (list_ == nullptr || app_.dialog_guard != -1) {
    return;
  }
  const int row = focused_item();
  if (row < 0) {
    return;
  }
  WindowPrompter owner(window_);
  static_cast<void>(delete_page(app_.project, row, owner));
}

void PageListWindow::run_menu_command(UINT id) {
  const int row = clicked_row_;
  Project& project = app_.project;
  switch (id) {
    case IDM_PAGE_SELECT:
      if (row >= 0) {
        select_page(project, row);
      }
      return;
    case IDM_PAGE_PROPERTIES:
      if (row >= 0) {
        run_guarded(app_, row, [&] {
          app_.dialogs->page_settings(row, window_);
          if (project.current_page == row) {
            apply_page_properties(project);
          }
        });
      }
      return;
    case IDM_PAGE_DELETE:
      if (row >= 0) {
        WindowPrompter owner(window_);
        static_cast<void>(delete_page(project, row, owner));
      }
      return;
    case IDM_PAGE_UP:
      move_page_up(project, row);
      return;
    case IDM_PAGE_DOWN:
      move_page_down(project, row);
      return;
    case IDM_PAGE_NEW:
      static_cast<void>(new_page_command(project, row));
      return;
    default:
      return;
  }
}

}  // namespace piconel
