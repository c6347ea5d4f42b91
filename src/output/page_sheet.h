#pragma once

// The sheet the page pass composes. While the page palette holds every colour
// drawn and the page may become an 8-bit file, pictures are drawn straight as
// palette indices into the rows of that file: no 24-bit canvas to fill, draw
// and convert afterwards. The first picture that cannot be drawn so turns the
// indices into a 24-bit SheetCanvas (each index becomes its colour, so nothing
// drawn changes) and the page goes on there. Either way the file written is
// byte for byte the one write_page_bitmap makes of the same pictures drawn on
// a SheetCanvas.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "image/colour.h"
#include "image/colour_index.h"
#include "image/dib.h"
#include "output/page_bitmap.h"
#include "output/sheet_canvas.h"
#include "output/sheet_pixels.h"

namespace piconel {

class PageSheet {
 public:
  // None when a side is not within 1..32768 or the memory cannot be had.
  [[nodiscard]] static std::optional<PageSheet> create(std::int32_t width, std::int32_t height,
                                                       ColorRef background);

  // Draws `picture` with its top-left corner at sheet (x, y), as
  // SheetCanvas::draw does. `palette` is the page palette with the picture's
  // colours merged; entries below the count it once had never change. False
  // when the 24-bit canvas the sheet has to turn into cannot be had.
  [[nodiscard]] bool draw(const Dib& picture, std::int32_t x, std::int32_t y,
                          const ColourList& palette);

  // Draws a 24- or 32-bit `picture` as palette indices while its colours are
  // merged into `palette`, in one pass over its pixels: what load_image
  // (with the same key and replacement, index_true_colour on) and then draw
  // would do, without looking each pixel up twice. Pixels of colour `key`
  // (0x00RRGGBB in DIB order; -1 for none) are drawn as `replacement`
  // (COLORREF; -1 for white), while the key itself is merged as any colour.
  // False when the picture is not drawn: nothing changed, or, when the
  // palette ran past 256 colours, the palette's count is -1 as the merge
  // would have left it; the caller then takes the usual way.
  [[nodiscard]] bool draw_merging(const Dib& picture, std::int32_t x, std::int32_t y,
                                  std::int32_t key, ColorRef replacement, ColourList& palette);

  // The pixels of the page bitmap write_page_bitmap would write, valid while
  // the sheet and `palette` live. The sheet's last step: an 8-bit file that
  // leaves out the background entry renumbers the indices in place, so it is
  // called once. None when the 24-bit canvas it needs cannot be had.
  [[nodiscard]] std::optional<SheetPixels> finish(const ColourList& palette);

  // finish, then the page bitmap written to `path`.
  [[nodiscard]] bool write(std::string_view path, const ColourList& palette, bool if_changed);

  // Whether the sheet still holds palette indices.
  bool indexed() const { return !canvas_.has_value(); }

 private:
  PageSheet(std::int32_t width, std::int32_t height, ColorRef background)
      : width_(width), height_(height), background_(background) {}

  bool learn_palette(const ColourList& palette);
  bool draw_indices(const Dib& picture, std::int32_t x, std::int32_t y);
  bool become_true_colour();
  template <std::size_t Step>
  bool merge_true_colour(const Dib& picture, std::int32_t x, std::int32_t y, std::uint32_t key,
                         std::uint8_t replacement_index, ColourList& palette);
  std::uint8_t* index_row_from_top(std::int64_t y) {
    return indices_.data() + static_cast<std::size_t>(height_ - 1 - y) * index_stride_;
  }

  std::int32_t width_;
  std::int32_t height_;
  ColorRef background_;
  // Bottom-up rows of the 8-bit file, padding 0, while indexed.
  std::vector<std::uint8_t> indices_;
  std::size_t index_stride_ = 0;
  // The palette's colours the indices may name, and the first position of
  // each (the index an 8-bit file gives a pixel of that colour).
  std::array<PaletteEntry, kMaxColours> colours_{};
  std::int32_t known_colours_ = 0;
  ColourIndex first_position_;
  // The 24-bit sheet, once the pictures no longer fit the indices.
  std::optional<SheetCanvas> canvas_;
  // The canvas's 8-bit file, when finish made one.
  std::optional<EightBitFile> eight_file_;
};

}  // namespace piconel
