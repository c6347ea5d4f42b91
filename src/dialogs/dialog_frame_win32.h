#pragma once

// What every dialog of ours does around its own work. Windows only:
// include from *_win32.cpp files only.

#include <windows.h>

#include "store/system_boundary_win32.h"
#include "window/modal_scope_win32.h"

namespace piconel {

// Centres the dialog over its owner, makes it active and puts the focus on
// control `focus_id`.
void activate_dialog(HWND dialog, HWND owner, int focus_id);

// Registers the trackbar class the templates use (once is enough; again is
// harmless).
void register_trackbar_class();

// Every dialog procedure of ours: OK (Enter) runs `Accept`, which ends the
// dialog when the fields hold and else leaves it open to have them mended;
// Cancel (Esc, the close box) ends it with IDCANCEL; every other message goes
// to `Handle`.
template <typename State, INT_PTR (*Handle)(State&, HWND, UINT, WPARAM, LPARAM),
          void (*Accept)(State&, HWND)>
INT_PTR handle_dialog_message(State& state, HWND dialog, UINT message, WPARAM wparam,
                              LPARAM lparam) {
  if (message == WM_COMMAND) {
    switch (LOWORD(wparam)) {
      case IDOK:
        Accept(state, dialog);
        return TRUE;
      case IDCANCEL:
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      default:
        break;
    }
  }
  return Handle(state, dialog, message, wparam, lparam);
}

// Runs dialog template `template_id` modally over `owner` with `state` as
// its target; IDOK or IDCANCEL.
template <typename State, INT_PTR (*Handle)(State&, HWND, UINT, WPARAM, LPARAM),
          void (*Accept)(State&, HWND)>
int run_modal_dialog(HWND owner, int template_id, State& state) {
  register_trackbar_class();
  const ModalScope modal(owner);
  const INT_PTR result =
      DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(template_id), owner,
                      bound_dialog_procedure<State, handle_dialog_message<State, Handle, Accept>>,
                      reinterpret_cast<LPARAM>(&state));
  return result == IDOK ? IDOK : IDCANCEL;
}

}  // namespace piconel
