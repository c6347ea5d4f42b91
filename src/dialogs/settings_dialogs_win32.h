#pragma once

// The project properties (114), page settings (112) and application
// settings (115) dialogs, each modal. The caller keeps the dialog guard and
// brings the view and the page list up to date afterwards. Windows only:
// include from *_win32.cpp files only.

#include <windows.h>

#include <functional>

#include "project/project.h"
#include "store/document_store.h"

namespace piconel {

// Over `owner`. OK writes the output settings and the group into the
// project's PROPERTY and marks the project modified. IDOK or IDCANCEL (also
// without a project).
int run_project_properties_dialog(Project& project, HWND owner);

// Page `page_index` (the current page when it names no page), owned by
// `owner` and centred over `main_window`. OK checks the name, stores label
// and group, renames and marks the project modified.
int run_page_settings_dialog(Project& project, int page_index, HWND owner, HWND main_window);

// What the application settings dialog changes besides the settings store.
struct ApplicationSettingsPorts {
  // SNAPWIDTH as the settings hold it, shown on opening.
  int snap_width = 0;
  // OK, before the other keys are written: the chosen snap width for the
  // sheet view and SNAPWIDTH.
  std::function<void(int snap_width)> apply_snap_width;
  // OK, after every key is written: the settings file.
  std::function<void()> save_settings;
};

// Over `owner`. OK hands the snap width on, writes the two switches and the
// group into `settings` and has the settings saved.
int run_application_settings_dialog(DocumentStore& settings, HWND owner,
                                    const ApplicationSettingsPorts& ports);

}  // namespace piconel
