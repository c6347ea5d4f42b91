#include "app/command_actions_win32.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "app/add_images.h"
#include "app/toolbar_win32.h"
#include "canvas/sheet_geometry.h"
#include "image/plugin_host.h"
#include "project/project_file.h"
#include "project/project_texts.h"
#include "store/handles_win32.h"
#include "store/wide_text.h"
#include "window/name_refusal_win32.h"

namespace piconel {

namespace {

// ピコネル：画像を開く
constexpr char kAddImageDialogCaption[] =
    "\x83s\x83R\x83l\x83\x8b\x81\x46\x89\xe6\x91\x9c\x82\xf0\x8aJ\x82\xad";
constexpr wchar_t kHelpFileName[] = L"piconel.txt";
bool is_folder(const std::wstring& name) {
  const DWORD attributes = GetFileAttributesW(name.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The image files directly inside a dropped folder (not its subfolders), in
// name order; a folder without any is named among the files not added.
void append_folder_images(App& app, const std::wstring& folder, std::vector<ChosenFile>& files,
                          std::vector<NotAddedFile>& not_added) {
  std::wstring prefix = folder;
  if (prefix.back() != L'\\' && prefix.back() != L'/') {
    prefix.push_back(L'\\');
  }
  const auto claimed = [&](std::string_view extension) {
    const std::vector<Plugin>& plugins = app.plugins.plugins();
    return std::any_of(plugins.begin(), plugins.end(), [&](const Plugin& plugin) {
      return plugin_claims_extension(plugin, extension);
    });
  };
  std::vector<ChosenFile> found;
  WIN32_FIND_DATAW data{};
  const FileSearch search(FindFirstFileW((prefix + L"*").c_str(), &data));
  if (search.valid()) {
    do {
      if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        continue;
      }
      ChosenFile file = chosen_file(prefix + data.cFileName);
      if (is_image_file_name(file.path, claimed)) {
        found.push_back(std::move(file));
      }
    } while (FindNextFileW(search.get(), &data));
  }
  if (found.empty()) {
    not_added.push_back({chosen_file(folder).path, NotAddedReason::NoImagesInFolder});
    return;
  }
  sort_by_name(found);
  files.insert(files.end(), std::make_move_iterator(found.begin()),
               std::make_move_iterator(found.end()));
}

}  // namespace

int add_images(App& app, std::span<const ChosenFile> files, bool carry_cursor,
               std::vector<NotAddedFile> not_added) {
  int added = 0;
  {
    RedrawLock lock(app.sheet_view.window());
    PlacementCursor cursor;
    added = add_image_files(
        files, carry_cursor ? &cursor : nullptr,
        [&](std::string_view path, PlacementCursor* at) {
          if (app.project.images.full()) {
            return AddOutcome::PageFull;
          }
          if (app.sheet_view.add_image(path, at) == nullptr) {
            return AddOutcome::Unreadable;
          }
          return AddOutcome::Added;
        },
        not_added);
  }
  app.sheet_view.update_extent(true);
  // Each image added marked the project modified; a command that could add
  // nothing marks it too, as it always has.
  mark_modified(app.project);
  // After the view is drawn again, so the message stands over the images
  // that were added.
  report_not_added(app.prompter, not_added);
  return added;
}

int add_dropped_files(App& app, HDROP drop) {
  std::vector<ChosenFile> files;
  std::vector<NotAddedFile> not_added;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT index = 0; index < count; ++index) {
    // The length first: a name is never cut to fit a buffer and tried as
    // another, shorter name.
    const UINT length = DragQueryFileW(drop, index, nullptr, 0);
    if (length == 0) {
      continue;
    }
    std::wstring name(length + 1, L'\0');
    if (DragQueryFileW(drop, index, name.data(), length + 1) != length) {
      continue;
    }
    name.resize(length);
    if (is_folder(name)) {
      append_folder_images(app, name, files, not_added);
    } else {
      files.push_back(chosen_file(name));
    }
  }
  DragFinish(drop);
  return add_images(app, files, true, std::move(not_added));
}

void add_image_through_dialog(App& app) {
  ImageFilters filters;
  build_image_filters(filters,
                      [&](std::span<char> rest) { return app.plugins.build_plugin_filter(rest); });
  std::vector<ChosenFile> files;
  if (!app.prompter.ask_file_names(kAddImageDialogCaption, filters.pairs, files)) {
    return;
  }
  // Several files go one after the other, as a drop places them.
  static_cast<void>(add_images(app, files, true));
}

void toggle_list_window(App& app, ListWindowKind kind) {
  if (app.list_windows->is_open(kind)) {
    app.list_windows->close(kind);
  } else {
    app.list_windows->open(kind);
  }
}

void restore_list_windows(App& app) {
  // The Enable flags as start-up read them; each window shows itself on
  // its toolbar button.
  if (app.image_list_open) {
    app.list_windows->open(ListWindowKind::ImageList);
  }
  if (app.page_list_open) {
    app.list_windows->open(ListWindowKind::PageList);
  }
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
  if (app.program_folder.empty()) {
    return;
  }
  const std::wstring path = app.program_folder + kHelpFileName;
  // Whether the shell succeeds is not reported.
  ShellExecuteW(app.main_window, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace piconel
