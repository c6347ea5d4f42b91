#pragma once

// An image entry's window (class "child") on the sheet view: the screen copy
// of its picture, or a marked box for a placeholder, painted at the view's
// zoom with a dotted outline while selected. Every point of it is caption,
// so the window system moves it; its presses and moves go to whoever
// handles dragging. Windows only: include from *_win32.cpp files only.

#include <windows.h>

#include <memory>

#include "canvas/sheet_view_state.h"
#include "image/dib.h"
#include "image/image_entry.h"
#include "store/handles_win32.h"
#include "window/memory_bitmap_win32.h"

namespace piconel {

inline constexpr wchar_t kEntryWindowClass[] = L"child";

// The mouse input the window system gives an entry window's caption.
class EntryWindowInput {
 public:
  virtual ~EntryWindowInput() = default;
  // WM_NCLBUTTONDOWN; the answer of its default handling, which runs the
  // system's move loop.
  virtual LRESULT entry_pressed(HWND window, ImageEntry& entry, WPARAM wparam, LPARAM lparam) = 0;
  virtual void entry_double_clicked(ImageEntry& entry, LPARAM lparam) = 0;
  // WM_MOVING with the proposed rectangle; true when `rect` was changed and
  // the message is handled.
  virtual bool entry_moving(ImageEntry& entry, RECT& rect) = 0;
  // WM_MOVE.
  virtual void entry_moved(HWND window, ImageEntry& entry) = 0;
};

class EntryWindow final : public EntryDisplay {
 public:
  // The window of `entry` at its place on `view` and on top of its
  // siblings, so a later entry covers an earlier one; with a copy of
  // `picture` made for the view's screen, or a placeholder for none. None
  // when the window or the copy cannot be made. `state` and `input` outlive
  // the window.
  [[nodiscard]] static std::unique_ptr<EntryWindow> create(HWND view, ImageEntry& entry,
                                                           const SheetViewState& state,
                                                           EntryWindowInput& input,
                                                           const Dib* picture);
  ~EntryWindow() override;
  EntryWindow(const EntryWindow&) = delete;
  EntryWindow& operator=(const EntryWindow&) = delete;

  [[nodiscard]] HWND window() const { return window_.get(); }
  // The window is destroyed with the view's: it is no longer ours to destroy.
  void forget_window() { static_cast<void>(window_.release()); }

  // The messages of class "child" (through bound_window_procedure): the
  // window serves its entry record, whose display this is once made.
  static LRESULT handle_message(ImageEntry& entry, HWND window, UINT message, WPARAM wparam,
                                LPARAM lparam);

 private:
  EntryWindow(ImageEntry& entry, const SheetViewState& state, EntryWindowInput& input)
      : entry_(entry), state_(state), input_(input) {}
  void paint(HWND window) const;
  void paint_placeholder(HDC dc, std::int32_t view_width, std::int32_t view_height) const;

  ImageEntry& entry_;
  const SheetViewState& state_;
  EntryWindowInput& input_;
  // The window goes after the picture's copy.
  OwnedWindow window_;
  MemoryBitmap picture_;
};

// The entry's window; none for an entry without one.
[[nodiscard]] EntryWindow* entry_window(const ImageEntry& entry);

}  // namespace piconel
