#pragma once

// Where the main window meets the two floating list windows and the property
// dialogs. The defaults say no list window exists and no dialog opens, which
// is what tests that need neither use.

#include <string_view>

#include "image/image_entry.h"

// The window a dialog is owned by: an HWND, named without the Windows
// headers so this file stays free of them.
struct HWND__;

namespace piconel {

using DialogOwner = HWND__*;

enum class ListWindowKind {
  PageList,   // toolbar button and command 40029
  ImageList,  // toolbar button and command 40025
};

class ListWindowHooks {
 public:
  virtual ~ListWindowHooks() = default;
  [[nodiscard]] virtual bool is_open(ListWindowKind kind) const {
    static_cast<void>(kind);
    return false;
  }
  // Creates the window unless it exists.
  virtual void open(ListWindowKind kind) { static_cast<void>(kind); }
  // Posts the window a close request.
  virtual void close(ListWindowKind kind) { static_cast<void>(kind); }
  [[nodiscard]] virtual bool is_foreground(ListWindowKind kind) const {
    static_cast<void>(kind);
    return false;
  }
  // F2 in the page list: edit the name of the page whose row has the focus.
  virtual void start_page_rename() {}
  // Delete in the page list: the page whose row has the focus goes, after
  // the page deletion's question.
  virtual void delete_focused_page() {}

  // The close sequence: each open window's rectangle and column widths into
  // the in-memory geometry.
  virtual void store_geometry() {}
};

// The modal property dialogs. They run under the dialog guard that their
// openers keep. The project and application dialogs are owned by the main
// window; the page and image dialogs by the window they were opened from
// (the main window, the page list or the image list).
class DialogHooks {
 public:
  virtual ~DialogHooks() = default;
  virtual void project_properties() {}    // template 114
  virtual void application_settings() {}  // template 115
  // Template 112.
  virtual void page_settings(int page_index, DialogOwner owner) {
    static_cast<void>(page_index);
    static_cast<void>(owner);
  }
  // Template 118.
  virtual void image_settings(const ImageEntry& entry, DialogOwner owner) {
    static_cast<void>(entry);
    static_cast<void>(owner);
  }
};

}  // namespace piconel
