#include "dialogs/group_filter_win32.h"

#include "dialogs/colour_dialog_win32.h"
#include "dialogs/window_controls_win32.h"
#include "window/dialog_ids.h"

namespace piconel {

void GroupFilter::initialise(HWND dialog, const SectionCursor& edited) {
  WindowControls controls(dialog);
  group_.initialise(controls, edited);
}

bool GroupFilter::filter(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam, INT_PTR& result) {
  switch (message) {
    case WM_COMMAND: {
      if (HIWORD(wparam) != BN_CLICKED) {
        return false;
      }
      WindowControls controls(dialog);
      const GroupClick click = group_.click(controls, LOWORD(wparam));
      if (click == GroupClick::NotHandled) {
        return false;
      }
      if (click == GroupClick::ChooseColour) {
        Rgb colour = group_.current_colour();
        if (run_colour_dialog(dialog, colour) == IDOK) {
          group_.set_current_colour(colour);
        }
        controls.redraw(IDC_COLOUR_SWATCH);
      }
      result = TRUE;
      return true;
    }
    case WM_CTLCOLORSTATIC: {
      if (GetDlgCtrlID(reinterpret_cast<HWND>(lparam)) != IDC_COLOUR_SWATCH) {
        return false;
      }
      const Rgb colour = group_.current_colour();
      swatch_.reset(CreateSolidBrush(RGB(colour.red, colour.green, colour.blue)));
      result = reinterpret_cast<INT_PTR>(swatch_.get());
      return true;
    }
    case WM_DESTROY:
      swatch_.reset();
      return false;
    default:
      return false;
  }
}

}  // namespace piconel
