#include "canvas/sheet_view_state.h"

#include "image/colour_analysis.h"
#include "store/bounded_format.h"

namespace piconel {

namespace {

// Status texts fit the status bar's 256-byte buffers.
constexpr std::size_t kStatusBytes = 256;
// (%d,%d) <colours> %d枚
constexpr char kPageSummaryFormat[] = "(%d,%d) %s %d\x96\x87";
// (%d,%d)-(%d,%d) <colours>
constexpr char kEntryStatusFormat[] = "(%d,%d)-(%d,%d) %s";
// %d色
constexpr char kColourCountFormat[] = "%d\x90\x46";
// 256色超: a count of -1 stands for more than 256 colours.
constexpr char kManyColoursText[] = "256\x90\x46\x92\xb4";

std::string colour_count_text(std::int32_t colour_count) {
  if (colour_count < 0) {
    return kManyColoursText;
  }
  std::string text;
  (void)bounded_format_string(text, kStatusBytes, kColourCountFormat, colour_count);
  return text;
}

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
                              colour_count_text(colour_count).c_str(), entry_count);
  return text;
}

std::string entry_status_text(const ImageEntry& entry) {
  std::string text;
  (void)bounded_format_string(text, kStatusBytes, kEntryStatusFormat, entry.x, entry.y, entry.width,
                              entry.height, colour_count_text(entry.colour_count).c_str());
  return text;
}

}  // namespace piconel
