#include "app/image_list_window_win32.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "app/commands_win32.h"
#include "app/image_row_texts.h"
#include "app/list_view_win32.h"
#include "project/project_file.h"
#include "store/wide_text.h"
#include "window/redraw_lock_win32.h"

namespace piconel {

namespace {

// Posted to the window when the page's entries went: the list's row count
// is matched to the page's.
constexpr UINT kMatchRowCount = WM_APP + 1;

// 画像リスト
constexpr char kTitle[] = "\x89\xe6\x91\x9c\x83\x8a\x83X\x83g";
// ファイル名, ラベル名, パス
constexpr char kFileNameHeader[] = "\x83t\x83@\x83\x43\x83\x8b\x96\xbc";
constexpr char kLabelHeader[] = "\x83\x89\x83x\x83\x8b\x96\xbc";
constexpr char kFolderHeader[] = "\x83p\x83X";
constexpr std::array<std::string_view, 3> kHeaders = {kFileNameHeader, kLabelHeader, kFolderHeader};
// The rows are the page model's entries, asked for as they are drawn: a page
// of 256 images is shown by setting a count, not by 768 row messages.
constexpr ListWindowLook kLook{kImageListClass, kTitle, LVS_OWNERDATA, kHeaders};

// Counts the rows being changed here for as long as it lives.
class RowWork {
 public:
  explicit RowWork(int& count) : count_(count) { ++count_; }
  ~RowWork() { --count_; }
  RowWork(const RowWork&) = delete;
  RowWork& operator=(const RowWork&) = delete;

 private:
  int& count_;
};

}  // namespace

ImageListWindow::ImageListWindow(App& app) : ListWindowBase(app, ListWindowKind::ImageList, kLook) {
  app_.project.images.subscribe(*this);
}

ImageListWindow::~ImageListWindow() {
  app_.project.images.unsubscribe(*this);
  destroy();
}

void ImageListWindow::set_row_count(std::size_t rows) {
  if (static_cast<std::size_t>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0)) == rows) {
    InvalidateRect(list_, nullptr, FALSE);  // the same rows, other texts
    return;
  }
  RowWork work(row_work_);
  SendMessageW(list_, LVM_SETITEMCOUNT, rows, LVSICF_NOSCROLL);
}

void ImageListWindow::show_row_selection(int first, int last) {
  RowWork work(row_work_);
  for (int row = first; row <= last; ++row) {
    if (const ImageEntry* entry = app_.project.images.at(row)) {
      set_list_row_state(list_, row, entry->selected ? LVIS_SELECTED : 0, LVIS_SELECTED);
    }
  }
}

void ImageListWindow::redraw_rows(int first, int last) {
  SendMessageW(list_, LVM_REDRAWITEMS, static_cast<WPARAM>(first), static_cast<LPARAM>(last));
}

void ImageListWindow::page_changed(const PageChange& change) {
  if (list_ == nullptr) {
    return;
  }
  const std::vector<EntryChange>& items = change.entries;
  switch (change.kind) {
    case PageChangeKind::Added:
      set_row_count(app_.project.images.entries().size());
      if (!items.empty()) {
        show_row_selection(items.front().index, items.back().index);
      }
      return;
    case PageChangeKind::Removed:
      // From the last, so the indices of the rows still to go hold.
      for (auto item = items.rbegin(); item != items.rend(); ++item) {
        RowWork work(row_work_);
        SendMessageW(list_, LVM_DELETEITEM, static_cast<WPARAM>(item->index), 0);
      }
      return;
    case PageChangeKind::Cleared:
      // The rows stay, blank, until the load that usually follows gives the
      // count; a change of count shows or hides the scroll bar, which under
      // Wine repaints the whole frame at once. Past the load (or when none
      // comes, as at a close) the posted check matches the count.
      PostMessageW(window_, kMatchRowCount, 0, 0);
      InvalidateRect(list_, nullptr, FALSE);
      return;
    case PageChangeKind::Loaded:
      fill(app_.project.images.entries());
      return;
    case PageChangeKind::Reordered:
      reorder_rows(items);
      return;
    case PageChangeKind::SettingsChanged:
      for (const EntryChange& item : items) {
        redraw_rows(item.index, item.index);
      }
      return;
    case PageChangeKind::SelectionChanged:
      show_selection(items);
      return;
    case PageChangeKind::Moved:
    case PageChangeKind::KeptOnSheet:
      return;
  }
}

void ImageListWindow::show_selection(const std::vector<EntryChange>& items) {
  if (items.empty()) {
    return;
  }
  // Many rows at once (select all, a selection rectangle) are drawn once, not
  // row by row.
  std::optional<RedrawLock> redraw;
  if (items.size() > 1) {
    redraw.emplace(list_);
  }
  {
    // The page model holds these flags already: what the list reports back
    // is not a change of the user's.
    RowWork work(row_work_);
    if (items.size() == app_.project.images.entries().size() &&
        std::all_of(items.begin(), items.end(), [&](const EntryChange& item) {
          return item.entry->selected == items.front().entry->selected;
        })) {
      // Every row the same: one message for the whole list.
      set_list_row_state(list_, -1, items.front().entry->selected ? LVIS_SELECTED : 0,
                         LVIS_SELECTED);
    } else {
      for (const EntryChange& item : items) {
        set_list_row_state(list_, item.index, item.entry->selected ? LVIS_SELECTED : 0,
                           LVIS_SELECTED);
      }
    }
  }
  // The focus goes to the last row changed once: under Wine each move of
  // the focus costs the list far more than a row's selection.
  set_list_row_state(list_, items.back().index, LVIS_FOCUSED, LVIS_FOCUSED);
  SendMessageW(list_, WM_SETFOCUS, 0, 0);
}

void ImageListWindow::fill(const ImageEntryList& entries) {
  if (list_ == nullptr) {
    return;
  }
  // A virtual list: a count and the selected rows. No redraw lock: under Wine
  // turning drawing back on repaints the whole list and its frame at once,
  // which costs far more than a count.
  {
    RowWork work(row_work_);
    set_list_row_state(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  }
  set_row_count(entries.size());
  int row = 0;
  for (const ImageEntry& entry : entries) {
    if (entry.selected) {
      show_row_selection(row, row);
    }
    ++row;
  }
}

void ImageListWindow::reorder_rows(const std::vector<EntryChange>& steps) {
  RedrawLock redraw(list_);
  for (const EntryChange& step : steps) {
    const int from = step.index_before;
    const int to = step.index;
    const int first = std::min(from, to);
    const int last = std::max(from, to);
    // The rows between show other entries now: their texts and selection
    // follow, and a focused row keeps the focus on its entry.
    const bool focused = (list_row_state(list_, from, LVIS_FOCUSED) & LVIS_FOCUSED) != 0;
    show_row_selection(first, last);
    redraw_rows(first, last);
    if (focused) {
      RowWork work(row_work_);
      set_list_row_state(list_, to, LVIS_FOCUSED, LVIS_FOCUSED);
      SendMessageW(list_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(to), FALSE);
    }
  }
}

void ImageListWindow::give_row_text(NMLVDISPINFOW& request) {
  if ((request.item.mask & LVIF_TEXT) == 0 || request.item.pszText == nullptr ||
      request.item.cchTextMax <= 0) {
    return;
  }
  request.item.pszText[0] = L'\0';
  const ImageEntry* entry = app_.project.images.at(request.item.iItem);
  if (entry == nullptr) {
    return;
  }
  const ImageRowTexts texts = image_row_texts(*entry);
  // In the order of the headers.
  const std::array<const std::string*, kHeaders.size()> columns{&texts.file_name, &texts.label,
                                                                &texts.folder};
  if (request.item.iSubItem < 0 ||
      static_cast<std::size_t>(request.item.iSubItem) >= columns.size()) {
    return;
  }
  const std::wstring wide = to_wide(*columns[static_cast<std::size_t>(request.item.iSubItem)]);
  lstrcpynW(request.item.pszText, wide.c_str(), request.item.cchTextMax);
}

void ImageListWindow::list_state_changed(const NMLISTVIEW& change) {
  if (row_work_ > 0 || (change.uChanged & LVIF_STATE) == 0 ||
      ((change.uOldState ^ change.uNewState) & LVIS_SELECTED) == 0) {
    return;
  }
  PageImages& images = app_.project.images;
  if (change.iItem >= 0) {
    if (const ImageEntry* entry = images.at(change.iItem)) {
      images.set_selected(*entry, (change.uNewState & LVIS_SELECTED) != 0);
    }
    return;
  }
  // -1: the change concerned every row.
  take_list_selection();
}

void ImageListWindow::list_range_changed(const NMLVODSTATECHANGE& change) {
  // A range of rows at once (Shift+click, Shift+arrows).
  if (row_work_ > 0 || ((change.uOldState ^ change.uNewState) & LVIS_SELECTED) == 0) {
    return;
  }
  take_list_selection();
}

void ImageListWindow::take_list_selection() {
  // Row n shows entry n.
  PageImages& images = app_.project.images;
  images.select_where([&](const ImageEntry& entry) {
    const int row = images.index_of(entry);
    return (list_row_state(list_, row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
  });
}

void ImageListWindow::double_clicked(int row) {
  if (const ImageEntry* entry = app_.project.images.at(row)) {
    // As a double-click on the sheet does, but owned by this window.
    open_image_settings(app_, *entry, window_);
  }
}

LRESULT ImageListWindow::handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SIZE:
      if (list_ != nullptr) {
        MoveWindow(list_, 0, 0, LOWORD(lparam), HIWORD(lparam), TRUE);
      }
      return 0;
    case kMatchRowCount:
      if (list_ != nullptr) {
        set_row_count(app_.project.images.entries().size());
      }
      return 0;
    case WM_NOTIFY: {
      const auto& header = *reinterpret_cast<const NMHDR*>(lparam);
      if (list_ != nullptr && header.hwndFrom == list_) {
        if (header.code == LVN_GETDISPINFOW) {
          give_row_text(*reinterpret_cast<NMLVDISPINFOW*>(lparam));
        } else if (header.code == LVN_ITEMCHANGED) {
          list_state_changed(*reinterpret_cast<const NMLISTVIEW*>(lparam));
        } else if (header.code == LVN_ODSTATECHANGED) {
          list_range_changed(*reinterpret_cast<const NMLVODSTATECHANGE*>(lparam));
        } else if (header.code == NM_DBLCLK) {
          double_clicked(reinterpret_cast<const NMITEMACTIVATE*>(lparam)->iItem);
        }
      }
      return 0;
    }
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

}  // namespace piconel
