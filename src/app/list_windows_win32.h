#pragma once

// The two floating list windows behind the main window's list-window hooks,
// and the page list as the project's page list view. Windows only: include
// from *_win32.cpp files only.

#include "app/app_win32.h"
#include "app/image_list_window_win32.h"
#include "app/page_list_window_win32.h"

namespace piconel {

class ListWindows final : public ListWindowHooks {
 public:
  // Points `app`'s list-window hooks and its project's page list port at
  // this object; both go back to the do-nothing defaults when it goes.
  explicit ListWindows(App& app);
  ~ListWindows() override;
  ListWindows(const ListWindows&) = delete;
  ListWindows& operator=(const ListWindows&) = delete;

  [[nodiscard]] ImageListWindow& image_list() { return image_list_; }
  [[nodiscard]] PageListWindow& page_list() { return page_list_; }

  bool is_open(ListWindowKind kind) const override;
  void open(ListWindowKind kind) override;
  void close(ListWindowKind kind) override;
  bool is_foreground(ListWindowKind kind) const override;
  void start_page_rename() override { page_list_.start_rename(); }
  void delete_focused_page() override { page_list_.delete_focused_page(); }
  void store_geometry() override;

 private:
  [[nodiscard]] HWND window_of(ListWindowKind kind) const;
  [[nodiscard]] ListWindowBase& list_window(ListWindowKind kind);

  App& app_;
  ImageListWindow image_list_;
  PageListWindow page_list_;
};

}  // namespace piconel
