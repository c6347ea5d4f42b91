// The sheet view's arithmetic: zoom steps, coordinate conversion with
// truncating division, scrolling and its limits, scroll bars, the selection
// rectangle by centres and the painted areas.

#include "canvas/sheet_geometry.h"

#include <gtest/gtest.h>

#include "canvas/snapping.h"

namespace piconel {
namespace {

TEST(ZoomSteps, StartOnX1AndStopAtBothEnds) {
  EXPECT_EQ(kZoomSteps[kStartZoomStep].text, "x 1");
  EXPECT_EQ(kZoomSteps[kStartZoomStep].sixteenths, 16);
  EXPECT_EQ(zoom_in_step(3), 2);
  EXPECT_EQ(zoom_out_step(3), 4);
  EXPECT_EQ(zoom_in_step(0), std::nullopt);   // "x 8" is the largest
  EXPECT_EQ(zoom_out_step(5), std::nullopt);  // "1/4" is the smallest
  EXPECT_EQ(zoom_in_step(6), std::nullopt);
  EXPECT_EQ(zoom_out_step(-1), std::nullopt);
}

TEST(SheetCoordinates, ConvertWithTruncationTowardZero) {
  struct Case {
    std::int32_t sheet, scroll, zoom, view;
  } const cases[] = {
      {10, 0, 32, 20}, {10, 4, 16, 6}, {5, 10, 8, -2},  // -2.5 truncates to -2
      {3, 0, 4, 0},    {7, 0, 4, 1},   {32768, 0, 128, 262144},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(sheet_to_view(c.sheet, c.scroll, c.zoom), c.view) << c.sheet << " " << c.zoom;
  }
  EXPECT_EQ(sheet_length_to_view(33, 8), 16);
  EXPECT_EQ(view_length_to_sheet(33, 32), 16);
  EXPECT_EQ(view_length_to_sheet(33, 0), 0);
  EXPECT_EQ(clamp_sheet_position(-5, 10), 0);
  EXPECT_EQ(clamp_sheet_position(32760, 10), 32758);
  EXPECT_EQ(clamp_sheet_position(100, 10), 100);
  EXPECT_EQ(visible_sheet_size(316, 16, 32), 150);
}

TEST(Scrolling, StepsStayWithinZeroAndExtentMinusVisible) {
  struct Case {
    ScrollRequest request;
    std::int32_t current, visible, extent, thumb, zoom, step;
  } const cases[] = {
      {ScrollRequest::LineDown, 0, 100, 400, 0, 16, 8},
      {ScrollRequest::LineUp, 0, 100, 400, 0, 16, 0},  // already at the top
      {ScrollRequest::LineUp, 5, 100, 400, 0, 16, -5},
      {ScrollRequest::PageDown, 0, 100, 400, 0, 16, 100},
      {ScrollRequest::PageDown, 250, 100, 400, 0, 16, 50},  // limited to 300
      {ScrollRequest::PageUp, 250, 100, 400, 0, 16, -100},
      {ScrollRequest::ThumbPosition, 0, 100, 400, 200, 32, 100},  // 200 * 16 / 32
      {ScrollRequest::Top, 120, 100, 400, 0, 16, -120},
      {ScrollRequest::Bottom, 0, 100, 400, 0, 16, 300},
      {ScrollRequest::Bottom, 0, 500, 400, 0, 16, 0},  // extent smaller than visible
      {ScrollRequest::LineDown, 0, 500, 400, 0, 16, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(scroll_step(c.request, c.current, c.visible, c.extent, c.thumb, c.zoom), c.step)
        << static_cast<int>(c.request) << " at " << c.current;
  }
  // One notch up (+120) scrolls 8 sheet pixels up; at 0 nothing.
  EXPECT_EQ(wheel_step(120, 16, 100, 400), -8);
  EXPECT_EQ(wheel_step(120, 0, 100, 400), 0);
  EXPECT_EQ(wheel_step(-240, 0, 100, 400), 16);
  EXPECT_EQ(limit_scroll(-3, 100, 400), 0);
  EXPECT_EQ(limit_scroll(1000, 100, 400), 300);
}

TEST(Scrolling, WindowsArePutBackOnTheirSheetPositions) {
  struct Case {
    SheetRect entry;
    std::int32_t scroll_x, scroll_y, zoom;
    ViewRect place;
  } const cases[] = {
      {{40, 8, 20, 10}, 0, 0, 16, {40, 8, 60, 18}},
      {{40, 8, 20, 10}, 2, 0, 4, {9, 2, 14, 4}},  // 9.5 and 2.5 truncate
      {{40, 8, 20, 10}, 0, 6, 8, {20, 1, 30, 6}},
      {{3, 0, 5, 5}, 6, 0, 4, {0, 0, 1, 1}},  // -0.75 truncates toward zero
      {{3, 0, 5, 5}, 10, 0, 4, {-1, 0, 0, 1}},
      {{100, 100, 32, 32}, 10, 20, 128, {720, 640, 976, 896}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(entry_view_rect(c.entry, c.scroll_x, c.scroll_y, c.zoom), c.place) << c.entry.x;
  }
  // Four wheel steps of 2 sheet pixels at "1/4" shift the contents by
  // nothing each time, while an image at x 41 now shows 2 view pixels
  // further left: only putting each window back keeps it on its position.
  const SheetRect image{41, 0, 32, 32};
  std::int32_t shifted_left = entry_view_rect(image, 0, 0, 4).left;
  for (std::int32_t scroll = 2; scroll <= 8; scroll += 2) {
    EXPECT_FALSE(view_shift_is_exact(2, 4));
    shifted_left += sheet_length_to_view(-2, 4);
  }
  EXPECT_EQ(shifted_left, 10);
  EXPECT_EQ(entry_view_rect(image, 8, 0, 4).left, 8);
  EXPECT_TRUE(view_shift_is_exact(8, 4));
  EXPECT_TRUE(view_shift_is_exact(-1, 16));
  EXPECT_TRUE(view_shift_is_exact(3, 128));
  EXPECT_FALSE(view_shift_is_exact(-3, 8));
}

TEST(Scrolling, ScrollBarsInViewPixels) {
  EXPECT_EQ(scroll_bar_state(512, 300, 100, 32), (ScrollBarState{1023, 600, 200}));
  EXPECT_EQ(scroll_bar_state(0, 300, 0, 16), (ScrollBarState{-1, 300, 0}));
}

TEST(SelectionRectangle, SelectsByCentreEdgesIncluded) {
  // A 20 x 20 image at (10, 10): its centre is (20, 20) at 100 %.
  EXPECT_TRUE(centre_in_rect(10, 10, 20, 20, 0, 0, 16, {20, 20, 30, 30}));
  EXPECT_TRUE(centre_in_rect(10, 10, 20, 20, 0, 0, 16, {0, 0, 20, 20}));
  // Covers most of the image but not its centre.
  EXPECT_FALSE(centre_in_rect(10, 10, 20, 20, 0, 0, 16, {0, 0, 19, 40}));
  // Scrolled by 10 and zoomed to 200 %: centre at (20, 20) again.
  EXPECT_TRUE(centre_in_rect(10, 10, 20, 20, 10, 10, 32, {20, 20, 20, 20}));
  EXPECT_EQ(span_rect(30, 5, 10, 25), (ViewRect{10, 5, 30, 25}));
}

TEST(SheetPaint, AreaOutsideAFixedSheetTakesTheWindowColour) {
  // A fixed 100 x 50 sheet at 200 %: edges at 200 and 100 view pixels.
  const SheetEdges edges = sheet_edges(100, 50, 0, 0, 32);
  EXPECT_EQ(edges, (SheetEdges{200, 100}));
  const SheetPaintPlan plan = plan_sheet_paint({0, 0, 300, 300}, edges);
  EXPECT_EQ(plan.sheet, (ViewRect{0, 0, 200, 100}));
  EXPECT_EQ(plan.right_of_sheet, (ViewRect{200, 0, 300, 300}));
  EXPECT_EQ(plan.below_sheet, (ViewRect{0, 100, 200, 300}));
  // An update wholly right of the sheet is all window colour.
  const SheetPaintPlan outside = plan_sheet_paint({250, 0, 300, 40}, edges);
  EXPECT_EQ(outside.right_of_sheet, (ViewRect{250, 0, 300, 40}));
  EXPECT_EQ(outside.sheet, ViewRect{});
  // Without a fixed sheet the sheet reaches 32768.
  EXPECT_EQ(sheet_edges(0, 0, 100, 0, 16), (SheetEdges{32668, 32768}));
}

TEST(EntryPaint, RepaintCopiesThePicturePixelsUnderTheUpdate) {
  const struct {
    ViewRect entry;
    ViewRect update;
    std::int32_t width, height, zoom;
    BlitArea destination, source;
  } cases[] = {
      // "x 1": the overlap itself.
      {{10, 10, 42, 42}, {20, 0, 100, 30}, 32, 32, 16, {20, 10, 22, 20}, {10, 0, 22, 20}},
      // "x 2": whole picture pixels, a half-covered one included on each side.
      {{10, 10, 74, 74}, {13, 20, 16, 21}, 32, 32, 32, {12, 20, 4, 2}, {1, 5, 2, 1}},
      // "x 8" with the entry left of and above the view: negative origins.
      {{-100, -60, 156, 196}, {0, 0, 50, 50}, 32, 32, 128, {-4, -4, 56, 56}, {12, 7, 7, 7}},
      // Below 100 %: the whole picture into the entry's rectangle.
      {{3, 3, 11, 11}, {0, 0, 4, 4}, 32, 32, 4, {3, 3, 8, 8}, {0, 0, 32, 32}},
      {{3, 3, 19, 19}, {18, 18, 30, 30}, 33, 33, 8, {3, 3, 16, 16}, {0, 0, 33, 33}},
      // Nothing under the update, or nothing to show.
      {{10, 10, 42, 42}, {42, 0, 60, 60}, 32, 32, 16, {}, {}},
      {{10, 10, 10, 10}, {0, 0, 60, 60}, 0, 0, 4, {}, {}},
  };
  for (const auto& c : cases) {
    const EntryBlit blit = entry_blit(c.entry, c.update, c.width, c.height, c.zoom);
    EXPECT_EQ(blit.destination, c.destination) << c.zoom << " " << c.update.left;
    EXPECT_EQ(blit.source, c.source) << c.zoom << " " << c.update.left;
  }
}

}  // namespace
}  // namespace piconel
