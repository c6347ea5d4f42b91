// The output benchmark: one run on a generated project of 64 pages x 256
// sprites that reports
//  - the whole output run of piconel-cli (the real program, started as a
//    child process) and its peak memory;
//  - the I/O floor: every input file read once and the same number of bytes
//    written into as many files as the output run wrote, once by one thread
//    and once by as many threads as the run has jobs;
//  - project open and save with 64 x 256 image rows;
//  - page switching in the model (sync and load of 256 entries, no window);
//  - a digest of every output byte, to compare runs before and after a change.
//
//   piconel_project_bench [--runs N] [--jobs N] [--keep DIR] [--keep-project DIR]
//                         [--output-only] [--cli PROGRAM]
//
// Each figure is the median of N runs (3 unless given); output and floor runs
// take turns and the ratios are the median of each pair's. --jobs is handed to
// piconel-cli and sets the threads of the multi-threaded floor (one per core
// without it). --keep copies the output of the last run into DIR,
// --keep-project the generated project and its images (for profiling the
// command line by hand); --output-only stops after the output and floor runs;
// --cli times another build of piconel-cli instead of this one.
// Besides wall times the output run and the floors report their processor
// time (user + system), which other programs on a shared machine disturb far
// less.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "bench_files.h"
#include "image/colour.h"
#include "project/current_page.h"
#include "project/image_entry_source.h"
#include "project/page_operations.h"
#include "project/project.h"
#include "project/project_file.h"
#include "sprite_project.h"

namespace piconel::bench {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Processor time (user + system) of this process so far.
double own_cpu_seconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double cpu_seconds_of(const rusage& usage) {
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

[[noreturn]] void fail(const std::string& what) {
  std::fprintf(stderr, "bench: %s\n", what.c_str());
  std::exit(1);
}

// A sheet view that exists without a window: a page load runs fully.
class HeadlessSheet final : public SheetViewPort {
 public:
  bool exists() const override { return true; }
  void begin_page_load() override {}
  void reset_page_state() override { extent_ = {}; }
  void set_sheet_size(int, int) override {}
  void set_background_colour(ColorRef) override {}
  void redraw() override {}
  SheetExtent used_extent() const override { return extent_; }
  void end_page_load() override {
    if (project == nullptr) {
      return;
    }
    for (const ImageEntry& entry : project->images.entries()) {
      extent_.width = std::max(extent_.width, entry.x + entry.width);
      extent_.height = std::max(extent_.height, entry.y + entry.height);
    }
  }

  // The project whose page it shows; set once the project exists.
  const Project* project = nullptr;

 private:
  SheetExtent extent_;
};

struct CliRun {
  double seconds = 0;
  double cpu_seconds = 0;
  long peak_kib = 0;
};

struct FloorRun {
  double seconds = 0;
  double cpu_seconds = 0;
};

// The program timed: this build's piconel-cli unless --cli names another
// (an older build, to compare on the same files).
std::string cli_program = PICONEL_CLI_PATH;

// piconel-cli with `arguments` (after the program name), as a child process.
CliRun run_cli_command(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), cli_program);
  std::vector<char*> argv;
  for (std::string& argument : arguments) {
    argv.push_back(argument.data());
  }
  argv.push_back(nullptr);
  const Clock::time_point start = Clock::now();
  const pid_t child = fork();
  if (child < 0) {
    fail("fork failed");
  }
  if (child == 0) {
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) != child) {
    fail("wait failed");
  }
  CliRun run;
  run.seconds = seconds_since(start);
  run.cpu_seconds = cpu_seconds_of(usage);
  run.peak_kib = usage.ru_maxrss;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    fail("piconel-cli " + arguments[1] + " failed with status " + std::to_string(status));
  }
  return run;
}

// piconel-cli output PROJECT --out FOLDER [--jobs N].
CliRun run_cli_program(const std::string& project, const std::string& out,
                       const std::string& jobs) {
  std::vector<std::string> arguments = {"output", project, "--out", out};
  if (!jobs.empty()) {
    arguments.push_back("--jobs");
    arguments.push_back(jobs);
  }
  return run_cli_command(arguments);
}

// The folder `add` is timed on: 10,000 sprites of 8 x 8 to 16 x 16, 8 bits.
constexpr int kAddSprites = 10000;

void write_add_sprites(const std::string& folder) {
  fs::create_directories(folder);
  for (int i = 0; i < kAddSprites; ++i) {
    const int side = 8 + i % 9;
    char name[32];
    std::snprintf(name, sizeof name, "s%05d.bmp", i);
    write_file(folder + name,
               make_bitmap_file(
                   side, side, 8, {0xFF00FF, 0x000000, 0xFFFFFF, 0x3080C0},
                   [i](int x, int y) { return static_cast<std::uint32_t>((x + y + i) % 4); }));
  }
}

std::vector<fs::path> files_in(const fs::path& folder) {
  std::vector<fs::path> files;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) {
      files.push_back(entry.path());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

// FNV-1a over every file's name and bytes, in name order.
std::uint64_t digest_of(const fs::path& folder, long long& bytes) {
  std::uint64_t hash = 14695981039346656037ull;
  auto mix = [&](const char* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
      hash = (hash ^ static_cast<unsigned char>(data[i])) * 1099511628211ull;
    }
  };
  bytes = 0;
  for (const fs::path& file : files_in(folder)) {
    const std::string name = file.filename().string();
    mix(name.data(), name.size() + 1);
    std::ifstream in(file, std::ios::binary);
    const std::string content((std::istreambuf_iterator<char>(in)), {});
    mix(content.data(), content.size());
    bytes += static_cast<long long>(content.size());
  }
  return hash;
}

// One file of the floor: every input read with one `read`, every output
// written with one `write` of `size` bytes.
void read_input(const fs::path& input, std::vector<char>& buffer) {
  const int fd = open(input.c_str(), O_RDONLY);
  struct stat info {};
  if (fd < 0 || fstat(fd, &info) != 0) {
    fail("cannot read " + input.string());
  }
  buffer.resize(static_cast<std::size_t>(info.st_size));
  if (read(fd, buffer.data(), buffer.size()) != static_cast<ssize_t>(buffer.size())) {
    fail("short read");
  }
  close(fd);
}

void write_output(const fs::path& path, const std::vector<char>& buffer, std::uintmax_t size) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0 || write(fd, buffer.data(), size) != static_cast<ssize_t>(size)) {
    fail("cannot write " + path.string());
  }
  close(fd);
}

// Reads every input once and writes files of the given sizes: what any
// program that reads those inputs and writes that output cannot avoid. With
// `threads` above 1 that many threads share the files (each takes the next
// one not yet taken), as an output run with that many jobs could at best.
FloorRun io_floor(const std::vector<fs::path>& inputs, const std::vector<std::uintmax_t>& sizes,
                  const fs::path& folder, int threads) {
  fs::create_directories(folder);
  const std::uintmax_t largest = sizes.empty() ? 0 : *std::max_element(sizes.begin(), sizes.end());
  std::atomic<std::size_t> next_input{0};
  std::atomic<std::size_t> next_output{0};
  const auto share = [&] {
    std::vector<char> buffer;
    for (std::size_t i = next_input++; i < inputs.size(); i = next_input++) {
      read_input(inputs[i], buffer);
    }
    buffer.resize(static_cast<std::size_t>(largest));
    for (std::size_t i = next_output++; i < sizes.size(); i = next_output++) {
      write_output(folder / ("file" + std::to_string(i)), buffer, sizes[i]);
    }
  };
  const Clock::time_point start = Clock::now();
  const double cpu_start = own_cpu_seconds();
  std::vector<std::thread> helpers;
  for (int i = 1; i < threads; ++i) {
    helpers.emplace_back(share);
  }
  share();
  for (std::thread& helper : helpers) {
    helper.join();
  }
  return {seconds_since(start), own_cpu_seconds() - cpu_start};
}

std::string cpu_model() {
  std::ifstream in("/proc/cpuinfo");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("model name", 0) == 0) {
      return line.substr(line.find(':') + 2);
    }
  }
  return "unknown";
}

double milliseconds(double seconds) {
  return seconds * 1000.0;
}

}  // namespace
}  // namespace piconel::bench

int main(int argc, char** argv) {
  using namespace piconel;
  using namespace piconel::bench;
  int runs = 3;
  std::string jobs;
  std::string keep;
  std::string keep_project;
  bool output_only = false;
  for (int i = 1; i < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--output-only") {
      output_only = true;
      --i;  // a switch without a value
    } else if (i + 1 >= argc) {
      fail("missing value of " + option);
    } else if (option == "--runs") {
      runs = std::max(1, std::atoi(argv[i + 1]));
    } else if (option == "--jobs") {
      jobs = argv[i + 1];
    } else if (option == "--keep") {
      keep = argv[i + 1];
    } else if (option == "--keep-project") {
      keep_project = argv[i + 1];
    } else if (option == "--cli") {
      cli_program = argv[i + 1];
    } else {
      fail(
          "usage: piconel_project_bench [--runs N] [--jobs N] [--keep DIR] "
          "[--keep-project DIR] [--output-only] [--cli PROGRAM]");
    }
  }
  const std::string folder = scratch_folder();
  const Clock::time_point made = Clock::now();
  const SpriteProject project = write_sprite_project(folder + "project/");
  std::printf("machine: %ld cores (nproc), %s\n", sysconf(_SC_NPROCESSORS_ONLN),
              cpu_model().c_str());
  std::printf("project: %d pages x %d sprites, %d input files, %.1f MB in (made in %.1f s)\n",
              kBenchPages, kBenchSpritesPerPage, project.input_files,
              static_cast<double>(project.input_bytes) / 1e6, seconds_since(made));

  // A first output run (not counted) gives the sizes of the files the floor
  // writes; then output runs and floor runs take turns, so both meet the
  // machine in the same state, and each pair gives a ratio.
  if (!keep_project.empty()) {
    fs::create_directories(keep_project);
    fs::copy(folder + "project/", keep_project,
             fs::copy_options::overwrite_existing | fs::copy_options::recursive);
  }
  const fs::path out = folder + "out";
  // Each timed run starts with the files of the one before on the disk, so
  // neither pays for the other's writing back.
  const auto output_run = [&] {
    fs::remove_all(out);
    fs::create_directories(out);
    ::sync();
    return run_cli_program(project.project_path, out.string(), jobs);
  };
  long peak_kib = output_run().peak_kib;
  long long output_bytes = 0;
  const std::uint64_t digest = digest_of(out, output_bytes);
  std::vector<std::uintmax_t> sizes;
  for (const fs::path& file : files_in(out)) {
    sizes.push_back(fs::file_size(file));
  }
  std::vector<fs::path> inputs = files_in(folder + "project/");
  // The multi-threaded floor uses as many threads as the run has jobs (one
  // per core by default, as piconel-cli).
  const int floor_threads =
      jobs.empty()
          ? static_cast<int>(std::max(1u, std::min(std::thread::hardware_concurrency(), 64u)))
          : std::max(1, std::atoi(jobs.c_str()));
  std::vector<double> output_times;
  std::vector<double> output_cpu_times;
  std::vector<double> floor_times;
  std::vector<double> floor_cpu_times;
  std::vector<double> multi_floor_times;
  std::vector<double> multi_floor_cpu_times;
  std::vector<double> ratios;
  std::vector<double> cpu_ratios;
  std::vector<double> multi_ratios;
  std::vector<double> multi_cpu_ratios;
  const auto floor_run = [&](int threads) {
    fs::remove_all(folder + "floor");
    ::sync();
    return io_floor(inputs, sizes, folder + "floor", threads);
  };
  for (int run = 0; run < runs; ++run) {
    const CliRun cli = output_run();
    output_times.push_back(cli.seconds);
    output_cpu_times.push_back(cli.cpu_seconds);
    peak_kib = std::max(peak_kib, cli.peak_kib);
    const FloorRun floor = floor_run(1);
    floor_times.push_back(floor.seconds);
    floor_cpu_times.push_back(floor.cpu_seconds);
    ratios.push_back(cli.seconds / floor.seconds);
    cpu_ratios.push_back(cli.cpu_seconds / floor.cpu_seconds);
    const FloorRun multi = floor_run(floor_threads);
    multi_floor_times.push_back(multi.seconds);
    multi_floor_cpu_times.push_back(multi.cpu_seconds);
    multi_ratios.push_back(cli.seconds / multi.seconds);
    multi_cpu_ratios.push_back(cli.cpu_seconds / multi.cpu_seconds);
  }
  fs::remove_all(folder + "floor");
  if (!keep.empty()) {
    fs::create_directories(keep);
    fs::copy(out, keep, fs::copy_options::overwrite_existing | fs::copy_options::recursive);
  }

  const auto print_output_figures = [&] {
    const double output_s = median(output_times);
    const double floor_s = median(floor_times);
    std::printf("output: %zu files, %.1f MB, digest %016llx\n", sizes.size(),
                static_cast<double>(output_bytes) / 1e6, static_cast<unsigned long long>(digest));
    std::printf("median of %d runs%s%s\n", runs, jobs.empty() ? "" : ", --jobs ", jobs.c_str());
    std::printf(
        "  piconel-cli output         %8.1f ms  (%.2f x the I/O floor, %.2f x the %d-thread "
        "floor)\n",
        milliseconds(output_s), median(ratios), median(multi_ratios), floor_threads);
    std::printf("  I/O floor, 1 thread        %8.1f ms\n", milliseconds(floor_s));
    std::printf("  I/O floor, %d threads       %8.1f ms\n", floor_threads,
                milliseconds(median(multi_floor_times)));
    const double output_cpu_s = median(output_cpu_times);
    const double floor_cpu_s = median(floor_cpu_times);
    std::printf(
        "  piconel-cli output CPU     %8.1f ms  (%.2f x the floor's CPU, %.2f x the %d-thread "
        "floor's)\n",
        milliseconds(output_cpu_s), median(cpu_ratios), median(multi_cpu_ratios), floor_threads);
    std::printf("  I/O floor CPU, 1 thread    %8.1f ms\n", milliseconds(floor_cpu_s));
    std::printf("  I/O floor CPU, %d threads   %8.1f ms\n", floor_threads,
                milliseconds(median(multi_floor_cpu_times)));
    std::printf("  peak memory of the output  %8.1f MB\n", static_cast<double>(peak_kib) / 1024.0);
  };
  if (output_only) {
    print_output_figures();
    return 0;
  }

  // Project open and save.
  std::vector<double> open_times;
  std::vector<double> save_times;
  for (int run = 0; run < runs; ++run) {
    Project opened;
    Clock::time_point start = Clock::now();
    open_project(opened, project.project_path);
    open_times.push_back(seconds_since(start));
    if (opened.page_count != kBenchPages) {
      fail("project did not open");
    }
    start = Clock::now();
    if (save_project(opened, folder + "project/saved.ijp") != SaveResult::Saved) {
      fail("project did not save");
    }
    save_times.push_back(seconds_since(start));
  }

  // Page switching: every switch synchronises 256 entries and loads 256.
  HeadlessSheet sheet;
  ColourList sheet_colours = ColourList::starting_with(make_colorref(255, 255, 255));
  ImageEntrySource source(nullptr, &sheet_colours, nullptr);
  ProjectPorts ports;
  ports.sheet = &sheet;
  ports.entry_source = &source;
  Project model(ports);
  sheet.project = &model;
  open_project(model, project.project_path);
  if (model.images.entries().size() != kBenchSpritesPerPage) {
    fail("page 0 did not load its entries");
  }
  std::vector<double> switch_times;
  constexpr int kSwitches = 16;
  for (int run = 0; run < runs; ++run) {
    const Clock::time_point start = Clock::now();
    for (int i = 1; i <= kSwitches; ++i) {
      select_page(model, i % kBenchPages);
    }
    switch_times.push_back(seconds_since(start) / kSwitches);
    select_page(model, 0);
  }

  // The project commands on folders: add of 10,000 small sprites into a
  // new project (40 pages as the pages fill), and build of the 16384
  // sprites above (one folder: 64 pages of 256) into sheets and tables.
  write_add_sprites(folder + "add/");
  std::vector<double> add_times;
  std::vector<double> add_cpu_times;
  std::vector<double> build_times;
  std::vector<double> build_cpu_times;
  for (int run = 0; run < runs; ++run) {
    const std::string added = folder + "added.ijp";
    fs::remove(added);
    run_cli_command({"new", added});
    const CliRun add = run_cli_command({"add", added, folder + "add"});
    add_times.push_back(add.seconds);
    add_cpu_times.push_back(add.cpu_seconds);
    fs::remove_all(folder + "built");
    ::sync();
    std::vector<std::string> build = {
        "build",        folder + "project/sprites", "--out",      folder + "built", "--label",
        "--table-text", "--table-little",           "--table-big"};
    if (!jobs.empty()) {
      build.push_back("--jobs");
      build.push_back(jobs);
    }
    const CliRun built = run_cli_command(build);
    build_times.push_back(built.seconds);
    build_cpu_times.push_back(built.cpu_seconds);
  }

  print_output_figures();
  std::printf("  project open (%d rows)  %8.1f ms\n", kBenchPages * kBenchSpritesPerPage,
              milliseconds(median(open_times)));
  std::printf("  project save (%d rows)  %8.1f ms\n", kBenchPages * kBenchSpritesPerPage,
              milliseconds(median(save_times)));
  std::printf("  page switch (256 entries)  %8.1f ms\n", milliseconds(median(switch_times)));
  std::printf("  piconel-cli add, %d sprites  %8.1f ms  (CPU %.1f ms)\n", kAddSprites,
              milliseconds(median(add_times)), milliseconds(median(add_cpu_times)));
  std::printf("  piconel-cli build, %d x %d   %8.1f ms  (CPU %.1f ms)\n", kBenchPages,
              kBenchSpritesPerPage, milliseconds(median(build_times)),
              milliseconds(median(build_cpu_times)));
  return 0;
}
