#include "dialogs/colour_dialog_win32.h"

#include <commctrl.h>

#include <array>

#include "dialogs/dialog_frame_win32.h"
#include "dialogs/window_controls_win32.h"
#include "store/handles_win32.h"
#include "window/dialog_ids.h"

namespace piconel {

namespace {

struct Component {
  int edit;
  int track;
};

constexpr std::array<Component, 3> kComponents = {{
    {IDC_RED_EDIT, IDC_RED_TRACK},
    {IDC_GREEN_EDIT, IDC_GREEN_TRACK},
    {IDC_BLUE_EDIT, IDC_BLUE_TRACK},
}};

struct ColourDialog {
  HWND owner = nullptr;
  Rgb* colour = nullptr;
  // The preview's brush, replaced at every paint and deleted with the dialog.
  GdiBrush preview;
};

std::uint8_t low_byte(int number) {
  return static_cast<std::uint8_t>(number & 0xFF);
}

int track_position(HWND dialog, int track) {
  return static_cast<int>(SendDlgItemMessageW(dialog, track, TBM_GETPOS, 0, 0));
}

// The edits' numbers move the trackbars; the preview gets their colour.
HBRUSH paint_preview(ColourDialog& state, HWND dialog) {
  WindowControls controls(dialog);
  std::array<int, 3> numbers{};
  for (std::size_t i = 0; i < kComponents.size(); ++i) {
    numbers[i] = control_number(controls, kComponents[i].edit);
    if (track_position(dialog, kComponents[i].track) != numbers[i]) {
      SendDlgItemMessageW(dialog, kComponents[i].track, TBM_SETPOS, TRUE, numbers[i]);
    }
  }
  state.preview.reset(
      CreateSolidBrush(RGB(low_byte(numbers[0]), low_byte(numbers[1]), low_byte(numbers[2]))));
  return state.preview.get();
}

void initialise(ColourDialog& state, HWND dialog) {
  WindowControls controls(dialog);
  const std::array<int, 3> values{state.colour->red, state.colour->green, state.colour->blue};
  for (std::size_t i = 0; i < kComponents.size(); ++i) {
    set_control_number(controls, kComponents[i].edit, values[i]);
    const int track = kComponents[i].track;
    SendDlgItemMessageW(dialog, track, TBM_SETRANGE, TRUE, MAKELPARAM(0, 255));
    SendDlgItemMessageW(dialog, track, TBM_SETLINESIZE, 0, 1);
    SendDlgItemMessageW(dialog, track, TBM_SETPAGESIZE, 0, 1);
    SendDlgItemMessageW(dialog, track, TBM_SETPOS, TRUE, values[i]);
  }
  activate_dialog(dialog, state.owner, IDC_RED_EDIT);
}

// A trackbar moved: its edit follows when the numbers differ.
void track_moved(HWND dialog, HWND track) {
  WindowControls controls(dialog);
  for (const Component& component : kComponents) {
    if (GetDlgItem(dialog, component.track) == track) {
      const int position = track_position(dialog, component.track);
      if (control_number(controls, component.edit) != position) {
        set_control_number(controls, component.edit, position);
      }
    }
  }
}

void accept(ColourDialog& state, HWND dialog) {
  WindowControls controls(dialog);
  *state.colour = Rgb{low_byte(control_number(controls, IDC_RED_EDIT)),
                      low_byte(control_number(controls, IDC_GREEN_EDIT)),
                      low_byte(control_number(controls, IDC_BLUE_EDIT))};
  EndDialog(dialog, IDOK);
}

INT_PTR handle_colour_message(ColourDialog& state, HWND dialog, UINT message, WPARAM wparam,
                              LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      initialise(state, dialog);
      return FALSE;  // the focus was set
    case WM_HSCROLL:
      track_moved(dialog, reinterpret_cast<HWND>(lparam));
      return TRUE;
    case WM_CTLCOLORSTATIC:
      if (GetDlgCtrlID(reinterpret_cast<HWND>(lparam)) == IDC_COLOUR_PREVIEW) {
        return reinterpret_cast<INT_PTR>(paint_preview(state, dialog));
      }
      return FALSE;
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
        case IDC_RED_EDIT:
        case IDC_GREEN_EDIT:
        case IDC_BLUE_EDIT:
          if (HIWORD(wparam) == EN_UPDATE) {
            InvalidateRect(GetDlgItem(dialog, IDC_COLOUR_PREVIEW), nullptr, TRUE);
          }
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

}  // namespace

int run_colour_dialog(HWND owner, Rgb& colour) {
  ColourDialog state{owner, &colour, GdiBrush()};
  return run_modal_dialog<ColourDialog, handle_colour_message, accept>(owner, IDD_COLOUR, state);
}

}  // namespace piconel
