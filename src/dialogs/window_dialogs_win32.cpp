#include "dialogs/window_dialogs_win32.h"

#include <utility>

#include "app/app_win32.h"
#include "app/modal_scope_win32.h"
#include "dialogs/image_settings_dialog_win32.h"
#include "dialogs/settings_dialogs_win32.h"
#include "project/project_file.h"

namespace piconel {

void WindowDialogs::image_settings(const ImageEntry& entry, DialogOwner owner) {
  ImageSettings copy = entry.settings;
  INT_PTR result = IDCANCEL;
  {
    // The list windows stay disabled while the dialog runs, so the entry
    // cannot be deleted under it.
    ModalScope modal(owner);
    result = run_image_settings_dialog(owner, entry, copy, &app_.plugins);
  }
  if (result != IDOK) {
    return;
  }
  app_.project.images.change_settings(entry, copy);
}

void WindowDialogs::project_properties() {
  static_cast<void>(run_project_properties_dialog(app_));
}

void WindowDialogs::application_settings() {
  static_cast<void>(run_application_settings_dialog(app_));
}

void WindowDialogs::page_settings(int page_index, DialogOwner owner) {
  static_cast<void>(run_page_settings_dialog(app_, page_index, owner));
}

}  // namespace piconel
