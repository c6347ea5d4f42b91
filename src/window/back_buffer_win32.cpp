#include "window/back_buffer_win32.h"

#include <algorithm>

namespace piconel {

HDC BackBuffer::prepare(HDC dc, int width, int height) {
  width = std::max(width, 1);
  height = std::max(height, 1);
  if (bitmap_ && width <= width_ && height <= height_) {
    return bitmap_.dc();
  }
  // Grown a little beyond the asked size, so resizing the window by hand
  // does not make a new bitmap at every step.
  const int new_width = std::max(width, width_ + width_ / 4);
  const int new_height = std::max(height, height_ + height_ / 4);
  if (!bitmap_.hold(GdiBitmap(CreateCompatibleBitmap(dc, new_width, new_height)))) {
    width_ = 0;
    height_ = 0;
    return nullptr;
  }
  width_ = new_width;
  height_ = new_height;
  return bitmap_.dc();
}

void BackBuffer::show(HDC dc, const RECT& update) const {
  if (bitmap_) {
    BitBlt(dc, update.left, update.top, update.right - update.left, update.bottom - update.top,
           bitmap_.dc(), update.left, update.top, SRCCOPY);
  }
}

}  // namespace piconel
