// Ctrl+Up / Ctrl+Down in the image list: the selected block one place up or
// down, every entry keeping its address.

#include "project/image_order.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace piconel {
namespace {

// Five entries labelled by their first position; `selected` marks some.
ImageEntryList entries_with(std::vector<int> selected) {
  ImageEntryList entries;
  for (int i = 0; i < 5; ++i) {
    ImageEntry& entry = entries.emplace_back();
    entry.settings.label = std::to_string(i);
    for (const int s : selected) {
      entry.selected = entry.selected || s == i;
    }
  }
  return entries;
}

std::string order_of(const ImageEntryList& entries) {
  std::string order;
  for (const ImageEntry& entry : entries) {
    order += entry.settings.label;
  }
  return order;
}

using Moves = std::vector<std::pair<int, int>>;

TEST(ImageOrder, BlockMovesAsAWhole) {
  const struct {
    std::vector<int> selected;
    MoveDirection direction;
    int presses;
    std::string order;
    Moves last_moves;
  } cases[] = {
      // Rows 2 and 3 up twice: 2 3 0 1 4; a third press changes nothing.
      {{2, 3}, MoveDirection::Up, 1, "02314", {{2, 1}, {3, 2}}},
      {{2, 3}, MoveDirection::Up, 2, "23014", {{1, 0}, {2, 1}}},
      {{2, 3}, MoveDirection::Up, 3, "23014", {}},
      // Rows 0 and 3 down: 3 goes to 4, 0 goes to 1.
      {{0, 3}, MoveDirection::Down, 1, "10243", {{3, 4}, {0, 1}}},
      {{4}, MoveDirection::Down, 1, "01234", {}},
      {{0, 1, 2, 3, 4}, MoveDirection::Up, 1, "01234", {}},
      {{0, 2, 4}, MoveDirection::Up, 1, "02143", {{2, 1}, {4, 3}}},
      {{}, MoveDirection::Down, 1, "01234", {}},
  };
  for (const auto& c : cases) {
    ImageEntryList entries = entries_with(c.selected);
    const ImageEntry* first = &entries.front();
    Moves moves;
    for (int press = 0; press < c.presses; ++press) {
      moves.clear();
      const int count = move_selected_entries(
          entries, c.direction, [&](int from, int to) { moves.emplace_back(from, to); });
      EXPECT_EQ(count, static_cast<int>(moves.size()));
    }
    EXPECT_EQ(order_of(entries), c.order);
    EXPECT_EQ(moves, c.last_moves) << c.order;
    // Entries keep their addresses: the views point back at them.
    bool found = false;
    for (const ImageEntry& entry : entries) {
      found = found || &entry == first;
    }
    EXPECT_TRUE(found);
  }
}

}  // namespace
}  // namespace piconel
