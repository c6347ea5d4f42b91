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

// The memory DC pictures are shrunk from below 100 %, made for the first
// of them; the DC's own bitmap goes back in before it is deleted.
class ShrinkSource {
 public:
  explicit ShrinkSource(HDC target) : target_(target) {}
  ~ShrinkSource() {
    if (dc_ && first_bitmap_ != nullptr) {
      SelectObject(dc_.get(), first_bitmap_);
    }
  }
  ShrinkSource(const ShrinkSource&) = delete;
  ShrinkSource& operator=(const ShrinkSource&) = delete;

  // The DC holding `bitmap`; null when GDI refuses.
  HDC select(HBITMAP bitmap) {
    if (!dc_) {
      dc_ = MemoryDc(CreateCompatibleDC(target_));
      if (!dc_) {
        return nullptr;
      }
      first_bitmap_ = GetCurrentObject(dc_.get(), OBJ_BITMAP);
    }
    return SelectObject(dc_.get(), bitmap) != nullptr ? dc_.get() : nullptr;
  }

 private:
  HDC target_;
  MemoryDc dc_;
  HGDIOBJ first_bitmap_ = nullptr;
};

// The selection outlines' dotted pen and hollow brush: made and selected at
// the first selected entry and kept selected to the end of the paint (a
// placeholder selects its own and puts these back).
class OutlineTools {
 public:
  explicit OutlineTools(HDC dc) : dc_(dc) {}
  ~OutlineTools() {
    // Put back before the pen is deleted.
    if (previous_pen_ != nullptr && previous_pen_ != HGDI_ERROR) {
      SelectObject(dc_, previous_pen_);
    }
    if (previous_brush_ != nullptr && previous_brush_ != HGDI_ERROR) {
      SelectObject(dc_, previous_brush_);
    }
  }
  OutlineTools(const OutlineTools&) = delete;
  OutlineTools& operator=(const OutlineTools&) = delete;

  void outline(const ViewRect& rect) {
    if (!made_) {
      made_ = true;
      dots_ = GdiPen(CreatePen(PS_DOT, 1, RGB(0, 0, 0)));
      previous_pen_ = SelectObject(dc_, dots_.get());
      previous_brush_ = SelectObject(dc_, GetStockObject(HOLLOW_BRUSH));
    }
    Rectangle(dc_, rect.left, rect.top, rect.right, rect.bottom);
  }

 private:
  HDC dc_;
  bool made_ = false;
  GdiPen dots_;
  HGDIOBJ previous_pen_ = nullptr;
  HGDIOBJ previous_brush_ = nullptr;
};

// At whole magnifications straight from the section's pixels: selecting
// each of a page's pictures into a memory DC in turn cost as much as
// drawing them (the source rows of a bottom-up DIB count from its bottom
// row). Shrunk pictures go through the memory DC still: for a destination
// one pixel wide or high, a stretch from the pixels picks another source
// pixel than a stretch from a DC.
void paint_picture(HDC dc, const EntryPicture& picture, const EntryBlit& blit, bool whole_zoom,
                   ShrinkSource& shrink_source) {
  const BlitArea& to = blit.destination;
  const BlitArea& from = blit.source;
  if (to.width <= 0 || to.height <= 0) {
    return;
  }
  if (whole_zoom) {
    const LONG rows = picture.info()->bmiHeader.biHeight;
    StretchDIBits(dc, to.x, to.y, to.width, to.height, from.x, rows - from.y - from.height,
                  from.width, from.height, picture.pixels(), picture.info(), DIB_RGB_COLORS,
                  SRCCOPY);
  } else if (const HDC source = shrink_source.select(picture.bitmap())) {
    StretchBlt(dc, to.x, to.y, to.width, to.height, source, from.x, from.y, from.width, from.height,
               SRCCOPY);
  }
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
  OutlineTools outlines(dc);
  ShrinkSource shrink_source(dc);
  const bool whole_zoom = state.zoom >= kZoomUnit && state.zoom % kZoomUnit == 0;
  SetStretchBltMode(dc, COLORONCOLOR);
  const ViewRect clip{update.left, update.top, update.right, update.bottom};
  for (const ImageEntry& entry : entries) {
    const ViewRect rect =
        entry_view_rect(sheet_rect_of(entry), state.scroll_x, state.scroll_y, state.zoom);
    if (!meets(rect, update)) {
      continue;
    }
    const EntryPicture* picture = entry_picture(entry);
    if (entry.placeholder || picture == nullptr || picture->info() == nullptr) {
      paint_placeholder(dc, rect, entry);
    } else {
      paint_picture(dc, *picture, entry_blit(rect, clip, entry.width, entry.height, state.zoom),
                    whole_zoom, shrink_source);
    }
    if (entry.selected) {
      outlines.outline(rect);
    }
  }
}

}  // namespace piconel
