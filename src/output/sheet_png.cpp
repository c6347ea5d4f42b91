#include "output/sheet_png.h"

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <csetjmp>

#include "output/output_file.h"
#include "store/no_throw.h"

namespace piconel {
namespace {

// IDAT chunks of this size: fewer chunk headers than libpng's 8 KiB default.
constexpr std::size_t kIdatBytes = 256 * 1024;
// The deflate level the filter trials are compared at.
constexpr int kTrialLevel = 3;

// libpng's write callback into memory; running out of memory is a libpng
// error like any other.
void write_to_memory(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
  if (!allocation_succeeds([&] { out->insert(out->end(), data, data + length); })) {
    png_error(png, "out of memory");
  }
}
void flush_nothing(png_structp) {}

// libpng reports errors by calling this and expects it not to return: it
// jumps back to the setjmp in write_png. The jump passes only libpng's C
// frames and write_to_memory, which hold no objects with destructors then.
[[noreturn]] void on_error(png_structp png, png_const_charp) {
  png_longjmp(png, 1);
}
void on_warning(png_structp, png_const_charp) {}

// png_create_write_struct and png_create_info_struct, released together.
class PngWriteStruct {
 public:
  PngWriteStruct()
      : png_(png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, on_error, on_warning)) {
    if (png_ != nullptr) {
      info_ = png_create_info_struct(png_);
    }
  }
  PngWriteStruct(const PngWriteStruct&) = delete;
  PngWriteStruct& operator=(const PngWriteStruct&) = delete;
  ~PngWriteStruct() {
    if (png_ != nullptr) {
      png_destroy_write_struct(&png_, info_ != nullptr ? &info_ : nullptr);
    }
  }
  [[nodiscard]] bool ok() const { return png_ != nullptr && info_ != nullptr; }
  png_structp png() const { return png_; }
  png_infop info() const { return info_; }

 private:
  png_structp png_;
  png_infop info_ = nullptr;
};

// Everything the chunks need, worked out before libpng is called.
struct PngPlan {
  int colour_type = PNG_COLOR_TYPE_RGB;
  int bit_depth = 8;
  std::array<png_color, kMaxColours> palette{};
  int palette_size = 0;
  std::array<png_byte, kMaxColours> alpha{};
  int alpha_size = 0;  // 0: no tRNS for the palette
  bool rgb_key = false;
  png_color_16 key{};
};

int bits_for_colours(int colours) {
  if (colours <= 2) {
    return 1;
  }
  if (colours <= 4) {
    return 2;
  }
  return colours <= 16 ? 4 : 8;
}

std::optional<PngPlan> plan_png(const SheetPixels& pixels,
                                std::optional<PaletteEntry> transparent) {
  PngPlan plan;
  if (pixels.bits_per_pixel != 8) {
    if (transparent) {
      plan.rgb_key = true;
      plan.key.red = transparent->red;
      plan.key.green = transparent->green;
      plan.key.blue = transparent->blue;
    }
    return plan;
  }
  plan.colour_type = PNG_COLOR_TYPE_PALETTE;
  std::uint8_t highest = 0;
  const auto width = static_cast<std::size_t>(pixels.width);
  for (std::int32_t y = 0; y < pixels.height && highest < 255; ++y) {
    const std::uint8_t* row = pixels.row_from_top(y);
    highest = std::max(highest, *std::max_element(row, row + width));
  }
  if (highest >= pixels.colour_table.size()) {
    return std::nullopt;
  }
  plan.palette_size = highest + 1;
  plan.bit_depth = bits_for_colours(plan.palette_size);
  for (int i = 0; i < plan.palette_size; ++i) {
    const PaletteEntry& colour = pixels.colour_table[static_cast<std::size_t>(i)];
    plan.palette[static_cast<std::size_t>(i)] = {colour.red, colour.green, colour.blue};
    const bool clear = transparent && colour.same_colour(*transparent);
    plan.alpha[static_cast<std::size_t>(i)] = clear ? 0 : 255;
    if (clear) {
      plan.alpha_size = i + 1;
    }
  }
  return plan;
}

// The one phase with a setjmp for libpng's errors. It creates no C++
// objects, so a jump back into it skips no destructor.
bool write_png(png_structp png, png_infop info, const SheetPixels& pixels, const PngPlan& plan,
               int filters, int level, png_bytepp rows) {
  if (setjmp(png_jmpbuf(png)) != 0) {
    return false;
  }
  png_set_IHDR(png, info, static_cast<png_uint_32>(pixels.width),
               static_cast<png_uint_32>(pixels.height), plan.bit_depth, plan.colour_type,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (plan.colour_type == PNG_COLOR_TYPE_PALETTE) {
    png_set_PLTE(png, info, plan.palette.data(), plan.palette_size);
    if (plan.alpha_size > 0) {
      png_set_tRNS(png, info, plan.alpha.data(), plan.alpha_size, nullptr);
    }
  } else if (plan.rgb_key) {
    png_set_tRNS(png, info, nullptr, 0, &plan.key);
  }
  png_set_filter(png, PNG_FILTER_TYPE_BASE, filters);
  png_set_compression_level(png, level);
  png_set_compression_mem_level(png, 9);
  png_set_compression_window_bits(png, 15);
  png_set_compression_strategy(png, Z_DEFAULT_STRATEGY);
  png_set_compression_buffer_size(png, kIdatBytes);
  png_write_info(png, info);
  if (plan.colour_type == PNG_COLOR_TYPE_PALETTE) {
    png_set_packing(png);  // one index per byte in, bit_depth bits out
  } else {
    png_set_bgr(png);
  }
  png_write_image(png, rows);
  png_write_end(png, nullptr);
  return true;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> encode_sheet_png(const SheetPixels& pixels,
                                                          std::optional<PaletteEntry> transparent) {
  if (pixels.width < 1 || pixels.height < 1 ||
      (pixels.bits_per_pixel != 8 && pixels.bits_per_pixel != 24)) {
    return std::nullopt;
  }
  const std::optional<PngPlan> plan = plan_png(pixels, transparent);
  if (!plan) {
    return std::nullopt;
  }
  std::vector<png_bytep> rows;
  if (!try_resize(rows, static_cast<std::size_t>(pixels.height))) {
    return std::nullopt;
  }
  for (std::int32_t y = 0; y < pixels.height; ++y) {
    // libpng copies each row before transforming it: the rows stay as they are.
    rows[static_cast<std::size_t>(y)] = const_cast<png_bytep>(pixels.row_from_top(y));
  }
  const auto encode = [&](int filters, int level) -> std::optional<std::vector<std::uint8_t>> {
    std::vector<std::uint8_t> file;
    PngWriteStruct writer;
    if (!writer.ok()) {
      return std::nullopt;
    }
    png_set_write_fn(writer.png(), &file, write_to_memory, flush_nothing);
    if (!write_png(writer.png(), writer.info(), pixels, *plan, filters, level, rows.data())) {
      return std::nullopt;
    }
    return file;
  };
  // Palette rows mostly compress best unfiltered, but sheets of smooth
  // pictures gain from filtering. Which one wins shows already at a fast
  // level, so only the winner is compressed hard. RGB rows take libpng's
  // adaptive choice per row.
  int filters = PNG_ALL_FILTERS;
  if (plan->colour_type == PNG_COLOR_TYPE_PALETTE) {
    const auto unfiltered = encode(PNG_FILTER_NONE, kTrialLevel);
    const auto filtered = encode(PNG_ALL_FILTERS, kTrialLevel);
    if (!unfiltered || !filtered) {
      return std::nullopt;
    }
    filters = unfiltered->size() <= filtered->size() ? PNG_FILTER_NONE : PNG_ALL_FILTERS;
  }
  return encode(filters, Z_BEST_COMPRESSION);
}

bool write_sheet_png(std::string_view path, const SheetPixels& pixels,
                     std::optional<PaletteEntry> transparent, bool if_changed) {
  const std::optional<std::vector<std::uint8_t>> file = encode_sheet_png(pixels, transparent);
  return file && write_output_file(path, *file, if_changed);
}

}  // namespace piconel
