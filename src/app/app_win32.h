#pragma once

// What piconel.exe keeps for the whole run, and the window-side ports the
// project is wired to. Windows only: include from *_win32.cpp files only.

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <string_view>

#include "app/list_window_hooks.h"
#include "app/message_loop_win32.h"
#include "app/settings_location_win32.h"
#include "app/settings_model.h"
#include "app/window_dialogs_win32.h"
#include "canvas/sheet_view_win32.h"
#include "image/plugin_host.h"
#include "project/image_entry_source.h"
#include "project/project.h"
#include "project/project_ports.h"
#include "store/document_store.h"
#include "store/handles_win32.h"
#include "store/wide_text.h"
#include "window/prompter_win32.h"

namespace piconel {

// The main window's caption; nothing while there is no main window (the
// first title is given to CreateWindowExW instead).
class WindowTitle final : public TitleView {
 public:
  void set_window(HWND window) { window_ = window; }
  void set_title(std::string_view title) override {
    if (window_ != nullptr) {
      SetWindowTextW(window_, to_wide(title).c_str());
    }
  }

 private:
  HWND window_ = nullptr;
};

// The main window's children and what the sheet view asks of them: the
// status bar texts, and the image settings dialog through the hooks.
struct MainWindowControls final : public SheetViewHost {
  void set_status_text(int part, std::string_view text) override {
    if (status_bar != nullptr) {
      SendMessageW(status_bar, SB_SETTEXTW, static_cast<WPARAM>(part),
                   reinterpret_cast<LPARAM>(to_wide(text).c_str()));
    }
  }
  void entry_double_clicked(const ImageEntry& entry) override;

  HWND toolbar = nullptr;
  HWND zoom_box = nullptr;
  HWND status_bar = nullptr;
  // Measured from the window rectangles after creation and after every
  // change of the window's DPI.
  int toolbar_height = 0;
  int status_bar_height = 0;
  // The DPI the controls are laid out for, and the standard UI font at it
  // (zoom box and status bar).
  int dpi = 96;
  GdiFont ui_font;
  // Bitmap resource 102, kept while the toolbar shows it.
  GdiBitmap toolbar_images;
  // Set by App; the double-click reaches the image settings dialog through it.
  struct App* app = nullptr;
};

struct App {
  App()
      : project(ProjectPorts{&prompter, &null_page_list_view(), &null_sheet_view(), &title,
                             &null_entry_source()},
                &settings),
        sheet_view(project, controls, &plugins),
        entry_source(&plugins, &sheet_view.sheet_colours(), &sheet_view) {
    project.ports.sheet = &sheet_view;
    project.ports.entry_source = &entry_source;
    controls.app = this;
  }
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  // Hands the main window to the ports that show things over it and to the
  // accelerator keys.
  void set_main_window(HWND window) {
    main_window = window;
    accelerators.target = window;
    prompter.set_owner(window);
    title.set_window(window);
  }

  HWND main_window = nullptr;
  // The message loop reads it for every message; the page list sets its
  // name_edit_active while a page name is edited in place.
  AcceleratorRoute accelerators;
  // Writes the settings back: to the file beside the program when start-up
  // loaded it from there, else to the store's own path (a store loaded by
  // path, as the tests do). False when it cannot be written.
  bool save_settings() {
    if (!settings_path.empty()) {
      return save_settings_file(settings, settings_path);
    }
    return settings.save();
  }

  // Drive and directory of the program, ending in its separator, and the
  // settings file beside it, as the system gave them (no CP932 form needed).
  std::wstring program_folder;
  std::wstring settings_path;
  DocumentStore settings;
  ListWindowGeometry list_geometry;
  // SNAPWIDTH as read at start-up, for the sheet view.
  int snap_width = kDefaultSnapWidth;
  // Whether each list window is open. Until the list windows exist these
  // keep ListWindowEnable and PageWindowEnable as read at start-up, so the
  // close writes them back as they were.
  bool image_list_open = false;
  bool page_list_open = false;
  PluginHost plugins;
  WindowPrompter prompter;
  WindowTitle title;
  MainWindowControls controls;
  ListWindowHooks default_list_windows;
  WindowDialogs window_dialogs{*this};
  ListWindowHooks* list_windows = &default_list_windows;
  DialogHooks* dialogs = &window_dialogs;
  // -1 while no property dialog is open; 0 or the edited page's index while
  // one is (the page settings dialog and the page list read it).
  int dialog_guard = -1;
  // Declared after everything its ports point to.
  Project project;
  SheetView sheet_view;
  ImageEntrySource entry_source;
};

}  // namespace piconel
