#pragma once

// What the sheet view tells the main window: the status bar texts and the
// double-click that opens an image's settings. (The image list follows the
// page model on its own.)

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

  // A double-click on an entry (already the only selected one): the image
  // settings dialog.
  virtual void entry_double_clicked(const ImageEntry& entry) { static_cast<void>(entry); }
};

}  // namespace piconel
