#pragma once

// A bitmap the size of a window's client area, kept from paint to paint, to
// draw a whole update in before it goes to the screen in one copy: nothing
// is seen half drawn, and the bitmap is made again only when the window has
// grown. Windows only: include from *_win32.cpp files only.

#include <windows.h>

#include "window/memory_bitmap_win32.h"

namespace piconel {

class BackBuffer {
 public:
  // A memory DC of at least `width` x `height` pixels compatible with `dc`;
  // null when GDI refuses one (the caller then paints straight into `dc`).
  [[nodiscard]] HDC prepare(HDC dc, int width, int height);
  // Copies `update` of the prepared bitmap to the same place of `dc`.
  void show(HDC dc, const RECT& update) const;

 private:
  MemoryBitmap bitmap_;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace piconel
