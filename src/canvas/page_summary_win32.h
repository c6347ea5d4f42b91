#pragma once

// The page's used extent, which is the sheet view's scroll range, and its
// summary in status part 0 ("(%d,%d) %d色 %d枚"). Windows only: include from
// *_win32.cpp files only.

#include "canvas/sheet_scroller_win32.h"
#include "canvas/sheet_view_host.h"
#include "canvas/sheet_view_state.h"
#include "project/project.h"

namespace piconel {

class PageSummary {
 public:
  // All belong to the view and outlive the summary.
  PageSummary(const Project& project, SheetViewState& state, SheetViewHost& host,
              SheetScroller& scroller)
      : project_(project), state_(state), host_(host), scroller_(scroller) {}

  // Recomputes the used extent; when forced or changed, sets status part 0
  // and refreshes the scroll bars.
  void update_extent(bool force);

 private:
  const Project& project_;
  SheetViewState& state_;
  SheetViewHost& host_;
  SheetScroller& scroller_;
};

}  // namespace piconel
