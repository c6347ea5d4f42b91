#pragma once

// The property dialogs as the main window opens them, each given what it
// works on: the DialogHooks of the program. Windows only: include from *_win32.cpp files only.

#include "app/list_window_hooks.h"

namespace piconel {

struct App;

class WindowDialogs final : public DialogHooks {
 public:
  // `app` outlives the hooks (they are one of its members).
  explicit WindowDialogs(App& app) : app_(app) {}

  // Template 118 on a copy of the entry's settings, owned by `owner`; OK
  // hands the copy to the page model. Cancel changes nothing.
  void image_settings(const ImageEntry& entry, DialogOwner owner) override;

  // Templates 114 and 115 over the main window, 112 owned by `owner`, under
  // the dialog guard their openers keep.
  void project_properties() override;
  void application_settings() override;
  void page_settings(int page_index, DialogOwner owner) override;

 private:
  App& app_;
};

}  // namespace piconel
