#include "app/close_sequence_win32.h"

#include "app/settings_model.h"
#include "app/settings_save_failure_win32.h"
#include "project/project_file.h"

namespace piconel {

bool save_window_state(HWND window, App& app) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  if (GetWindowPlacement(window, &placement)) {
    MainWindowPlacement state;
    state.maximized = placement.showCmd == SW_SHOWMAXIMIZED;
    const RECT& normal = placement.rcNormalPosition;
    state.normal = ScreenRect{normal.left, normal.top, normal.right, normal.bottom};
    state.min_position = ScreenPoint{placement.ptMinPosition.x, placement.ptMinPosition.y};
    state.max_position = ScreenPoint{placement.ptMaxPosition.x, placement.ptMaxPosition.y};
    write_main_window_placement(app.settings, state);
  }
  app.list_windows->store_geometry();
  write_list_window_settings(app.settings, app.list_geometry, app.image_list_open,
                             app.page_list_open);
  return app.save_settings();
}

bool close_main_window(HWND window, App& app) {
  if (!ask_save_changes(app.project)) {
    return false;
  }
  if (!save_window_state(window, app)) {
    // Said while the window is still there to own the box; the close goes
    // on, as staying open would not make the file writable.
    report_settings_not_saved(app, window);
  }
  release_project(app.project);
  DestroyWindow(window);
  return true;
}

}  // namespace piconel
