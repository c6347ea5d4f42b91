// load_image on 1024 x 1024 bitmap files with the colour analysis and the
// merge into a page palette, as the page pass runs it, and the true-colour
// distinct-colour scan on its own.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "bench_files.h"
#include "image/bitmap_reader.h"
#include "image/colour_analysis.h"
#include "image/load_image.h"

namespace piconel {
namespace {

constexpr int kSide = 1024;

// Colour number `i` of the true-colour pictures, distinct for every i below
// 65536 (0x00RRGGBB).
std::uint32_t true_colour(int i) {
  return 0x400000u | static_cast<std::uint32_t>(i);
}

// Pixel pattern with `colours` colours. `scattered`: neighbouring pixels
// differ, so the scan's last-hit shortcut rarely helps; otherwise runs of 16
// pixels share a colour, as in drawn sprites.
std::uint32_t colour_number(int x, int y, int colours, bool scattered) {
  if (scattered) {
    return static_cast<std::uint32_t>((x * 31 + y * 17) % colours);
  }
  return static_cast<std::uint32_t>((x / 16 + y) % colours);
}

std::vector<std::uint8_t> true_colour_file(int colours, bool scattered) {
  return bench::make_bitmap_file(kSide, kSide, 24, {}, [=](int x, int y) {
    return true_colour(static_cast<int>(colour_number(x, y, colours, scattered)));
  });
}

// The file of a picture, written once per kind and bits.
const std::string& picture_path(int bits, int colours, bool scattered) {
  static std::map<std::string, std::string> made;
  const std::string name = "picture" + std::to_string(bits) + "_" + std::to_string(colours) +
                           (scattered ? "s" : "r") + ".bmp";
  auto it = made.find(name);
  if (it == made.end()) {
    const std::string path = bench::scratch_file(name);
    if (bits == 8) {
      std::vector<std::uint32_t> palette;
      for (int i = 0; i < 256; ++i) {
        palette.push_back(true_colour(i));
      }
      bench::write_file(path, bench::make_bitmap_file(kSide, kSide, 8, palette, [=](int x, int y) {
                          return colour_number(x, y, colours, scattered);
                        }));
    } else {
      bench::write_file(path, true_colour_file(colours, scattered));
    }
    it = made.emplace(name, path).first;
  }
  return it->second;
}

// Arguments: bits per pixel, colours used, scattered (1) or in runs (0).
void BM_LoadImageWithAnalysis(benchmark::State& state) {
  const int bits = static_cast<int>(state.range(0));
  const int colours = static_cast<int>(state.range(1));
  const bool scattered = state.range(2) != 0;
  const std::string& path = picture_path(bits, colours, scattered);
  ImageEntry scratch;
  for (auto _ : state) {
    ColourList palette = ColourList::starting_with(make_colorref(255, 0, 255));
    LoadImageRequest request;
    request.path = path;
    request.replacement_colour = make_colorref(255, 0, 255);
    request.entry = &scratch;
    request.colour_list = &palette;
    const std::optional<Dib> picture = load_image(request);
    if (!picture) {
      state.SkipWithError("load failed");
      return;
    }
    benchmark::DoNotOptimize(palette.count);
  }
  state.counters["colours"] = scratch.colour_count;
  state.SetItemsProcessed(state.iterations() * kSide * kSide);
}
BENCHMARK(BM_LoadImageWithAnalysis)
    ->ArgNames({"bits", "colours", "scattered"})
    ->Args({8, 256, 1})
    ->Args({24, 16, 0})
    ->Args({24, 256, 0})
    ->Args({24, 256, 1})
    ->Args({24, 257, 1})
    ->Unit(benchmark::kMillisecond);

// The true-colour distinct-colour scan alone, on a picture in memory.
void BM_AnalyseTrueColour(benchmark::State& state) {
  const int colours = static_cast<int>(state.range(0));
  const bool scattered = state.range(1) != 0;
  BitmapReadResult read = read_bitmap_file(true_colour_file(colours, scattered));
  if (!read.ok()) {
    state.SkipWithError("bitmap refused");
    return;
  }
  ImageEntry entry;
  for (auto _ : state) {
    analyse_colours(read.dib, -1, entry);
    benchmark::DoNotOptimize(entry.colour_count);
  }
  state.counters["colours"] = entry.colour_count;
  state.SetItemsProcessed(state.iterations() * kSide * kSide);
}
BENCHMARK(BM_AnalyseTrueColour)
    ->ArgNames({"colours", "scattered"})
    ->Args({16, 0})
    ->Args({256, 0})
    ->Args({256, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace piconel
