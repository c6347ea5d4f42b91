#include "canvas/page_summary_win32.h"

#include "project/used_extent.h"

namespace piconel {

void PageSummary::update_extent(bool force) {
  const SheetExtent extent = compute_used_extent(project_.images.entries());
  const bool changed = extent.width != state_.extent_width || extent.height != state_.extent_height;
  state_.extent_width = extent.width;
  state_.extent_height = extent.height;
  if (force || changed) {
    host_.set_status_text(kSummaryStatusPart,
                          page_summary_text(state_.extent_width, state_.extent_height,
                                            state_.colours.count, project_.images.count()));
    scroller_.refresh_scroll_bars();
  }
}

}  // namespace piconel
