#pragma once

// The default-settings group inside a real dialog: every message of a
// dialog that carries the group passes here first. Windows only: include
// from *_win32.cpp files only.

#include <windows.h>

#include "dialogs/default_settings_group.h"
#include "store/handles_win32.h"

namespace piconel {

class GroupFilter {
 public:
  // Fills the group's controls of `dialog` for the level `edited` names.
  void initialise(HWND dialog, const SectionCursor& edited);

  // True when the message was the group's: the dialog does nothing more
  // with it and returns `result`. Clicks on the group's buttons, "色の変更..."
  // (the colour dialog on the current colour, then the swatch redrawn), the
  // swatch's colour request (a solid brush of the current colour) and
  // WM_DESTROY (the brush deleted; not reported as handled).
  [[nodiscard]] bool filter(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam,
                            INT_PTR& result);

  [[nodiscard]] const DefaultSettingsGroup& group() const { return group_; }

 private:
  DefaultSettingsGroup group_;
  GdiBrush swatch_;
};

}  // namespace piconel
