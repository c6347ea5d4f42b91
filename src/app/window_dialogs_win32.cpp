#include "app/window_dialogs_win32.h"

#include <utility>

#include "app/app_win32.h"
#include "app/settings_model.h"
#include "app/settings_save_failure_win32.h"
#include "dialogs/image_settings_dialog_win32.h"
#include "dialogs/settings_dialogs_win32.h"
#include "project/project_file.h"
#include "project/project_keys.h"
#include "store/section_cursor.h"

namespace piconel {

void WindowDialogs::image_settings(const ImageEntry& entry, DialogOwner owner) {
  ImageSettings copy = entry.settings;
  if (run_image_settings_dialog(owner, entry, copy, &app_.plugins) != IDOK) {
    return;
  }
  app_.project.images.change_settings(entry, copy);
}

void WindowDialogs::project_properties() {
  static_cast<void>(run_project_properties_dialog(app_.project, app_.main_window));
}

void WindowDialogs::application_settings() {
  App& app = app_;
  ApplicationSettingsPorts ports;
  ports.snap_width = read_snap_width(app.settings);
  ports.apply_snap_width = [&app](int snap_width) {
    app.snap_width = snap_width;
    app.sheet_view.set_snap_width(snap_width);
    SectionCursor own(app.settings, kPropertySection, nullptr);
    static_cast<void>(own.set_int(settings_keys::kSnapWidth, snap_width));
  };
  // Written at once, not only at the close: a crash later keeps the settings.
  ports.save_settings = [&app] {
    if (!app.save_settings()) {
      // Over the settings dialog, which is still open.
      report_settings_not_saved(app, GetLastActivePopup(app.main_window));
    }
  };
  static_cast<void>(run_application_settings_dialog(app.settings, app.main_window, ports));
}

void WindowDialogs::page_settings(int page_index, DialogOwner owner) {
  static_cast<void>(run_page_settings_dialog(app_.project, page_index, owner, app_.main_window));
}

}  // namespace piconel
