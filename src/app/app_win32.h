#pragma once

// What piconel.exe keeps for the whole run, and the window-side ports the
// project is wired to. Windows only: include from *_win32.cpp files only.

#include <windows.h>

#include <string>
#include <string_view>

#include "app/message_loop_win32.h"
#include "app/prompter_win32.h"
#include "app/settings_model.h"
#include "image/plugin_host.h"
#include "project/project.h"
#include "project/project_ports.h"
#include "store/document_store.h"
#include "store/wide_text.h"

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

// The sheet view, the list windows and the image entries are not part of
// the program yet: their ports are the do-nothing ones, so a page load keeps
// its image rows as they were read.
struct App {
  App()
      : project(ProjectPorts{&prompter, &null_page_list_view(), &null_sheet_view(), &title,
                             &null_entry_source()},
                &settings) {}
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
  // The message loop reads it for every message.
  AcceleratorRoute accelerators;
  // Drive and directory of the program, ending in its separator.
  std::string program_folder;
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
  // Declared after everything its ports point to.
  Project project;
};

}  // namespace piconel
