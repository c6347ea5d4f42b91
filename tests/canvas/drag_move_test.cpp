// The rectangle of a dragged image: cursor displacement with truncating
// division at every zoom, the window rectangle with scrolling, snapping and
// the limits; the followers' offset; the position back from a window; the
// click decision.

#include "canvas/drag_move.h"

#include <gtest/gtest.h>

#include <iterator>

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

DragState pressed_at(DragPoint point, const ImageEntry& entry, std::int32_t zoom) {
  DragState drag;
  drag.record_press(point, entry, zoom);
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
    const DragState drag = pressed_at({500, 500}, dragged, c.zoom);
    DragView view;
    view.zoom = c.zoom;
    view.snap_width = 4;
    const DragMove move = drag_move(drag, c.cursor, dragged, entries, view);
    EXPECT_EQ(move.sheet, (SheetRect{c.x, c.y, 32, 32})) << c.zoom;
    EXPECT_FALSE(move.changed) << c.zoom;
  }
}

TEST(DragMove, WindowRectangleFollowsScrollZoomAndViewOrigin) {
  ImageEntryList entries;
  const ImageEntry& dragged = add_entry(entries, 100, 100, 32, 32);
  const DragState drag = pressed_at({500, 500}, dragged, 32);
  const DragView view{32, 10, 4, 4, 200, 50};
  const DragMove move = drag_move(drag, {500, 500}, dragged, entries, view);
  EXPECT_EQ(move.window, (ViewRect{380, 242, 444, 306}));
  // The press position is in view pixels without the scroll.
  EXPECT_EQ(drag.press_position, (DragPoint{200, 200}));
}

TEST(DragMove, SnappingAndLimitsChangeTheRectangle) {
  ImageEntryList entries;
  add_entry(entries, 0, 0, 32, 32);
  const ImageEntry& dragged = add_entry(entries, 100, 100, 32, 32);
  const DragState drag = pressed_at({500, 500}, dragged, 16);
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

TEST(DragMove, FollowersMoveByTheLeadersViewDisplacement) {
  ImageEntryList entries;
  ImageEntry& leader = add_entry(entries, 33, 20, 32, 32, true);
  add_entry(entries, 10, 10, 16, 16, true);
  add_entry(entries, 300, 300, 16, 16, false);
  add_entry(entries, 32760, 5, 32, 32, true);

  // Zoom 16: 40 right and 20 up in view pixels are 40 and 20 sheet pixels.
  const DragState drag = pressed_at({0, 0}, leader, 16);
  const DragPoint offset = follower_offset(drag, {73, 0}, DragView{});
  EXPECT_EQ(offset, (DragPoint{40, -20}));
  move_followers(entries, leader, offset);
  auto it = entries.begin();
  EXPECT_EQ((std::pair{it->x, it->y}), (std::pair{33, 20}));  // the leader itself
  ++it;
  EXPECT_EQ((std::pair{it->x, it->y}), (std::pair{50, 0}));  // limited at the top
  ++it;
  EXPECT_EQ((std::pair{it->x, it->y}), (std::pair{300, 300}));  // not selected
  ++it;
  EXPECT_EQ((std::pair{it->x, it->y}), (std::pair{32736, 0}));

  // Zoom 8 with scrolling: press position 33 * 8 / 16 = 16; the new client
  // x 20 plus the scroll 10 * 8 / 16 = 5 is 9 view pixels on, 18 sheet
  // pixels.
  const DragState half = pressed_at({0, 0}, leader, 8);
  DragView view;
  view.zoom = 8;
  view.scroll_x = 10;
  EXPECT_EQ(follower_offset(half, {20, 10}, view), (DragPoint{18, 0}));
}

TEST(DragMove, SnappedPixelSurvivesZoomBelowOneToOne) {
  ImageEntryList entries;
  add_entry(entries, 0, 0, 33, 32);
  const ImageEntry& dragged = add_entry(entries, 100, 0, 32, 32);
  DragState drag = pressed_at({500, 500}, dragged, 8);
  DragView view;
  view.zoom = 8;
  view.snap_width = 4;
  view.view_left = 10;
  // 33 view pixels left are 66 sheet pixels: proposed x 34, 1 right of the
  // neighbour's right edge at 33, snapped to 33, whose window stands at
  // 33 * 8 / 16 + 10 = 26.
  const DragMove move = drag_move(drag, {467, 500}, dragged, entries, view);
  ASSERT_EQ(move.sheet.x, 33);
  ASSERT_EQ(move.window.left, 26);
  drag.has_last_move = true;
  drag.last_move = move.sheet;
  drag.last_window = {move.window.left, move.window.top};
  // Back through the window alone would give 32, overlapping by a pixel.
  EXPECT_EQ(sheet_position_of_window(16, 0, 8), 32);
  EXPECT_EQ(dragged_position(drag, {26, 0}, view), (DragPoint{33, 0}));
  // A window elsewhere is taken as it stands.
  EXPECT_EQ(dragged_position(drag, {30, 0}, view), (DragPoint{40, 0}));
  // A new press forgets the last move.
  drag.record_press({0, 0}, dragged, 8);
  EXPECT_EQ(dragged_position(drag, {26, 0}, view), (DragPoint{32, 0}));
}

TEST(DragMove, PositionBackFromTheWindowAndTheClickDecision) {
  EXPECT_EQ(sheet_position_of_window(20, 10, 8), 50);
  EXPECT_EQ(sheet_position_of_window(-3, 0, 32), -1);  // -1.5 truncates toward zero
  EXPECT_EQ(sheet_position_of_window(7, 0, 64), 1);

  // The same x or the same y as the press counts as a click.
  EXPECT_TRUE(is_click({10, 10}, {10, 50}));
  EXPECT_TRUE(is_click({10, 10}, {30, 10}));
  EXPECT_TRUE(is_click({10, 10}, {10, 10}));
  EXPECT_FALSE(is_click({10, 10}, {11, 11}));
}

}  // namespace
}  // namespace piconel
