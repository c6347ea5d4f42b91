#include "canvas/entry_picture_win32.h"

#include <new>

#include "image/dib_bitmap_win32.h"

namespace piconel {

std::unique_ptr<EntryPicture> EntryPicture::create(const Dib& picture) {
  GdiBitmap bitmap = create_dib_section(picture);
  if (!bitmap) {
    return nullptr;
  }
  return std::unique_ptr<EntryPicture>(new (std::nothrow) EntryPicture(std::move(bitmap)));
}

std::unique_ptr<EntryPicture> EntryPicture::create_placeholder() {
  return std::unique_ptr<EntryPicture>(new (std::nothrow) EntryPicture(GdiBitmap()));
}

const EntryPicture* entry_picture(const ImageEntry& entry) {
  return dynamic_cast<const EntryPicture*>(entry.display.get());
}

}  // namespace piconel
