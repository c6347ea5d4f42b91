#pragma once

// The overlap check of the current page: finds the first pair of images, in
// list order, whose rectangles share a pixel, or else the first image
// reaching past the page's manual sheet size, selects that image and says
// what it found in a message box.

#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "canvas/snapping.h"
#include "image/image_entry.h"
#include "project/project_ports.h"

namespace piconel {

// Whether two rectangles share a pixel. A rectangle covers
// x <= px < x + width and y <= py < y + height, so edges that merely touch do
// not overlap and a rectangle of width or height 0 (or less) overlaps
// nothing.
[[nodiscard]] bool rects_overlap(const SheetRect& a, const SheetRect& b);

// The index (list order) of the later image of the first overlapping pair:
// pairs are taken with the earlier image from the head of the list, each
// with every image after it. None when nothing overlaps.
[[nodiscard]] std::optional<int> find_overlap(const ImageEntryList& entries);

// Every pair of rectangles that share a pixel, as (earlier, later) indices
// in list order: the earlier index ascending, then the later.
[[nodiscard]] std::vector<std::pair<int, int>> find_overlapping_pairs(
    std::span<const SheetRect> rects);

// A page's manual sheet size in sheet pixels; 0 on an axis: none.
struct ManualSheet {
  std::int32_t width = 0;
  std::int32_t height = 0;
};

// The index (list order) of the first image lying partly or wholly outside
// `sheet` (the output cuts it there). None without a manual size.
[[nodiscard]] std::optional<int> find_outside_sheet(const ImageEntryList& entries,
                                                    const ManualSheet& sheet);

// The view's select and deselect steps (flag, image list row, repaint,
// status bar part 1), by list index.
class EntrySelection {
 public:
  virtual ~EntrySelection() = default;
  virtual void set_entry_selected(int index, bool on) = 0;
};

// The "重なりチェック" command: when an overlap is found, every image is
// deselected and the later image of the pair selected, then "重なってます"
// is shown; else an image outside the manual sheet is selected alone in the
// same way with "シートからはみ出しています"; otherwise "重なりはありませんでした".
// All are information boxes with an OK button and the caption
// "ピコネル：重なりチェック". The project is not marked modified.
void check_overlaps(const ImageEntryList& entries, const ManualSheet& sheet,
                    EntrySelection& selection, Prompter& prompter);

}  // namespace piconel
