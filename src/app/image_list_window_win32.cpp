#include "app/image_list_window_win32.h"

#include <algorithm>
#include <array>
#include <optional>

#include "app/commands_win32.h"
#include "app/image_row_texts.h"
#include "app/list_view_win32.h"
#include "project/project_file.h"
#include "window/redraw_lock_win32.h"

namespace piconel {
namespace {

// 画像リスト
constexpr char kTitle[] = "\x89\xe6\x91\x9c\x83\x8a\x83X\x83g";
// ファイル名, ラベル名, パス
constexpr char kFileNameHeader[] = "\x83t\x83@\x83\x43\x83\x8b\x96\xbc";
constexpr char kLabelHeader[] = "\x83\x89\x83x\x83\x8b\x96\xbc";
constexpr char kFolderHeader[] = "\x83p\x83X";
constexpr std::array<std::string_view, 3> kHeaders = {kFileNameHeader, kLabelHeader, kFolderHeader};
constexpr ListWindowLook kLook{kImageListClass, kTitle, 0, kHeaders};
constexpr int kLabelColumn = 1;
constexpr int kFolderColumn = 2;

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

void ImageListWindow::insert_row(int index, const ImageEntry& entry, UINT extra_state) {
  const ImageRowTexts texts = image_row_texts(entry);
  RowWork work(row_work_);
  const int row = insert_list_row(list_, index, texts.file_name,
                                  (entry.selected ? LVIS_SELECTED : 0) | extra_state);
  if (row >= 0) {
    set_list_text(list_, row, kLabelColumn, texts.label);
    set_list_text(list_, row, kFolderColumn, texts.folder);
  }
}

void ImageListWindow::page_changed(const PageChange& change) {
  if (list_ == nullptr) {
    return;
  }
  const std::vector<EntryChange>& items = change.entries;
  switch (change.kind) {
    case PageChangeKind::Added:
      for (const EntryChange& item : items) {
        insert_row(item.index, *item.entry, 0);
      }
      return;
    case PageChangeKind::Removed:
      // From the last, so the indices of the rows still to go hold.
      for (auto item = items.rbegin(); item != items.rend(); ++item) {
        RowWork work(row_work_);
        SendMessageW(list_, LVM_DELETEITEM, static_cast<WPARAM>(item->index), 0);
      }
      return;
    case PageChangeKind::Cleared: {
      RowWork work(row_work_);
      SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
      return;
    }
    case PageChangeKind::Loaded:
      fill(app_.project.images.entries());
      return;
    case PageChangeKind::Reordered:
      reorder_rows(items);
      return;
    case PageChangeKind::SettingsChanged:
      for (const EntryChange& item : items) {
        set_list_text(list_, item.index, kLabelColumn, item.entry->settings.label);
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
  RedrawLock redraw(list_);
  for (const ImageEntry& entry : entries) {
    insert_row(-1, entry, 0);
  }
}

void ImageListWindow::reorder_rows(const std::vector<EntryChange>& steps) {
  RedrawLock redraw(list_);
  for (const EntryChange& step : steps) {
    const int from = step.index_before;
    const int to = step.index;
    const bool focused = (list_row_state(list_, from, LVIS_FOCUSED) & LVIS_FOCUSED) != 0;
    {
      RowWork work(row_work_);
      SendMessageW(list_, LVM_DELETEITEM, static_cast<WPARAM>(from), 0);
    }
    insert_row(to, *step.entry, focused ? LVIS_FOCUSED : 0);
    if (focused) {
      SendMessageW(list_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(to), FALSE);
    }
  }
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
  // -1: the change concerned every row; row n shows entry n.
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
    case WM_NOTIFY: {
      const auto& header = *reinterpret_cast<const NMHDR*>(lparam);
      if (list_ != nullptr && header.hwndFrom == list_) {
        if (header.code == LVN_ITEMCHANGED) {
          list_state_changed(*reinterpret_cast<const NMLISTVIEW*>(lparam));
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
