// piconel.exe: start-up (settings file, plug-ins, the project named on the
// command line, main window and its placement), the message loop and the
// close sequence that asks about unsaved changes and writes the window state
// back. The main window only routes: commands go to the command table
// (commands_win32.cpp), the list windows live in list_windows_win32.cpp.

#include <windows.h>

#include <objbase.h>

#include <optional>
#include <string>

#include "app/app_win32.h"
#include "app/app_window_win32.h"
#include "app/command_actions_win32.h"
#include "app/command_line_win32.h"
#include "app/list_windows_win32.h"
#include "app/message_loop_win32.h"
#include "app/name_refusal_win32.h"
#include "app/resource.h"
#include "app/settings_model.h"
#include "project/project_file.h"
#include "store/document_store.h"
#include "store/handles_win32.h"
#include "store/system_boundary_win32.h"
#include "store/wide_text.h"

namespace piconel {
namespace {

// "設定ファイルの読込に失敗しました", caption "ピコネル：設定ファイル"
constexpr char kSettingsLoadFailed[] =
    "\x90\xdd\x92\xe8\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xcc\x93\xc7\x8d\x9e\x82\xc9\x8e\xb8\x94"
    "\x73\x82\xb5\x82\xdc\x82\xb5\x82\xbd";
constexpr char kSettingsCaption[] =
    "\x83\x73\x83\x52\x83\x6c\x83\x8b\x81\x46\x90\xdd\x92\xe8\x83\x74\x83\x40\x83\x43\x83\x8b";

// Shows the new main window as the settings left it: a complete saved
// placement is applied as it is, otherwise the start-up show command is used;
// "MAXIMIZED" maximizes it in either case.
void restore_placement(HWND window, DocumentStore& settings, int show_command) {
  const RestoredPlacement restored = read_main_window_placement(settings);
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  placement.showCmd = static_cast<UINT>(show_command);
  if (restored.maximized) {
    // Applied hidden below; the posted command then shows it maximized.
    PostMessageW(window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    placement.showCmd = 0;
  }
  if (restored.complete) {
    const MainWindowPlacement& saved = restored.placement;
    placement.rcNormalPosition =
        RECT{saved.normal.left, saved.normal.top, saved.normal.right, saved.normal.bottom};
    placement.ptMinPosition = POINT{saved.min_position.x, saved.min_position.y};
    placement.ptMaxPosition = POINT{saved.max_position.x, saved.max_position.y};
    SetWindowPlacement(window, &placement);
  } else {
    ShowWindow(window, show_command);
    UpdateWindow(window);
  }
}

// The start-up show command: the one the starting process asked for, else
// SW_SHOWDEFAULT.
int startup_show_command() {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  GetStartupInfoW(&startup);
  if ((startup.dwFlags & STARTF_USESHOWWINDOW) != 0) {
    return startup.wShowWindow;
  }
  return SW_SHOWDEFAULT;
}

// The program's path as CP932; none when it cannot be read, is not plain
// CP932 or is too long.
std::optional<std::string> module_path() {
  // One more than the 260 the path may take, to tell "fits" from "cut".
  wchar_t module[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameW(nullptr, module, MAX_PATH + 1);
  if (length == 0 || length > MAX_PATH) {
    return std::nullopt;
  }
  return to_cp932_strict(std::wstring_view(module, length));
}

// The project named on the command line, or a new one; false (after the
// message) when the argument is too long. An argument without an exact
// CP932 form is refused with a message, and a new project started.
bool open_startup_project(App& app) {
  const std::wstring_view tail = command_line_tail(GetCommandLineW());
  if (tail.empty()) {
    open_project(app.project, std::string_view());
    return true;
  }
  if (!to_cp932_strict(tail)) {
    // A look-alike would open another file: say so and start a new project.
    refuse_name(nullptr, kProgramCaption, NameCheck::WithoutCp932, tail);
    open_project(app.project, std::string_view());
    return true;
  }
  const std::optional<std::string> argument = project_argument(tail);
  if (!argument) {
    // No main window yet: an ownerless box.
    static_cast<void>(
        app.prompter.message_box(kArgumentTooLong, kProgramCaption, kMbOk | kMbIconInformation));
    return false;
  }
  open_project(app.project, *argument);
  return true;
}

int run(HINSTANCE instance) {
  // Needed by the shell folder browser; never undone.
  static_cast<void>(CoInitialize(nullptr));

  const std::optional<std::string> module = module_path();
  const std::optional<std::string> path = module ? settings_path_for_module(*module) : std::nullopt;
  const std::optional<std::string> folder = module ? program_folder_of(*module) : std::nullopt;
  if (!path || !folder) {
    return 1;
  }
  App app;
  ListWindows list_windows(app);
  app.program_folder = *folder;
  if (!app.settings.load(*path, true)) {
    // No main window yet, so no owner and no centring.
    MessageBoxW(nullptr, to_wide(kSettingsLoadFailed).c_str(), to_wide(kSettingsCaption).c_str(),
                MB_OK | MB_ICONERROR);
    return 1;
  }
  write_settings_identity(app.settings);
  app.snap_width = read_snap_width(app.settings);
  app.image_list_open = read_image_list_settings(app.settings, app.list_geometry);
  app.page_list_open = read_page_list_settings(app.settings, app.list_geometry);
  app.sheet_view.set_snap_width(app.snap_width);
  static_cast<void>(
      app.plugins.load_plugins(app.program_folder, read_search_susie_folder(app.settings)));

  // A failed registration does not end the program here: the window
  // creation below then fails and ends it as that step says.
  static_cast<void>(register_main_window_class(instance));
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));

  if (!open_startup_project(app)) {
    return -1;
  }
  // Not an OwnedWindow: the close sequence destroys it, and the loop ends
  // with the WM_QUIT of its WM_DESTROY.
  HWND main_window = create_main_window(app, instance, update_title(app.project));
  if (main_window == nullptr) {
    return 0;
  }
  restore_placement(main_window, app.settings, startup_show_command());
  restore_list_windows(app);

  app.accelerators.table = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
  const int exit_code = run_message_loop(app.accelerators);
  app.set_main_window(nullptr);
  app.plugins.free_plugins();
  return exit_code;
}

}  // namespace
}  // namespace piconel

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // The last boundary: nothing unwinds out of the program's entry.
  return piconel::call_at_boundary(1, [&] { return piconel::run(instance); });
}
