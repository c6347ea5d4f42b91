#include <windows.h>

#include <commctrl.h>

#include "app/settings_model.h"
#include "dialogs/dialog_frame_win32.h"
#include "dialogs/dialog_ids.h"
#include "dialogs/group_filter_win32.h"
#include "dialogs/settings_dialogs_win32.h"
#include "dialogs/window_controls_win32.h"
#include "image/plugin_settings.h"
#include "project/project_keys.h"

namespace piconel {

namespace {

constexpr int kMaxSnapWidth = 16;

struct ApplicationDialog {
  App& app;
  const SectionCursor& settings;
  GroupFilter group;
};

void show_snap_width(HWND dialog) {
  const auto position = SendDlgItemMessageW(dialog, IDC_SNAP_TRACK, TBM_GETPOS, 0, 0);
  WindowControls(dialog).set_text(IDC_SNAP_VALUE, std::to_string(position));
}

void initialise(ApplicationDialog& state, HWND dialog) {
  SendDlgItemMessageW(dialog, IDC_SNAP_TRACK, TBM_SETRANGE, TRUE, MAKELPARAM(0, kMaxSnapWidth));
  SendDlgItemMessageW(dialog, IDC_SNAP_TRACK, TBM_SETLINESIZE, 0, 1);
  SendDlgItemMessageW(dialog, IDC_SNAP_TRACK, TBM_SETPAGESIZE, 0, 1);
  SendDlgItemMessageW(dialog, IDC_SNAP_TRACK, TBM_SETPOS, TRUE,
                      read_snap_width(state.app.settings));
  show_snap_width(dialog);
  WindowControls controls(dialog);
  controls.set_checked(IDC_SEARCH_SUSIE, read_search_susie_folder(state.app.settings));
  controls.set_checked(IDC_RELATIVE_PATHS, read_relative_image_paths(state.app.settings));
  state.group.initialise(dialog, state.settings);
  activate_dialog(dialog, state.app.main_window, IDC_SNAP_TRACK);
}

void accept(ApplicationDialog& state, HWND dialog) {
  App& app = state.app;
  const int snap_width =
      static_cast<int>(SendDlgItemMessageW(dialog, IDC_SNAP_TRACK, TBM_GETPOS, 0, 0));
  app.snap_width = snap_width;
  app.sheet_view.set_snap_width(snap_width);
  SectionCursor own(app.settings, kPropertySection, nullptr);
  static_cast<void>(own.set_int(settings_keys::kSnapWidth, snap_width));
  WindowControls controls(dialog);
  static_cast<void>(
      own.set_string(kPluginSusieDir, controls.is_checked(IDC_SEARCH_SUSIE) ? "1" : "0"));
  static_cast<void>(
      own.set_string(kRelativePathKey, controls.is_checked(IDC_RELATIVE_PATHS) ? "1" : "0"));
  static_cast<void>(state.group.group().save(controls, own));
  // Written at once, not only at the close: a crash later keeps the settings.
  static_cast<void>(app.save_settings());
  EndDialog(dialog, IDOK);
}

INT_PTR handle_application_message(ApplicationDialog& state, HWND dialog, UINT message,
                                   WPARAM wparam, LPARAM lparam) {
  INT_PTR result = FALSE;
  if (message != WM_INITDIALOG && state.group.filter(dialog, message, wparam, lparam, result)) {
    return result;
  }
  switch (message) {
    case WM_INITDIALOG:
      initialise(state, dialog);
      return FALSE;
    case WM_HSCROLL:
      show_snap_width(dialog);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
        case IDOK:
          accept(state, dialog);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, IDCANCEL);
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

}  // namespace

int run_application_settings_dialog(App& app) {
  // The application level alone: the top of the chain.
  const SectionCursor settings(app.settings, kPropertySection, nullptr);
  ApplicationDialog state{app, settings, GroupFilter()};
  return run_settings_dialog<ApplicationDialog, handle_application_message>(
      app.main_window, IDD_APP_SETTINGS, state);
}

}  // namespace piconel
