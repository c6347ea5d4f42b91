#include "bench_files.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

namespace piconel::bench {
namespace {

// Owns the scratch folder; removes it with everything in it at exit.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::random_device random;
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
      const std::filesystem::path candidate =
          base / ("piconel-bench-" + std::to_string(random() % 1000000000u));
      std::error_code error;
      if (std::filesystem::create_directory(candidate, error)) {
        path_ = candidate;
        break;
      }
    }
    if (path_.empty()) {
      std::fprintf(stderr, "bench: cannot make a scratch folder in %s\n", base.string().c_str());
      std::abort();
    }
    folder_ = path_.string() + "/";
  }
  ~ScratchFolder() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& folder() const { return folder_; }

 private:
  std::filesystem::path path_;
  std::string folder_;
};

void put_u16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
  out[at] = static_cast<std::uint8_t>(value & 0xFF);
  out[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

void put_u32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
  put_u16(out, at, value & 0xFFFF);
  put_u16(out, at + 2, value >> 16);
}

}  // namespace

const std::string& scratch_folder() {
  static const ScratchFolder folder;
  return folder.folder();
}

std::string scratch_file(const std::string& name) {
  return scratch_folder() + name;
}

std::vector<std::uint8_t> make_bitmap_file(
    int width, int height, int bits, const std::vector<std::uint32_t>& palette,
    const std::function<std::uint32_t(int x, int y)>& pixel) {
  const bool indexed = bits <= 8;
  const std::size_t stride =
      (static_cast<std::size_t>(width) * static_cast<std::size_t>(bits) + 31) / 32 * 4;
  const std::size_t table = indexed ? 4 * palette.size() : 0;
  const std::size_t offset = 54 + table;
  std::vector<std::uint8_t> out(offset + stride * static_cast<std::size_t>(height), 0);
  out[0] = 'B';
  out[1] = 'M';
  put_u32(out, 2, static_cast<std::uint32_t>(out.size()));
  put_u32(out, 10, static_cast<std::uint32_t>(offset));
  put_u32(out, 14, 40);
  put_u32(out, 18, static_cast<std::uint32_t>(width));
  put_u32(out, 22, static_cast<std::uint32_t>(height));
  put_u16(out, 26, 1);
  put_u16(out, 28, static_cast<std::uint32_t>(bits));
  put_u32(out, 34, static_cast<std::uint32_t>(stride * static_cast<std::size_t>(height)));
  if (indexed) {
    put_u32(out, 46, static_cast<std::uint32_t>(palette.size()));
    for (std::size_t i = 0; i < palette.size(); ++i) {
      put_u32(out, 54 + 4 * i, palette[i] & 0xFFFFFF);
    }
  }
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = out.data() + offset + static_cast<std::size_t>(height - 1 - y) * stride;
    for (int x = 0; x < width; ++x) {
      const std::uint32_t value = pixel(x, y);
      if (bits == 8) {
        row[x] = static_cast<std::uint8_t>(value);
      } else if (bits == 4) {
        // Two pixels a byte, the left one in the high half.
        row[x / 2] |= static_cast<std::uint8_t>((value & 0x0F) << (x % 2 == 0 ? 4 : 0));
      } else {
        std::uint8_t* p = row + static_cast<std::size_t>(bits / 8) * static_cast<std::size_t>(x);
        p[0] = static_cast<std::uint8_t>(value & 0xFF);
        p[1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
        p[2] = static_cast<std::uint8_t>((value >> 16) & 0xFF);
      }
    }
  }
  return out;
}

void write_file(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    std::fprintf(stderr, "bench: cannot write %s\n", path.c_str());
    std::abort();
  }
}

void write_file(const std::string& path, const std::string& text) {
  write_file(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

}  // namespace piconel::bench
