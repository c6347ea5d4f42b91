#pragma once

// What the sheet view tells the windows around it: the status bar texts and
// the image list rows, and the double-click that opens an image's settings.
// The main window implements it; the list-window and dialog hooks do nothing
// until those windows exist.

#include <string_view>

#include "image/image_entry.h"

namespace piconel {

// The status bar's parts: the page summary, and the selected image or the
// rectangle being dragged.
inline constexpr int kSummaryStatusPart = 0;
inline constexpr int kEntryStatusPart = 1;

class SheetViewHost {
 public:
  virtual ~SheetViewHost() = default;

  // Part 0: the page summary; part 1: the selected image or dragged rectangle.
  virtual void set_status_text(int part, std::string_view text) = 0;

  // The image list window's rows: row `index` (list order) selected or not,
  // removed, or all rows rebuilt from `entries` / removed.
  virtual void image_row_selected(int index, bool selected) {
    static_cast<void>(index);
    static_cast<void>(selected);
  }
  virtual void image_row_removed(int index) { static_cast<void>(index); }
  virtual void image_rows_filled(const ImageEntryList& entries) { static_cast<void>(entries); }
  virtual void image_rows_cleared() {}

  // A double-click on an entry (already the only selected one): the image
  // settings dialog.
  virtual void entry_double_clicked(ImageEntry& entry) { static_cast<void>(entry); }
};

}  // namespace piconel
