#include "canvas/sheet_selection_win32.h"

namespace piconel {

void SheetSelection::deselect_all_except(const ImageEntry* keep) {
  images_.select_where(
      [keep](const ImageEntry& entry) { return &entry == keep && entry.selected; });
}

void SheetSelection::select_all() {
  images_.select_where([](const ImageEntry&) { return true; });
}

void SheetSelection::set_entry_selected(int index, bool on) {
  if (const ImageEntry* entry = images_.at(index)) {
    select_entry(*entry, on);
  }
}

}  // namespace piconel
