// The sheet view's window-free state: reset, the sheet colour list and the
// two status texts.

#include "canvas/sheet_view_state.h"

#include <gtest/gtest.h>

namespace piconel {
namespace {

TEST(SheetViewState, ResetKeepsZoomAndSnapWidth) {
  SheetViewState state;
  state.zoom = 64;
  state.snap_width = 9;
  state.scroll_x = 40;
  state.extent_width = 3;
  state.sheet_height = 70;
  state.background = 0;
  state.colours.count = -1;
  state.reset_page();
  EXPECT_EQ(state.zoom, 64);
  EXPECT_EQ(state.snap_width, 9);
  EXPECT_EQ(state.scroll_x, 0);
  EXPECT_EQ(state.extent_width, 512);
  EXPECT_EQ(state.sheet_height, 0);
  EXPECT_EQ(state.background, kWhite);
  EXPECT_EQ(state.colours.count, 1);
}

TEST(SheetColours, PlaceholdersAddNoColours) {
  ImageEntryList entries;
  ImageEntry& red = entries.emplace_back();
  red.colour_count = 1;
  red.palette[0] = {0, 0, 255, 0};
  ImageEntry& missing = entries.emplace_back();
  missing.placeholder = true;
  missing.colour_count = -1;  // would spoil the list if it were merged
  ColourList colours;
  rebuild_sheet_colours(entries, colours);
  EXPECT_EQ(colours.count, 2);
  EXPECT_EQ(colours.entries[1], (PaletteEntry{0, 0, 255, 0}));

  entries.front().colour_count = -1;
  rebuild_sheet_colours(entries, colours);
  EXPECT_EQ(colours.count, -1);
}

TEST(StatusTexts, PageSummaryAndSelectedEntry) {
  // An empty page after the first forced update: 0, 0, white only, no images.
  EXPECT_EQ(page_summary_text(0, 0, 1, 0), "(0,0) 1\x90\x46 0\x96\x87");
  ImageEntry entry;
  entry.x = 3;
  entry.y = 4;
  entry.width = 32;
  entry.height = 16;
  entry.colour_count = 256;
  EXPECT_EQ(entry_status_text(entry), "(3,4)-(32,16) 256\x90\x46");
  // More than 256 colours: "256色超", never "-1色".
  entry.colour_count = -1;
  EXPECT_EQ(entry_status_text(entry), "(3,4)-(32,16) 256\x90\x46\x92\xb4");
  EXPECT_EQ(page_summary_text(40, 8, -1, 3), "(40,8) 256\x90\x46\x92\xb4 3\x96\x87");
}

}  // namespace
}  // namespace piconel
