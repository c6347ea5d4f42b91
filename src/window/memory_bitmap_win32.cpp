#include "window/memory_bitmap_win32.h"

#include <utility>

namespace piconel {

bool MemoryBitmap::hold(GdiBitmap bitmap) {
  reset();
  if (!bitmap) {
    return false;
  }
  MemoryDc dc(CreateCompatibleDC(nullptr));
  if (!dc) {
    return false;
  }
  const HGDIOBJ previous = SelectObject(dc.get(), bitmap.get());
  if (previous == nullptr || previous == HGDI_ERROR) {
    return false;
  }
  bitmap_ = std::move(bitmap);
  dc_ = std::move(dc);
  previous_ = previous;
  return true;
}

void MemoryBitmap::reset() {
  if (previous_ != nullptr) {
    SelectObject(dc_.get(), previous_);
    previous_ = nullptr;
  }
  dc_.reset();
  bitmap_.reset();
}

}  // namespace piconel
