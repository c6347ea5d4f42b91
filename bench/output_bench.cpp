// The output: a full page pass on a 1024 x 1024 page of many images written
// as an 8-bit bitmap, the 8-bit conversion alone, a 4096 x 4096 page written
// with 24 bits, and the labels and tables of 256 entries.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_files.h"
#include "image/bitmap_reader.h"
#include "output/label_format.h"
#include "output/page_bitmap.h"
#include "output/page_pass.h"
#include "output/page_tables.h"
#include "output/run_tables.h"
#include "output/sheet_canvas.h"
#include "store/document_store.h"
#include "store/section_cursor.h"

namespace piconel {
namespace {

constexpr std::uint32_t kBackground = 0xFF00FF;  // magenta, 0x00RRGGBB

// Colour number `i` of the sprites (0x00RRGGBB), distinct below 65536 and
// never the background.
std::uint32_t sprite_colour(int i) {
  return 0x200000u | static_cast<std::uint32_t>(i);
}

// A 24-bit sprite of `side` x `side` using colours first .. first + count - 1,
// neighbouring pixels in different colours, with a background-coloured
// border one pixel wide (its transparent colour).
std::vector<std::uint8_t> sprite_file(int side, int first, int count) {
  return bench::make_bitmap_file(side, side, 24, {}, [=](int x, int y) {
    if (x == 0 || y == 0 || x == side - 1 || y == side - 1) {
      return kBackground;
    }
    return sprite_colour(first + (x * 7 + y * 3) % count);
  });
}

struct PageProject {
  DocumentStore store;
  std::string folder;
};

// A project of one page "page000" of `columns` x `columns` sprites of
// `side` pixels, each row naming one of `files` sprite files.
void make_page_project(PageProject& project, const std::string& tag, int side, int columns,
                       int files, int colours_per_file, const std::vector<std::string>& keys) {
  project.folder = bench::scratch_folder();
  std::string text = "[PAGELIST]\r\npage000\r\n[PROPERTY]\r\n[PROPERTY:page000]\r\n";
  for (const std::string& key : keys) {
    text += key + "\r\n";
  }
  text += "PAGELABEL=BENCH\r\nTRANSPARENTENABLE=1\r\nTRANSPARENTCOLOR=255,0,255\r\n";
  text += "[FILELIST:page000]\r\n";
  for (int i = 0; i < files; ++i) {
    bench::write_file(project.folder + tag + std::to_string(i) + ".bmp",
                      sprite_file(side, i * colours_per_file, colours_per_file));
  }
  char row[200];
  for (int i = 0; i < columns * columns; ++i) {
    // Transparent key: the background colour of the sprite's border.
    std::snprintf(row, sizeof row, "%s%d.bmp\t%d\t%d\tS%d\t0\t0\t0\t1\t%d\r\n", tag.c_str(),
                  i % files, (i % columns) * side, (i / columns) * side, i,
                  static_cast<int>(kBackground));
    text += row;
  }
  if (!project.store.parse(text)) {
    std::fprintf(stderr, "bench: project text refused\n");
    std::abort();
  }
}

PagePassResult run_page(PageProject& project, const OutputContext& context) {
  SectionCursor chain(project.store, "PROPERTY", nullptr);
  PagePassInputs inputs;
  inputs.project = &project.store;
  inputs.project_chain = &chain;
  inputs.page_name = "page000";
  inputs.context = &context;
  inputs.project_folder = project.folder;
  inputs.output_folder = project.folder;
  return run_page_pass(inputs);
}

OutputContext all_outputs() {
  OutputContext context;
  context.write_bitmap = true;
  context.write_label = true;
  context.write_text_table = true;
  context.write_little_table = true;
  context.write_big_table = true;
  return context;
}

// Runs the page pass with every output switched on, once per iteration;
// `pixels` is the sheet's pixel count for the items-per-second figure.
void time_page_pass(benchmark::State& state, PageProject& project, std::int64_t pixels) {
  const OutputContext context = all_outputs();
  for (auto _ : state) {
    const PagePassResult result = run_page(project, context);
    if (result.status != PagePassStatus::Written) {
      state.SkipWithError("page pass failed");
      return;
    }
  }
  state.SetItemsProcessed(state.iterations() * pixels);
}

// 1024 x 1024 page: 8 x 8 sprites of 128 pixels from 64 files of 3 colours
// each, so the page palette holds 193 colours and the 8-bit file is written.
void BM_PagePassEightBit1024(benchmark::State& state) {
  PageProject project;
  make_page_project(project, "eight", 128, 8, 64, 3, {"PUTIMAGEWIDTH=1024", "PUTIMAGEHEIGHT=1024"});
  time_page_pass(state, project, 1024 * 1024);
}
BENCHMARK(BM_PagePassEightBit1024)->Unit(benchmark::kMillisecond);

// 4096 x 4096 manual sheet: 8 x 8 sprites of 512 pixels from 4 files; too
// large for 8 bits, so the 24-bit file (48 MiB) is written.
void BM_PagePassTrueColour4096(benchmark::State& state) {
  PageProject project;
  make_page_project(project, "big", 512, 8, 4, 60,
                    {"FIXEDSHEET=1", "SHEETSIZEMANUAL=1", "SHEETWIDTH=4096", "SHEETHEIGHT=4096"});
  time_page_pass(state, project, 4096 * 4096);
}
BENCHMARK(BM_PagePassTrueColour4096)->Unit(benchmark::kMillisecond);

// The 8-bit conversion alone: a 1024 x 1024 canvas of `colours` colours,
// neighbouring pixels different, palette in first-appearance order.
void BM_EncodeEightBit1024(benchmark::State& state) {
  const int colours = static_cast<int>(state.range(0));
  std::optional<SheetCanvas> canvas = SheetCanvas::create(1024, 1024);
  BitmapReadResult picture = read_bitmap_file(bench::make_bitmap_file(
      1024, 1024, 24, {}, [=](int x, int y) { return sprite_colour((x * 7 + y * 3) % colours); }));
  if (!canvas || !picture.ok()) {
    state.SkipWithError("no canvas");
    return;
  }
  canvas->draw(picture.dib, 0, 0);
  ColourList palette = ColourList::starting_with(make_colorref(255, 0, 255));
  for (int i = 0; i < colours && palette.count < kMaxColours; ++i) {
    const std::uint32_t c = sprite_colour(i);
    palette.entries[static_cast<std::size_t>(palette.count++)] = {
        static_cast<std::uint8_t>(c & 0xFF), static_cast<std::uint8_t>((c >> 8) & 0xFF),
        static_cast<std::uint8_t>((c >> 16) & 0xFF), 0};
  }
  for (auto _ : state) {
    const std::optional<EightBitFile> file = encode_eight_bit_bitmap(*canvas, palette);
    if (!file) {
      state.SkipWithError("encode failed");
      return;
    }
    benchmark::DoNotOptimize(file->bytes.get());
  }
  state.SetItemsProcessed(state.iterations() * 1024 * 1024);
}
BENCHMARK(BM_EncodeEightBit1024)->Arg(16)->Arg(255)->Unit(benchmark::kMillisecond);

// Labels and table lines of one page of 256 entries, then the run's files.
void BM_LabelsAndTables256(benchmark::State& state) {
  OutputContext context = all_outputs();
  context.page_number_in_upper_bits = true;
  const SubstitutionList page_list = {{"PAGE", "TITLE"}, {"page", "page000"}};
  std::vector<std::string> files;
  std::vector<std::string> labels;
  for (int i = 0; i < 256; ++i) {
    files.push_back("sprite" + std::to_string(i));
    labels.push_back("LABEL" + std::to_string(i));
  }
  for (auto _ : state) {
    RunTables run;
    PageTables tables;
    open_page_tables(tables, context, "page000", 256);
    for (int i = 0; i < 256; ++i) {
      const SubstitutionList entry_list = {{"file", files[static_cast<std::size_t>(i)]},
                                           {"FILE", labels[static_cast<std::size_t>(i)]}};
      const std::string label = format_label(context.label_format, page_list, entry_list);
      add_entry_tables(tables, context, label, i, 0, {(i % 16) * 64, (i / 16) * 64, 64, 64});
    }
    close_page_tables(tables, context, "TITLE");
    run.add_page(tables, "page000");
    benchmark::DoNotOptimize(run.label_file().size());
    benchmark::DoNotOptimize(run.text_table_file().size());
    benchmark::DoNotOptimize(run.little_table_file().size());
    benchmark::DoNotOptimize(run.big_table_file().size());
  }
  state.SetItemsProcessed(state.iterations() * 256);
}
BENCHMARK(BM_LabelsAndTables256)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace piconel
