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
#include "app/settings_location_win32.h"
#include "app/settings_model.h"
#include "app/settings_texts.h"
#include "project/project_file.h"
#include "store/document_store.h"
#include "store/handles_win32.h"
#include "store/system_boundary_win32.h"
#include "store/wide_text.h"
#include "window/name_refusal_win32.h"
#include "window/resource.h"

namespace piconel {
namespace {

// "プログラムのフォルダを取得できませんでした。"
constexpr char kProgramFolderUnknown[] =
    "\x83\x76\x83\x8d\x83\x4f\x83\x89\x83\x80\x82\xcc\x83\x74\x83\x48\x83\x8b\x83\x5f\x82\xf0\x8e"
    "\xe6\x93\xbe\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd\x81\x42";
// "メインウィンドウを作成できませんでした。"
constexpr char kMainWindowFailed[] =
    "\x83\x81\x83\x43\x83\x93\x83\x45\x83\x42\x83\x93\x83\x68\x83\x45\x82\xf0\x8d\xec\x90\xac\x82"
    "\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd\x81\x42";
// "メモリが足りないなどの理由で処理を続けられないため、ピコネルを終了します。"
constexpr char kRunStopped[] =
    "\x83\x81\x83\x82\x83\x8a\x82\xaa\x91\xab\x82\xe8\x82\xc8\x82\xa2\x82\xc8\x82\xc7\x82\xcc"
    "\x97\x9d\x97\x52\x82\xc5\x8f\x88\x97\x9d\x82\xf0\x91\xb1\x82\xaf\x82\xe7\x82\xea\x82\xc8"
    "\x82\xa2\x82\xbd\x82\xdf\x81\x41\x83\x73\x83\x52\x83\x6c\x83\x8b\x82\xf0\x8f\x49\x97\xb9"
    "\x82\xb5\x82\xdc\x82\xb7\x81\x42";

// Every start-up failure that ends the program says what failed: an
// ownerless box (there is no main window to centre it over), with the
// name the failure concerns on the next lines when there is one.
int end_with_message(int exit_code, std::string_view text, std::string_view caption,
                     const std::wstring& name = std::wstring()) {
  std::wstring shown = to_wide(text);
  if (!name.empty()) {
    shown += L"\r\n\r\n" + name;
  }
  MessageBoxW(nullptr, shown.c_str(), to_wide(caption).c_str(), MB_OK | MB_ICONERROR);
  return exit_code;
}

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

  // The folder and the settings path stay UTF-16: they are never stored in
  // a project, so a folder CP932 cannot write is no reason to stop.
  const std::optional<ProgramLocation> location = locate_program();
  if (!location) {
    return end_with_message(1, kProgramFolderUnknown, kProgramCaption);
  }
  App app;
  ListWindows list_windows(app);
  app.program_folder = location->folder;
  app.settings_path = location->settings_path;
  if (!load_settings_file(app.settings, app.settings_path)) {
    return end_with_message(1, settings_texts::kLoadFailed, settings_texts::kCaption,
                            app.settings_path);
  }
  write_settings_identity(app.settings);
  app.snap_width = read_snap_width(app.settings);
  app.image_list_open = read_image_list_settings(app.settings, app.list_geometry);
  app.page_list_open = read_page_list_settings(app.settings, app.list_geometry);
  app.sheet_view.set_snap_width(app.snap_width);
  // The plug-in search works in CP932; a folder without any CP932 name
  // (not even a short one) has no plug-ins beside the program.
  if (const std::optional<std::string> folder = cp932_folder_for_plugins(app.program_folder)) {
    static_cast<void>(app.plugins.load_plugins(*folder, read_search_susie_folder(app.settings)));
  }

  // A failed registration does not end the program here: the window
  // creation below then fails and says so.
  static_cast<void>(register_main_window_class(instance));
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));

  if (!open_startup_project(app)) {
    return -1;
  }
  // Not an OwnedWindow: the close sequence destroys it, and the loop ends
  // with the WM_QUIT of its WM_DESTROY.
  HWND main_window = create_main_window(app, instance, update_title(app.project));
  if (main_window == nullptr) {
    return end_with_message(0, kMainWindowFailed, kProgramCaption);
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
  // The last boundary: nothing unwinds out of the program's entry, and what
  // it stops is said before the program ends.
  const std::optional<int> exit_code = piconel::call_at_boundary(
      std::optional<int>(), [&] { return std::optional<int>(piconel::run(instance)); });
  if (exit_code) {
    return *exit_code;
  }
  return piconel::call_at_boundary(1, [] {
    return piconel::end_with_message(1, piconel::kRunStopped, piconel::kProgramCaption);
  });
}
