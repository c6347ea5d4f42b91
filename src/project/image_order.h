#pragma once

// Ctrl+Up / Ctrl+Down in the image list: the selected entries move one place
// as a block. The order of the entries is the stacking order on the sheet and
// the order the output writes, so the enum values follow it.

#include <iterator>

#include "image/image_entry.h"

namespace piconel {

enum class MoveDirection { Up, Down };

// Up: walks the list from the head; whenever a selected entry follows one
// that is not selected, the two swap. Down: the mirror image, from the tail,
// swapping a selected entry with an unselected one after it. Each swap calls
// `on_move(from, to)` with the selected entry's old and new position, and the
// walk goes on past the entry it swapped with. So a block of selected entries
// moves by one as a whole, and an entry at the end, or next to a selected
// entry that cannot move, stays. Returns the number of moves.
template <typename OnMove>
int move_selected_entries(ImageEntryList& entries, MoveDirection direction, OnMove&& on_move) {
  int moves = 0;
  const int count = static_cast<int>(entries.size());
  if (direction == MoveDirection::Up) {
    auto it = entries.begin();
    for (int position = 0; it != entries.end(); ++position) {
      const auto next = std::next(it);
      if (position > 0 && it->selected && !std::prev(it)->selected) {
        // Splicing within one list keeps every entry's address.
        entries.splice(std::prev(it), entries, it);
        on_move(position, position - 1);
        ++moves;
      }
      it = next;
    }
    return moves;
  }
  // `it` is one past the entry looked at next.
  auto it = entries.end();
  for (int position = count - 1; it != entries.begin(); --position) {
    const auto current = std::prev(it);
    const auto after = std::next(current);
    if (current->selected && after != entries.end() && !after->selected) {
      entries.splice(current, entries, after);
      on_move(position, position + 1);
      ++moves;
      it = after;  // now at `position`: go on before it
    } else {
      it = current;
    }
  }
  return moves;
}

}  // namespace piconel
