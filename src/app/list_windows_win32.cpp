#include "app/list_windows_win32.h"

namespace piconel {

ListWindows::ListWindows(App& app) : app_(app), image_list_(app), page_list_(app) {
  app_.list_windows = this;
  app_.project.ports.page_list = &page_list_;
}

ListWindows::~ListWindows() {
  app_.list_windows = &app_.default_list_windows;
  app_.project.ports.page_list = &null_page_list_view();
}

HWND ListWindows::window_of(ListWindowKind kind) const {
  return kind == ListWindowKind::ImageList ? image_list_.window() : page_list_.window();
}

bool ListWindows::is_open(ListWindowKind kind) const {
  return window_of(kind) != nullptr;
}

ListWindowBase& ListWindows::list_window(ListWindowKind kind) {
  if (kind == ListWindowKind::ImageList) {
    return image_list_;
  }
  return page_list_;
}

void ListWindows::open(ListWindowKind kind) {
  static_cast<void>(list_window(kind).open());
}

void ListWindows::close(ListWindowKind kind) {
  list_window(kind).request_close();
}

bool ListWindows::is_foreground(ListWindowKind kind) const {
  const HWND window = window_of(kind);
  return window != nullptr && GetForegroundWindow() == window;
}

void ListWindows::store_geometry() {
  image_list_.store_geometry();
  page_list_.store_geometry();
}

}  // namespace piconel
