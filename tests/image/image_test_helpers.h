#pragma once

// Builders and readers shared by the image tests: bitmap files assembled
// byte by byte, the PPM sources of the committed fixtures, and a scratch
// folder for files that load_image reads back.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "image/colour.h"

namespace piconel::testing {

using Bytes = std::vector<std::uint8_t>;

void put_u16_le(Bytes& bytes, std::size_t pos, std::uint16_t value);
void put_u32_le(Bytes& bytes, std::size_t pos, std::uint32_t value);

// A "BM" file with a 40-byte BITMAPINFOHEADER, `palette` as its colour table
// (biClrUsed = `colours_used`), then `pixel_bytes` at bfOffBits = 54 + 4 *
// palette size.
//   0 "BM", 2 bfSize, 10 bfOffBits, 14 biSize = 40, 18 biWidth, 22 biHeight,
//   26 biPlanes = 1, 28 biBitCount, 30 biCompression, 46 biClrUsed,
//   54 colour table.
Bytes make_bitmap(std::int32_t width, std::int32_t height, std::uint16_t depth,
                  const std::vector<PaletteEntry>& palette, const Bytes& pixel_bytes,
                  std::uint32_t colours_used = 0, std::uint32_t compression = 0);

// A BI_BITFIELDS picture of depth 16 or 32: the red, green and blue masks
// right after the 40-byte header (offsets 54, 58, 62), `pixel_bytes` at
// bfOffBits = 66.
Bytes make_bitfields_bitmap(std::int32_t width, std::int32_t height, std::uint16_t depth,
                            std::uint32_t red_mask, std::uint32_t green_mask,
                            std::uint32_t blue_mask, const Bytes& pixel_bytes);

// Paletted picture of depth 1, 2, 4 or 8 from palette indices given row by
// row, top row first; stored bottom-up with rows padded to 4 bytes.
Bytes make_paletted_bitmap(std::int32_t width, std::int32_t height, std::uint16_t depth,
                           const std::vector<PaletteEntry>& palette,
                           const std::vector<int>& indices_top_first,
                           std::uint32_t colours_used = 0);

// 24- or 32-bit picture from 0x00RRGGBB colours, top row first.
Bytes make_true_colour_bitmap(std::int32_t width, std::int32_t height, std::uint16_t depth,
                              const std::vector<std::uint32_t>& colours_top_first);

// The same rows packed as load_image's pixel array expects (bottom-up).
Bytes pack_paletted_rows(std::int32_t width, std::int32_t height, std::uint16_t depth,
                         const std::vector<int>& indices_top_first);

PaletteEntry rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue);

// A plain-text PPM (P3) picture: colours 0x00RRGGBB, top row first.
struct Ppm {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<std::uint32_t> colours;
};
std::optional<Ppm> read_ppm(const std::string& path);

// Bytes of tests/data/image/<name>; empty when missing.
Bytes read_fixture(std::string_view name);
std::string fixture_path(std::string_view name);

// A fresh folder under the system's temporary folder, removed at the end.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // The folder, ending in '/'.
  const std::string& path() const { return path_; }
  // Writes `bytes` to path() + name and returns that path.
  std::string write(std::string_view name, std::span<const std::uint8_t> bytes) const;

 private:
  std::string path_;
};

}  // namespace piconel::testing
