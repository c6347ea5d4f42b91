// The overlap check: rectangle intersection (contained and crossing images
// included, touching edges and empty images excluded), the pair order, the
// image selected and the two messages.

#include "canvas/overlap_check.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace piconel {
namespace {

TEST(OverlapCheck, RectangleIntersection) {
  const struct {
    const char* name;
    SheetRect a, b;
    bool overlap;
  } cases[] = {
      {"TouchingSides", {0, 0, 32, 32}, {32, 0, 32, 32}, false},
      {"TouchingTopAndBottom", {0, 0, 32, 32}, {0, 32, 32, 32}, false},
      {"TouchingCorners", {0, 0, 32, 32}, {32, 32, 32, 32}, false},
      {"OnePixelCorner", {0, 0, 32, 32}, {31, 31, 32, 32}, true},
      {"ContainedLater", {0, 0, 32, 32}, {5, 5, 10, 10}, true},
      {"ContainedEarlier", {5, 5, 10, 10}, {0, 0, 32, 32}, true},
      {"CrossingBars", {0, 10, 100, 5}, {40, 0, 5, 100}, true},
      {"Identical", {7, 7, 3, 3}, {7, 7, 3, 3}, true},
      {"Apart", {0, 0, 10, 10}, {20, 0, 10, 10}, false},
      {"ZeroWidthInside", {0, 0, 32, 32}, {5, 5, 0, 10}, false},
      {"ZeroHeightInside", {5, 5, 10, 0}, {0, 0, 32, 32}, false},
      {"NegativeWidth", {10, 0, -5, 10}, {0, 0, 32, 32}, false},
      {"FarPositions", {2147483600, 0, 40, 8}, {2147483630, 0, 40, 8}, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(rects_overlap(c.a, c.b), c.overlap) << c.name;
    EXPECT_EQ(rects_overlap(c.b, c.a), c.overlap) << c.name << " swapped";
  }
}

ImageEntryList page(std::initializer_list<SheetRect> rects) {
  ImageEntryList entries;
  for (const SheetRect& rect : rects) {
    ImageEntry& entry = entries.emplace_back();
    entry.x = rect.x;
    entry.y = rect.y;
    entry.width = rect.width;
    entry.height = rect.height;
  }
  return entries;
}

TEST(OverlapCheck, FirstPairInListOrderGivesTheLaterImage) {
  const struct {
    const char* name;
    ImageEntryList entries;
    std::optional<int> found;
  } cases[] = {
      {"Empty", page({}), std::nullopt},
      {"One", page({{0, 0, 32, 32}}), std::nullopt},
      {"Touching", page({{0, 0, 32, 32}, {32, 0, 32, 32}}), std::nullopt},
      {"Corner", page({{0, 0, 32, 32}, {31, 31, 32, 32}}), 1},
      // The corner test of the earlier image alone would miss these two.
      {"LaterInsideEarlier", page({{0, 0, 32, 32}, {5, 5, 10, 10}}), 1},
      {"EarlierInsideLater", page({{5, 5, 10, 10}, {0, 0, 32, 32}}), 1},
      {"SecondAndThird", page({{0, 0, 8, 8}, {50, 50, 10, 10}, {55, 55, 10, 10}}), 2},
      // The first image is paired with every later one before the second
      // is paired with anything.
      {"EarlierPairsFirst",
       page({{0, 0, 10, 10}, {50, 50, 10, 10}, {55, 55, 10, 10}, {5, 5, 2, 2}}), 3},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(find_overlap(c.entries), c.found) << c.name;
  }
}

struct RecordingSelection final : EntrySelection {
  void set_entry_selected(int index, bool on) override { calls.emplace_back(index, on); }
  std::vector<std::pair<int, bool>> calls;
};

struct RecordingPrompter final : Prompter {
  int message_box(std::string_view text, std::string_view caption, unsigned type) override {
    texts.emplace_back(text);
    captions.emplace_back(caption);
    types.push_back(type);
    return kIdOk;
  }
  bool ask_file_name(std::string_view, std::string&, std::span<const FileFilter>, bool) override {
    return false;
  }
  std::vector<std::string> texts;
  std::vector<std::string> captions;
  std::vector<unsigned> types;
};

// ピコネル：重なりチェック
const std::string kCaption =
    "\x83\x73\x83\x52\x83\x6c\x83\x8b\x81\x46\x8f\x64\x82\xc8\x82\xe8\x83\x60\x83\x46\x83\x62"
    "\x83\x4e";

TEST(OverlapCheck, SelectsTheLaterImageAndSaysSo) {
  const ImageEntryList entries = page({{0, 0, 8, 8}, {50, 50, 10, 10}, {55, 55, 10, 10}});
  RecordingSelection selection;
  RecordingPrompter prompter;
  check_overlaps(entries, {}, selection, prompter);
  EXPECT_EQ(selection.calls,
            (std::vector<std::pair<int, bool>>{{0, false}, {1, false}, {2, false}, {2, true}}));
  // 重なってます
  EXPECT_EQ(prompter.texts,
            std::vector<std::string>{"\x8f\x64\x82\xc8\x82\xc1\x82\xc4\x82\xdc\x82\xb7"});
  EXPECT_EQ(prompter.captions, std::vector<std::string>{kCaption});
  EXPECT_EQ(prompter.types, std::vector<unsigned>{kMbOk | kMbIconInformation});
}

TEST(OverlapCheck, NothingOverlapsLeavesTheSelection) {
  const ImageEntryList entries = page({{0, 0, 32, 32}, {32, 0, 32, 32}});
  RecordingSelection selection;
  RecordingPrompter prompter;
  check_overlaps(entries, {}, selection, prompter);
  EXPECT_TRUE(selection.calls.empty());
  // 重なりはありませんでした
  EXPECT_EQ(prompter.texts, std::vector<std::string>{
                                "\x8f\x64\x82\xc8\x82\xe8\x82\xcd\x82\xa0\x82\xe8\x82\xdc\x82\xb9"
                                "\x82\xf1\x82\xc5\x82\xb5\x82\xbd"});
  EXPECT_EQ(prompter.captions, std::vector<std::string>{kCaption});
}

TEST(OverlapCheck, FirstImageOutsideAManualSheet) {
  const struct {
    const char* name;
    ManualSheet sheet;
    ImageEntryList entries;
    std::optional<int> found;
  } cases[] = {
      {"NoManualSize", {0, 0}, page({{5000, 5000, 32, 32}}), std::nullopt},
      {"FlushWithTheEdges", {64, 32}, page({{0, 0, 32, 32}, {32, 0, 32, 32}}), std::nullopt},
      {"OnePixelPastTheRight", {64, 32}, page({{0, 0, 32, 32}, {33, 0, 32, 32}}), 1},
      {"PastTheBottom", {64, 32}, page({{0, 0, 32, 32}, {32, 1, 32, 32}}), 1},
      {"WhollyOutside", {64, 32}, page({{100, 100, 8, 8}, {70, 0, 8, 8}}), 0},
      {"WidthOnly", {64, 0}, page({{0, 900, 32, 32}, {40, 0, 32, 32}}), 1},
      {"HeightOnly", {0, 32}, page({{900, 0, 32, 32}, {0, 20, 32, 32}}), 1},
      {"EmptyImageOnTheEdge", {64, 32}, page({{64, 32, 0, 0}}), std::nullopt},
      {"FarPosition", {64, 32}, page({{2147483600, 0, 40, 8}}), 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(find_outside_sheet(c.entries, c.sheet), c.found) << c.name;
  }
}

TEST(OverlapCheck, AnImageOutsideTheSheetIsSelectedAfterOverlaps) {
  // シートからはみ出しています
  const std::string outside_text =
      "\x83\x56\x81\x5b\x83\x67\x82\xa9\x82\xe7\x82\xcd\x82\xdd\x8f\x6f\x82\xb5\x82\xc4"
      "\x82\xa2\x82\xdc\x82\xb7";
  const ImageEntryList entries = page({{0, 0, 32, 32}, {40, 0, 32, 32}, {0, 40, 8, 8}});
  RecordingSelection selection;
  RecordingPrompter prompter;
  check_overlaps(entries, {64, 64}, selection, prompter);
  EXPECT_EQ(selection.calls,
            (std::vector<std::pair<int, bool>>{{0, false}, {1, false}, {2, false}, {1, true}}));
  EXPECT_EQ(prompter.texts, std::vector<std::string>{outside_text});
  EXPECT_EQ(prompter.captions, std::vector<std::string>{kCaption});
  EXPECT_EQ(prompter.types, std::vector<unsigned>{kMbOk | kMbIconInformation});

  // An overlap is told first.
  const ImageEntryList both = page({{0, 0, 32, 32}, {40, 0, 32, 32}, {4, 4, 8, 8}});
  RecordingSelection first;
  RecordingPrompter told;
  check_overlaps(both, {64, 64}, first, told);
  EXPECT_EQ(first.calls.back(), (std::pair{2, true}));
  EXPECT_EQ(told.texts,
            std::vector<std::string>{"\x8f\x64\x82\xc8\x82\xc1\x82\xc4\x82\xdc\x82\xb7"});
}

}  // namespace
}  // namespace piconel

namespace piconel {
namespace {

TEST(OverlapCheck, EveryOverlappingPairInListOrder) {
  // 0 and 1 overlap, 2 lies wholly inside 0, 3 only touches 1, 4 has no
  // width.
  const SheetRect rects[] = {
      {0, 0, 32, 32}, {16, 16, 32, 32}, {4, 4, 4, 4}, {48, 16, 8, 8}, {0, 0, 0, 8}};
  const std::vector<std::pair<int, int>> expected = {{0, 1}, {0, 2}};
  EXPECT_EQ(find_overlapping_pairs(rects), expected);
  EXPECT_TRUE(find_overlapping_pairs({}).empty());
}

}  // namespace
}  // namespace piconel
