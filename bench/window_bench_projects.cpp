// Writes the two projects of the window benchmark into a folder, natively
// (under Wine, writing 80,000 small files takes many minutes):
//   DIR/bench/bench.ijp  the output benchmark's 64 pages x 256 sprites
//   DIR/tiny/tiny.ijp    the largest project, 256 pages x 256 sprites of 4 x 4
//
//   window_bench_projects DIR

#include <cstdio>
#include <string>

#include "sprite_project.h"
#include "tiny_project.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: window_bench_projects DIR\n");
    return 2;
  }
  std::string folder = argv[1];
  if (folder.back() != '/') {
    folder += '/';
  }
  const piconel::bench::SpriteProject sprites =
      piconel::bench::write_sprite_project(folder + "bench/");
  const std::string tiny = piconel::bench::write_tiny_project(folder + "tiny/");
  std::printf("%s\n%s\n", sprites.project_path.c_str(), tiny.c_str());
  return 0;
}
