#include "image/image_test_helpers.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "image/dib.h"

namespace piconel::testing {

void put_u16_le(Bytes& bytes, std::size_t pos, std::uint16_t value) {
  bytes.at(pos) = static_cast<std::uint8_t>(value);
  bytes.at(pos + 1) = static_cast<std::uint8_t>(value >> 8);
}

void put_u32_le(Bytes& bytes, std::size_t pos, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) {
    bytes.at(pos + i) = static_cast<std::uint8_t>(value >> (8 * i));
  }
}

Bytes make_bitmap(std::int32_t width, std::int32_t height, std::uint16_t depth,
                  const std::vector<PaletteEntry>& palette, const Bytes& pixel_bytes,
                  std::uint32_t colours_used, std::uint32_t compression) {
  const std::size_t offset = 54 + 4 * palette.size();
  Bytes file(offset, 0);
  file[0] = 'B';
  file[1] = 'M';
  put_u32_le(file, 2, static_cast<std::uint32_t>(offset + pixel_bytes.size()));
  put_u32_le(file, 10, static_cast<std::uint32_t>(offset));
  put_u32_le(file, 14, 40);
  put_u32_le(file, 18, static_cast<std::uint32_t>(width));
  put_u32_le(file, 22, static_cast<std::uint32_t>(height));
  put_u16_le(file, 26, 1);
  put_u16_le(file, 28, depth);
  put_u32_le(file, 30, compression);
  put_u32_le(file, 46, colours_used);
  for (std::size_t i = 0; i < palette.size(); ++i) {
    file[54 + 4 * i] = palette[i].blue;
    file[54 + 4 * i + 1] = palette[i].green;
    file[54 + 4 * i + 2] = palette[i].red;
    file[54 + 4 * i + 3] = palette[i].flag;
  }
  file.insert(file.end(), pixel_bytes.begin(), pixel_bytes.end());
  return file;
}

Bytes make_bitfields_bitmap(std::int32_t width, std::int32_t height, std::uint16_t depth,
                            std::uint32_t red_mask, std::uint32_t green_mask,
                            std::uint32_t blue_mask, const Bytes& pixel_bytes) {
  constexpr std::uint32_t kBiBitfields = 3;
  Bytes file = make_bitmap(width, height, depth, {}, {}, 0, kBiBitfields);
  file.resize(66, 0);
  put_u32_le(file, 10, 66);
  put_u32_le(file, 54, red_mask);
  put_u32_le(file, 58, green_mask);
  put_u32_le(file, 62, blue_mask);
  file.insert(file.end(), pixel_bytes.begin(), pixel_bytes.end());
  put_u32_le(file, 2, static_cast<std::uint32_t>(file.size()));
  return file;
}

Bytes pack_paletted_rows(std::int32_t width, std::int32_t height, std::uint16_t depth,
                         const std::vector<int>& indices_top_first) {
  const std::size_t stride = dib_stride(depth, width);
  Bytes pixels(stride * static_cast<std::size_t>(height), 0);
  for (std::int32_t y = 0; y < height; ++y) {
    const std::size_t row = static_cast<std::size_t>(height - 1 - y) * stride;
    for (std::int32_t x = 0; x < width; ++x) {
      const int index = indices_top_first.at(static_cast<std::size_t>(y * width + x));
      const std::size_t bit = static_cast<std::size_t>(x) * depth;
      const unsigned shift = static_cast<unsigned>(8 - depth - bit % 8);
      pixels[row + bit / 8] |= static_cast<std::uint8_t>(index << shift);
    }
  }
  return pixels;
}

Bytes make_paletted_bitmap(std::int32_t width, std::int32_t height, std::uint16_t depth,
                           const std::vector<PaletteEntry>& palette,
                           const std::vector<int>& indices_top_first, std::uint32_t colours_used) {
  return make_bitmap(width, height, depth, palette,
                     pack_paletted_rows(width, height, depth, indices_top_first), colours_used);
}

Bytes make_true_colour_bitmap(std::int32_t width, std::int32_t height, std::uint16_t depth,
                              const std::vector<std::uint32_t>& colours_top_first) {
  const std::size_t stride = dib_stride(depth, width);
  const std::size_t bytes_per_pixel = depth / 8;
  Bytes pixels(stride * static_cast<std::size_t>(height), 0);
  for (std::int32_t y = 0; y < height; ++y) {
    const std::size_t row = static_cast<std::size_t>(height - 1 - y) * stride;
    for (std::int32_t x = 0; x < width; ++x) {
      const std::uint32_t colour = colours_top_first.at(static_cast<std::size_t>(y * width + x));
      std::uint8_t* p = &pixels[row + static_cast<std::size_t>(x) * bytes_per_pixel];
      p[0] = static_cast<std::uint8_t>(colour);
      p[1] = static_cast<std::uint8_t>(colour >> 8);
      p[2] = static_cast<std::uint8_t>(colour >> 16);
    }
  }
  return make_bitmap(width, height, depth, {}, pixels);
}

PaletteEntry rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return PaletteEntry{blue, green, red, 0};
}

std::optional<Ppm> read_ppm(const std::string& path) {
  std::ifstream in(path);
  std::string magic;
  int max_value = 0;
  Ppm ppm;
  if (!(in >> magic >> ppm.width >> ppm.height >> max_value) || magic != "P3" || max_value != 255) {
    return std::nullopt;
  }
  for (std::int32_t i = 0; i < ppm.width * ppm.height; ++i) {
    unsigned red = 0;
    unsigned green = 0;
    unsigned blue = 0;
    if (!(in >> red >> green >> blue)) {
      return std::nullopt;
    }
    ppm.colours.push_back((red << 16) | (green << 8) | blue);
  }
  return ppm;
}

std::string fixture_path(std::string_view name) {
  return std::string(PICONEL_TEST_DATA_DIR) + "/image/" + std::string(name);
}

Bytes read_fixture(std::string_view name) {
  std::ifstream in(fixture_path(name), std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

ScratchFolder::ScratchFolder() {
  static std::atomic<int> counter{0};
  std::error_code error;
  const auto base = std::filesystem::temp_directory_path(error);
  // Several test programs may run at once: a random tag keeps them apart.
  const unsigned tag = std::random_device{}();
  for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
    const auto candidate =
        base / ("piconel_image_test_" + std::to_string(tag) + "_" + std::to_string(counter++));
    if (std::filesystem::create_directory(candidate, error)) {
      path_ = candidate.string() + "/";
    }
  }
}

ScratchFolder::~ScratchFolder() {
  if (!path_.empty()) {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
  }
}

std::string ScratchFolder::write(std::string_view name, std::span<const std::uint8_t> bytes) const {
  const std::string path = path_ + std::string(name);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return path;
}

}  // namespace piconel::testing
