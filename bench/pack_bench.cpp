// The sheet packer on page-sized sets: box, fill and time per set, with
// power-of-two sheets, and a plain MaxRects packer as the baseline.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "pack_sets.h"
#include "packing/max_rects.h"
#include "packing/rect_packer.h"

namespace piconel {
namespace {

const std::vector<bench::PackSet>& sets() {
  static const std::vector<bench::PackSet> made = bench::pack_sets();
  return made;
}

std::int64_t area_of(const std::vector<PackSize>& sizes) {
  std::int64_t area = 0;
  for (const PackSize& size : sizes) {
    area += std::int64_t{size.width} * size.height;
  }
  return area;
}

void report(benchmark::State& state, const bench::PackSet& set, std::int32_t width,
            std::int32_t height) {
  state.SetLabel(set.name);
  state.counters["box_w"] = width;
  state.counters["box_h"] = height;
  state.counters["fill_pct"] = fill_permille(area_of(set.sizes), width, height) / 10.0;
}

void BM_Pack(benchmark::State& state) {
  const bench::PackSet& set = sets()[static_cast<std::size_t>(state.range(0))];
  PackLayout layout;
  for (auto _ : state) {
    layout = pack_rectangles(set.sizes, {}, PackOptions{});
    benchmark::DoNotOptimize(layout);
  }
  report(state, set, layout.box_width, layout.box_height);
}

void BM_PackPowerOfTwo(benchmark::State& state) {
  const bench::PackSet& set = sets()[static_cast<std::size_t>(state.range(0))];
  PackOptions options;
  options.power_of_two = true;
  PackLayout layout;
  for (auto _ : state) {
    layout = pack_rectangles(set.sizes, {}, options);
    benchmark::DoNotOptimize(layout);
  }
  report(state, set, layout.sheet_width, layout.sheet_height);
}

// The baseline: MaxRects, best short side fit, images by area (largest
// first), in the smallest square bin (grown by 1/64 from the area's square
// root) that holds them all; the box is what it used.
void BM_PlainMaxRects(benchmark::State& state) {
  const bench::PackSet& set = sets()[static_cast<std::size_t>(state.range(0))];
  std::vector<std::uint32_t> order(set.sizes.size());
  for (std::uint32_t i = 0; i < order.size(); ++i) {
    order[i] = i;
  }
  std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
    return std::int64_t{set.sizes[a].width} * set.sizes[a].height >
           std::int64_t{set.sizes[b].width} * set.sizes[b].height;
  });
  std::int32_t box_width = 0;
  std::int32_t box_height = 0;
  MaxRectsBin bin;
  for (auto _ : state) {
    std::int32_t side = 1;
    while (std::int64_t{side} * side < area_of(set.sizes)) {
      ++side;
    }
    for (;; side += std::max(1, side / 64)) {
      bin.reset(side, side, {});
      box_width = box_height = 0;
      bool all = true;
      for (const std::uint32_t i : order) {
        PackPoint at;
        if (!bin.insert(set.sizes[i], FitRule::BestShortSide, at)) {
          all = false;
          break;
        }
        box_width = std::max(box_width, at.x + set.sizes[i].width);
        box_height = std::max(box_height, at.y + set.sizes[i].height);
      }
      if (all) {
        break;
      }
    }
    benchmark::DoNotOptimize(box_width);
  }
  report(state, set, box_width, box_height);
  state.counters["pot_fill_pct"] =
      fill_permille(area_of(set.sizes), power_of_two_at_least(box_width),
                    power_of_two_at_least(box_height)) /
      10.0;
}

void all_sets(benchmark::internal::Benchmark* bench) {
  for (std::size_t i = 0; i < sets().size(); ++i) {
    bench->Arg(static_cast<std::int64_t>(i));
  }
  bench->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_Pack)->Apply(all_sets);
BENCHMARK(BM_PackPowerOfTwo)->Apply(all_sets);
BENCHMARK(BM_PlainMaxRects)->Apply(all_sets);

}  // namespace
}  // namespace piconel
