#include "canvas/sheet_view_state.h"

#include "image/colour_analysis.h"
#include "store/bounded_format.h"

namespace piconel {

namespace {

// Status texts fit the status bar's 256-byte buffers.
constexpr std::size_t kStatusBytes = 256;
// (%d,%d) %d色 %d枚
constexpr char kPageSummaryFormat[] = "(%d,%d) %d\x90\x46 %d\x96\x87";
// (%d,%d)-(%d,%d) %d色
constexpr char kEntryStatusFormat[] = "(%d,%d)-(%d,%d) %d\x90\x46";

}  // namespace

void SheetViewState::reset_page() {
  scroll_x = 0;
  scroll_y = 0;
  extent_width = kResetExtent;
  extent_height = kResetExtent;
  sheet_width = 0;
  sheet_height = 0;
  background = kWhite;
  colours = ColourList::starting_with(kWhite);
}

void rebuild_sheet_colours(const ImageEntryList& entries, ColourList& colours) {
  colours = ColourList::starting_with(kWhite);
  for (const ImageEntry& entry : entries) {
    if (!entry.placeholder) {
      merge_colours(entry, colours);
    }
  }
}

std::string page_summary_text(std::int32_t extent_width, std::int32_t extent_height,
                              std::int32_t colour_count, std::int32_t entry_count) {
  std::string text;
  (void)bounded_format_string(text, kStatusBytes, kPageSummaryFormat, extent_width, extent_height,
                              colour_count, entry_count);
  return text;
}

std::string entry_status_text(const ImageEntry& entry) {
  std::string text;
  (void)bounded_format_string(text, kStatusBytes, kEntryStatusFormat, entry.x, entry.y, entry.width,
                              entry.height, entry.colour_count);
  return text;
}

}  // namespace piconel
