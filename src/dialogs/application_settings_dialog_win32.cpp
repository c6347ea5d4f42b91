#include <windows.h>

#include <commctrl.h>

#include "dialogs/dialog_frame_win32.h"
#include "dialogs/group_filter_win32.h"
#include "dialogs/settings_dialogs_win32.h"
#include "dialogs/window_controls_win32.h"
#include "image/plugin_settings.h"
#include "project/project_keys.h"
#include "window/dialog_ids.h"

namespace piconel {

namespace {

constexpr int kMaxSnapWidth = 16;

struct ApplicationDialog {
  DocumentStore& store;
  HWND owner;
  const ApplicationSettingsPorts& ports;
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
  SendDlgItemMessageW(dialog, IDC_SNAP_TRACK, TBM_SETPOS, TRUE, state.ports.snap_width);
  show_snap_width(dialog);
  WindowControls controls(dialog);
  controls.set_checked(IDC_SEARCH_SUSIE, read_search_susie_folder(state.store));
  controls.set_checked(IDC_RELATIVE_PATHS, read_relative_image_paths(state.store));
  state.group.initialise(dialog, state.settings);
  activate_dialog(dialog, state.owner, IDC_SNAP_TRACK);
}

void accept(ApplicationDialog& state, HWND dialog) {
  // A port left empty is skipped (an empty std::function would throw).
  if (state.ports.apply_snap_width) {
    state.ports.apply_snap_width(
        static_cast<int>(SendDlgItemMessageW(dialog, IDC_SNAP_TRACK, TBM_GETPOS, 0, 0)));
  }
  SectionCursor own(state.store, kPropertySection, nullptr);
  WindowControls controls(dialog);
  static_cast<void>(
      own.set_string(kPluginSusieDir, controls.is_checked(IDC_SEARCH_SUSIE) ? "1" : "0"));
  static_cast<void>(
      own.set_string(kRelativePathKey, controls.is_checked(IDC_RELATIVE_PATHS) ? "1" : "0"));
  static_cast<void>(state.group.group().save(controls, own));
  if (state.ports.save_settings) {
    state.ports.save_settings();
  }
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
    default:
      return FALSE;
  }
}

}  // namespace

int run_application_settings_dialog(DocumentStore& settings, HWND owner,
                                    const ApplicationSettingsPorts& ports) {
  // The application level alone: the top of the chain.
  const SectionCursor own(settings, kPropertySection, nullptr);
  ApplicationDialog state{settings, owner, ports, own, GroupFilter()};
  return run_modal_dialog<ApplicationDialog, handle_application_message, accept>(
      owner, IDD_APP_SETTINGS, state);
}

}  // namespace piconel
