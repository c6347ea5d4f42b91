// Which image a press falls on; the rectangle of a dragged image: cursor
// displacement with truncating division at every zoom, snapping and the
// limits; the followers keeping the group's shape; the click decision.

#include "canvas/drag_move.h"

#include <gtest/gtest.h>

#include <iterator>
#include <vector>

namespace piconel {
namespace {

ImageEntry& add_entry(ImageEntryList& entries, std::int32_t x, std::int32_t y, std::int32_t width,
                      std::int32_t height, bool selected = false) {
  ImageEntry& entry = entries.emplace_back();
  entry.x = x;
  entry.y = y;
  entry.width = width;
  entry.height = height;
  entry.selected = selected;
  return entry;
}

// What the page model does with a drag step's moves.
void apply_moves(ImageEntryList& entries, const std::vector<EntryMove>& moves) {
  for (const EntryMove& move : moves) {
    for (ImageEntry& entry : entries) {
      if (&entry == move.entry) {
        entry.x = move.x;
        entry.y = move.y;
      }
    }
  }
}

DragState pressed_at(DragPoint point, const ImageEntry& entry, const ImageEntryList& entries) {
  DragState drag;
  drag.record_press(point, entry, entries);
  return drag;
}

TEST(DragMove, CursorDisplacementTruncatesAtEveryZoom) {
  ImageEntryList entries;
  const ImageEntry& dragged = add_entry(entries, 100, 100, 32, 32);
  const struct {
    std::int32_t zoom;
    DragPoint cursor;
    std::int32_t x, y;
  } cases[] = {
      {16, {510, 490}, 110, 90},   {32, {503, 495}, 101, 98},  // -1.5 and 2.5 truncate toward zero
      {8, {503, 495}, 106, 90},    {4, {501, 499}, 104, 96},
      {128, {507, 493}, 100, 100},  // less than one sheet pixel
      {64, {497, 505}, 100, 101},
  };
  for (const auto& c : cases) {
    const DragState drag = pressed_at({500, 500}, dragged, entries);
    DragView view;
    view.zoom = c.zoom;
    view.snap_width = 4;
    const DragMove move = drag_move(drag, c.cursor, dragged, entries, view);
    EXPECT_EQ(move.sheet, (SheetRect{c.x, c.y, 32, 32})) << c.zoom;
    EXPECT_FALSE(move.changed) << c.zoom;
  }
}

TEST(DragMove, APressFallsOnTheTopmostImageUnderIt) {
  ImageEntryList entries;
  const ImageEntry& below = add_entry(entries, 100, 100, 32, 32);
  const ImageEntry& above = add_entry(entries, 120, 120, 32, 32);
  const ImageEntry& narrow = add_entry(entries, 3, 3, 5, 5);
  const struct {
    std::int32_t zoom, scroll_x, scroll_y;
    DragPoint point;
    const ImageEntry* want;
  } cases[] = {
      {16, 0, 0, {100, 100}, &below},  {16, 0, 0, {131, 131}, &above},   // the later one on top
      {16, 0, 0, {125, 105}, &below},  {16, 0, 0, {132, 110}, nullptr},  // right edge excluded
      {32, 10, 4, {180, 192}, &below}, {32, 10, 4, {179, 192}, nullptr},
      {4, 0, 0, {0, 0}, &narrow},  // 5 pixels from x 3 at "1/4": one view pixel
      {4, 0, 0, {1, 0}, nullptr},
  };
  for (const auto& c : cases) {
    DragView view;
    view.zoom = c.zoom;
    view.scroll_x = c.scroll_x;
    view.scroll_y = c.scroll_y;
    EXPECT_EQ(entry_at(entries, c.point, view), c.want) << c.point.x << "," << c.point.y;
  }
}

TEST(DragMove, SnappingAndLimitsChangeTheRectangle) {
  ImageEntryList entries;
  add_entry(entries, 0, 0, 32, 32);
  const ImageEntry& dragged = add_entry(entries, 100, 100, 32, 32);
  const DragState drag = pressed_at({500, 500}, dragged, entries);
  const struct {
    const char* name;
    DragPoint cursor;
    std::int32_t snap_width;
    SheetRect expected;
    bool changed;
    const char* status;
  } cases[] = {
      {"SnapsFlush", {435, 402}, 4, {32, 0, 32, 32}, true, "(32,0)-(32,32)"},
      {"SnapWidthZero", {435, 402}, 0, {35, 2, 32, 32}, false, "(35,2)-(32,32)"},
      {"AboveTheTopLeft", {300, 300}, 4, {0, 0, 32, 32}, true, "(0,0)-(32,32)"},
      {"PastTheFarEnd", {33400, 33400}, 4, {32736, 32736, 32, 32}, true, "(32736,32736)-(32,32)"},
      {"Free", {600, 600}, 4, {200, 200, 32, 32}, false, "(200,200)-(32,32)"},
  };
  for (const auto& c : cases) {
    DragView view;
    view.snap_width = c.snap_width;
    const DragMove move = drag_move(drag, c.cursor, dragged, entries, view);
    EXPECT_EQ(move.sheet, c.expected) << c.name;
    EXPECT_EQ(move.changed, c.changed) << c.name;
    EXPECT_EQ(drag_status_text(move.sheet), c.status) << c.name;
  }
}

TEST(DragMove, FollowersKeepTheGroupsShapeAtEveryZoom) {
  // The leader is dragged towards a fixed image and snaps flush against its
  // right edge; a follower stands flush against the leader's right edge,
  // another below it. Both must stay flush wherever the leader lands.
  for (const ZoomStep& step : kZoomSteps) {
    SCOPED_TRACE(step.text);
    const std::int32_t zoom = step.sixteenths;
    ImageEntryList entries;
    add_entry(entries, 0, 0, 33, 32);
    ImageEntry& leader = add_entry(entries, 101, 40, 32, 32, true);
    ImageEntry& right = add_entry(entries, 133, 40, 16, 16, true);
    ImageEntry& below = add_entry(entries, 101, 72, 8, 8, true);
    ImageEntry& apart = add_entry(entries, 300, 300, 16, 16);
    DragView view;
    view.zoom = zoom;
    view.snap_width = 4;
    const DragState drag = pressed_at({1000, 1000}, leader, entries);
    // The cursor's way in steps, as full-window dragging reports it: the
    // followers are placed at every step; only the last one counts.
    for (const DragPoint cursor : {DragPoint{990, 995}, DragPoint{960, 990},
                                   DragPoint{1000 - 69 * zoom / 16, 1000 - 40 * zoom / 16}}) {
      const DragMove move = drag_move(drag, cursor, leader, entries, view);
      apply_moves(entries, drag_step_moves(entries, leader, {move.sheet.x, move.sheet.y}, drag));
    }
    EXPECT_EQ((std::pair{leader.x, leader.y}), (std::pair{33, 0}));
    EXPECT_EQ((std::pair{right.x, right.y}), (std::pair{65, 0}));
    EXPECT_EQ((std::pair{below.x, below.y}), (std::pair{33, 32}));
    EXPECT_EQ((std::pair{apart.x, apart.y}), (std::pair{300, 300}));
  }
}

TEST(DragMove, FollowersAreLimitedFromWhereTheyStoodAtThePress) {
  ImageEntryList entries;
  ImageEntry& leader = add_entry(entries, 40, 40, 32, 32, true);
  ImageEntry& follower = add_entry(entries, 10, 20, 16, 16, true);
  ImageEntry& far = add_entry(entries, 32700, 5, 32, 32, true);
  const DragState drag = pressed_at({0, 0}, leader, entries);
  // A step past the top-left limits the follower at 0; the next step back
  // puts it where the whole displacement puts it, not 0 + the step.
  apply_moves(entries, drag_step_moves(entries, leader, {10, 10}, drag));
  EXPECT_EQ((std::pair{follower.x, follower.y}), (std::pair{0, 0}));
  EXPECT_EQ((std::pair{far.x, far.y}), (std::pair{32670, 0}));
  apply_moves(entries, drag_step_moves(entries, leader, {100, 45}, drag));
  EXPECT_EQ((std::pair{follower.x, follower.y}), (std::pair{70, 25}));
  EXPECT_EQ((std::pair{far.x, far.y}), (std::pair{32736, 10}));

  // A list changed since the press moves nothing.
  add_entry(entries, 0, 0, 1, 1, true);
  apply_moves(entries, drag_step_moves(entries, leader, {40, 45}, drag));
  EXPECT_EQ((std::pair{leader.x, leader.y}), (std::pair{40, 45}));
  EXPECT_EQ((std::pair{follower.x, follower.y}), (std::pair{70, 25}));
}

TEST(DragMove, SnappedPixelSurvivesZoomBelowOneToOne) {
  ImageEntryList entries;
  add_entry(entries, 0, 0, 33, 32);
  const ImageEntry& dragged = add_entry(entries, 100, 0, 32, 32);
  DragState drag = pressed_at({500, 500}, dragged, entries);
  DragView view;
  view.zoom = 8;
  view.snap_width = 4;
  // 33 view pixels left are 66 sheet pixels: proposed x 34, 1 right of the
  // neighbour's right edge at 33, snapped to 33 (which shares its view pixel
  // with 32).
  const DragMove move = drag_move(drag, {467, 500}, dragged, entries, view);
  EXPECT_EQ(move.sheet.x, 33);
  EXPECT_TRUE(move.changed);
}

TEST(DragMove, TheClickDecision) {
  // The same x or the same y as the press counts as a click.
  EXPECT_TRUE(is_click({10, 10}, {10, 50}));
  EXPECT_TRUE(is_click({10, 10}, {30, 10}));
  EXPECT_TRUE(is_click({10, 10}, {10, 10}));
  EXPECT_FALSE(is_click({10, 10}, {11, 11}));

  // Ctrl as it was at the press decides between selecting alone and
  // toggling; a release elsewhere only describes the image.
  ImageEntryList entries;
  const ImageEntry& entry = add_entry(entries, 0, 0, 8, 8);
  DragState drag = pressed_at({10, 10}, entry, entries);
  EXPECT_EQ(press_outcome(drag, {10, 10}), PressOutcome::SelectAlone);
  EXPECT_EQ(press_outcome(drag, {11, 11}), PressOutcome::Describe);
  drag.ctrl_at_press = true;
  EXPECT_EQ(press_outcome(drag, {10, 40}), PressOutcome::ToggleSelection);
  EXPECT_EQ(press_outcome(drag, {12, 40}), PressOutcome::Describe);
}

}  // namespace
}  // namespace piconel
