#pragma once

// The generated project of the output benchmark: 64 pages of 256 sprites
// each, 8 to 64 pixels square-ish, stored as 4-, 8-, 24- and 32-bit bitmap
// files (some with a transparent key), every table switched on. The same
// seed always gives the same files byte for byte.

#include <string>

namespace piconel::bench {

inline constexpr int kBenchPages = 64;
inline constexpr int kBenchSpritesPerPage = 256;

struct SpriteProject {
  std::string folder;        // ends in '/'
  std::string project_path;  // "<folder>bench.ijp"
  long long input_bytes = 0;
  int input_files = 0;
};

// Writes the sprites into "<folder>sprites/" and the project file.
[[nodiscard]] SpriteProject write_sprite_project(const std::string& folder);

}  // namespace piconel::bench
