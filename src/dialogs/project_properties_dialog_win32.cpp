#include <string>

#include "dialogs/dialog_frame_win32.h"
#include "dialogs/group_filter_win32.h"
#include "dialogs/project_output_fields.h"
#include "dialogs/settings_dialogs_win32.h"
#include "dialogs/window_controls_win32.h"
#include "output/output_run.h"
#include "project/project_file.h"
#include "project/project_texts.h"
#include "project/property_chain.h"
#include "window/dialog_ids.h"
#include "window/folder_browser_win32.h"
#include "window/name_refusal_win32.h"

namespace piconel {

namespace {

struct ProjectDialog {
  Project& project;
  HWND owner;
  const PropertyChain& chain;
  GroupFilter group;
};

// The folder and the template are names of things: a text without an exact
// CP932 form is refused rather than stored as a look-alike.
bool texts_storable(HWND dialog, const WindowControls& controls) {
  for (const int id : {IDC_OUTPUT_DIR, IDC_LABEL_FORMAT}) {
    if (!controls.exact_text(id)) {
      refuse_name(dialog, project_texts::kProjectCaption, NameCheck::WithoutCp932,
                  controls.wide_text(id));
      SetFocus(GetDlgItem(dialog, id));
      return false;
    }
  }
  return true;
}

void accept(ProjectDialog& state, HWND dialog) {
  WindowControls controls(dialog);
  if (!state.project.store || !texts_storable(dialog, controls)) {
    return;
  }
  SectionCursor own(*state.project.store, kPropertySection, nullptr);
  static_cast<void>(save_project_output(controls, own));
  static_cast<void>(state.group.group().save(controls, own));
  EndDialog(dialog, IDOK);
  mark_modified(state.project);
}

void browse(HWND dialog) {
  std::string folder;
  if (browse_for_folder(dialog, kOutputFolderTitle, kOutputCaption, folder)) {
    WindowControls(dialog).set_text(IDC_OUTPUT_DIR, folder);
  }
}

INT_PTR handle_project_message(ProjectDialog& state, HWND dialog, UINT message, WPARAM wparam,
                               LPARAM lparam) {
  INT_PTR result = FALSE;
  if (message != WM_INITDIALOG && state.group.filter(dialog, message, wparam, lparam, result)) {
    return result;
  }
  switch (message) {
    case WM_INITDIALOG: {
      WindowControls controls(dialog);
      show_project_output(controls, state.chain.start());
      state.group.initialise(dialog, state.chain.start());
      activate_dialog(dialog, state.owner, IDC_OUTPUT_DIR_ENABLE);
      return FALSE;
    }
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
        case IDC_OUTPUT_DIR_ENABLE:
        case IDC_OUTPUT_LABEL:
        case IDC_OUTPUT_PNG: {
          WindowControls controls(dialog);
          enable_project_output(controls);
          return TRUE;
        }
        case IDC_OUTPUT_BROWSE:
          browse(dialog);
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

}  // namespace

int run_project_properties_dialog(Project& project, HWND owner) {
  if (!project.store) {
    return IDCANCEL;
  }
  const PropertyChain chain(*project.store, project.settings, std::nullopt);
  ProjectDialog state{project, owner, chain, GroupFilter()};
  return run_modal_dialog<ProjectDialog, handle_project_message, accept>(
      owner, IDD_PROJECT_PROPERTIES, state);
}

}  // namespace piconel
