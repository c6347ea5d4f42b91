#include "dialogs/pack_dialog_win32.h"

#include "dialogs/dialog_frame_win32.h"
#include "dialogs/pack_form.h"
#include "dialogs/pack_texts.h"
#include "dialogs/window_controls_win32.h"
#include "window/message_box_win32.h"
#include "window/resource.h"

namespace piconel {
namespace {

struct PackDialog {
  HWND owner;
  PackChoices& choices;
};

void start(const PackDialog& state, HWND dialog) {
  WindowControls controls(dialog);
  const PackForm form = pack_form_from(state.choices);
  SendDlgItemMessageW(dialog, IDC_PACK_PADDING, EM_LIMITTEXT, 3, 0);
  controls.set_text(IDC_PACK_PADDING, form.padding_text);
  controls.set_checked(IDC_PACK_POWER_OF_TWO, form.power_of_two);
  controls.set_checked(IDC_PACK_SQUARE, form.square);
  controls.set_checked(IDC_PACK_SELECTED_ONLY, form.selected_only);
  activate_dialog(dialog, state.owner, IDC_PACK_PADDING);
  // Typing replaces the number, as when the field is reached by Tab.
  SendDlgItemMessageW(dialog, IDC_PACK_PADDING, EM_SETSEL, 0, -1);
}

void accept(PackDialog& state, HWND dialog) {
  const WindowControls controls(dialog);
  PackForm form;
  form.padding_text = controls.text(IDC_PACK_PADDING);
  form.power_of_two = controls.is_checked(IDC_PACK_POWER_OF_TWO);
  form.square = controls.is_checked(IDC_PACK_SQUARE);
  form.selected_only = controls.is_checked(IDC_PACK_SELECTED_ONLY);
  const std::optional<PackChoices> choices = pack_choices_from(form);
  if (!choices) {
    static_cast<void>(centred_message_box(dialog, pack_texts::kBadPadding, pack_texts::kCaption,
                                          MB_OK | MB_ICONERROR));
    SetFocus(GetDlgItem(dialog, IDC_PACK_PADDING));
    SendDlgItemMessageW(dialog, IDC_PACK_PADDING, EM_SETSEL, 0, -1);
    return;
  }
  state.choices = *choices;
  EndDialog(dialog, IDOK);
}

INT_PTR handle_message(PackDialog& state, HWND dialog, UINT message, WPARAM, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      start(state, dialog);
      return FALSE;  // the focus was set here
    default:
      return FALSE;
  }
}

}  // namespace

int run_pack_dialog(HWND owner, PackChoices& choices) {
  PackDialog state{owner, choices};
  return run_modal_dialog<PackDialog, handle_message, accept>(owner, IDD_PACK, state);
}

}  // namespace piconel
