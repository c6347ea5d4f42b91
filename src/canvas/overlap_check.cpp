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

// シートからはみ出しています
constexpr char kOutsideSheetText[] =
    "\x83\x56\x81\x5b\x83\x67\x82\xa9\x82\xe7\x82\xcd\x82\xdd\x8f\x6f\x82\xb5\x82\xc4"
    "\x82\xa2\x82\xdc\x82\xb7";

// One axis: [position, position + size) within [0, limit); a limit of 0 or
// less is no limit.
bool span_within(std::int64_t position, std::int64_t size, std::int32_t limit) {
  return limit <= 0 || (position >= 0 && position + std::max<std::int64_t>(size, 0) <= limit);
}

// Only `found` selected: every image deselected first, as the view's steps
// keep the image list and status bar in step.
void select_only(const ImageEntryList& entries, int found, EntrySelection& selection) {
  for (int index = 0; index < static_cast<int>(entries.size()); ++index) {
    selection.set_entry_selected(index, false);
  }
  selection.set_entry_selected(found, true);
}

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

std::optional<int> find_outside_sheet(const ImageEntryList& entries, const ManualSheet& sheet) {
  int index = 0;
  for (const ImageEntry& entry : entries) {
    if (!span_within(entry.x, entry.width, sheet.width) ||
        !span_within(entry.y, entry.height, sheet.height)) {
      return index;
    }
    ++index;
  }
  return std::nullopt;
}

void check_overlaps(const ImageEntryList& entries, const ManualSheet& sheet,
                    EntrySelection& selection, Prompter& prompter) {
  const char* text = kNoOverlapText;
  if (const std::optional<int> overlap = find_overlap(entries)) {
    select_only(entries, *overlap, selection);
    text = kOverlapText;
  } else if (const std::optional<int> outside = find_outside_sheet(entries, sheet)) {
    select_only(entries, *outside, selection);
    text = kOutsideSheetText;
  }
  static_cast<void>(prompter.message_box(text, kCaption, kMbOk | kMbIconInformation));
}

}  // namespace piconel
