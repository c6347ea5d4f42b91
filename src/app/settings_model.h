#pragma once

// The settings file piconel.ini as data: where it lives, its sections and
// keys with their defaults, and the window state kept in it. Portable: the
// Win32 side reads the live windows into these records and applies them.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "canvas/sheet_view_state.h"  // kDefaultSnapWidth
#include "image/plugin_settings.h"
#include "project/project_keys.h"
#include "store/document_store.h"
#include "window/centre_window.h"

namespace piconel {

namespace settings_keys {

inline constexpr std::string_view kFileName = "piconel.ini";
// ピコネル設定ファイル: the settings file's APPLICATIONNAME.
inline constexpr std::string_view kApplicationName =
    "\x83\x73\x83\x52\x83\x6C\x83\x8B\x90\xDD\x92\xE8\x83\x74\x83\x40\x83\x43\x83\x8B";

inline constexpr std::string_view kWindowSection = "WINDOW";

// PROPERTY (kPropertySection). PROJ_RELATIVEPATH is the project's
// (kRelativePathKey, read_relative_image_paths); the page defaults at the
// application end of the property chain are the chained keys of
// property_chain.h, the same names as in project files.
inline constexpr std::string_view kSnapWidth = "SNAPWIDTH";
// PLUGIN_SUSIEDIR (kPluginSusieDir) lives with the plug-in host: image/plugin_settings.h.

// WINDOW ("Colmn" is the files' spelling)
inline constexpr std::string_view kMainWindowMode = "MainWindowMode";
inline constexpr std::string_view kMainWindowPos = "MainWindowPos";
inline constexpr std::string_view kMainWindowMinPos = "MainWindowMinPos";
inline constexpr std::string_view kMainWindowMaxPos = "MainWindowMaxPos";
inline constexpr std::string_view kListWindowPos = "ListWindowPos";
inline constexpr std::string_view kListColmnWidth = "ListColmnWidth";
inline constexpr std::string_view kListWindowEnable = "ListWindowEnable";
inline constexpr std::string_view kPageWindowPos = "PageWindowPos";
inline constexpr std::string_view kPageColmnWidth = "PageColmnWidth";
inline constexpr std::string_view kPageWindowEnable = "PageWindowEnable";

inline constexpr std::string_view kModeMaximized = "MAXIMIZED";
inline constexpr std::string_view kModeNormal = "NORMAL";

}  // namespace settings_keys

// Paths live in 260-byte buffers: 259 bytes and the terminator.
inline constexpr std::size_t kMaxSettingsPathBytes = 259;

// --- location --------------------------------------------------------------

// Drive and directory of the program's executable (the directory ends in its
// separator); none when the module path is empty or longer than 259 bytes.
[[nodiscard]] std::optional<std::string> program_folder_of(std::string_view module_path);

// The program folder joined with "piconel.ini" (one separator: the folder
// already ends in one); none when the module path fails as above or the
// joined path is longer than 259 bytes.
[[nodiscard]] std::optional<std::string> settings_path_for_module(std::string_view module_path);

// --- PROPERTY --------------------------------------------------------------

// SNAPWIDTH read with atoi, 4 when absent; a hand-edited value is returned
// unchanged (no range check).
[[nodiscard]] int read_snap_width(DocumentStore& settings);
// PROJ_RELATIVEPATH is read by read_relative_image_paths (project_keys.h),
// PLUGIN_SUSIEDIR by read_search_susie_folder (image/plugin_settings.h).

// INFOMATION with "ピコネル設定ファイル" and version 1.0.8 (every start).
bool write_settings_identity(DocumentStore& settings);

// --- list windows ----------------------------------------------------------

// A list window's rectangle as the settings hold it: left, top, width,
// height (unlike MainWindowPos, which holds right and bottom edges).
struct ListWindowBox {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  friend bool operator==(const ListWindowBox&, const ListWindowBox&) = default;
};

// The in-memory geometry of the two list windows for the whole run: starts
// at the defaults, is overwritten from the settings at start-up and from the
// live windows at close, and is used whenever a list window is created.
struct ListWindowGeometry {
  ListWindowBox image_list{0, 0, 200, 300};
  std::array<std::int32_t, 3> image_list_columns{100, 100, 200};
  ListWindowBox page_list{0, 0, 300, 300};
  std::array<std::int32_t, 4> page_list_columns{120, 36, 36, 120};
  // Whether the rectangle is one the user gave the window (read from the
  // settings or kept from the open window). Until then only its size counts:
  // the window first opens beside the main window, not at 0,0 over its menu.
  bool image_list_placed = false;
  bool page_list_placed = false;
  friend bool operator==(const ListWindowGeometry&, const ListWindowGeometry&) = default;
};

// Start-up reads: ListWindowPos (4 numbers) and ListColmnWidth (3) into the
// geometry, each number present overwriting its value in place (a single
// number changes only the first), and a ListWindowPos with a number marks
// the rectangle placed; the result is the ListWindowEnable flag.
[[nodiscard]] bool read_image_list_settings(DocumentStore& settings, ListWindowGeometry& geometry);
// The same with PageWindowPos (4), PageColmnWidth (4) and PageWindowEnable.
[[nodiscard]] bool read_page_list_settings(DocumentStore& settings, ListWindowGeometry& geometry);

// Close: writes ListWindowPos, ListColmnWidth, ListWindowEnable,
// PageWindowPos, PageColmnWidth, PageWindowEnable in that order (each flag
// "1" when that window is open, else "0"). A rectangle that was never placed
// is left out, so the next start still opens that window beside the main
// window.
bool write_list_window_settings(DocumentStore& settings, const ListWindowGeometry& geometry,
                                bool image_list_open, bool page_list_open);

// --- the main window -------------------------------------------------------

// The main window's placement record as the settings hold it.
struct MainWindowPlacement {
  bool maximized = false;
  ScreenRect normal;         // left, top, right, bottom
  ScreenPoint min_position;  // minimized position
  ScreenPoint max_position;  // maximized position
};

struct RestoredPlacement {
  // MainWindowMode is exactly "MAXIMIZED" (whole text, case-sensitive).
  bool maximized = false;
  // MainWindowPos, MainWindowMinPos and MainWindowMaxPos each gave at least
  // one number; only then is `placement` applied.
  bool complete = false;
  // Starts all zero; each number read overwrites its field in place.
  // `placement.maximized` repeats `maximized`.
  MainWindowPlacement placement;
};

// Start-up read: MainWindowMode, then MainWindowPos (4), MainWindowMinPos (2)
// and MainWindowMaxPos (2), each read only when the one before gave at least
// one number.
[[nodiscard]] RestoredPlacement read_main_window_placement(DocumentStore& settings);

// Close: MainWindowMode ("MAXIMIZED" or "NORMAL"), MainWindowPos,
// MainWindowMinPos, MainWindowMaxPos, in that order.
bool write_main_window_placement(DocumentStore& settings, const MainWindowPlacement& placement);

}  // namespace piconel
