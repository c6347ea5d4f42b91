#include "canvas/sheet_paint_win32.h"

#include <string>

#include "canvas/entry_picture_win32.h"
#include "canvas/sheet_geometry.h"
#include "canvas/snapping.h"
#include "store/cp932.h"
#include "store/handles_win32.h"
#include "store/wide_text.h"

namespace piconel {

namespace {

void fill(HDC dc, const ViewRect& rect, HBRUSH brush) {
  if (rect.right <= rect.left || rect.bottom <= rect.top) {
    return;
  }
  const RECT area{rect.left, rect.top, rect.right, rect.bottom};
  FillRect(dc, &area, brush);
}

bool meets(const ViewRect& rect, const RECT& update) {
  return rect.left < update.right && update.left < rect.right && rect.top < update.bottom &&
         update.top < rect.bottom && rect.left < rect.right && rect.top < rect.bottom;
}

// A clearly marked box with the missing file's name.
void paint_placeholder(HDC dc, const ViewRect& box, const ImageEntry& entry) {
  const RECT area{box.left, box.top, box.right, box.bottom};
  GdiBrush fill_brush(CreateSolidBrush(kPlaceholderFill));
  if (fill_brush) {
    FillRect(dc, &area, fill_brush.get());
  }
  GdiPen ink(CreatePen(PS_SOLID, 1, kPlaceholderInk));
  SelectGuard pen_guard(dc, ink.get());
  SelectGuard brush_guard(dc, GetStockObject(HOLLOW_BRUSH));
  Rectangle(dc, box.left, box.top, box.right, box.bottom);
  MoveToEx(dc, box.left, box.top, nullptr);
  LineTo(dc, box.right, box.bottom);
  MoveToEx(dc, box.right - 1, box.top, nullptr);
  LineTo(dc, box.left - 1, box.bottom);
  const PathParts parts = split_path(entry.path);
  const std::wstring name = to_wide(parts.name + parts.extension);
  SelectGuard font_guard(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kPlaceholderInk);
  RECT text_box{box.left + 2, box.top + 2, box.right - 2, box.bottom - 2};
  DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &text_box,
            DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
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

void paint_entries(HDC dc, const RECT& update, const SheetViewState& state,
                   const ImageEntryList& entries) {
  // One memory DC takes each picture in turn.
  MemoryDc source(CreateCompatibleDC(dc));
  const HGDIOBJ first_bitmap =
      source ? GetCurrentObject(source.get(), OBJ_BITMAP) : static_cast<HGDIOBJ>(nullptr);
  GdiPen dots(CreatePen(PS_DOT, 1, RGB(0, 0, 0)));
  SetStretchBltMode(dc, COLORONCOLOR);
  const ViewRect clip{update.left, update.top, update.right, update.bottom};
  for (const ImageEntry& entry : entries) {
    const ViewRect rect =
        entry_view_rect(sheet_rect_of(entry), state.scroll_x, state.scroll_y, state.zoom);
    if (!meets(rect, update)) {
      continue;
    }
    const EntryPicture* picture = entry_picture(entry);
    if (entry.placeholder || picture == nullptr || picture->bitmap() == nullptr) {
      paint_placeholder(dc, rect, entry);
    } else if (source && SelectObject(source.get(), picture->bitmap()) != nullptr) {
      const EntryBlit blit = entry_blit(rect, clip, entry.width, entry.height, state.zoom);
      StretchBlt(dc, blit.destination.x, blit.destination.y, blit.destination.width,
                 blit.destination.height, source.get(), blit.source.x, blit.source.y,
                 blit.source.width, blit.source.height, SRCCOPY);
    }
    if (entry.selected) {
      SelectGuard pen_guard(dc, dots.get());
      SelectGuard brush_guard(dc, GetStockObject(HOLLOW_BRUSH));
      Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
    }
  }
  if (source && first_bitmap != nullptr) {
    // The last picture goes out before the DC is deleted.
    SelectObject(source.get(), first_bitmap);
  }
}

}  // namespace piconel
