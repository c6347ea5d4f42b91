#include "app/command_actions_win32.h"

#include <vector>

#include "app/add_images.h"
#include "app/toolbar_win32.h"
#include "canvas/sheet_geometry.h"
#include "project/project_file.h"
#include "project/project_texts.h"
#include "store/bounded_format.h"
#include "store/wide_text.h"

namespace piconel {

namespace {

// ピコネル：画像を開く
constexpr char kAddImageDialogCaption[] =
    "\x83s\x83R\x83l\x83\x8b\x81\x46\x89\xe6\x91\x9c\x82\xf0\x8aJ\x82\xad";
constexpr char kHelpFileName[] = "piconel.txt";
constexpr std::size_t kHelpPathBytes = 520;
// Dropped names are read into 260-character buffers.
constexpr UINT kDropNameChars = MAX_PATH;

}  // namespace

int add_images(App& app, std::span<const std::string> paths, bool carry_cursor) {
  int added = 0;
  {
    RedrawLock lock(app.sheet_view.window());
    PlacementCursor cursor;
    added = add_image_files(paths, carry_cursor ? &cursor : nullptr, &app.prompter,
                            [&](std::string_view path, PlacementCursor* at) {
                              ImageEntry* entry = app.sheet_view.add_image(path, at);
                              if (entry != nullptr) {
                                app.list_windows->image_row_appended(*entry);
                              }
                              return entry != nullptr;
                            });
  }
  app.sheet_view.update_extent(true);
  mark_modified(app.project);
  return added;
}

int add_dropped_files(App& app, HDROP drop) {
  std::vector<std::string> paths;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT index = 0; index < count; ++index) {
    wchar_t name[kDropNameChars] = {};
    const UINT length = DragQueryFileW(drop, index, name, kDropNameChars);
    if (length == 0 || length >= kDropNameChars) {
      continue;
    }
    if (std::optional<std::string> path = to_cp932_strict(std::wstring_view(name, length))) {
      paths.push_back(std::move(*path));
    }
  }
  DragFinish(drop);
  return add_images(app, paths, true);
}

void add_image_through_dialog(App& app) {
  ImageFilters filters;
  build_image_filters(filters,
                      [&](std::span<char> rest) { return app.plugins.build_plugin_filter(rest); });
  std::string chosen;
  if (!app.prompter.ask_file_name(kAddImageDialogCaption, chosen, filters.pairs, false)) {
    return;
  }
  const std::string paths[] = {chosen};
  static_cast<void>(add_images(app, paths, false));
}

void toggle_list_window(App& app, ListWindowKind kind) {
  if (app.list_windows->is_open(kind)) {
    app.list_windows->close(kind);
    // The list window releases its button when it has closed; without one
    // the button simply follows the window.
    set_list_button(app.controls, kind, app.list_windows->is_open(kind));
    return;
  }
  app.list_windows->open(kind);
  set_list_button(app.controls, kind, app.list_windows->is_open(kind));
}

void restore_list_windows(App& app) {
  // The Enable flags as start-up read them.
  const bool image_list = app.image_list_open;
  const bool page_list = app.page_list_open;
  if (image_list && !app.list_windows->is_open(ListWindowKind::ImageList)) {
    app.list_windows->open(ListWindowKind::ImageList);
  }
  set_list_button(app.controls, ListWindowKind::ImageList, image_list);
  if (page_list && !app.list_windows->is_open(ListWindowKind::PageList)) {
    app.list_windows->open(ListWindowKind::PageList);
  }
  set_list_button(app.controls, ListWindowKind::PageList, page_list);
}

void zoom_in(App& app) {
  if (const std::optional<int> step = zoom_in_step(selected_zoom_step(app.controls))) {
    apply_zoom_step(app, *step);
  }
}

void zoom_out(App& app) {
  if (const std::optional<int> step = zoom_out_step(selected_zoom_step(app.controls))) {
    apply_zoom_step(app, *step);
  }
}

void delete_selected_images(App& app) {
  app.sheet_view.delete_selected();
  app.sheet_view.rebuild_colours();
  app.sheet_view.update_extent(true);
}

void open_help_file(App& app) {
  std::string path;
  if (bounded_format_string(path, kHelpPathBytes, "%s%s", app.program_folder.c_str(),
                            kHelpFileName) < 0) {
    return;
  }
  // Whether the shell succeeds is not reported.
  ShellExecuteW(app.main_window, L"open", to_wide(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace piconel
