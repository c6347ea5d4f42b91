#pragma once

// Edge snapping of a dragged image against the other images of the page.
// Everything is in sheet pixels.

#include <cstdint>
#include <span>

#include "image/image_entry.h"

namespace piconel {

// A rectangle on the sheet: top-left corner and size.
struct SheetRect {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  friend bool operator==(const SheetRect&, const SheetRect&) = default;
};

[[nodiscard]] inline SheetRect sheet_rect_of(const ImageEntry& entry) {
  return {entry.x, entry.y, entry.width, entry.height};
}

// The nearest edge alignment of one proposed rectangle over a run of other
// rectangles. Each other rectangle is tried with eight rules in a fixed
// order. A rule's gate is the distance between one of our edges and one of
// theirs on one axis and must be at most that axis' best so far; its
// alignment options on the other axis are then tried in order, the first
// that applies being taken: their low edge, their high edge (each when
// strictly nearer than the best so far), and "inside" (our edge strictly
// between their two edges). Distances are measured from the proposed
// rectangle, never from the candidate, so the order of the rules and of the
// rectangles decides ties.
class SnapSearch {
 public:
  // Both bests start at `snap_width`; 0 disables snapping.
  SnapSearch(const SheetRect& proposed, std::int32_t snap_width);

  // Tries the eight rules against `other`.
  void consider(const SheetRect& other);

  // Whether a rule brought either axis under the snap width.
  [[nodiscard]] bool snapped() const { return best_x_ < snap_width_ || best_y_ < snap_width_; }
  // The candidate's top-left corner when snapped, else the proposed one.
  [[nodiscard]] SheetRect result() const;

 private:
  SheetRect proposed_;
  std::int64_t snap_width_;
  std::int64_t best_x_;
  std::int64_t best_y_;
  std::int64_t candidate_x_;
  std::int64_t candidate_y_;
};

// The proposed rectangle snapped against `others` in order.
[[nodiscard]] SheetRect snap_to(const SheetRect& proposed, std::span<const SheetRect> others,
                                std::int32_t snap_width);

// The proposed rectangle snapped against every entry of `entries` except
// `dragged`, in list order.
[[nodiscard]] SheetRect snap_to_entries(const SheetRect& proposed, const ImageEntryList& entries,
                                        const ImageEntry* dragged, std::int32_t snap_width);

// The rectangle shifted back onto the sheet, in this order: right to x = 0
// when x < 0, down to y = 0 when y < 0, left to a right edge of 32768 when it
// lies beyond, up to a bottom edge of 32768 likewise.
[[nodiscard]] SheetRect limit_to_sheet(const SheetRect& rect);

}  // namespace piconel
