#pragma once

// Inputs of the benchmarks: a scratch folder made when the program starts
// and removed when it ends, and bitmap files built byte by byte.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace piconel::bench {

// The scratch folder of this run, ending in '/'; made on first use.
const std::string& scratch_folder();

// "<scratch folder><name>".
std::string scratch_file(const std::string& name);

// A bottom-up BITMAPINFOHEADER bitmap file of `bits` 4, 8, 24 or 32
// (BI_RGB). For 4 and 8 bits `palette` (0x00RRGGBB) is the colour table and
// `pixel` gives indices; for 24 and 32 bits `pixel` gives 0x00RRGGBB. `pixel` takes (x, y from the
// top).
std::vector<std::uint8_t> make_bitmap_file(int width, int height, int bits,
                                           const std::vector<std::uint32_t>& palette,
                                           const std::function<std::uint32_t(int x, int y)>& pixel);

// Writes `bytes` to `path`; aborts the program when that fails.
void write_file(const std::string& path, const std::vector<std::uint8_t>& bytes);
void write_file(const std::string& path, const std::string& text);

}  // namespace piconel::bench
