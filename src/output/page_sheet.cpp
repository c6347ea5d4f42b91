#include "output/page_sheet.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <type_traits>

#include "image/colour_analysis.h"
#include "image/colour_index.h"
#include "output/output_file.h"
#include "output/page_bitmap.h"
#include "store/no_throw.h"

namespace piconel {
namespace {

// Index of every value a pixel of `picture` (8 bits or less) can hold: the
// first page palette position of the colour SheetCanvas::draw would give it
// (black past the colour table), -1 where the page palette lacks it.
std::array<std::int16_t, 256> positions_of_values(const Dib& picture,
                                                  const PageColourIndex& index) {
  std::array<std::int16_t, 256> positions{};
  const auto values = std::size_t{1} << picture.bits_per_pixel;
  const std::size_t listed = std::min(values, picture.colour_table.size());
  for (std::size_t v = 0; v < listed; ++v) {
    const PaletteEntry& colour = picture.colour_table[v];
    positions[v] =
        static_cast<std::int16_t>(index.find(colour_key(colour.blue, colour.green, colour.red)));
  }
  // Every value past the table is black: looked up once.
  if (listed < values) {
    const auto black = static_cast<std::int16_t>(index.find(colour_key(0, 0, 0)));
    std::fill(positions.begin() + static_cast<std::ptrdiff_t>(listed),
              positions.begin() + static_cast<std::ptrdiff_t>(values), black);
  }
  return positions;
}

// The palette indices of `count` pixels of a stored picture row from column
// `first`; false when a value has no position. The row is written whole
// before the answer: a picture that fails is drawn again over its whole
// area on the true-colour canvas, so what it left here never shows.
bool index_paletted_row(const std::uint8_t* line, std::int32_t depth, std::size_t first,
                        std::size_t count, const std::array<std::int16_t, 256>& positions,
                        std::uint8_t* out) {
  // Positions are 0..255 or -1: any -1 leaves the sign bit set.
  int missing = 0;
  const auto put = [&](std::size_t i, unsigned value) {
    const std::int16_t position = positions[value];
    missing |= position;
    out[i] = static_cast<std::uint8_t>(position);
  };
  if (depth == 8) {
    const std::uint8_t* values = line + first;
    for (std::size_t i = 0; i < count; ++i) {
      put(i, values[i]);
    }
  } else if (depth == 4) {
    // Two pixels a byte, the left one in the high half.
    std::size_t i = 0;
    if (first % 2 != 0 && count > 0) {
      put(i++, line[first / 2] & 15u);
    }
    const std::uint8_t* pairs = line + (first + i) / 2;
    for (; i + 1 < count; i += 2, ++pairs) {
      put(i, *pairs >> 4);
      put(i + 1, *pairs & 15u);
    }
    if (i < count) {
      put(i, *pairs >> 4);
    }
  } else {
    for (std::size_t i = 0; i < count; ++i) {
      put(i, packed_pixel_value(line, depth, first + i));
    }
  }
  return missing >= 0;
}

// The same for a 24- or 32-bit row (`Step` bytes a pixel); neighbouring
// pixels mostly repeat a colour, so the last one's position is reused
// without a lookup.
template <std::size_t Step>
bool index_true_colour_row(const std::uint8_t* line, std::size_t first, std::size_t count,
                           const PageColourIndex& index, std::uint8_t* out) {
  const std::uint8_t* p = line + Step * first;
  std::uint32_t last_key = PageColourIndex::kNoColour;
  int last_position = -1;
  const auto put = [&](std::size_t i, std::uint32_t key) {
    if (key != last_key) {
      last_position = index.find(key);
      last_key = key;
    }
    out[i] = static_cast<std::uint8_t>(last_position);
    return last_position >= 0;
  };
  // A 24-bit pixel is read whole only when the next pixel follows it.
  const std::size_t whole = Step == 4 ? count : count - 1;
  for (std::size_t i = 0; i < whole; ++i, p += Step) {
    if (!put(i, colour_key_with_spare_byte(p))) {
      return false;
    }
  }
  return whole == count || put(whole, colour_key(p[0], p[1], p[2]));
}

}  // namespace

std::optional<PageSheet> PageSheet::create(std::int32_t width, std::int32_t height,
                                           ColorRef background) {
  if (width < 1 || height < 1 || width > kMaxSheetSide || height > kMaxSheetSide) {
    return std::nullopt;
  }
  PageSheet sheet(width, height, background);
  // Index 0 is the background until the palette says otherwise.
  sheet.colours_[0] = ColourList::starting_with(background).entries[0];
  if (width <= kMaxEightBitSide && height <= kMaxEightBitSide) {
    sheet.index_stride_ = eight_bit_stride(width);
    if (!try_resize(sheet.indices_, sheet.index_stride_ * static_cast<std::size_t>(height))) {
      return std::nullopt;
    }
    return sheet;
  }
  sheet.canvas_ = SheetCanvas::create(width, height, background);
  if (!sheet.canvas_) {
    return std::nullopt;
  }
  return sheet;
}

bool PageSheet::learn_palette(const ColourList& palette) {
  if (palette.count < 1 || palette.count > kMaxColours || palette.count < known_colours_ ||
      !palette.entries[0].same_colour(colours_[0])) {
    return false;
  }
  for (std::int32_t i = known_colours_; i < palette.count; ++i) {
    const PaletteEntry& colour = palette.entries[static_cast<std::size_t>(i)];
    colours_[static_cast<std::size_t>(i)] = colour;
    first_position_.add(colour_key(colour.blue, colour.green, colour.red), i);
    if (i > 0 && background_again_ < 0 && colour.same_colour(colours_[0])) {
      background_again_ = i;
    }
  }
  known_colours_ = palette.count;
  return true;
}

bool PageSheet::draw_indices(const Dib& picture, std::int32_t x, std::int32_t y,
                             const std::array<std::int16_t, 256>* positions_given) {
  const CoveredArea area = covered_area(width_, height_, picture, x, y);
  if (area.empty()) {
    return true;
  }
  const auto [left, top, right, bottom] = area;
  note_drawn_rows(top, bottom);
  const auto first = static_cast<std::size_t>(left - x);
  const auto count = static_cast<std::size_t>(right - left);
  const bool paletted = picture.bits_per_pixel <= 8;
  const std::array<std::int16_t, 256> positions =
      positions_given != nullptr ? *positions_given
      : paletted                 ? positions_of_values(picture, first_position_)
                                 : std::array<std::int16_t, 256>{};
  for (std::int64_t sheet_y = top; sheet_y < bottom; ++sheet_y) {
    const auto source_row = static_cast<std::size_t>(picture.height - 1 - (sheet_y - y));
    const std::uint8_t* line = picture.pixels.data() + source_row * picture.stride;
    std::uint8_t* out = index_row_from_top(sheet_y) + left;
    const bool done =
        paletted ? index_paletted_row(line, picture.bits_per_pixel, first, count, positions, out)
        : picture.bits_per_pixel == 32
            ? index_true_colour_row<4>(line, first, count, first_position_, out)
            : index_true_colour_row<3>(line, first, count, first_position_, out);
    if (!done) {
      return false;
    }
  }
  return true;
}

void PageSheet::append_colour(std::uint32_t colour, ColourList& palette) {
  const PaletteEntry entry{static_cast<std::uint8_t>(colour & 0xFF),
                           static_cast<std::uint8_t>((colour >> 8) & 0xFF),
                           static_cast<std::uint8_t>((colour >> 16) & 0xFF), 0};
  const auto position = static_cast<std::size_t>(known_colours_);
  palette.entries[position] = entry;
  colours_[position] = entry;
  first_position_.add(colour, known_colours_);
  if (position > 0 && background_again_ < 0 && entry.same_colour(colours_[0])) {
    background_again_ = known_colours_;
  }
  palette.count = ++known_colours_;
}

bool PageSheet::merge_paletted(const Dib& picture, std::int32_t x, std::int32_t y,
                               std::int32_t transparent_index, ColorRef replacement,
                               ColourList& palette) {
  const std::size_t length = picture.colour_table.size();
  const std::size_t values = std::size_t{1} << static_cast<unsigned>(picture.bits_per_pixel);
  std::array<bool, 256> used{};
  mark_used_values(picture, std::min(length, values), used);
  // The merge as merge_colours does it: the used entries in index order,
  // except a used transparent entry, which entry 0 (the background) then
  // stands for and is not looked among.
  const bool transparent_used = transparent_index >= 0 &&
                                static_cast<std::size_t>(transparent_index) < length &&
                                used[static_cast<std::size_t>(transparent_index)];
  const int start = transparent_used ? 1 : 0;
  for (std::size_t i = 0; i < length; ++i) {
    if (!used[i] || (transparent_used && i == static_cast<std::size_t>(transparent_index))) {
      continue;
    }
    const PaletteEntry& listed = picture.colour_table[i];
    const std::uint32_t colour = colour_key(listed.blue, listed.green, listed.red);
    const int position = first_position_.find(colour);
    if (position >= start || (position == 0 && background_again_ >= 0)) {
      continue;
    }
    if (known_colours_ >= kMaxColours) {
      palette.count = -1;
      return false;
    }
    append_colour(colour, palette);
  }
  // Drawn with the transparent entry replaced, as load_image replaces it.
  std::array<std::int16_t, 256> positions = positions_of_values(picture, first_position_);
  if (replacement >= 0 && transparent_index >= 0 &&
      static_cast<std::size_t>(transparent_index) < std::min(length, values)) {
    const std::uint32_t replaced =
        static_cast<std::uint32_t>(colorref_to_dib(replacement)) & 0xFFFFFFu;
    positions[static_cast<std::size_t>(transparent_index)] =
        static_cast<std::int16_t>(first_position_.find(replaced));
  }
  return draw_indices(picture, x, y, &positions);
}

template <std::size_t Step>
bool PageSheet::merge_true_colour(const Dib& picture, std::int32_t x, std::int32_t y,
                                  std::uint32_t key, std::uint8_t replacement_index,
                                  ColourList& palette) {
  const CoveredArea area = covered_area(width_, height_, picture, x, y);
  if (!area.empty()) {
    note_drawn_rows(area.top, area.bottom);
  }
  // The index a pixel of `colour` is drawn with; -1 at the page's 257th
  // colour. No test against the pixel before: where neighbours differ its
  // branch is mispredicted, and the first slot's look-up costs as little.
  const auto index_of = [&](std::uint32_t colour) {
    int position = first_position_.find_in_first_slot(colour);
    if (position < 0) [[unlikely]] {
      position = first_position_.find(colour);
      if (position < 0) {
        // A colour new to the page is appended, as the merge appends the
        // colours of a picture in the order they first appear.
        if (known_colours_ >= kMaxColours) {
          palette.count = -1;
          return -1;
        }
        position = known_colours_;
        append_colour(colour, palette);
      }
    }
    return colour == key ? int{replacement_index} : position;
  };
  const auto width = static_cast<std::size_t>(picture.width);
  const std::uint8_t* line = nullptr;
  // Columns [from, to) of the row, drawn into `out` when `draw` is true.
  // `whole`: each pixel read with one load (a byte follows the row's last).
  const auto scan = [&](auto draw, auto whole, std::size_t from, std::size_t to,
                        std::uint8_t* out) {
    for (std::size_t column = from; column < to; ++column) {
      const std::uint8_t* p = line + column * Step;
      const int index = index_of(decltype(whole)::value ? colour_key_with_spare_byte(p)
                                                        : colour_key(p[0], p[1], p[2]));
      if (index < 0) {
        return false;
      }
      if constexpr (decltype(draw)::value) {
        *out++ = static_cast<std::uint8_t>(index);
      }
    }
    return true;
  };
  // The whole row: the columns outside the sheet are only counted.
  const auto scan_row = [&](auto whole, std::size_t first, std::size_t end, std::uint8_t* out) {
    return scan(std::false_type{}, whole, 0, first, nullptr) &&
           scan(std::true_type{}, whole, first, end, out) &&
           scan(std::false_type{}, whole, end, width, nullptr);
  };
  // Bottom row first, as the colour analysis counts them.
  for (std::int32_t row = 0; row < picture.height; ++row) {
    const std::size_t row_start = static_cast<std::size_t>(row) * picture.stride;
    line = picture.pixels.data() + row_start;
    const std::int64_t sheet_y = std::int64_t{y} + (picture.height - 1 - row);
    std::uint8_t* out = nullptr;
    std::size_t first = width;  // no column drawn outside the sheet's rows
    std::size_t end = width;
    if (!area.empty() && sheet_y >= area.top && sheet_y < area.bottom) {
      out = index_row_from_top(sheet_y) + area.left;
      first = static_cast<std::size_t>(area.left - x);
      end = static_cast<std::size_t>(area.right - x);
    }
    // A pixel is read with one load only when a byte follows it (always for
    // 32 bits; for 24 bits the last row may end the buffer).
    const bool whole = row_start + (width - 1) * Step + 4 <= picture.pixels.size();
    if (!(whole ? scan_row(std::true_type{}, first, end, out)
                : scan_row(std::false_type{}, first, end, out))) {
      return false;
    }
  }
  return true;
}

bool PageSheet::draw_merging(const Dib& picture, std::int32_t x, std::int32_t y, std::int32_t key,
                             ColorRef replacement, ColourList& palette) {
  if (canvas_ || !picture.is_well_formed() || !learn_palette(palette)) {
    return false;
  }
  if (picture.bits_per_pixel <= 8) {
    return merge_paletted(picture, x, y, key, replacement, palette);
  }
  // Key pixels are drawn with the replacement's first position, which the
  // page must hold already (the background always is).
  const int replacement_index =
      first_position_.find(static_cast<std::uint32_t>(colorref_to_dib(replacement)) & 0xFFFFFFu);
  if (replacement_index < 0) {
    return false;
  }
  const std::uint32_t key_colour =
      key >= 0 ? static_cast<std::uint32_t>(key) & 0xFFFFFFu : PageColourIndex::kNoColour;
  const auto index = static_cast<std::uint8_t>(replacement_index);
  return picture.bits_per_pixel == 32
             ? merge_true_colour<4>(picture, x, y, key_colour, index, palette)
             : merge_true_colour<3>(picture, x, y, key_colour, index, palette);
}

bool PageSheet::become_true_colour() {
  // Every index drawn so far names one of the known colours (0, the
  // background, before any).
  canvas_ = SheetCanvas::from_indices(width_, height_, indices_, index_stride_, colours_,
                                      static_cast<std::int32_t>(drawn_top_),
                                      static_cast<std::int32_t>(drawn_bottom_));
  if (!canvas_) {
    return false;
  }
  indices_ = {};
  return true;
}

bool PageSheet::draw(const Dib& picture, std::int32_t x, std::int32_t y,
                     const ColourList& palette) {
  if (picture.width <= 0 || picture.height <= 0) {
    return true;
  }
  if (!canvas_) {
    if (picture.is_well_formed() && learn_palette(palette) && draw_indices(picture, x, y)) {
      return true;
    }
    // What a failed picture left drawn are indices of colours it would draw
    // anyway: drawing it again on the canvas overwrites them.
    if (!become_true_colour()) {
      return false;
    }
  }
  canvas_->draw(picture, x, y);
  return true;
}

std::optional<SheetPixels> PageSheet::finish(const ColourList& palette) {
  if (!canvas_ && !learn_palette(palette) && !become_true_colour()) {
    return std::nullopt;
  }
  if (canvas_) {
    if (palette.count != -1 && width_ <= kMaxEightBitSide && height_ <= kMaxEightBitSide) {
      eight_file_ = encode_eight_bit_bitmap(*canvas_, palette);
    }
    return canvas_pixels(*canvas_, eight_file_ ? &*eight_file_ : nullptr);
  }
  const auto width = static_cast<std::size_t>(width_);
  std::span<const PaletteEntry> table(palette.entries.data(),
                                      static_cast<std::size_t>(palette.count));
  bool background_seen = false;
  for (std::int32_t row = 0; row < height_ && !background_seen; ++row) {
    background_seen = std::memchr(indices_.data() + static_cast<std::size_t>(row) * index_stride_,
                                  0, width) != nullptr;
  }
  if (!background_seen) {
    // No pixel names entry 0: the file leaves it out and every index moves
    // down by one.
    table = table.subspan(1);
    for (std::int32_t row = 0; row < height_; ++row) {
      std::uint8_t* out = indices_.data() + static_cast<std::size_t>(row) * index_stride_;
      for (std::size_t x = 0; x < width; ++x) {
        --out[x];
      }
    }
  }
  SheetPixels pixels;
  pixels.width = width_;
  pixels.height = height_;
  pixels.bits_per_pixel = 8;
  pixels.colour_table = table;
  pixels.rows = indices_;
  pixels.stride = index_stride_;
  return pixels;
}

bool PageSheet::write(std::string_view path, const ColourList& palette, bool if_changed) {
  const std::optional<SheetPixels> pixels = finish(palette);
  return pixels && write_sheet_bitmap(path, *pixels, if_changed);
}

}  // namespace piconel
