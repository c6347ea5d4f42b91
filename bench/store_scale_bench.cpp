// The store at scale: the heap a loaded project holds per byte of its file
// (three shapes of about 24 MB: image rows as the program writes them, the
// shortest rows a file can hold, and section headers alone), and the time
// to output a project of 16,000 empty pages, where every page pass looks
// its two sections up by name.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

#include "bench_files.h"
#include "output/output_run.h"
#include "store/document_store.h"

namespace piconel {
namespace {

constexpr std::size_t kProjectBytes = std::size_t{24} << 20;
constexpr int kEmptyPages = 16000;

// Bytes the C heap hands out now, small blocks and mapped ones alike.
double heap_bytes() {
  const struct mallinfo2 info = mallinfo2();
  return static_cast<double>(info.uordblks) + static_cast<double>(info.hblkhd);
}

// A file of `header` followed by `line(i)` for i = 0, 1, ... until it holds
// about kProjectBytes.
std::string file_of(std::string_view header, const std::function<std::string(int)>& line) {
  std::string text(header);
  for (int i = 0; text.size() < kProjectBytes; ++i) {
    text += line(i);
  }
  return text;
}

std::string image_rows_project() {
  return file_of("[PAGELIST]\r\npage000\r\n[FILELIST:page000]\r\n", [](int i) {
    char row[160];
    std::snprintf(
        row, sizeof row,
        "C:\\work\\sprites\\page000\\sprite%06d.bmp\t%d\t%d\tSPRITE%06d\t0\t64\t64\t1\t-1\r\n", i,
        (i % 16) * 64, (i / 16) % 512 * 64, i);
    return std::string(row);
  });
}

std::string short_rows_project() {
  return file_of("[ROWS]\r\n", [](int) { return std::string("1\r\n"); });
}

std::string headers_only_project() {
  return file_of("", [](int) { return std::string("[]\r\n"); });
}

// Loads the file once per iteration into a fresh store and reports the heap
// it holds: store_MB and heap bytes per file byte.
void measure_store_heap(benchmark::State& state, const std::string& name, const std::string& text) {
  const std::string path = bench::scratch_file(name);
  bench::write_file(path, text);
  double held = 0;
  for (auto _ : state) {
    const double before = heap_bytes();
    DocumentStore store;
    if (!store.load(path, false)) {
      state.SkipWithError("load failed");
      return;
    }
    held = heap_bytes() - before;
    benchmark::DoNotOptimize(store.first_section());
  }
  state.counters["file_MB"] = static_cast<double>(text.size()) / (1 << 20);
  state.counters["store_MB"] = held / (1 << 20);
  state.counters["per_file_byte"] = held / static_cast<double>(text.size());
}

void BM_StoreHeapImageRows(benchmark::State& state) {
  measure_store_heap(state, "rows.ijp", image_rows_project());
}
BENCHMARK(BM_StoreHeapImageRows)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_StoreHeapShortRows(benchmark::State& state) {
  measure_store_heap(state, "short.ijp", short_rows_project());
}
BENCHMARK(BM_StoreHeapShortRows)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_StoreHeapHeadersOnly(benchmark::State& state) {
  measure_store_heap(state, "headers.ijp", headers_only_project());
}
BENCHMARK(BM_StoreHeapHeadersOnly)->Unit(benchmark::kMillisecond)->Iterations(2);

class SilentPort : public OutputRunPort {
 public:
  bool choose_output_folder(std::string&) override { return false; }
  void show_error(std::string_view, std::string_view) override {}
};

// The output run of 16,000 pages without images: no bitmaps, empty tables.
void BM_OutputEmptyPages16000(benchmark::State& state) {
  std::string text =
      "[PROPERTY]\r\nOUTPUT_BMP=1\r\nOUTPUT_LABEL=1\r\nOUTPUT_TABLE_TEXT=1\r\n"
      "OUTPUT_TABLE_LITTLE=1\r\nOUTPUT_TABLE_BIG=1\r\n[PAGELIST]\r\n";
  char name[32];
  for (int page = 0; page < kEmptyPages; ++page) {
    std::snprintf(name, sizeof name, "page%05d\r\n", page);
    text += name;
  }
  for (int page = 0; page < kEmptyPages; ++page) {
    std::snprintf(name, sizeof name, "page%05d", page);
    text += std::string("[PROPERTY:") + name + "]\r\nPAGELABEL=P\r\n[FILELIST:" + name + "]\r\n";
  }
  DocumentStore store;
  if (!store.parse(text)) {
    state.SkipWithError("project refused");
    return;
  }
  SilentPort port;
  for (auto _ : state) {
    OutputRunRequest request;
    request.project = &store;
    request.output_folder = bench::scratch_folder();
    request.port = &port;
    const OutputRunResult result = run_output(request);
    if (!result.ran || !result.failed_pages.empty()) {
      state.SkipWithError("output failed");
      return;
    }
  }
  state.SetItemsProcessed(state.iterations() * kEmptyPages);
}
BENCHMARK(BM_OutputEmptyPages16000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace piconel
