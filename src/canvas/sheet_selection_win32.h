#pragma once

// Selecting the entries of the sheet view: the select and deselect steps
// (the image list's row, the entry's outline, status part 1) and the
// selection-wide ones built on them. Windows only: include from *_win32.cpp
// files only.

#include "canvas/sheet_view_host.h"
#include "project/project.h"

namespace piconel {

class SheetSelection {
 public:
  // Both belong to the view and outlive the selection.
  SheetSelection(Project& project, SheetViewHost& host) : project_(project), host_(host) {}

  // Selects or deselects `entry`; nothing when it already is.
  void select_entry(ImageEntry& entry, bool on);
  void deselect_all_except(const ImageEntry* keep);
  void select_all();
  // Entry `index` in list order; nothing for no entry.
  void set_entry_selected(int index, bool on);

 private:
  [[nodiscard]] int index_of(const ImageEntry& entry) const;

  Project& project_;
  SheetViewHost& host_;
};

}  // namespace piconel
