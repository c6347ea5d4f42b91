#pragma once

// The page model: the image entries of the open page in list order (the
// stacking order on the sheet, the row order of the page and the order the
// output writes) together with their selection. Everything that changes an
// entry goes through here, so the project is marked modified in one place
// and every view hears of the change from here alone: the sheet view and
// the image list follow the notices and never call each other.

#include <cstdint>
#include <span>
#include <vector>

#include "image/image_entry.h"
#include "image/open_image_entry.h"
#include "project/image_order.h"

namespace piconel {

struct Project;

enum class PageChangeKind {
  // Edits of the page by the user: each marks the project modified and is
  // what an undo history records.
  Added,            // entries joined the end of the list
  Removed,          // entries leave the list; told while they are still in it
  Reordered,        // entries moved within the list, one place per step
  Moved,            // entries moved on the sheet
  SettingsChanged,  // an entry's image settings block was replaced
  // Not edits: the project stays as it is.
  SelectionChanged,
  KeptOnSheet,  // positions put back within the sheet limits (a zoom change)
  Cleared,      // every entry leaves (page unload); told while they are still in the list
  Loaded,       // the list was filled from the page's rows (page load)
};

// Whether a change of this kind is an edit of the page (marks modified).
[[nodiscard]] bool is_page_edit(PageChangeKind kind);

// One entry in a change, with what it had before the change in the field
// the kind concerns.
struct EntryChange {
  EntryChange() = default;
  EntryChange(const ImageEntry* changed, int at) : entry(changed), index(at) {}

  const ImageEntry* entry = nullptr;
  // Its position in the list after the change (Removed, Cleared: where it
  // still is).
  int index = -1;
  int index_before = -1;          // Reordered
  std::int32_t x_before = 0;      // Moved, KeptOnSheet
  std::int32_t y_before = 0;      // Moved, KeptOnSheet
  ImageSettings settings_before;  // SettingsChanged
  bool selected_before = false;   // SelectionChanged
};

// What changed. Entries are in list order, except Reordered, whose items
// are the single steps in the order they happened (replayed in order they
// turn the old order into the new one). A Removed or Reordered edit may
// name no entry: Delete with nothing selected and Ctrl+Up at the top still
// count as edits.
struct PageChange {
  PageChangeKind kind = PageChangeKind::Loaded;
  std::vector<EntryChange> entries;
};

class PageObserver {
 public:
  virtual ~PageObserver() = default;
  virtual void page_changed(const PageChange& change) = 0;
};

// A new sheet position for an entry of the page.
struct EntryMove {
  const ImageEntry* entry = nullptr;
  std::int32_t x = 0;
  std::int32_t y = 0;
};

class PageImages {
 public:
  // `project` is the owner whose modified flag the edits set.
  explicit PageImages(Project& project) : project_(project) {}
  PageImages(const PageImages&) = delete;
  PageImages& operator=(const PageImages&) = delete;

  [[nodiscard]] const ImageEntryList& entries() const { return entries_; }
  [[nodiscard]] int count() const { return static_cast<int>(entries_.size()); }
  [[nodiscard]] bool empty() const { return entries_.empty(); }
  // kMaxEntriesPerPage entries: nothing more can be added.
  [[nodiscard]] bool full() const { return count() >= kMaxEntriesPerPage; }

  // Index <-> entry: the entry at list position `index` (none out of range),
  // and the position of `entry` (-1 for an entry of no page).
  [[nodiscard]] const ImageEntry* at(int index) const;
  [[nodiscard]] int index_of(const ImageEntry& entry) const;
  [[nodiscard]] bool any_selected() const;

  // Observers are told of every change after (Removed, Cleared: before) it
  // happens, in the order they subscribed.
  void subscribe(PageObserver& observer);
  void unsubscribe(PageObserver& observer);

  // --- Edits ----------------------------------------------------------------
  // Opens the image of `request` at the end of the list (add_image_entry:
  // automatic placement over this page's entries, display at its final
  // address). None when the page is full or the image cannot be opened;
  // nothing changes then.
  const ImageEntry* add(const OpenImageRequest& request);
  // Removes every selected entry that has a display (one that never got a
  // window is not on the sheet). Marks modified also when none goes.
  void remove_selected();
  // Removes every entry `goes` answers true for (the command line's remove);
  // the number removed. Nothing is told or marked when none goes.
  template <typename Goes>
  int remove_where(Goes&& goes);
  // Ctrl+Up / Ctrl+Down: the selected entries one place as a block
  // (move_selected_entries). Marks modified also when nothing moved. The
  // number of steps.
  int move_selected(MoveDirection direction);
  // Moves entries on the sheet (a drag step, packing) to the positions
  // given. Marks modified also when no position changed; nothing for no
  // moves.
  void move(std::span<const EntryMove> moves);
  // Replaces the image settings block of `entry` (the dialog's OK).
  void change_settings(const ImageEntry& entry, const ImageSettings& settings);

  // --- Not edits --------------------------------------------------------------
  // Selects or deselects `entry`; nothing when it already is so.
  void set_selected(const ImageEntry& entry, bool on);
  // Gives every entry the selection `wanted(entry)` answers, telling of all
  // that changed in one notice (select all, a selection rectangle, a click
  // that deselects the others), so a view redraws once rather than per entry.
  template <typename Wanted>
  void select_where(Wanted&& wanted);
  // Positions the view put back within the sheet limits.
  void keep_on_sheet(std::span<const EntryMove> moves);
  // Page unload: every entry goes (their displays with them).
  void clear();
  // Page load: puts a fresh entry at the end of the list and has `open` fill
  // it there (a display refers back to its entry's address); keeps it when
  // `open` answers true, else drops it. None when the page is full. Silent:
  // finish_load tells of the whole page at once.
  template <typename Open>
  ImageEntry* load_entry(Open&& open);
  void finish_load();

 private:
  // Whether an entry already at its new position is in the change: a move
  // the user made counts even when it lands where it began.
  enum class UnmovedEntries { Told, Skipped };

  [[nodiscard]] ImageEntry* mutable_entry(const ImageEntry& entry);
  // Puts each entry of `moves` that is on this page at its new position and
  // adds it to `change` with where it was, in the order of `moves`.
  void place(std::span<const EntryMove> moves, UnmovedEntries unmoved, PageChange& change);
  void tell(const PageChange& change);

  Project& project_;
  ImageEntryList entries_;
  std::vector<PageObserver*> observers_;
};

template <typename Goes>
int PageImages::remove_where(Goes&& goes) {
  PageChange change{PageChangeKind::Removed, {}};
  int index = 0;
  for (const ImageEntry& entry : entries_) {
    if (goes(entry)) {
      change.entries.push_back({&entry, index});
    }
    ++index;
  }
  if (change.entries.empty()) {
    return 0;
  }
  tell(change);
  const int removed = static_cast<int>(change.entries.size());
  entries_.remove_if([&](const ImageEntry& entry) {
    for (const EntryChange& gone : change.entries) {
      if (gone.entry == &entry) {
        return true;
      }
    }
    return false;
  });
  return removed;
}

template <typename Wanted>
void PageImages::select_where(Wanted&& wanted) {
  PageChange change{PageChangeKind::SelectionChanged, {}};
  int index = 0;
  for (ImageEntry& entry : entries_) {
    const bool on = wanted(static_cast<const ImageEntry&>(entry));
    if (entry.selected != on) {
      entry.selected = on;
      EntryChange& item = change.entries.emplace_back(&entry, index);
      item.selected_before = !on;
    }
    ++index;
  }
  if (!change.entries.empty()) {
    tell(change);
  }
}

template <typename Open>
ImageEntry* PageImages::load_entry(Open&& open) {
  if (full()) {
    return nullptr;
  }
  ImageEntry& entry = entries_.emplace_back();
  if (open(entry)) {
    return &entry;
  }
  entries_.pop_back();
  return nullptr;
}

}  // namespace piconel
