// Edge snapping of a dragged image: the eight rules with their gates,
// options and "inside" tests, strict and non-strict comparisons, ties,
// several neighbours, snap width 0 and the sheet limits.

#include "canvas/snapping.h"

#include <gtest/gtest.h>

#include <vector>

namespace piconel {
namespace {

struct SnapCase {
  const char* name;
  SheetRect proposed;
  std::vector<SheetRect> others;
  std::int32_t snap_width;
  SheetRect expected;
};

TEST(Snapping, RulesInOrder) {
  const SheetRect a{0, 0, 32, 32};
  const SnapCase cases[] = {
      // Rule 1: left edge 3 right of its right edge, tops 2 apart.
      {"BesideWithTopsLinedUp", {35, 2, 32, 32}, {a}, 4, {32, 0, 32, 32}},
      // Tops 10 apart, our top inside its height: horizontal snap only.
      {"BesideInsideOnY", {35, 10, 32, 32}, {a}, 4, {32, 10, 32, 32}},
      // The gate admits a distance equal to the snap width, but the axis
      // then counts as snapped only through the other axis.
      {"GapEqualToSnapWidthAlone", {36, 10, 32, 32}, {a}, 4, {36, 10, 32, 32}},
      {"GapEqualToSnapWidthTopsLinedUp", {36, 0, 32, 32}, {a}, 4, {32, 0, 32, 32}},
      // Near its bottom-right corner: flush to both edges.
      {"CornerToCorner", {35, 36, 32, 32}, {a}, 4, {32, 32, 32, 32}},
      // An option needs a distance strictly below the best: 4 and 4 from
      // the corner is no snap.
      {"CornerFourAwayOnBothAxes", {36, 36, 32, 32}, {a}, 4, {36, 36, 32, 32}},
      // Rule 2: below it, our left inside its width.
      {"BelowInsideOnX", {10, 35, 32, 32}, {a}, 4, {10, 32, 32, 32}},
      // Rule 2 with the left edges lined up.
      {"BelowWithLeftsLinedUp", {3, 34, 32, 32}, {a}, 4, {0, 32, 32, 32}},
      // Rule 4: below it, our right edge inside its width.
      {"BelowRightEdgeInside", {80, 35, 32, 32}, {{100, 0, 32, 32}}, 4, {80, 32, 32, 32}},
      // Rule 4 with the right edges lined up.
      {"BelowRightsLinedUp", {106, 35, 32, 32}, {{100, 0, 40, 32}}, 4, {108, 32, 32, 32}},
      // Rule 3: left of it, tops lined up.
      {"LeftOfWithTopsLinedUp", {66, 2, 32, 32}, {{100, 0, 32, 32}}, 4, {68, 0, 32, 32}},
      // Rule 7: left of it, bottoms lined up (its top too far).
      {"LeftOfWithBottomsLinedUp", {66, 31, 32, 32}, {{100, 0, 32, 64}}, 4, {68, 32, 32, 32}},
      // Rule 5: right of it, bottoms lined up.
      {"RightOfWithBottomsLinedUp", {34, 31, 32, 32}, {{0, 0, 32, 64}}, 4, {32, 32, 32, 32}},
      // Rule 6: above it, our left inside its width.
      {"AboveInsideOnX", {10, 65, 32, 32}, {{0, 100, 32, 32}}, 4, {10, 68, 32, 32}},
      // Rule 6 takes the left edges before rule 8 is tried.
      {"AboveLeftsLinedUp", {99, 65, 32, 32}, {{100, 100, 32, 32}}, 4, {100, 68, 32, 32}},
      // Rule 8: above it, right edges lined up.
      {"AboveRightsLinedUp", {110, 65, 32, 32}, {{100, 100, 40, 32}}, 4, {108, 68, 32, 32}},
      // Rule 7 before rule 8: left of it with our bottom at its top.
      {"LeftOfAndAbove", {70, 65, 32, 32}, {{100, 100, 4, 32}}, 4, {68, 68, 32, 32}},
      // Of the two edge options the first that applies wins, even when the
      // second is nearer: its top 2 away before its bottom 1 away.
      {"FirstOptionWins", {34, 2, 32, 32}, {{0, 0, 32, 3}}, 4, {32, 0, 32, 32}},
      // Far from everything: unchanged.
      {"TooFar", {40, 40, 32, 32}, {a}, 4, {40, 40, 32, 32}},
      // Snap width 0 disables snapping, even for touching edges.
      {"SnapWidthZero", {33, 1, 32, 32}, {a}, 0, {33, 1, 32, 32}},
      {"SnapWidthZeroTouching", {32, 0, 32, 32}, {a}, 0, {32, 0, 32, 32}},
      // A wider snap width reaches further.
      {"WideSnap", {40, 5, 32, 32}, {a}, 10, {32, 0, 32, 32}},
  };
  for (const SnapCase& c : cases) {
    EXPECT_EQ(snap_to(c.proposed, c.others, c.snap_width), c.expected) << c.name;
  }
}

TEST(Snapping, NeighboursCompeteAndTiesGoToTheLater) {
  const SheetRect left{0, 0, 32, 32};
  const SheetRect right{68, 10, 32, 32};
  const SnapCase cases[] = {
      // Both 2 away (our left from one's right, our right from the other's
      // left), our top inside both: the later image takes the candidate.
      {"TieLaterRightNeighbour", {34, 20, 32, 32}, {left, right}, 4, {36, 20, 32, 32}},
      {"TieLaterLeftNeighbour", {34, 20, 32, 32}, {right, left}, 4, {32, 20, 32, 32}},
      // At an equal gate distance a strictly closer alignment replaces.
      {"TieCloserAlignment", {34, 3, 32, 32}, {left, {0, 4, 32, 32}}, 4, {32, 4, 32, 32}},
      // The nearer neighbour wins in either order; the inside test of the
      // nearer keeps the earlier candidate's top.
      {"NearerFirst", {35, 1, 32, 32}, {{0, 0, 34, 32}, left}, 4, {34, 0, 32, 32}},
      {"NearerLater", {35, 1, 32, 32}, {left, {0, 0, 34, 32}}, 4, {34, 0, 32, 32}},
      // A farther neighbour after a nearer one changes nothing.
      {"FartherLater", {33, 1, 32, 32}, {left, {0, 0, 30, 32}}, 4, {32, 0, 32, 32}},
  };
  for (const SnapCase& c : cases) {
    EXPECT_EQ(snap_to(c.proposed, c.others, c.snap_width), c.expected) << c.name;
  }
}

TEST(Snapping, EntriesSkipTheDraggedOne) {
  ImageEntryList entries(2);
  auto it = entries.begin();
  it->width = it->height = 32;
  ImageEntry& dragged = *std::next(it);
  dragged.x = 35;
  dragged.width = dragged.height = 32;
  // The dragged entry itself would be 0 away; only the first counts.
  EXPECT_EQ(snap_to_entries({35, 2, 32, 32}, entries, &dragged, 4), (SheetRect{32, 0, 32, 32}));
}

TEST(Snapping, LimitsAtBothEnds) {
  const struct {
    SheetRect rect;
    SheetRect expected;
  } cases[] = {
      {{-5, -7, 32, 32}, {0, 0, 32, 32}},
      {{32760, 32767, 32, 32}, {32736, 32736, 32, 32}},
      {{32736, 0, 32, 32}, {32736, 0, 32, 32}},
      {{0, 32736, 32, 32}, {0, 32736, 32, 32}},
      // Wider than the sheet: the right-edge limit comes last and wins.
      {{-3, 0, 40000, 8}, {32768 - 40000, 0, 40000, 8}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(limit_to_sheet(c.rect), c.expected) << c.rect.x << "," << c.rect.y;
  }
}

}  // namespace
}  // namespace piconel
