// The colour picker's arithmetic: the pixel under a click at 4 x, what a
// scrolled area paints, the scroll limits, the layout that keeps its margins
// and the colour text.

#include "canvas/colour_picker_model.h"

#include <gtest/gtest.h>

#include <optional>

namespace piconel {
namespace {

TEST(ColourPickerModel, ClickPicksThePixelUnderIt) {
  struct Case {
    std::int32_t client_x, client_y, scroll_x, scroll_y;
    std::optional<PicturePoint> pixel;
  };
  // A 10 x 6 picture.
  const Case cases[] = {
      {0, 0, 0, 0, PicturePoint{0, 0}},  // the top-left 4 x 4 block
      {3, 3, 0, 0, PicturePoint{0, 0}},   {4, 3, 0, 0, PicturePoint{1, 0}},
      {0, 0, 8, 0, PicturePoint{2, 0}},  // after scrolling 8 pixels right
      {1, 5, 6, 3, PicturePoint{1, 2}},  // origins that are no multiple of 4
      {39, 23, 0, 0, PicturePoint{9, 5}}, {40, 0, 0, 0, std::nullopt},  // right of the picture
      {0, 20, 0, 4, std::nullopt},                                      // below it
      {-1, 0, 0, 0, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(pixel_under_click(c.client_x, c.client_y, c.scroll_x, c.scroll_y, 10, 6), c.pixel)
        << c.client_x << "," << c.client_y << " scrolled " << c.scroll_x << "," << c.scroll_y;
  }
}

TEST(ColourPickerModel, PaintingMatchesPicking) {
  EXPECT_EQ(picker_extent(10), 40);
  EXPECT_EQ(picker_extent(-3), 0);
  // Unscrolled: the whole picture at (0, 0), four times its size.
  EntryBlit blit = picker_blit(0, 0, 10, 6);
  EXPECT_EQ(blit.source, (BlitArea{0, 0, 10, 6}));
  EXPECT_EQ(blit.destination, (BlitArea{0, 0, 40, 24}));
  // Scrolled by 9, 4: pixel 2 starts one area pixel left of the edge, so
  // area x 3 shows pixel 2 and x 0..2 too, as pixel_under_click says.
  blit = picker_blit(9, 4, 10, 6);
  EXPECT_EQ(blit.source, (BlitArea{2, 1, 8, 5}));
  EXPECT_EQ(blit.destination, (BlitArea{-1, 0, 32, 20}));
  for (std::int32_t x = 0; x < 32 - 1; ++x) {
    const std::int32_t shown = blit.source.x + (x - blit.destination.x) / kPickerZoom;
    EXPECT_EQ(pixel_under_click(x, 0, 9, 4, 10, 6)->x, shown) << x;
  }
}

TEST(ColourPickerModel, ScrollOriginStaysInsideTheExtent) {
  struct Case {
    std::int32_t extent, visible, origin;
    PickerAxis axis;
  };
  const Case cases[] = {
      {400, 100, 0, {0, {399, 100, 0}}},
      {400, 100, 120, {120, {399, 100, 120}}},
      // The area grew: the origin comes back so the picture's end stays at
      // the area's end.
      {400, 100, 350, {300, {399, 100, 300}}},
      // Larger than the extent: no scrolling.
      {40, 100, 16, {0, {39, 100, 0}}},
      {0, 100, 0, {0, {-1, 100, 0}}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(picker_axis(c.extent, c.visible, c.origin), c.axis)
        << c.extent << " " << c.visible << " " << c.origin;
  }
  // Requests are the sheet view's at 100 %: a line is 8 pixels, a page the
  // visible size, and the step stops at the limits.
  EXPECT_EQ(scroll_step(ScrollRequest::LineDown, 0, 100, 400, 0, kZoomUnit), 8);
  EXPECT_EQ(scroll_step(ScrollRequest::PageDown, 250, 100, 400, 0, kZoomUnit), 50);
  EXPECT_EQ(scroll_step(ScrollRequest::ThumbPosition, 0, 100, 400, 123, kZoomUnit), 123);
  EXPECT_EQ(scroll_step(ScrollRequest::Top, 64, 100, 400, 0, kZoomUnit), -64);
}

TEST(ColourPickerModel, GrowingKeepsTheMargins) {
  const ControlBox area{10, 10, 300, 200};
  const ControlBox text{10, 220, 150, 14};
  const ControlBox button{250, 216, 60, 22};
  struct Case {
    std::int32_t width, height;
    ControlBox area, text, button;
  };
  // First client size 320 x 248.
  const Case cases[] = {
      {320, 248, area, text, button},
      {420, 298, {10, 10, 400, 250}, {10, 270, 150, 14}, {350, 266, 60, 22}},
      // Smaller than at first (the minimum size stops this) counts as first.
      {200, 100, area, text, button},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(anchored_box(area, Anchor::Grow, 320, 248, c.width, c.height), c.area);
    EXPECT_EQ(anchored_box(text, Anchor::Bottom, 320, 248, c.width, c.height), c.text);
    EXPECT_EQ(anchored_box(button, Anchor::BottomRight, 320, 248, c.width, c.height), c.button);
  }
}

TEST(ColourPickerModel, ColourText) {
  // "透過色:" in CP932.
  const std::string label = "\x93\xa7\x89\xdf\x90\x46:";
  EXPECT_EQ(picked_colour_text(0x12AB0F), label + "(12,ab,0f)");
  EXPECT_EQ(picked_colour_text(0), label + "(00,00,00)");
  EXPECT_EQ(picked_colour_text(-1), label);
}

}  // namespace
}  // namespace piconel
