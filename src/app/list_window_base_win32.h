#pragma once

// What the two floating list windows share apart from their rows: opening
// at the remembered place with the remembered column widths, keeping both
// when closed, the App's Enable flag and the toolbar button in step, and the
// frame handing the keyboard to its list. Windows only: include from
// *_win32.cpp files only.

#include <windows.h>

#include <span>
#include <string_view>

#include "app/app_win32.h"

namespace piconel {

// How one list window looks: class, title and list control.
struct ListWindowLook {
  const wchar_t* class_name;
  std::string_view title;  // CP932
  // Added to the list control's report-view styles.
  DWORD list_style;
  std::span<const std::string_view> headers;  // CP932, one per column
};

class ListWindowBase {
 public:
  // `look` is a constant of the derived window's file.
  ListWindowBase(App& app, ListWindowKind kind, const ListWindowLook& look)
      : app_(app), kind_(kind), look_(look) {}
  // Destroys the window if it is still open (its owner usually did).
  virtual ~ListWindowBase() { destroy(); }
  ListWindowBase(const ListWindowBase&) = delete;
  ListWindowBase& operator=(const ListWindowBase&) = delete;

  [[nodiscard]] bool is_open() const { return window_ != nullptr; }
  [[nodiscard]] HWND window() const { return window_; }
  [[nodiscard]] HWND list() const { return list_; }

  // Creates the window at the stored geometry with its rows, shown without
  // taking the activation; nothing when it exists. False when it cannot be
  // made.
  bool open();
  // Posts the window a close request.
  void request_close() const;
  // The window's rectangle and column widths into the in-memory geometry.
  void store_geometry() const;

  // The window's messages (public for its thunk): the close request, the
  // destruction with the owner and the focus are the frame's; every other
  // message goes to `handle_message`.
  LRESULT frame_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

 protected:
  // A derived window calls this in its own destructor, so the messages of
  // its destruction still reach it.
  void destroy();

  App& app_;
  HWND window_ = nullptr;
  HWND list_ = nullptr;

 private:
  // A row for every item, into the new list.
  virtual void fill_rows() = 0;
  // Default handling unless the derived window has its own.
  virtual LRESULT handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  // The window is gone, closed or destroyed with its owner.
  virtual void forget() {}
  void close();

  ListWindowKind kind_;
  const ListWindowLook& look_;
};

}  // namespace piconel
