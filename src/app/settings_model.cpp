#include "app/settings_model.h"

#include <span>

#include "store/cp932.h"

namespace piconel {

namespace {

using namespace settings_keys;

std::array<std::int32_t, 4> box_items(const ListWindowBox& box) {
  return {box.left, box.top, box.width, box.height};
}

// Reads up to four numbers into the box in place; returns how many were read.
int read_box(DocumentStore& settings, std::string_view key, ListWindowBox& box) {
  std::array<std::int32_t, 4> items = box_items(box);
  const int count = settings.get_int_list(kWindowSection, key, items);
  box = ListWindowBox{items[0], items[1], items[2], items[3]};
  return count;
}

bool write_flag(DocumentStore& settings, std::string_view key, bool on) {
  return settings.set_string(kWindowSection, key, on ? "1" : "0");
}

}  // namespace

std::optional<std::string> program_folder_of(std::string_view module_path) {
  if (module_path.empty() || module_path.size() > kMaxSettingsPathBytes) {
    return std::nullopt;
  }
  return folder_of(module_path);
}

std::optional<std::string> settings_path_for_module(std::string_view module_path) {
  std::optional<std::string> folder = program_folder_of(module_path);
  if (!folder) {
    return std::nullopt;
  }
  std::string path = *folder + std::string(kFileName);
  if (path.size() > kMaxSettingsPathBytes) {
    return std::nullopt;
  }
  return path;
}

int read_snap_width(DocumentStore& settings) {
  int width = kDefaultSnapWidth;
  (void)settings.get_int(kPropertySection, kSnapWidth, width);
  return width;
}

bool write_settings_identity(DocumentStore& settings) {
  return settings.write_info(kApplicationName, kApplicationVersion);
}

bool read_image_list_settings(DocumentStore& settings, ListWindowGeometry& geometry) {
  if (read_box(settings, kListWindowPos, geometry.image_list) > 0) {
    geometry.image_list_placed = true;
  }
  (void)settings.get_int_list(kWindowSection, kListColmnWidth, geometry.image_list_columns);
  return settings.get_flag(kWindowSection, kListWindowEnable);
}

bool read_page_list_settings(DocumentStore& settings, ListWindowGeometry& geometry) {
  if (read_box(settings, kPageWindowPos, geometry.page_list) > 0) {
    geometry.page_list_placed = true;
  }
  (void)settings.get_int_list(kWindowSection, kPageColmnWidth, geometry.page_list_columns);
  return settings.get_flag(kWindowSection, kPageWindowEnable);
}

bool write_list_window_settings(DocumentStore& settings, const ListWindowGeometry& geometry,
                                bool image_list_open, bool page_list_open) {
  const std::array<std::int32_t, 4> image_box = box_items(geometry.image_list);
  const std::array<std::int32_t, 4> page_box = box_items(geometry.page_list);
  bool ok = !geometry.image_list_placed ||
            settings.set_int_list(kWindowSection, kListWindowPos, image_box);
  ok = settings.set_int_list(kWindowSection, kListColmnWidth, geometry.image_list_columns) && ok;
  ok = write_flag(settings, kListWindowEnable, image_list_open) && ok;
  ok = (!geometry.page_list_placed ||
        settings.set_int_list(kWindowSection, kPageWindowPos, page_box)) &&
       ok;
  ok = settings.set_int_list(kWindowSection, kPageColmnWidth, geometry.page_list_columns) && ok;
  ok = write_flag(settings, kPageWindowEnable, page_list_open) && ok;
  return ok;
}

RestoredPlacement read_main_window_placement(DocumentStore& settings) {
  RestoredPlacement restored;
  const std::optional<std::string_view> mode = settings.get_string(kWindowSection, kMainWindowMode);
  restored.maximized = mode && *mode == kModeMaximized;
  restored.placement.maximized = restored.maximized;

  MainWindowPlacement& p = restored.placement;
  std::array<std::int32_t, 4> normal{};
  std::array<std::int32_t, 2> min_position{};
  std::array<std::int32_t, 2> max_position{};
  bool complete = settings.get_int_list(kWindowSection, kMainWindowPos, normal) > 0;
  complete = complete && settings.get_int_list(kWindowSection, kMainWindowMinPos, min_position) > 0;
  complete = complete && settings.get_int_list(kWindowSection, kMainWindowMaxPos, max_position) > 0;
  p.normal = ScreenRect{normal[0], normal[1], normal[2], normal[3]};
  p.min_position = ScreenPoint{min_position[0], min_position[1]};
  p.max_position = ScreenPoint{max_position[0], max_position[1]};
  restored.complete = complete;
  return restored;
}

bool write_main_window_placement(DocumentStore& settings, const MainWindowPlacement& placement) {
  const std::array<std::int32_t, 4> normal{placement.normal.left, placement.normal.top,
                                           placement.normal.right, placement.normal.bottom};
  const std::array<std::int32_t, 2> min_position{placement.min_position.x,
                                                 placement.min_position.y};
  const std::array<std::int32_t, 2> max_position{placement.max_position.x,
                                                 placement.max_position.y};
  bool ok = settings.set_string(kWindowSection, kMainWindowMode,
                                placement.maximized ? kModeMaximized : kModeNormal);
  ok = settings.set_int_list(kWindowSection, kMainWindowPos, normal) && ok;
  ok = settings.set_int_list(kWindowSection, kMainWindowMinPos, min_position) && ok;
  ok = settings.set_int_list(kWindowSection, kMainWindowMaxPos, max_position) && ok;
  return ok;
}

}  // namespace piconel
