// The window benchmark: the real main window in-process (run under Wine by
// scripts/window-bench.sh), driven through its own commands, the page list's
// page switch and a hand on the mouse, on two generated projects:
//  - the output benchmark's 64 pages x 256 sprites (8 to 64 pixels);
//  - the largest project, 256 pages x 256 sprites of 4 x 4.
// For each it times opening and showing the first page, switching through
// every page, every zoom step with a full repaint at each, select all,
// dragging the selection, output from the window against piconel-cli output
// --jobs 1 (and their digests), save and close; and it reports the process's
// memory, GDI and USER objects and windows, and how they grow with the pages
// visited.
//
//   window_bench.exe PICONEL-CLI.EXE PROJECTS [--runs N] [--visits N] [--only bench|tiny]
//                    [--repaints N] [--no-output]
//
// PROJECTS is the folder window_bench_projects wrote (bench\bench.ijp and
// tiny\tiny.ijp); the output goes into out_window and out_cli beside each
// project. --visits ends the page switching after N pages (all by default);
// --repaints sets how many full repaints are timed at each zoom step (10);
// --no-output saves without the output steps (which take long).
//
// Times are wall clock; "cpu" is the processor time of the window's thread
// (user + system), which other programs on a shared machine disturb far less.
// Each step ends when every message it caused, painting included, has been
// handled.

#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "app/app_win32.h"
#include "app/app_window_win32.h"
#include "app/command_actions_win32.h"
#include "app/hand_input_win32.h"
#include "app/list_windows_win32.h"
#include "app/test_window_win32.h"
#include "canvas/sheet_geometry.h"
#include "canvas/snapping.h"
#include "image/read_ahead.h"
#include "project/image_rows.h"
#include "project/page_operations.h"
#include "project/project_file.h"
#include "store/wide_text.h"
#include "window/busy_scope_win32.h"
#include "window/resource.h"

namespace piconel::bench {
namespace {

namespace fs = std::filesystem;
using testing::pump_messages;

// Zoom box items, "x 8" first, "1/4" last.
constexpr int kZoomItems = static_cast<int>(kZoomSteps.size());

double now_ms() {
  static const double ticks_per_ms = [] {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER counter{};
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / ticks_per_ms;
}

double filetime_ms(const FILETIME& time) {
  return static_cast<double>((std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime) / 1e4;
}

double thread_cpu_ms() {
  FILETIME created{}, ended{}, kernel{}, user{};
  GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user);
  return filetime_ms(kernel) + filetime_ms(user);
}

BOOL CALLBACK count_child(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

// A top-level window and all its descendants (EnumChildWindows goes down
// every level by itself).
BOOL CALLBACK count_window(HWND window, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  EnumChildWindows(window, count_child, count);
  return TRUE;
}

struct Resources {
  double committed_mb = 0;
  double working_set_mb = 0;
  DWORD gdi = 0;
  DWORD user = 0;
  int windows = 0;
};

Resources measure() {
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof(memory);
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
  Resources r;
  r.committed_mb = static_cast<double>(memory.PagefileUsage) / 1e6;
  r.working_set_mb = static_cast<double>(memory.WorkingSetSize) / 1e6;
  r.gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  r.user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  // Wine answers GetGuiResources with 0: the windows of the thread are the
  // USER objects that count here.
  EnumThreadWindows(GetCurrentThreadId(), count_window, reinterpret_cast<LPARAM>(&r.windows));
  return r;
}

void print_resources(const char* when, const Resources& r) {
  std::printf(
      "  %-34s committed %7.1f MB  working set %7.1f MB  GDI %5lu  USER %5lu  windows %5d\n", when,
      r.committed_mb, r.working_set_mb, static_cast<unsigned long>(r.gdi),
      static_cast<unsigned long>(r.user), r.windows);
}

// A step's wall and processor time, from its start to the last message it
// caused.
class Stopwatch {
 public:
  Stopwatch() : wall_(now_ms()), cpu_(thread_cpu_ms()) {}
  void stop() {
    wall_ = now_ms() - wall_;
    cpu_ = thread_cpu_ms() - cpu_;
  }
  [[nodiscard]] double wall() const { return wall_; }
  [[nodiscard]] double cpu() const { return cpu_; }

 private:
  double wall_;
  double cpu_;
};

void print_step(const char* name, const Stopwatch& time) {
  std::printf("  %-34s %9.1f ms  (cpu %8.1f ms)\n", name, time.wall(), time.cpu());
}

double median(std::vector<double> values) {
  if (values.empty()) {
    return 0;
  }
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Wall time of opening and reading `paths` whole on `jobs` threads, each
// taking the next file not yet taken.
double read_files_ms(const std::vector<std::wstring>& paths, int jobs) {
  std::atomic<std::size_t> next{0};
  const auto work = [&] {
    std::vector<char> buffer(1 << 16);
    for (std::size_t index = next++; index < paths.size(); index = next++) {
      const HANDLE file = CreateFileW(paths[index].c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
      if (file == INVALID_HANDLE_VALUE) {
        continue;
      }
      DWORD got = 0;
      while (ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) &&
             got > 0) {
      }
      CloseHandle(file);
    }
  };
  const double start = now_ms();
  std::vector<std::thread> helpers;
  for (int i = 1; i < jobs; ++i) {
    helpers.emplace_back(work);
  }
  work();
  for (std::thread& helper : helpers) {
    helper.join();
  }
  return now_ms() - start;
}

// Handles every message queued, painting included.
void settle() {
  pump_messages();
}

// `window` and its child windows painted again at once. The list windows
// are owned top-level windows, not children of the main window: they are
// repainted on their own.
void full_repaint(HWND window) {
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// A repaint's mean over several in a row: one is a few milliseconds, below
// the 10 to 16 ms steps in which Wine counts processor time.
struct RepaintTime {
  double wall = 0;
  double cpu = 0;
};

template <typename Repaint>
RepaintTime time_repaints(int count, Repaint repaint) {
  Stopwatch time;
  for (int i = 0; i < count; ++i) {
    repaint();
    settle();
  }
  time.stop();
  return {time.wall() / count, time.cpu() / count};
}

// What the screen itself costs: a view-sized DIB section copied to the
// view's window in one BitBlt and handed to the display, as the end of the
// view's paint does; nothing of the sheet is drawn.
RepaintTime time_screen_copies(HWND view, int count) {
  RECT client{};
  GetClientRect(view, &client);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = std::max(1L, client.right);
  info.bmiHeader.biHeight = -std::max(1L, client.bottom);
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HDC memory = CreateCompatibleDC(nullptr);
  const HGDIOBJ old = SelectObject(memory, bitmap);
  const RepaintTime time = time_repaints(count, [&] {
    const HDC dc = GetDC(view);
    BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    ReleaseDC(view, dc);
    GdiFlush();
  });
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(bitmap);
  return time;
}

void print_repaint(const char* name, const RepaintTime& time) {
  std::printf("    %-32s %9.1f ms  (cpu %8.1f ms)\n", name, time.wall, time.cpu);
}

std::string windows_path(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

// FNV-1a over every file's name and bytes, in name order (the output
// benchmark's digest).
std::uint64_t digest_of(const fs::path& folder, int& files) {
  std::vector<fs::path> names;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    if (entry.is_regular_file()) {
      names.push_back(entry.path());
    }
  }
  std::sort(names.begin(), names.end());
  std::uint64_t hash = 14695981039346656037ull;
  const auto mix = [&](const char* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
      hash = (hash ^ static_cast<unsigned char>(data[i])) * 1099511628211ull;
    }
  };
  for (const fs::path& file : names) {
    const std::string name = file.filename().string();
    mix(name.data(), name.size() + 1);
    std::ifstream in(file, std::ios::binary);
    const std::string content((std::istreambuf_iterator<char>(in)), {});
    mix(content.data(), content.size());
  }
  files = static_cast<int>(names.size());
  return hash;
}

// piconel-cli output PROJECT --out DIR --settings SETTINGS --jobs 1 as a
// child process: its wall time, or -1 when it could not start.
struct ChildTimes {
  double wall = -1;
};

ChildTimes run_cli_output(const std::wstring& cli, const std::string& project,
                          const std::string& out, const std::string& settings) {
  std::wstring command = L"\"" + cli + L"\" output \"" + to_wide(project) + L"\" --out \"" +
                         to_wide(out) + L"\" --settings \"" + to_wide(settings) + L"\" --jobs 1";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  const double start = now_ms();
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return {};
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  ChildTimes times;
  times.wall = now_ms() - start;
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (code != 0) {
    std::printf("  piconel-cli exited with %lu\n", static_cast<unsigned long>(code));
  }
  return times;
}

void choose_zoom(App& app, int item) {
  SendMessageW(app.controls.zoom_box, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
  SendMessageW(app.main_window, WM_COMMAND, MAKEWPARAM(IDC_ZOOM_BOX, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(app.controls.zoom_box));
}

void command(App& app, UINT id) {
  SendMessageW(app.main_window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

struct Options {
  std::wstring cli;
  std::string projects;  // ends in a backslash
  int runs = 1;
  int visits = 0;  // 0: every page
  std::string only;
  int repaints = 10;   // full repaints timed at each zoom step
  bool output = true;  // --no-output: save only, no output from the window or piconel-cli
};

// An empty settings file (the program's defaults), for the window and the
// command line alike.
bool write_empty_file(const std::string& path) {
  const HANDLE file = CreateFileW(to_wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  CloseHandle(file);
  return true;
}

// One project through the window, start to close.
void run_project(const char* title, const std::string& folder, const std::string& project_path,
                 const Options& options) {
  std::printf("\n%s\n", title);
  const std::string settings_path = folder + "window_bench.ini";
  if (!write_empty_file(settings_path)) {
    std::printf("  cannot write %s\n", settings_path.c_str());
    return;
  }
  const std::string window_out = folder + "out_window";
  const std::string cli_out = folder + "out_cli";

  App app;
  ListWindows list_windows(app);
  if (!app.settings.load(settings_path, true)) {
    std::printf("  cannot load the settings %s\n", settings_path.c_str());
    return;
  }
  open_project(app.project, std::string_view());
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  static const bool registered = register_main_window_class(instance);
  if (!registered) {
    std::printf("  cannot register the main window class\n");
    return;
  }
  const HWND window = create_main_window(app, instance, update_title(app.project));
  SetWindowPos(window, nullptr, 0, 0, 1024, 768, SWP_NOZORDER);
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  toggle_list_window(app, ListWindowKind::PageList);
  toggle_list_window(app, ListWindowKind::ImageList);
  settle();
  print_resources("empty project, list windows open", measure());

  // Open: the same call the open command makes after its dialog.
  {
    Stopwatch open_time;
    {
      const BusyScope busy;
      open_project(app.project, project_path);
      static_cast<void>(update_title(app.project));
    }
    Stopwatch show_time;
    settle();
    show_time.stop();
    open_time.stop();
    print_step("open and show the first page", open_time);
    print_step("  of which the first paint", show_time);
  }
  print_resources("after open", measure());

  // Every page in turn, as the page list switches (double-click or Enter),
  // then back to the first.
  {
    std::vector<double> walls;
    std::vector<double> cpus;
    double total = 0;
    const int pages = app.project.page_count;
    const int visits = options.visits > 0 ? std::min(options.visits, pages) : pages;
    for (int visit = 1; visit <= visits; ++visit) {
      Stopwatch one;
      {
        const BusyScope busy;
        select_page(app.project, visit % pages);
      }
      settle();
      one.stop();
      walls.push_back(one.wall());
      cpus.push_back(one.cpu());
      total += one.wall();
      if (visit == 1 || visit == 16 || visit == visits / 2 || visit == visits) {
        const std::string when = "after " + std::to_string(visit) + " page switches";
        print_resources(when.c_str(), measure());
      }
    }
    std::printf("  %-34s median %7.1f ms (cpu %6.1f)  max %7.1f ms  all %8.1f ms\n", "page switch",
                median(walls), median(cpus), *std::max_element(walls.begin(), walls.end()), total);

    // The same pages' files opened and read whole again, on as many threads
    // as a page load reads ahead with: the floor of a switch on this system.
    std::vector<double> floors;
    for (int visit = 1; visit <= visits; ++visit) {
      const std::optional<std::string> name = page_name_at(app.project, visit % pages);
      if (!name) {
        continue;
      }
      std::vector<std::wstring> paths;
      for (const std::string& path :
           row_full_paths(page_rows(*app.project.store, *name), app.project.folder)) {
        paths.push_back(to_wide(path));
      }
      floors.push_back(read_files_ms(paths, one_job_per_core()));
    }
    std::printf("  %-34s median %7.1f ms  (%d threads)\n", "  its files opened and read",
                median(floors), one_job_per_core());
  }

  // Every zoom step from "1/4" to "x 8", each with full repaints after it
  // (means of --repaints in a row): the sheet view alone, the two list
  // windows, the main window with all its children (the view among them);
  // then back to "x 1".
  const HWND view_window = app.sheet_view.window();
  const HWND page_list = list_windows.page_list().window();
  const HWND image_list = list_windows.image_list().window();
  for (int item = kZoomItems - 1; item >= 0; --item) {
    Stopwatch step;
    choose_zoom(app, item);
    settle();
    step.stop();
    std::printf("  zoom %-29s %9.1f ms  (cpu %8.1f ms)\n",
                std::string(kZoomSteps[static_cast<std::size_t>(item)].text).c_str(), step.wall(),
                step.cpu());
    print_repaint("full repaint, sheet view",
                  time_repaints(options.repaints, [&] { full_repaint(view_window); }));
    print_repaint("full repaint, list windows", time_repaints(options.repaints, [&] {
                    full_repaint(page_list);
                    full_repaint(image_list);
                  }));
    print_repaint("  of which the page list",
                  time_repaints(options.repaints, [&] { full_repaint(page_list); }));
    print_repaint("  of which the image list",
                  time_repaints(options.repaints, [&] { full_repaint(image_list); }));
    print_repaint("full repaint, main window",
                  time_repaints(options.repaints, [&] { full_repaint(window); }));
  }
  print_repaint("view-sized BitBlt to the screen",
                time_screen_copies(view_window, options.repaints));
  choose_zoom(app, kStartZoomStep);
  settle();

  {
    Stopwatch time;
    command(app, IDM_SELECT_ALL);
    settle();
    time.stop();
    print_step("select all", time);
  }
  print_repaint("full repaint, sheet view, all selected",
                time_repaints(options.repaints, [&] { full_repaint(view_window); }));

  // The first image pressed and dragged 40 pixels right and 24 down in
  // eight moves, the others following.
  {
    const ImageEntry& first = app.project.images.entries().front();
    const int start_x = first.x;
    const SheetViewState& view = app.sheet_view.state();
    const ViewRect place =
        entry_view_rect(sheet_rect_of(first), view.scroll_x, view.scroll_y, view.zoom);
    POINT press{(place.left + place.right) / 2, (place.top + place.bottom) / 2};
    ClientToScreen(app.sheet_view.window(), &press);
    SetForegroundWindow(window);
    settle();
    testing::Hand hand;
    hand.move_to(press).press();
    constexpr int kMoves = 8;
    for (int move = 1; move <= kMoves; ++move) {
      hand.move_to({press.x + 40 * move / kMoves, press.y + 24 * move / kMoves});
    }
    hand.release();
    Stopwatch time;
    const bool played = hand.play();
    settle();
    time.stop();
    std::printf("  %-34s %9.1f ms  (cpu %8.1f ms)  %d moves, 20 ms apart%s; moved by %d\n",
                "drag the selection", time.wall(), time.cpu(), kMoves,
                played ? "" : " (NOT PLAYED)", app.project.images.entries().front().x - start_x);
  }
  print_resources("after the drag", measure());

  // Output from the window into its own folder; the saved project then
  // through the command line with one job, taking turns.
  static_cast<void>(app.project.store->set_string("PROPERTY", "OUTPUTENABLE", "1"));
  static_cast<void>(app.project.store->set_string("PROPERTY", "OUTPUTDIR", window_out));
  std::vector<double> window_walls;
  std::vector<double> window_cpus;
  std::vector<double> cli_walls;
  bool saved = false;
  if (!options.output) {
    Stopwatch save;
    command(app, IDM_PROJECT_SAVE);
    settle();
    save.stop();
    print_step("save", save);
  }
  for (int run = 0; options.output && run < options.runs; ++run) {
    Stopwatch output;
    command(app, IDM_OUTPUT);
    settle();
    output.stop();
    window_walls.push_back(output.wall());
    window_cpus.push_back(output.cpu());
    if (!saved) {
      Stopwatch save;
      command(app, IDM_PROJECT_SAVE);
      settle();
      save.stop();
      print_step("save", save);
      saved = true;
    }
    const ChildTimes cli = run_cli_output(options.cli, project_path, cli_out, settings_path);
    cli_walls.push_back(cli.wall);
  }
  if (options.output) {
    int window_files = 0;
    int cli_files = 0;
    const std::uint64_t window_digest = digest_of(window_out, window_files);
    const std::uint64_t cli_digest = digest_of(cli_out, cli_files);
    std::printf("  %-34s %9.1f ms  (cpu %8.1f ms)  %d files, digest %016llx\n", "output, window",
                median(window_walls), median(window_cpus), window_files,
                static_cast<unsigned long long>(window_digest));
    // Wine's process times of a child are not its own: wall time only.
    std::printf("  %-34s %9.1f ms                       %d files, digest %016llx%s\n",
                "output, piconel-cli --jobs 1", median(cli_walls), cli_files,
                static_cast<unsigned long long>(cli_digest),
                window_digest == cli_digest ? " (the same)" : " (DIFFERENT)");
    std::printf("  %-34s %9.2f x\n", "window / piconel-cli",
                median(window_walls) / std::max(1.0, median(cli_walls)));
    std::printf("  status bar: %s\n",
                [&] {
                  wchar_t text[512] = {};
                  SendMessageW(app.controls.status_bar, SB_GETTEXTW, 1,
                               reinterpret_cast<LPARAM>(text));
                  return to_cp932(text);
                }()
                    .c_str());
  }
  print_resources("after output and save", measure());

  {
    Stopwatch time;
    SendMessageW(window, WM_CLOSE, 0, 0);
    settle();
    time.stop();
    print_step(IsWindow(window) ? "close (WINDOW STILL OPEN)" : "close", time);
  }
  print_resources("after close", measure());
}

constexpr char kUsage[] =
    "usage: window_bench PICONEL-CLI.EXE PROJECTS [--runs N] [--visits N] [--only bench|tiny]\n"
    "                    [--repaints N] [--no-output]\n";

int run(int argc, char** argv) {
  Options options;
  std::vector<std::string> paths;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--runs" && i + 1 < argc) {
      options.runs = std::max(1, std::atoi(argv[++i]));
    } else if (argument == "--visits" && i + 1 < argc) {
      options.visits = std::max(1, std::atoi(argv[++i]));
    } else if (argument == "--repaints" && i + 1 < argc) {
      options.repaints = std::max(1, std::atoi(argv[++i]));
    } else if (argument == "--no-output") {
      options.output = false;
    } else if (argument == "--only" && i + 1 < argc) {
      options.only = argv[++i];
    } else {
      paths.push_back(argument);
    }
  }
  if (paths.size() != 2) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  options.cli = to_wide(paths[0]);
  options.projects = windows_path(paths[1]);
  if (options.projects.back() != '\\') {
    options.projects += '\\';
  }
  std::printf("window benchmark on %s\n", options.projects.c_str());
  print_resources("start", measure());
  if (options.only.empty() || options.only == "bench") {
    const std::string folder = options.projects + "bench\\";
    run_project("benchmark project: 64 pages x 256 sprites of 8 to 64 pixels", folder,
                folder + "bench.ijp", options);
  }
  if (options.only.empty() || options.only == "tiny") {
    const std::string folder = options.projects + "tiny\\";
    run_project("largest project: 256 pages x 256 sprites of 4 x 4", folder, folder + "tiny.ijp",
                options);
  }
  return 0;
}

}  // namespace
}  // namespace piconel::bench

int main(int argc, char** argv) {
  return piconel::bench::run(argc, argv);
}
