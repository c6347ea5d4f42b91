#include "canvas/sheet_selection_win32.h"

namespace piconel {

void SheetSelection::deselect_all_except(const ImageEntry* keep) {
  for (const ImageEntry& entry : images_.entries()) {
    if (&entry != keep) {
      select_entry(entry, false);
    }
  }
}

void SheetSelection::select_all() {
  for (const ImageEntry& entry : images_.entries()) {
    select_entry(entry, true);
  }
}

void SheetSelection::set_entry_selected(int index, bool on) {
  if (const ImageEntry* entry = images_.at(index)) {
    select_entry(*entry, on);
  }
}

}  // namespace piconel
