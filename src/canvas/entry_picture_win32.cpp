#include "canvas/entry_picture_win32.h"

#include <new>

#include "image/dib_bitmap_win32.h"
#include "store/no_throw.h"

namespace piconel {

std::unique_ptr<EntryPicture> EntryPicture::create(const Dib& picture) {
  GdiBitmap bitmap = create_dib_section(picture);
  DIBSECTION section{};
  if (!bitmap || GetObjectW(bitmap.get(), sizeof(section), &section) != sizeof(section) ||
      section.dsBm.bmBits == nullptr) {
    return nullptr;
  }
  // The picture's table describes the section's colours; its depth and size
  // are the section's own (a 2-bit picture is held as 4 bits).
  std::vector<std::uint8_t> info;
  if (!allocation_succeeds([&] { info = bitmap_info_bytes(picture); }) ||
      info.size() < sizeof(BITMAPINFOHEADER)) {
    return nullptr;
  }
  auto* header = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
  header->biBitCount = section.dsBmih.biBitCount;
  header->biSizeImage = section.dsBmih.biSizeImage;
  const void* pixels = section.dsBm.bmBits;
  return std::unique_ptr<EntryPicture>(
      new (std::nothrow) EntryPicture(std::move(bitmap), std::move(info), pixels));
}

std::unique_ptr<EntryPicture> EntryPicture::create_placeholder() {
  return std::unique_ptr<EntryPicture>(new (std::nothrow) EntryPicture(GdiBitmap(), {}, nullptr));
}

const EntryPicture* entry_picture(const ImageEntry& entry) {
  return dynamic_cast<const EntryPicture*>(entry.display.get());
}

}  // namespace piconel
