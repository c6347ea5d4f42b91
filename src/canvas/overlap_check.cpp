#include "canvas/overlap_check.h"

#include <algorithm>
#include <iterator>

namespace piconel {

namespace {

// ピコネル：重なりチェック
constexpr char kCaption[] =
    "\x83\x73\x83\x52\x83\x6c\x83\x8b\x81\x46\x8f\x64\x82\xc8\x82\xe8\x83\x60\x83\x46\x83\x62"
    "\x83\x4e";
// 重なってます
constexpr char kOverlapText[] = "\x8f\x64\x82\xc8\x82\xc1\x82\xc4\x82\xdc\x82\xb7";
// 重なりはありませんでした
constexpr char kNoOverlapText[] =
    "\x8f\x64\x82\xc8\x82\xe8\x82\xcd\x82\xa0\x82\xe8\x82\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5"
    "\x82\xbd";

// One axis: [a, a + a_size) and [b, b + b_size) share a coordinate.
bool spans_overlap(std::int64_t a, std::int64_t a_size, std::int64_t b, std::int64_t b_size) {
  return a_size > 0 && b_size > 0 && std::max(a, b) < std::min(a + a_size, b + b_size);
}

}  // namespace

bool rects_overlap(const SheetRect& a, const SheetRect& b) {
  return spans_overlap(a.x, a.width, b.x, b.width) && spans_overlap(a.y, a.height, b.y, b.height);
}

std::optional<int> find_overlap(const ImageEntryList& entries) {
  for (auto earlier = entries.begin(); earlier != entries.end(); ++earlier) {
    int index = static_cast<int>(std::distance(entries.begin(), earlier));
    for (auto later = std::next(earlier); later != entries.end(); ++later) {
      ++index;
      if (rects_overlap(sheet_rect_of(*earlier), sheet_rect_of(*later))) {
        return index;
      }
    }
  }
  return std::nullopt;
}

std::vector<std::pair<int, int>> find_overlapping_pairs(std::span<const SheetRect> rects) {
  std::vector<std::pair<int, int>> pairs;
  for (std::size_t earlier = 0; earlier < rects.size(); ++earlier) {
    for (std::size_t later = earlier + 1; later < rects.size(); ++later) {
      if (rects_overlap(rects[earlier], rects[later])) {
        pairs.emplace_back(static_cast<int>(earlier), static_cast<int>(later));
      }
    }
  }
  return pairs;
}

void check_overlaps(const ImageEntryList& entries, EntrySelection& selection, Prompter& prompter) {
  const std::optional<int> found = find_overlap(entries);
  if (!found) {
    static_cast<void>(prompter.message_box(kNoOverlapText, kCaption, kMbOk | kMbIconInformation));
    return;
  }
  for (int index = 0; index < static_cast<int>(entries.size()); ++index) {
    selection.set_entry_selected(index, false);
  }
  selection.set_entry_selected(*found, true);
  static_cast<void>(prompter.message_box(kOverlapText, kCaption, kMbOk | kMbIconInformation));
}

}  // namespace piconel
