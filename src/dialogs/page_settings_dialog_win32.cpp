#include <optional>
#include <string>

#include "dialogs/dialog_frame_win32.h"
#include "dialogs/group_filter_win32.h"
#include "dialogs/page_settings_accept.h"
#include "dialogs/settings_dialogs_win32.h"
#include "dialogs/window_controls_win32.h"
#include "project/project_texts.h"
#include "project/property_chain.h"
#include "window/dialog_ids.h"
#include "window/edit_byte_limit_win32.h"
#include "window/name_refusal_win32.h"
#include "window/prompter_win32.h"

namespace piconel {

namespace {

struct PageDialog {
  Project& project;
  HWND main_window;
  int index;
  std::string name;
  const PropertyChain& chain;
  GroupFilter group;
};

void initialise(PageDialog& state, HWND dialog) {
  WindowControls controls(dialog);
  controls.set_text(IDC_PAGE_NAME, state.name);
  const auto label = state.chain.start().get_string(kPageLabelKey);
  controls.set_text(IDC_PAGE_LABEL, label ? std::string(*label) : std::string());
  // Both fields hold 30 bytes of CP932, so 15 double-byte characters: the
  // limit counts bytes as the files do, and nothing typed is cut later.
  for (const int id : {IDC_PAGE_NAME, IDC_PAGE_LABEL}) {
    SendDlgItemMessageW(dialog, id, EM_LIMITTEXT, kMaxPageNameBytes, 0);
    static_cast<void>(limit_edit_bytes(GetDlgItem(dialog, id), kMaxPageNameBytes));
  }
  state.group.initialise(dialog, state.chain.start());
  activate_dialog(dialog, state.main_window, IDC_PAGE_NAME);
}

void accept(PageDialog& state, HWND dialog) {
  WindowControls controls(dialog);
  // A name or label without an exact CP932 form is refused, never stored as
  // a look-alike.
  for (const int id : {IDC_PAGE_NAME, IDC_PAGE_LABEL}) {
    if (!controls.exact_text(id)) {
      refuse_name(dialog, project_texts::kRenamePageCaption, NameCheck::WithoutCp932,
                  controls.wide_text(id));
      SetFocus(GetDlgItem(dialog, id));
      return;
    }
  }
  const std::string name = controls.text(IDC_PAGE_NAME);
  WindowPrompter owner(dialog);
  if (accept_page_settings(state.project, state.index, name, controls, state.group.group(),
                           &owner) == PageAccept::Close) {
    EndDialog(dialog, IDOK);
  }
}

INT_PTR handle_page_message(PageDialog& state, HWND dialog, UINT message, WPARAM wparam,
                            LPARAM lparam) {
  INT_PTR result = FALSE;
  if (message != WM_INITDIALOG && state.group.filter(dialog, message, wparam, lparam, result)) {
    return result;
  }
  switch (message) {
    case WM_INITDIALOG:
      initialise(state, dialog);
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

int run_page_settings_dialog(Project& project, int page_index, HWND owner, HWND main_window) {
  int index = page_index;
  std::optional<std::string> name = page_name_at(project, index);
  if (!name) {
    index = project.current_page;
    name = page_name_at(project, index);
  }
  if (!name || !project.store) {
    return IDCANCEL;
  }
  const PropertyChain chain(*project.store, project.settings, *name);
  PageDialog state{project, main_window, index, *name, chain, GroupFilter()};
  return run_modal_dialog<PageDialog, handle_page_message, accept>(owner, IDD_PAGE_SETTINGS, state);
}

}  // namespace piconel
