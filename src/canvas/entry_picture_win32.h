#pragma once

// An image entry's picture as the sheet view paints it: a DIB section of the
// loaded picture, or nothing for a placeholder. The view draws every entry
// itself, in list order, so an image has no window of its own and a page of
// 256 images costs 256 bitmaps, not 256 windows. Windows only: include from
// *_win32.cpp files only.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "image/dib.h"
#include "image/image_entry.h"
#include "store/handles_win32.h"

namespace piconel {

// How a placeholder is marked: a pale red box with a red frame and cross.
inline constexpr COLORREF kPlaceholderFill = RGB(255, 228, 228);
inline constexpr COLORREF kPlaceholderInk = RGB(200, 0, 0);

class EntryPicture final : public EntryDisplay {
 public:
  // The picture's copy; none when GDI refuses it.
  [[nodiscard]] static std::unique_ptr<EntryPicture> create(const Dib& picture);
  // A placeholder's display, which holds nothing.
  [[nodiscard]] static std::unique_ptr<EntryPicture> create_placeholder();

  // The DIB section that holds the pixels; null for a placeholder.
  [[nodiscard]] HBITMAP bitmap() const { return bitmap_.get(); }
  // The section's header and colour table and its pixels, to draw straight
  // from them (StretchDIBits) without selecting the section into a DC;
  // null for a placeholder.
  [[nodiscard]] const BITMAPINFO* info() const {
    return info_.empty() ? nullptr : reinterpret_cast<const BITMAPINFO*>(info_.data());
  }
  [[nodiscard]] const void* pixels() const { return pixels_; }

 private:
  EntryPicture(GdiBitmap bitmap, std::vector<std::uint8_t> info, const void* pixels)
      : bitmap_(std::move(bitmap)), info_(std::move(info)), pixels_(pixels) {}

  GdiBitmap bitmap_;
  std::vector<std::uint8_t> info_;
  const void* pixels_ = nullptr;  // the section's own bits, freed with it
};

// The entry's picture; none for an entry without a display of the view.
[[nodiscard]] const EntryPicture* entry_picture(const ImageEntry& entry);

}  // namespace piconel
