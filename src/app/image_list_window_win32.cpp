#include "app/image_list_window_win32.h"

#include <array>

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


ImageEntry* entry_at(ImageEntryList& entries, int index) {
  int position = 0;
  for (ImageEntry& entry : entries) {
    if (position++ == index) {
      return &entry;
    }
  }
  return nullptr;
}

}  // namespace

ImageListWindow::ImageListWindow(App& app)
    : ListWindowBase(app, ListWindowKind::ImageList, kLook) {}

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

void ImageListWindow::append_row(const ImageEntry& entry) {
  if (list_ != nullptr) {
    insert_row(-1, entry, 0);
  }
}

void ImageListWindow::set_row_selected(int index, bool selected) {
  if (list_ == nullptr || index < 0) {
    return;
  }
  // The list reports the change back; the sheet then finds the flag already
  // set, which ends the exchange.
  set_list_row_state(list_, index, selected ? LVIS_SELECTED | LVIS_FOCUSED : LVIS_FOCUSED,
                     LVIS_SELECTED | LVIS_FOCUSED);
  SendMessageW(list_, WM_SETFOCUS, 0, 0);
}

void ImageListWindow::remove_row(int index) {
  if (list_ != nullptr && index >= 0) {
    RowWork work(row_work_);
    SendMessageW(list_, LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
  }
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

void ImageListWindow::clear() {
  if (list_ != nullptr) {
    RowWork work(row_work_);
    SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
  }
}

void ImageListWindow::row_changed(const ImageEntry& entry) {
  if (list_ == nullptr) {
    return;
  }
  int row = 0;
  for (const ImageEntry& other : app_.project.entries) {
    if (&other == &entry) {
      set_list_text(list_, row, kLabelColumn, entry.settings.label);
      return;
    }
    ++row;
  }
}

void ImageListWindow::move_selected(MoveDirection direction) {
  ImageEntryList& entries = app_.project.entries;
  if (list_ != nullptr) {
    RedrawLock redraw(list_);
    static_cast<void>(move_selected_entries(entries, direction, [&](int from, int to) {
      const bool focused = (list_row_state(list_, from, LVIS_FOCUSED) & LVIS_FOCUSED) != 0;
      {
        RowWork work(row_work_);
        SendMessageW(list_, LVM_DELETEITEM, static_cast<WPARAM>(from), 0);
      }
      if (const ImageEntry* entry = entry_at(entries, to)) {
        insert_row(to, *entry, focused ? LVIS_FOCUSED : 0);
      }
      if (focused) {
        SendMessageW(list_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(to), FALSE);
      }
    }));
  } else {
    static_cast<void>(move_selected_entries(entries, direction, [](int, int) {}));
  }
  mark_modified(app_.project);
}

void ImageListWindow::list_state_changed(const NMLISTVIEW& change) {
  if (row_work_ > 0 || (change.uChanged & LVIF_STATE) == 0 ||
      ((change.uOldState ^ change.uNewState) & LVIS_SELECTED) == 0) {
    return;
  }
  if (change.iItem >= 0) {
    app_.sheet_view.set_entry_selected(change.iItem, (change.uNewState & LVIS_SELECTED) != 0);
    return;
  }
  // -1: the change concerned every row.
  const int count = list_row_count(list_);
  for (int row = 0; row < count; ++row) {
    app_.sheet_view.set_entry_selected(
        row, (list_row_state(list_, row, LVIS_SELECTED) & LVIS_SELECTED) != 0);
  }
}

void ImageListWindow::double_clicked(int row) {
  if (ImageEntry* entry = entry_at(app_.project.entries, row)) {
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
