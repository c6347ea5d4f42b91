#pragma once

// The sheet the page pass composes. While the page palette holds every colour
// drawn and the page may become an 8-bit file, pictures are drawn straight as
// palette indices into the rows of that file: no 24-bit canvas to fill, draw
// and convert afterwards. The first picture that cannot be drawn so turns the
// indices into a 24-bit SheetCanvas (each index becomes its colour, so nothing
// drawn changes) and the page goes on there. Either way the file written is
// byte for byte the one write_page_bitmap makes of the same pictures drawn on
// a SheetCanvas.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "image/colour.h"
#include "image/dib.h"
#include "output/page_bitmap.h"
#include "output/page_colour_index.h"
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

  // Draws `picture` as palette indices while its colours are merged into
  // `palette`: what load_image (with the same key and replacement,
  // index_true_colour on) and then draw would do, with fewer passes over its
  // pixels. `key`: for 8 bits or less the transparent palette index (the
  // row's key, else the decoder's; -1 for none), whose colour-table entry is
  // not merged and is drawn as `replacement` (COLORREF; -1 keeps it); for 24
  // and 32 bits the colour (0x00RRGGBB in DIB order; -1 for none) drawn as
  // `replacement` (-1 for white), the key itself merged as any colour.
  // False when the picture is not drawn: either nothing changed, or the
  // palette holds what the merge would have made of it (its count -1 past
  // 256 colours) and the sheet whatever the failed picture left; either way
  // the caller then takes the usual way, which draws the whole picture again.
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
  // `positions`: each value's index for a paletted picture (its colour
  // table's by default).
  bool draw_indices(const Dib& picture, std::int32_t x, std::int32_t y,
                    const std::array<std::int16_t, 256>* positions = nullptr);
  void append_colour(std::uint32_t colour, ColourList& palette);
  bool merge_paletted(const Dib& picture, std::int32_t x, std::int32_t y,
                      std::int32_t transparent_index, ColorRef replacement, ColourList& palette);
  bool become_true_colour();
  template <std::size_t Step>
  bool merge_true_colour(const Dib& picture, std::int32_t x, std::int32_t y, std::uint32_t key,
                         std::uint8_t replacement_index, ColourList& palette);
  // Notes rows [top, bottom) from the top as drawn on.
  void note_drawn_rows(std::int64_t top, std::int64_t bottom) {
    drawn_top_ = std::min(drawn_top_, top);
    drawn_bottom_ = std::max(drawn_bottom_, bottom);
  }
  std::uint8_t* index_row_from_top(std::int64_t y) {
    return indices_.data() + static_cast<std::size_t>(height_ - 1 - y) * index_stride_;
  }

  std::int32_t width_;
  std::int32_t height_;
  ColorRef background_;
  // Bottom-up rows of the 8-bit file, padding 0, while indexed.
  std::vector<std::uint8_t> indices_;
  std::size_t index_stride_ = 0;
  // The rows from the top any picture was drawn on as indices: the rest
  // still hold the background alone.
  std::int64_t drawn_top_ = kMaxSheetSide;
  std::int64_t drawn_bottom_ = 0;
  // The palette's colours the indices may name, and the first position of
  // each (the index an 8-bit file gives a pixel of that colour).
  std::array<PaletteEntry, kMaxColours> colours_{};
  std::int32_t known_colours_ = 0;
  PageColourIndex first_position_;
  // The first position after 0 holding the colour of entry 0, or -1: a
  // paletted picture with a transparent entry looks its colours up from
  // entry 1 on, so entry 0's colour may be listed twice.
  std::int32_t background_again_ = -1;
  // The 24-bit sheet, once the pictures no longer fit the indices.
  std::optional<SheetCanvas> canvas_;
  // The canvas's 8-bit file, when finish made one.
  std::optional<EightBitFile> eight_file_;
};

}  // namespace piconel
