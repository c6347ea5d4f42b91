#include "canvas/sheet_paint_win32.h"

#include "canvas/sheet_geometry.h"
#include "store/handles_win32.h"

namespace piconel {

namespace {

void fill(HDC dc, const ViewRect& rect, HBRUSH brush) {
  if (rect.right <= rect.left || rect.bottom <= rect.top) {
    return;
  }
  const RECT area{rect.left, rect.top, rect.right, rect.bottom};
  FillRect(dc, &area, brush);
}

}  // namespace

void paint_sheet(HDC dc, const RECT& update, const SheetViewState& state) {
  const SheetPaintPlan plan =
      plan_sheet_paint({update.left, update.top, update.right, update.bottom},
                       sheet_edges(state.sheet_width, state.sheet_height, state.scroll_x,
                                   state.scroll_y, state.zoom));
  fill(dc, plan.right_of_sheet, GetSysColorBrush(COLOR_WINDOW));
  fill(dc, plan.below_sheet, GetSysColorBrush(COLOR_WINDOW));
  GdiBrush background(CreateSolidBrush(static_cast<COLORREF>(state.background)));
  if (background) {
    fill(dc, plan.sheet, background.get());
  }
}

}  // namespace piconel
