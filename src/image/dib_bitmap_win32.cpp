#include "image/dib_bitmap_win32.h"

#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "store/no_throw.h"

namespace piconel {
namespace {

// GDI takes 1, 4, 8, 16, 24 and 32 bits per pixel; the loader also hands
// over 2-bit pictures. Each 2-bit index becomes a 4-bit one (the colour
// table stays valid, it has at most four entries). False when memory runs
// out.
bool widen_to_four_bits(const Dib& dib, Dib& wide) {
  wide.width = dib.width;
  wide.height = dib.height;
  wide.bits_per_pixel = 4;
  wide.file_bits_per_pixel = dib.file_bits_per_pixel;
  wide.stride = dib_stride(4, dib.width);
  if (!allocation_succeeds([&] {
        wide.colour_table = dib.colour_table;
        wide.pixels.assign(wide.stride * static_cast<std::size_t>(dib.height), 0);
      })) {
    return false;
  }
  for (std::size_t row = 0; row < static_cast<std::size_t>(dib.height); ++row) {
    const std::uint8_t* source = dib.pixels.data() + row * dib.stride;
    std::uint8_t* target = wide.pixels.data() + row * wide.stride;
    for (std::size_t x = 0; x < static_cast<std::size_t>(dib.width); ++x) {
      const unsigned index = (source[x / 4] >> (6 - 2 * (x % 4))) & 0x3u;
      target[x / 2] |= static_cast<std::uint8_t>(index << ((x % 2) == 0 ? 4 : 0));
    }
  }
  return true;
}

// The Dib GDI is given: `dib` itself, or its 4-bit form; none when malformed
// or when there is no memory for the 4-bit form.
const Dib* gdi_form(const Dib& dib, std::optional<Dib>& widened) {
  if (!dib.is_well_formed()) {
    return nullptr;
  }
  if (dib.bits_per_pixel == 2) {
    widened.emplace();
    return widen_to_four_bits(dib, *widened) ? &*widened : nullptr;
  }
  return &dib;
}

std::size_t pixel_bytes(const Dib& dib) {
  return dib.stride * static_cast<std::size_t>(dib.height);
}

}  // namespace

GdiBitmap create_dib_section(const Dib& dib) {
  std::optional<Dib> widened;
  const Dib* source = gdi_form(dib, widened);
  if (source == nullptr) {
    return GdiBitmap();
  }
  const std::vector<std::uint8_t> info = bitmap_info_bytes(*source);
  void* bits = nullptr;
  GdiBitmap bitmap(CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(info.data()),
                                    DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || bits == nullptr) {
    return GdiBitmap();
  }
  std::memcpy(bits, source->pixels.data(), pixel_bytes(*source));
  return bitmap;
}

GdiBitmap create_device_bitmap(const Dib& dib, HWND window) {
  std::optional<Dib> widened;
  const Dib* source = gdi_form(dib, widened);
  if (source == nullptr) {
    return GdiBitmap();
  }
  const std::vector<std::uint8_t> info = bitmap_info_bytes(*source);
  const auto* header = reinterpret_cast<const BITMAPINFO*>(info.data());
  const WindowDc dc(window);
  if (!dc) {
    return GdiBitmap();
  }
  return GdiBitmap(CreateDIBitmap(dc.get(), &header->bmiHeader, CBM_INIT, source->pixels.data(),
                                  header, DIB_RGB_COLORS));
}

GdiBitmap create_bitmap(const Dib& dib, bool want_dib_section, HWND window) {
  return want_dib_section ? create_dib_section(dib) : create_device_bitmap(dib, window);
}

}  // namespace piconel
