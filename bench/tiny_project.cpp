#include "tiny_project.h"

#include <cstdio>
#include <filesystem>
#include <vector>

#include "bench_files.h"

namespace piconel::bench {

std::string write_tiny_project(const std::string& folder) {
  std::filesystem::create_directories(folder + "tiny");
  // ピコネルプロジェクト
  std::string text =
      "[INFOMATION]\r\nAPPLICATIONNAME=\x83\x73\x83\x52\x83\x6c\x83\x8b\x83\x76\x83\x8d\x83\x57"
      "\x83\x46\x83\x4e\x83\x67\r\nAPPLICATIONVERSION=1.0.8\r\n[PAGELIST]\r\n";
  char line[160];
  for (int page = 0; page < kTinyPages; ++page) {
    std::snprintf(line, sizeof line, "tiny%03d\r\n", page);
    text += line;
  }
  text +=
      "[PROPERTY]\r\nCURRENTPAGE=0\r\nOUTPUTENABLE=0\r\nOUTPUT_BMP=1\r\nOUTPUT_LABEL=1\r\n"
      "OUTPUT_TABLE_TEXT=1\r\nOUTPUT_TABLE_LITTLE=1\r\nOUTPUT_TABLE_BIG=1\r\n";
  constexpr int kPerRow = 16;
  const int page_side = kPerRow * kTinySide;
  std::string lists;
  for (int page = 0; page < kTinyPages; ++page) {
    std::snprintf(line, sizeof line,
                  "[PROPERTY:tiny%03d]\r\nPAGELABEL=T%03d\r\nPUTIMAGEWIDTH=%d\r\n"
                  "PUTIMAGEHEIGHT=%d\r\n",
                  page, page, page_side, page_side);
    text += line;
    std::snprintf(line, sizeof line, "[FILELIST:tiny%03d]\r\n", page);
    lists += line;
    // Sixteen colours a page, shifted from page to page.
    std::vector<std::uint32_t> palette;
    for (int i = 0; i < 16; ++i) {
      palette.push_back(static_cast<std::uint32_t>((page * 7919 + i * 40503) & 0xFFFFFF));
    }
    for (int i = 0; i < kTinySpritesPerPage; ++i) {
      char file[32];
      std::snprintf(file, sizeof file, "t%03d_%03d.bmp", page, i);
      write_file(folder + "tiny/" + file,
                 make_bitmap_file(kTinySide, kTinySide, 4, palette, [&](int x, int y) {
                   return static_cast<std::uint32_t>((i + x + y) % 16);
                 }));
      std::snprintf(line, sizeof line, "tiny\\%s\t%d\t%d\tT%03d\t0\t4\t4\t0\t-1\r\n", file,
                    i % kPerRow * kTinySide, i / kPerRow * kTinySide, i);
      lists += line;
    }
  }
  write_file(folder + "tiny.ijp", text + lists);
  return folder + "tiny.ijp";
}

}  // namespace piconel::bench
