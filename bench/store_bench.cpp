// The document store on a large project: 256 pages of 256 image rows each,
// loaded from its file, walked the way the page pass reads it, and saved.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "bench_files.h"
#include "store/document_store.h"

namespace piconel {
namespace {

constexpr int kPages = 256;
constexpr int kRowsPerPage = 256;

std::string page_name(int page) {
  char name[16];
  std::snprintf(name, sizeof name, "page%03d", page);
  return name;
}

// A project file as the program writes it, CR LF line ends.
std::string large_project_text() {
  std::string text =
      "[INFOMATION]\r\nAPPLICATIONNAME=Piconel\r\nAPPLICATIONVERSION=1.0.8\r\n"
      "[PROPERTY]\r\nOUTPUT_BMP=1\r\nOUTPUT_LABEL=1\r\nOUTPUT_LABEL_FORMAT=IMG_%PAGE%_%FILE%\r\n"
      "CURRENTPAGE=0\r\n[PAGELIST]\r\n";
  for (int page = 0; page < kPages; ++page) {
    text += page_name(page) + "\r\n";
  }
  char line[160];
  for (int page = 0; page < kPages; ++page) {
    const std::string name = page_name(page);
    text += "[PROPERTY:" + name + "]\r\nPUTIMAGEWIDTH=1024\r\nPUTIMAGEHEIGHT=1024\r\n";
    text += "PAGELABEL=P" + std::to_string(page) + "\r\nTRANSPARENTENABLE=1\r\n";
    text += "TRANSPARENTCOLOR=255,0,255\r\n[FILELIST:" + name + "]\r\n";
    for (int row = 0; row < kRowsPerPage; ++row) {
      std::snprintf(
          line, sizeof line,
          "C:\\work\\sprites\\%s\\sprite%03d.bmp\t%d\t%d\tSPRITE%03d\t0\t64\t64\t1\t-1\r\n",
          name.c_str(), row, (row % 16) * 64, (row / 16) * 64, row);
      text += line;
    }
  }
  return text;
}

const std::string& project_path() {
  static const std::string path = [] {
    const std::string file = bench::scratch_file("large.ijp");
    bench::write_file(file, large_project_text());
    return file;
  }();
  return path;
}

void BM_StoreLoadLargeProject(benchmark::State& state) {
  const std::string& path = project_path();
  DocumentStore store;
  for (auto _ : state) {
    if (!store.load(path, false)) {
      state.SkipWithError("load failed");
      return;
    }
    benchmark::DoNotOptimize(store.first_section());
  }
  state.counters["sections"] = static_cast<double>(store.sections().size());
}
BENCHMARK(BM_StoreLoadLargeProject)->Unit(benchmark::kMillisecond);

void BM_StoreSaveLargeProject(benchmark::State& state) {
  DocumentStore store;
  if (!store.load(project_path(), false)) {
    state.SkipWithError("load failed");
    return;
  }
  const std::string out = bench::scratch_file("saved.ijp");
  for (auto _ : state) {
    if (!store.save(out)) {
      state.SkipWithError("save failed");
      return;
    }
  }
}
BENCHMARK(BM_StoreSaveLargeProject)->Unit(benchmark::kMillisecond);

// What an output run asks of the store per page: the page name by position,
// the page's property keys, and every image row of its list.
void BM_StoreWalkPages(benchmark::State& state) {
  DocumentStore store;
  if (!store.load(project_path(), false)) {
    state.SkipWithError("load failed");
    return;
  }
  for (auto _ : state) {
    std::size_t bytes = 0;
    for (int page = 0; page < kPages; ++page) {
      const auto name = store.row_at("PAGELIST", page);
      if (!name) {
        state.SkipWithError("page missing");
        return;
      }
      const std::string page_text(*name);
      int width = 0;
      benchmark::DoNotOptimize(store.get_int("PROPERTY:" + page_text, "PUTIMAGEWIDTH", width));
      benchmark::DoNotOptimize(store.get_string(kCurrentSection, "PAGELABEL"));
      if (const StoreSection* list = store.find_section("FILELIST:" + page_text)) {
        for (const StoreEntry& entry : list->entries()) {
          bytes += entry.value().size();
        }
      }
    }
    benchmark::DoNotOptimize(bytes);
  }
}
BENCHMARK(BM_StoreWalkPages)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace piconel
