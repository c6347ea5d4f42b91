#include "project/page_images.h"

#include <algorithm>
#include <iterator>

#include "project/project.h"
#include "project/project_file.h"

namespace piconel {

bool is_page_edit(PageChangeKind kind) {
  switch (kind) {
    case PageChangeKind::Added:
    case PageChangeKind::Removed:
    case PageChangeKind::Reordered:
    case PageChangeKind::Moved:
    case PageChangeKind::SettingsChanged:
      return true;
    case PageChangeKind::SelectionChanged:
    case PageChangeKind::KeptOnSheet:
    case PageChangeKind::Cleared:
    case PageChangeKind::Loaded:
      return false;
  }
  return false;
}

const ImageEntry* PageImages::at(int index) const {
  if (index < 0 || index >= count()) {
    return nullptr;
  }
  return &*std::next(entries_.begin(), index);
}

int PageImages::index_of(const ImageEntry& entry) const {
  int index = 0;
  for (const ImageEntry& other : entries_) {
    if (&other == &entry) {
      return index;
    }
    ++index;
  }
  return -1;
}

bool PageImages::any_selected() const {
  return std::any_of(entries_.begin(), entries_.end(),
                     [](const ImageEntry& entry) { return entry.selected; });
}

ImageEntry* PageImages::mutable_entry(const ImageEntry& entry) {
  for (ImageEntry& other : entries_) {
    if (&other == &entry) {
      return &other;
    }
  }
  return nullptr;
}

void PageImages::subscribe(PageObserver& observer) {
  if (std::find(observers_.begin(), observers_.end(), &observer) == observers_.end()) {
    observers_.push_back(&observer);
  }
}

void PageImages::unsubscribe(PageObserver& observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), &observer), observers_.end());
}

void PageImages::tell(const PageChange& change) {
  if (is_page_edit(change.kind)) {
    mark_modified(project_);
  }
  // A copy: an observer may subscribe or leave while it is told.
  const std::vector<PageObserver*> observers = observers_;
  for (PageObserver* observer : observers) {
    observer->page_changed(change);
  }
}

const ImageEntry* PageImages::add(const OpenImageRequest& request) {
  ImageEntry* entry = add_image_entry(entries_, request);
  if (entry != nullptr) {
    tell({PageChangeKind::Added, {{entry, count() - 1}}});
  }
  return entry;
}

void PageImages::remove_selected() {
  PageChange change{PageChangeKind::Removed, {}};
  int index = 0;
  for (const ImageEntry& entry : entries_) {
    if (entry.selected && entry.has_display()) {
      change.entries.push_back({&entry, index});
    }
    ++index;
  }
  tell(change);
  for (auto gone = change.entries.rbegin(); gone != change.entries.rend(); ++gone) {
    entries_.erase(std::next(entries_.begin(), gone->index));
  }
}

int PageImages::move_selected(MoveDirection direction) {
  PageChange change{PageChangeKind::Reordered, {}};
  const int steps = move_selected_entries(entries_, direction, [&](int from, int to) {
    EntryChange step{at(to), to};
    step.index_before = from;
    change.entries.push_back(step);
  });
  tell(change);
  return steps;
}

void PageImages::place(std::span<const EntryMove> moves, UnmovedEntries unmoved,
                       PageChange& change) {
  for (const EntryMove& move : moves) {
    ImageEntry* entry = mutable_entry(*move.entry);
    if (entry == nullptr ||
        (unmoved == UnmovedEntries::Skipped && entry->x == move.x && entry->y == move.y)) {
      continue;
    }
    EntryChange item{entry, index_of(*entry)};
    item.x_before = entry->x;
    item.y_before = entry->y;
    entry->x = move.x;
    entry->y = move.y;
    change.entries.push_back(item);
  }
}

void PageImages::move(std::span<const EntryMove> moves) {
  if (moves.empty()) {
    return;
  }
  PageChange change{PageChangeKind::Moved, {}};
  place(moves, UnmovedEntries::Told, change);
  std::sort(change.entries.begin(), change.entries.end(),
            [](const EntryChange& a, const EntryChange& b) { return a.index < b.index; });
  tell(change);
}

void PageImages::keep_on_sheet(std::span<const EntryMove> moves) {
  PageChange change{PageChangeKind::KeptOnSheet, {}};
  place(moves, UnmovedEntries::Skipped, change);
  if (!change.entries.empty()) {
    tell(change);
  }
}

void PageImages::change_settings(const ImageEntry& entry, const ImageSettings& settings) {
  ImageEntry* target = mutable_entry(entry);
  if (target == nullptr) {
    return;
  }
  EntryChange item{target, index_of(*target)};
  item.settings_before = target->settings;
  target->settings = settings;
  tell({PageChangeKind::SettingsChanged, {item}});
}

void PageImages::set_selected(const ImageEntry& entry, bool on) {
  ImageEntry* target = mutable_entry(entry);
  if (target == nullptr || target->selected == on) {
    return;
  }
  target->selected = on;
  EntryChange item{target, index_of(*target)};
  item.selected_before = !on;
  tell({PageChangeKind::SelectionChanged, {item}});
}

void PageImages::clear() {
  PageChange change{PageChangeKind::Cleared, {}};
  int index = 0;
  for (const ImageEntry& entry : entries_) {
    change.entries.push_back({&entry, index++});
  }
  tell(change);
  entries_.clear();
}

void PageImages::finish_load() {
  PageChange change{PageChangeKind::Loaded, {}};
  int index = 0;
  for (const ImageEntry& entry : entries_) {
    change.entries.push_back({&entry, index++});
  }
  tell(change);
}

}  // namespace piconel
