#include "app/list_window_base_win32.h"

#include <vector>

#include "app/commands_win32.h"
#include "app/list_view_win32.h"
#include "store/system_boundary_win32.h"

namespace piconel {
namespace {

// What App keeps of one list window between openings.
struct KeptPlace {
  ListWindowBox& box;
  bool& placed;
  std::span<std::int32_t> column_widths;
  bool& enabled;  // the Enable flag the close sequence writes
};

KeptPlace kept_place(App& app, ListWindowKind kind) {
  ListWindowGeometry& geometry = app.list_geometry;
  if (kind == ListWindowKind::ImageList) {
    return {geometry.image_list, geometry.image_list_placed, geometry.image_list_columns,
            app.image_list_open};
  }
  return {geometry.page_list, geometry.page_list_placed, geometry.page_list_columns,
          app.page_list_open};
}

LRESULT list_window_message(ListWindowBase& self, HWND window, UINT message, WPARAM wparam,
                            LPARAM lparam) {
  return self.frame_message(window, message, wparam, lparam);
}

}  // namespace

bool ListWindowBase::open() {
  if (window_ != nullptr) {
    return true;
  }
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!register_list_window_class(instance, look_.class_name,
                                  bound_window_procedure<ListWindowBase, list_window_message>)) {
    return false;
  }
  // Opened for the first time, the image list goes below where the page
  // list first opens, so the two do not cover each other.
  const KeptPlace kept = kept_place(app_, kind_);
  const int top_offset =
      kind_ == ListWindowKind::ImageList ? app_.list_geometry.page_list.height : 0;
  const ListWindowBox box =
      list_window_box_on_screen(app_.main_window, kept.box, kept.placed, top_offset);
  const HWND window =
      create_list_window(instance, look_.class_name, look_.title, box, app_.main_window, this);
  if (window == nullptr) {
    return false;
  }
  window_ = window;
  std::vector<ListColumn> columns;
  for (std::size_t column = 0; column < look_.headers.size(); ++column) {
    columns.push_back({look_.headers[column], kept.column_widths[column]});
  }
  list_ = create_list_control(window_, look_.list_style, columns);
  fill_rows();
  pass_focus_to_list(window_, list_);
  kept.enabled = true;
  ShowWindow(window_, SW_SHOWNOACTIVATE);
  UpdateWindow(window_);
  show_toolbar_states(app_);
  return true;
}

void ListWindowBase::request_close() const {
  if (window_ != nullptr) {
    PostMessageW(window_, WM_CLOSE, 0, 0);
  }
}

void ListWindowBase::store_geometry() const {
  if (window_ == nullptr || list_ == nullptr) {
    return;
  }
  const KeptPlace kept = kept_place(app_, kind_);
  kept.box = window_box(window_);
  kept.placed = true;
  read_column_widths(list_, kept.column_widths);
}

void ListWindowBase::destroy() {
  if (window_ != nullptr) {
    DestroyWindow(window_);
  }
}

void ListWindowBase::close() {
  store_geometry();
  window_ = nullptr;
  list_ = nullptr;
  kept_place(app_, kind_).enabled = false;
  forget();
  show_toolbar_states(app_);
}

LRESULT ListWindowBase::frame_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CLOSE:
      close();
      return DefWindowProcW(window, message, wparam, lparam);
    case WM_NCDESTROY:
      // Destroyed with its owner: the close sequence already kept the
      // geometry.
      if (window == window_) {
        window_ = nullptr;
        list_ = nullptr;
        forget();
      }
      return DefWindowProcW(window, message, wparam, lparam);
    case WM_SETFOCUS:
      // The frame only holds the list: the keys belong to the rows.
      if (list_ != nullptr) {
        SetFocus(list_);
      }
      return 0;
    default:
      return handle_message(window, message, wparam, lparam);
  }
}

LRESULT ListWindowBase::handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace piconel
