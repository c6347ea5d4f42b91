#pragma once

// Selecting the entries of the sheet view: the selection-wide steps built on
// the page model's select and deselect (which the view and the image list
// follow). Windows only: include from *_win32.cpp files only.

#include "project/page_images.h"

namespace piconel {

class SheetSelection {
 public:
  // The page model belongs to the project and outlives the selection.
  explicit SheetSelection(PageImages& images) : images_(images) {}

  // Selects or deselects `entry`; nothing when it already is.
  void select_entry(const ImageEntry& entry, bool on) { images_.set_selected(entry, on); }
  void deselect_all_except(const ImageEntry* keep);
  void select_all();
  // Selects exactly the entries `wanted` answers true for.
  template <typename Wanted>
  void select_where(Wanted&& wanted) {
    images_.select_where(wanted);
  }
  // Entry `index` in list order; nothing for no entry.
  void set_entry_selected(int index, bool on);

 private:
  PageImages& images_;
};

}  // namespace piconel
