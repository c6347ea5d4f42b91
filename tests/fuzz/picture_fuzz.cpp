// The readers of picture bytes: the bitmap reader, the PNG and GIF decoders
// behind the one answer check, the check of a plug-in's answer, and the
// transparency probes. What they accept must be a well-formed picture whose
// every pixel the colour work and the output may read.

#include <optional>
#include <string_view>

#include "fuzz/fuzz_targets.h"
#include "image/bitmap_reader.h"
#include "image/built_in_decoder.h"
#include "image/colour_analysis.h"
#include "image/picture_decoder.h"
#include "image/transparency_probe.h"

namespace piconel::fuzz {

namespace {

void exercise(Dib dib) {
  require(dib.is_well_formed(), "accepted picture is not well formed");
  require(check_picture_size(dib.width, dib.height) == PictureSizeCheck::Ok,
          "accepted picture above the limits");
  ImageEntry entry;
  analyse_colours(dib, 1, entry);
  require(entry.colour_count >= -1 && entry.colour_count <= 256, "colour count out of range");
  ColourList list = ColourList::starting_with(make_colorref(255, 255, 255));
  merge_colours(entry, list);
  static_cast<void>(replace_palette_colour(dib, 1, make_colorref(1, 2, 3)));
  static_cast<void>(replace_true_colour(dib, entry.settings.transparent_key, -1));
  // Corners and one step outside: every read stays inside.
  for (const std::int32_t y : {-1, 0, dib.height - 1, dib.height}) {
    for (const std::int32_t x : {-1, 0, dib.width - 1, dib.width}) {
      static_cast<void>(dib.pixel(x, y));
      static_cast<void>(dib.palette_index(x, y));
    }
  }
}

void decode_as(std::string_view extension, std::span<const std::uint8_t> file) {
  std::optional<DecodedPicture> picture = decode_built_in(extension, file);
  if (picture) {
    require(picture->probed_transparent_index >= -1 && picture->probed_transparent_index <= 255,
            "probed index out of range");
    exercise(std::move(picture->dib));
  }
}

}  // namespace

int bmp(const std::uint8_t* data, std::size_t size) {
  BitmapReadResult result = read_bitmap_file({data, size});
  if (result.ok()) {
    exercise(std::move(result.dib));
  }
  return 0;
}

int png(const std::uint8_t* data, std::size_t size) {
  decode_as(".png", {data, size});
  return 0;
}

int gif(const std::uint8_t* data, std::size_t size) {
  decode_as(".gif", {data, size});
  return 0;
}

// The first two bytes split the rest into the BITMAPINFO block and the
// pixel block, as a plug-in hands them over.
int plugin(const std::uint8_t* data, std::size_t size) {
  if (size < 2) {
    return 0;
  }
  const std::span<const std::uint8_t> rest(data + 2, size - 2);
  const std::size_t split = (data[0] | (std::size_t{data[1]} << 8)) % (rest.size() + 1);
  std::optional<Dib> dib = accept_decoder_answer(rest.first(split), rest.subspan(split));
  if (dib) {
    exercise(std::move(*dib));
  }
  return 0;
}

int probe(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  for (const std::int32_t index :
       {png_transparent_index(bytes), gif_transparent_index(bytes),
        probe_transparent_index("a.png", bytes), probe_transparent_index("a.GIF", bytes)}) {
    require(index >= -1 && index <= 255, "probe result out of range");
  }
  return 0;
}

}  // namespace piconel::fuzz
