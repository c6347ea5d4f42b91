#include "sprite_project.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "bench_files.h"

namespace piconel::bench {
namespace {

// A fixed linear congruential generator, so every run writes the same files.
class Random {
 public:
  std::uint32_t next() {
    state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<std::uint32_t>(state_ >> 33);
  }
  int between(int low, int high) {
    return low + static_cast<int>(next() % static_cast<std::uint32_t>(high - low + 1));
  }

 private:
  std::uint64_t state_ = 0x5049434F4E454Cull;
};

// Sheet width the sprites are shelved into.
constexpr int kShelfWidth = 1024;
constexpr std::uint32_t kBackground = 0xFF00FF;  // TRANSPARENTCOLOR=255,0,255

struct Sprite {
  int bits = 0;
  int width = 0;
  int height = 0;
  int key = -1;  // transparent key of the row, -1 for none
};

// Colours of one page's sprites: a small set shared by the page so most
// pages stay within 256 colours; every eighth page gets many more colours
// and is written with 24 bits.
std::uint32_t page_colour(int page, int i) {
  return static_cast<std::uint32_t>((page * 40503 + i * 2654435761u) & 0xFEFEFE) | 0x010000;
}

std::vector<std::uint8_t> sprite_file(Random& random, int page, const Sprite& s) {
  const bool rich = page % 8 == 7;
  const int colours = rich ? 4096 : 48;
  const int first = random.between(0, 200);
  if (s.bits <= 8) {
    std::vector<std::uint32_t> palette;
    const int size = s.bits == 4 ? 16 : 64;
    for (int i = 0; i < size; ++i) {
      palette.push_back(page_colour(page, (first + i) % colours));
    }
    return make_bitmap_file(s.width, s.height, s.bits, palette, [&](int x, int y) {
      return static_cast<std::uint32_t>((x / 2 + y * 3) % size);
    });
  }
  return make_bitmap_file(s.width, s.height, s.bits, {}, [&](int x, int y) {
    if (x == 0 || y == 0) {
      return kBackground;
    }
    return page_colour(page, rich ? (first + x * 61 + y * 7) % colours : (first + x + y) % colours);
  });
}

}  // namespace

SpriteProject write_sprite_project(const std::string& folder) {
  SpriteProject project;
  project.folder = folder;
  project.project_path = folder + "bench.ijp";
  std::filesystem::create_directories(folder + "sprites");
  Random random;
  // ピコネルプロジェクト
  std::string text =
      "[INFOMATION]\r\nAPPLICATIONNAME=\x83\x73\x83\x52\x83\x6c\x83\x8b\x83\x76\x83\x8d\x83\x57"
      "\x83\x46\x83\x4e\x83\x67\r\nAPPLICATIONVERSION=1.0.8\r\n[PAGELIST]\r\n";
  char name[64];
  for (int page = 0; page < kBenchPages; ++page) {
    std::snprintf(name, sizeof name, "page%03d\r\n", page);
    text += name;
  }
  text +=
      "[PROPERTY]\r\nCURRENTPAGE=0\r\nOUTPUTENABLE=0\r\nOUTPUT_BMP=1\r\nOUTPUT_LABEL=1\r\n"
      "OUTPUT_LABEL_FORMAT=IMG_%PAGE%_%FILE%\r\nOUTPUT_LABEL_PAGENUM=1\r\n"
      "OUTPUT_TABLE_TEXT=1\r\nOUTPUT_TABLE_LITTLE=1\r\nOUTPUT_TABLE_BIG=1\r\n"
      "TRANSPARENTENABLE=1\r\nTRANSPARENTCOLOR=255,0,255\r\n";
  std::string lists;
  for (int page = 0; page < kBenchPages; ++page) {
    std::snprintf(name, sizeof name, "page%03d", page);
    lists += std::string("[FILELIST:") + name + "]\r\n";
    int x = 0;
    int y = 0;
    int shelf = 0;
    int used_width = 0;
    for (int i = 0; i < kBenchSpritesPerPage; ++i) {
      static constexpr int kDepths[] = {4, 8, 24, 32};
      Sprite s;
      s.bits = kDepths[random.next() % 4];
      s.width = random.between(8, 64);
      s.height = random.between(8, 64);
      if (random.next() % 4 == 0) {
        s.key = s.bits <= 8 ? 0 : static_cast<int>(kBackground);
      }
      if (x + s.width > kShelfWidth) {
        x = 0;
        y += shelf;
        shelf = 0;
      }
      char file[64];
      std::snprintf(file, sizeof file, "p%03d_%03d.bmp", page, i);
      const std::vector<std::uint8_t> bytes = sprite_file(random, page, s);
      write_file(folder + "sprites/" + file, bytes);
      project.input_bytes += static_cast<long long>(bytes.size());
      ++project.input_files;
      char row[160];
      std::snprintf(row, sizeof row, "sprites\\%s\t%d\t%d\tS%03d\t0\t%d\t%d\t%d\t%d\r\n", file, x,
                    y, i, s.width, s.height, s.key >= 0 ? 1 : 0, s.key);
      lists += row;
      x += s.width;
      used_width = std::max(used_width, x);
      shelf = std::max(shelf, s.height);
    }
    char property[160];
    std::snprintf(property, sizeof property,
                  "[PROPERTY:%s]\r\nPAGELABEL=P%03d\r\nPUTIMAGEWIDTH=%d\r\nPUTIMAGEHEIGHT=%d\r\n",
                  name, page, used_width, y + shelf);
    text += property;
  }
  text += lists;
  write_file(project.project_path, text);
  return project;
}

}  // namespace piconel::bench
