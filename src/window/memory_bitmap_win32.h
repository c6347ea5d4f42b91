#pragma once

// A bitmap selected into a memory DC of its own, to paint from. The DC's
// first bitmap goes back in before the DC and the bitmap are deleted, so
// neither is deleted while selected. Windows only: include from *_win32.cpp
// files only.

#include <windows.h>

#include "store/handles_win32.h"

namespace piconel {

class MemoryBitmap {
 public:
  MemoryBitmap() = default;
  ~MemoryBitmap() { reset(); }
  MemoryBitmap(const MemoryBitmap&) = delete;
  MemoryBitmap& operator=(const MemoryBitmap&) = delete;

  // Takes `bitmap` and selects it into a new memory DC (compatible with the
  // screen). False, holding nothing, when there is no bitmap or the DC
  // cannot be made or take it.
  [[nodiscard]] bool hold(GdiBitmap bitmap);
  // Puts the DC's first bitmap back and deletes the DC and the bitmap.
  void reset();

  // The DC to paint from; null when nothing is held.
  [[nodiscard]] HDC dc() const { return dc_.get(); }
  explicit operator bool() const { return previous_ != nullptr; }

 private:
  // Declared before the DC, so the DC is deleted first.
  GdiBitmap bitmap_;
  MemoryDc dc_;
  HGDIOBJ previous_ = nullptr;
};

}  // namespace piconel
