#include "window/centre_window.h"

#include <gtest/gtest.h>

#include <climits>

namespace piconel {
namespace {

struct CentreCase {
  const char* name;
  ScreenRect window;
  ScreenRect reference;
  ScreenRect work_area;
  ScreenPoint expected;
};

constexpr ScreenRect kWorkArea{0, 0, 1280, 984};  // a 1280x1024 screen less a 40-pixel taskbar

TEST(CentredPosition, PlacesAndClampsTheWindow) {
  const CentreCase cases[] = {
      {"CentredInsideReference", {0, 0, 200, 100}, {100, 100, 500, 400}, kWorkArea, {200, 200}},
      // Only the window's size counts, not where it is now.
      {"CurrentPositionIgnored",
       {900, 700, 1100, 800},
       {100, 100, 500, 400},
       kWorkArea,
       {200, 200}},
      // (101 - 50) / 2 = 25 and (33 - 10) / 2 = 11: halves are dropped.
      {"OddDifferenceTruncates", {0, 0, 50, 10}, {10, 20, 111, 53}, kWorkArea, {35, 31}},
      // (100 - 201) / 2 = -50, not -51: division truncates toward zero.
      {"LargerWindowTruncatesTowardZero",
       {0, 0, 201, 51},
       {500, 500, 600, 550},
       kWorkArea,
       {450, 500}},
      // Owner near the right edge: 1200 + (200 - 300) / 2 = 1150 would end at
      // 1450, so the box is pulled left to end at 1280.
      {"PulledLeftAtRightEdge", {0, 0, 300, 120}, {1200, 300, 1400, 500}, kWorkArea, {980, 340}},
      {"PulledUpAtBottomEdge", {0, 0, 300, 120}, {100, 900, 500, 1100}, kWorkArea, {150, 864}},
      {"EndsExactlyAtRightEdgeStays", {0, 0, 200, 100}, {1080, 0, 1280, 100}, kWorkArea, {1080, 0}},
      {"PushedRightAtLeftEdge", {0, 0, 300, 120}, {-200, 100, 0, 300}, kWorkArea, {0, 140}},
      {"PushedDownAtTopEdge", {0, 0, 300, 120}, {100, -300, 500, -100}, kWorkArea, {150, 0}},
      // Owner smaller than the box in the top-left corner: centring puts the
      // corner off screen, the clamp brings it back.
      {"SmallOwnerInCornerKeepsCornerVisible", {0, 0, 300, 150}, {0, 0, 64, 64}, kWorkArea, {0, 0}},
      // Window larger than the work area: right/bottom clamp first, then the
      // left/top clamp wins, so the top-left corner is at the work area's.
      {"LargerThanWorkAreaShowsTopLeft", {0, 0, 2000, 1500}, {0, 0, 1280, 1024}, kWorkArea, {0, 0}},
      // Work area that does not start at 0 (taskbar on the top or left).
      {"OffsetWorkArea", {0, 0, 300, 200}, {0, 0, 100, 100}, {60, 40, 1280, 1024}, {60, 40}},
      // A second monitor left of the primary one (negative coordinates).
      {"NegativeCoordinates",
       {0, 0, 200, 100},
       {-1000, 200, -600, 400},
       {-1280, 0, 0, 1024},
       {-900, 250}},
      // Empty rectangles are still placed, never divided by.
      {"EmptyWindow", {0, 0, 0, 0}, {10, 10, 20, 20}, kWorkArea, {15, 15}},
  };
  for (const CentreCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(centred_position(c.window, c.reference, c.work_area), c.expected);
  }
}

TEST(CentredPosition, ExtremeRectanglesDoNotOverflow) {
  const ScreenRect huge_window{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
  const ScreenRect huge_reference{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
  EXPECT_EQ(centred_position(huge_window, huge_reference, kWorkArea), (ScreenPoint{0, 0}));

  const ScreenRect far_reference{INT_MAX - 10, INT_MAX - 10, INT_MAX, INT_MAX};
  EXPECT_EQ(centred_position({0, 0, 100, 50}, far_reference, kWorkArea), (ScreenPoint{1180, 934}));
}

}  // namespace
}  // namespace piconel
