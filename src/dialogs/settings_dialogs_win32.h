#pragma once

// The project properties (114), page settings (112) and application
// settings (115) dialogs, each modal over the main window. The caller keeps
// the dialog guard and brings the view and the page list up to date
// afterwards. Windows only: include from *_win32.cpp files only.

#include "app/app_win32.h"

namespace piconel {

// OK writes the output settings and the group into the project's PROPERTY
// and marks the project modified. IDOK or IDCANCEL (also without a project).
int run_project_properties_dialog(App& app);

// Page `page_index` (the current page when it names no page), owned by
// `owner`. OK checks the name, stores label and group, renames and marks the
// project modified.
int run_page_settings_dialog(App& app, int page_index, HWND owner);

// OK writes SNAPWIDTH, the two switches and the group into the settings
// store, hands the snap width to the sheet view and saves the settings file.
int run_application_settings_dialog(App& app);

}  // namespace piconel
