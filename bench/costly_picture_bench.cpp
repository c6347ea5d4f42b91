// The tiny files of tests/data/image/costly whose headers claim pictures far
// larger than they hold: each must be refused at the cost of its bytes, not
// of its claim (the goal: well under 100 ms and a few MB each).

#include <benchmark/benchmark.h>

#include <string>

#include "image/load_image.h"

namespace piconel {
namespace {

const char* const kFiles[] = {
    "BadDimensions_png_wide_grey_alpha.png", "BadDimensions_png_huge_rgba.png",
    "TooLarge_png_32768_square_grey.png",    "Malformed_png_short_stream.png",
    "TooLarge_gif_32768_screen.gif",
};

void BM_RefuseCostlyPicture(benchmark::State& state) {
  const std::string path =
      std::string(PICONEL_SOURCE_DIR) + "/tests/data/image/costly/" + kFiles[state.range(0)];
  state.SetLabel(kFiles[state.range(0)]);
  LoadImageRequest request;
  request.path = path;
  for (auto _ : state) {
    if (load_image(request)) {
      state.SkipWithError("a costly picture was accepted");
      return;
    }
  }
}
BENCHMARK(BM_RefuseCostlyPicture)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace piconel
