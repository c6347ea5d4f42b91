#include "image/colour_analysis.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "image/colour_index.h"
#include "store/no_throw.h"

namespace piconel {

namespace {}  // namespace

void mark_used_values(const Dib& dib, std::size_t wanted, std::array<bool, 256>& used) {
  if (wanted == 0) {
    return;
  }
  std::size_t seen = 0;
  // True once every wanted value is seen: most pictures use their whole
  // colour table within a few rows, and the rest of the scan would find
  // nothing new.
  const auto mark = [&](unsigned value) {
    if (used[value]) {
      return false;
    }
    used[value] = true;
    return value < wanted && ++seen == wanted;
  };
  const auto depth = static_cast<unsigned>(dib.bits_per_pixel);
  const auto width = static_cast<std::size_t>(dib.width);
  for (std::int32_t row = 0; row < dib.height; ++row) {
    const std::uint8_t* line = dib.pixels.data() + static_cast<std::size_t>(row) * dib.stride;
    if (depth == 8) {
      for (std::size_t x = 0; x < width; ++x) {
        if (mark(line[x])) {
          return;
        }
      }
    } else if (depth == 4) {
      // Two pixels a byte, the left one in the high half; an odd width's
      // last byte holds one.
      for (std::size_t x = 0; x + 1 < width; x += 2) {
        if (mark(line[x / 2] >> 4) || mark(line[x / 2] & 15u)) {
          return;
        }
      }
      if (width % 2 != 0 && mark(line[width / 2] >> 4)) {
        return;
      }
    } else {
      for (std::size_t x = 0; x < width; ++x) {
        if (mark(packed_pixel_value(line, dib.bits_per_pixel, x))) {
          return;
        }
      }
    }
  }
}

namespace {

void analyse_paletted(const Dib& dib, std::int32_t transparent_index, ImageEntry& entry) {
  const std::size_t length = dib.colour_table.size();
  for (std::size_t i = 0; i < kMaxColours; ++i) {
    entry.palette[i] = i < length ? dib.colour_table[i] : PaletteEntry{};
    entry.palette[i].flag = 1;
  }
  // Only values inside the colour table count, and a pixel holds at most
  // 2^depth values.
  const std::size_t wanted =
      std::min(length, std::size_t{1} << static_cast<unsigned>(dib.bits_per_pixel));
  std::array<bool, 256> used{};
  mark_used_values(dib, wanted, used);
  for (std::size_t i = 0; i < length; ++i) {
    if (used[i]) {
      entry.palette[i].flag = 0;
    }
  }
  for (std::size_t i = 0; i < length; ++i) {
    if (entry.palette[i].flag == 0) {
      if (static_cast<std::int32_t>(i) == transparent_index) {
        entry.transparent_slot = entry.colour_count;
      }
      ++entry.colour_count;
    }
  }
}

// Distinct colours in order of first appearance, bottom row first; the
// 257th distinct colour turns the count to -1 and ends the scan. `Step` is
// the bytes of a pixel (3 or 4). With `indices`, each pixel's position among
// those colours, in rows of dib_stride(8, width) bytes as stored (bottom row
// first); emptied when there are more than 256 colours.
template <std::size_t Step>
void analyse_true_colour(const Dib& dib, ImageEntry& entry, std::vector<std::uint8_t>* indices) {
  ColourIndex positions;
  // Neighbouring pixels mostly repeat a colour: the last one is tried first.
  std::uint32_t last_key = ColourIndex::kNoColour;
  int last_position = -1;
  // The colour's position, or -1 at the 257th colour.
  const auto note = [&](const std::uint8_t* p, std::uint32_t key) {
    if (key == last_key) {
      return last_position;
    }
    last_key = key;
    last_position = positions.find(key);
    if (last_position >= 0) {
      return last_position;
    }
    const auto count = static_cast<std::size_t>(entry.colour_count);
    if (count >= kMaxColours) {
      entry.colour_count = -1;
      return -1;
    }
    entry.palette[count] = PaletteEntry{p[0], p[1], p[2], 0};
    last_position = static_cast<int>(count);
    positions.add(key, last_position);
    ++entry.colour_count;
    return last_position;
  };
  const auto width = static_cast<std::size_t>(dib.width);
  const std::size_t index_stride = static_cast<std::size_t>(dib_stride(8, dib.width));
  if (indices != nullptr &&
      !try_assign(*indices, index_stride * static_cast<std::size_t>(dib.height), std::uint8_t{0})) {
    indices->clear();
    indices = nullptr;  // no room: the colours alone
  }
  std::uint8_t scratch = 0;
  for (std::int32_t row = 0; row < dib.height; ++row) {
    const std::uint8_t* line = dib.pixels.data() + static_cast<std::size_t>(row) * dib.stride;
    // Positions go nowhere without `indices`.
    std::uint8_t* out = indices != nullptr
                            ? indices->data() + static_cast<std::size_t>(row) * index_stride
                            : &scratch;
    const std::size_t out_step = indices != nullptr ? 1 : 0;
    // The last pixel of a row is read whole only when a byte follows it.
    const std::size_t last_pixel_end =
        static_cast<std::size_t>(row) * dib.stride + (width - 1) * Step + 4;
    const std::size_t whole = last_pixel_end <= dib.pixels.size() ? width : width - 1;
    const std::uint8_t* p = line;
    // False at the 257th colour.
    const auto put = [&](std::uint32_t key) {
      const int position = note(p, key);
      *out = static_cast<std::uint8_t>(position);
      out += out_step;
      p += Step;
      return position >= 0;
    };
    for (std::size_t x = 0; x < whole; ++x) {
      if (!put(colour_key_with_spare_byte(p))) {
        break;
      }
    }
    if (entry.colour_count >= 0 && whole < width) {
      (void)put(colour_key(p[0], p[1], p[2]));
    }
    if (entry.colour_count < 0) {
      if (indices != nullptr) {
        indices->clear();
      }
      return;
    }
  }
}

}  // namespace

std::int32_t effective_transparent_index(const Dib& dib, std::int32_t requested_key,
                                         std::int32_t automatic_index) {
  if (dib.bits_per_pixel > 8) {
    return -1;
  }
  return requested_key >= 0 ? requested_key : automatic_index;
}

std::int32_t automatic_transparent_key(const Dib& dib, std::int32_t transparent_index) {
  if (dib.bits_per_pixel <= 8) {
    return transparent_index;
  }
  return dib.pixel(0, 0) & 0xFFFFFF;
}

void analyse_colours(const Dib& dib, std::int32_t transparent_index, ImageEntry& entry,
                     std::vector<std::uint8_t>* true_colour_indices) {
  if (true_colour_indices != nullptr) {
    true_colour_indices->clear();
  }
  entry.colour_count = 0;
  entry.transparent_slot = -1;
  entry.palette.fill(PaletteEntry{});
  // A malformed Dib (never one from the loader) has no colours to read.
  if (dib.is_well_formed()) {
    if (dib.bits_per_pixel <= 8) {
      analyse_paletted(dib, transparent_index, entry);
    } else {
      if (dib.bits_per_pixel == 32) {
        analyse_true_colour<4>(dib, entry, true_colour_indices);
      } else {
        analyse_true_colour<3>(dib, entry, true_colour_indices);
      }
    }
  }
  // A Dib built by hand may leave the file depth unset.
  entry.bits_per_pixel =
      dib.file_bits_per_pixel != 0 ? dib.file_bits_per_pixel : dib.bits_per_pixel;
  entry.settings.transparent_key = automatic_transparent_key(dib, transparent_index);
  entry.settings.forced_width = dib.width;
  entry.settings.forced_height = dib.height;
}

void merge_colours(const ImageEntry& entry, ColourList& list) {
  if (entry.colour_count < 0 || list.count < 0) {
    list.count = -1;
    return;
  }
  const bool paletted = entry.bits_per_pixel <= 8;
  const std::int32_t start = entry.transparent_slot >= 0 ? 1 : 0;
  // The list's colours from `start` on, looked up by hash instead of a scan
  // of up to 256 entries for each colour of the picture.
  ColourIndex listed;
  for (std::int32_t j = start; j < list.count; ++j) {
    const PaletteEntry& known = list.entries[static_cast<std::size_t>(j)];
    listed.add(colour_key(known.blue, known.green, known.red), j);
  }
  std::int32_t slot = -1;  // position among the used colours
  std::int32_t visited = 0;
  for (std::size_t i = 0; i < kMaxColours && visited < entry.colour_count; ++i) {
    const PaletteEntry& colour = entry.palette[i];
    if (paletted && colour.flag != 0) {
      continue;
    }
    ++visited;
    ++slot;
    if (slot == entry.transparent_slot) {
      continue;
    }
    const std::uint32_t key = colour_key(colour.blue, colour.green, colour.red);
    if (listed.find(key) >= 0) {
      continue;
    }
    if (list.count >= kMaxColours) {
      list.count = -1;
      return;
    }
    list.entries[static_cast<std::size_t>(list.count)] = {colour.blue, colour.green, colour.red, 0};
    listed.add(key, list.count);
    ++list.count;
  }
}

bool replace_palette_colour(Dib& dib, std::int32_t index, ColorRef replacement) {
  if (replacement < 0 || dib.bits_per_pixel > 8 || index < 0 ||
      static_cast<std::size_t>(index) >= dib.colour_table.size()) {
    return false;
  }
  const DibColour colour = colorref_to_dib(replacement);
  dib.colour_table[static_cast<std::size_t>(index)] = {
      static_cast<std::uint8_t>(colour & 0xFF), static_cast<std::uint8_t>((colour >> 8) & 0xFF),
      static_cast<std::uint8_t>((colour >> 16) & 0xFF), 0};
  return true;
}

std::int64_t replace_true_colour(Dib& dib, DibColour key, ColorRef replacement) {
  if (key < 0 || dib.bits_per_pixel <= 8 || !dib.is_well_formed()) {
    return 0;
  }
  const std::size_t bytes_per_pixel = static_cast<std::size_t>(dib.bits_per_pixel) / 8;
  const auto key_blue = static_cast<std::uint8_t>(key & 0xFF);
  const auto key_green = static_cast<std::uint8_t>((key >> 8) & 0xFF);
  const auto key_red = static_cast<std::uint8_t>((key >> 16) & 0xFF);
  const DibColour colour = colorref_to_dib(replacement);
  std::int64_t changed = 0;
  for (std::int32_t row = 0; row < dib.height; ++row) {
    std::uint8_t* line = dib.pixels.data() + static_cast<std::size_t>(row) * dib.stride;
    for (std::int32_t x = 0; x < dib.width; ++x) {
      std::uint8_t* p = line + static_cast<std::size_t>(x) * bytes_per_pixel;
      // Three colour bytes only, also for 32 bits: the key has 24 bits, so a
      // picture whose fourth byte is not 0 (alpha) would never match if the
      // whole pixel were compared.
      if (p[0] != key_blue || p[1] != key_green || p[2] != key_red) {
        continue;
      }
      p[0] = static_cast<std::uint8_t>(colour & 0xFF);
      p[1] = static_cast<std::uint8_t>((colour >> 8) & 0xFF);
      p[2] = static_cast<std::uint8_t>((colour >> 16) & 0xFF);
      if (bytes_per_pixel == 4) {
        p[3] = 0;
      }
      ++changed;
    }
  }
  return changed;
}

}  // namespace piconel
