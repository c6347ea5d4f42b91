#include "image/placement.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

namespace piconel {
namespace {

SheetPoint place(const std::vector<PlacedRect>& entries, std::int32_t width, SheetPoint start,
                 std::int64_t limit) {
  return place_automatically(entries, width, start, limit);
}

TEST(PlacementTest, RowLimit) {
  EXPECT_EQ(row_limit({64, 1000, 2000}), 64) << "a fixed sheet width wins";
  EXPECT_EQ(row_limit({0, 500, 300}), 500);
  EXPECT_EQ(row_limit({0, 300, 500}), 500) << "raised to the extent width";
  EXPECT_EQ(row_limit({-5, 300, 200}), 300) << "no fixed sheet below 1";
}

TEST(PlacementTest, VisibleRightEdge) {
  // (800 - 17) * 16 / 32 + 10: 783 * 16 = 12528, / 32 = 391 (truncated).
  EXPECT_EQ(visible_right_edge(800, 17, 32, 10), 401);
  EXPECT_EQ(visible_right_edge(800, 17, 16, 0), 783);
  EXPECT_EQ(visible_right_edge(800, 17, 4, 0), 3132);
  EXPECT_EQ(visible_right_edge(800, 17, 0, 0), 783) << "zoom 0 counts as 100 %";
  EXPECT_EQ(visible_right_edge(10, 17, 16, 0), -7) << "truncates toward zero";
  EXPECT_EQ(visible_right_edge(10, 17, 32, 0), -3);
}

TEST(PlacementTest, ThreeImagesInARow) {
  std::vector<PlacedRect> entries;
  SheetPoint cursor;
  const SheetPoint expected[] = {{0, 0}, {32, 0}, {64, 0}};
  for (const SheetPoint& want : expected) {
    const SheetPoint at = place(entries, 32, cursor, 783);
    EXPECT_EQ(at, want);
    entries.push_back({at.x, at.y, 32, 32});
    cursor = {at.x + 32, at.y};
  }
}

TEST(PlacementTest, FixedSheetWidthStartsANewRow) {
  std::vector<PlacedRect> entries;
  SheetPoint cursor;
  const SheetPoint expected[] = {{0, 0}, {32, 0}, {0, 32}, {32, 32}};
  for (const SheetPoint& want : expected) {
    const SheetPoint at = place(entries, 32, cursor, row_limit({64, 783, 0}));
    EXPECT_EQ(at, want);
    entries.push_back({at.x, at.y, 32, 32});
    cursor = {at.x + 32, at.y};
  }
}

TEST(PlacementTest, CandidateInsideAnImageMovesRightOrDown) {
  const std::vector<PlacedRect> entries = {{0, 0, 40, 20}, {40, 0, 30, 50}, {100, 10, 10, 10}};
  EXPECT_EQ(place(entries, 10, {5, 5}, 200), (SheetPoint{70, 5})) << "past two images";
  EXPECT_EQ(place(entries, 10, {0, 0}, 200), (SheetPoint{70, 0}));
  // 70 + 40 > 100: new row below the lowest bottom edge (50).
  EXPECT_EQ(place(entries, 40, {5, 5}, 100), (SheetPoint{0, 50}));
  // A free point stays.
  EXPECT_EQ(place(entries, 10, {0, 20}, 200), (SheetPoint{0, 20}));
  // Only the top-left point is tested: overlapping the third image is fine.
  EXPECT_EQ(place(entries, 50, {70, 0}, 200), (SheetPoint{70, 0}));
  // Edges are exclusive on the right and bottom.
  EXPECT_EQ(place(entries, 10, {110, 20}, 200), (SheetPoint{110, 20}));
}

TEST(PlacementTest, CursorPastTheLimitStartsANewRowAtOnce) {
  const std::vector<PlacedRect> entries = {{0, 0, 32, 32}};
  // 40 + 32 > 64 although (40, 0) is free.
  EXPECT_EQ(place(entries, 32, {40, 0}, 64), (SheetPoint{0, 32}));
  // The new row keeps a cursor y that is already lower.
  EXPECT_EQ(place(entries, 32, {40, 90}, 64), (SheetPoint{0, 90}));
}

TEST(PlacementTest, ImageWiderThanTheLimit) {
  const std::vector<PlacedRect> entries = {{0, 0, 32, 32}, {32, 0, 32, 48}};
  // Cursor x 0 and that point free: stays there.
  EXPECT_EQ(place(entries, 500, {0, 60}, 100), (SheetPoint{0, 60}));
  // Cursor x 0 but occupied: moved right, past the limit, new row below all.
  EXPECT_EQ(place(entries, 500, {0, 0}, 100), (SheetPoint{0, 48}));
  // Cursor x not 0: new row below all.
  EXPECT_EQ(place(entries, 500, {64, 0}, 100), (SheetPoint{0, 48}));
  // Empty page.
  EXPECT_EQ(place({}, 500, {0, 0}, 100), (SheetPoint{0, 0}));
}

TEST(PlacementTest, ListOrderDecidesWhichImageMovesTheCandidate) {
  // Both hold (5, 5); the first in list order moves the candidate to x = 20.
  const std::vector<PlacedRect> entries = {{0, 0, 20, 10}, {0, 0, 60, 10}};
  EXPECT_EQ(place(entries, 5, {5, 5}, 1000), (SheetPoint{60, 5}));
  const std::vector<PlacedRect> reversed = {{0, 0, 60, 10}, {0, 0, 20, 10}};
  EXPECT_EQ(place(reversed, 5, {5, 5}, 1000), (SheetPoint{60, 5}));
}

TEST(PlacementTest, EmptyRectanglesHoldNothing) {
  const std::vector<PlacedRect> entries = {{0, 0, 0, 10}, {0, 0, 10, 0}, {0, 0, -5, -5}};
  EXPECT_EQ(place(entries, 5, {0, 0}, 100), (SheetPoint{0, 0}));
}

TEST(PlacementTest, HostileCoordinatesDoNotOverflow) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  const std::vector<PlacedRect> entries = {{0, kMax - 5, 32768, 32768}, {0, 0, 10, 10}};
  // New row below an entry whose bottom edge is past the int32 range.
  EXPECT_EQ(place(entries, 20, {5, 5}, 20), (SheetPoint{0, kMax}));
  const std::vector<PlacedRect> right = {{kMax - 5, 0, 32768, 10}};
  const SheetPoint at = place(right, 1, {kMax - 1, 0}, std::int64_t{1} << 40);
  EXPECT_EQ(at, (SheetPoint{kMax, 0}));
}

TEST(PlacementTest, OverTheEntryList) {
  ImageEntryList entries;
  entries.emplace_back();
  entries.back().width = 32;
  entries.back().height = 32;
  const PlacementView view{0, 64, 0};
  EXPECT_EQ(place_automatically(entries, 32, {0, 0}, view), (SheetPoint{32, 0}));
  EXPECT_EQ(place_automatically(entries, 40, {0, 0}, view), (SheetPoint{0, 32}));
}

}  // namespace
}  // namespace piconel
