#include "canvas/sheet_selection_win32.h"

#include <string>

#include "canvas/entry_window_win32.h"
#include "canvas/sheet_view_state.h"

namespace piconel {

int SheetSelection::index_of(const ImageEntry& entry) const {
  int index = 0;
  for (const ImageEntry& other : project_.entries) {
    if (&other == &entry) {
      return index;
    }
    ++index;
  }
  return -1;
}

void SheetSelection::select_entry(ImageEntry& entry, bool on) {
  if (entry.selected == on) {
    return;
  }
  entry.selected = on;
  host_.image_row_selected(index_of(entry), on);
  if (const EntryWindow* display = entry_window(entry);
      display != nullptr && display->window() != nullptr) {
    InvalidateRect(display->window(), nullptr, FALSE);
  }
  host_.set_status_text(kEntryStatusPart, on ? entry_status_text(entry) : std::string());
}

void SheetSelection::deselect_all_except(const ImageEntry* keep) {
  for (ImageEntry& entry : project_.entries) {
    if (&entry != keep) {
      select_entry(entry, false);
    }
  }
}

void SheetSelection::select_all() {
  for (ImageEntry& entry : project_.entries) {
    select_entry(entry, true);
  }
}

void SheetSelection::set_entry_selected(int index, bool on) {
  int position = 0;
  for (ImageEntry& entry : project_.entries) {
    if (position++ == index) {
      select_entry(entry, on);
      return;
    }
  }
}

}  // namespace piconel
