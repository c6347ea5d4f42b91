// piconel.exe: start-up, the main window's class and the message loop. The
// main window is still bare: a title, the menu and the accelerator keys;
// the commands that do work arrive with the parts that implement them.

#include <windows.h>

#include <objbase.h>

#include <string>

#include "app/handles_win32.h"
#include "app/resource.h"
#include "store/wide_text.h"

namespace piconel {
namespace {

constexpr wchar_t kMainWindowClass[] = L"piconel";
// Title of a new, unsaved project: "ピコネル - [(新規)]"
constexpr char kNewProjectTitle[] = "\x83\x73\x83\x52\x83\x6c\x83\x8b - [(\x90\x56\x8b\x4b)]";
constexpr int kMainWindowSize = 512;
constexpr int kMinimumTrackSize = 64;

LRESULT CALLBACK main_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_GETMINMAXINFO: {
      auto* limits = reinterpret_cast<MINMAXINFO*>(lparam);
      limits->ptMinTrackSize.x = kMinimumTrackSize;
      limits->ptMinTrackSize.y = kMinimumTrackSize;
      return 0;
    }
    case WM_COMMAND:
      if (LOWORD(wparam) == IDM_EXIT) {
        PostMessageW(window, WM_CLOSE, 0, 0);
      }
      return 0;
    case WM_PAINT: {
      // The class has no background brush (the sheet view will cover the
      // client area); until then paint it plainly.
      PaintDc dc(window);
      if (dc) {
        FillRect(dc.get(), &dc.paint().rcPaint, GetSysColorBrush(COLOR_APPWORKSPACE));
      }
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

bool register_main_window_class(HINSTANCE instance) {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof(window_class);
  window_class.style = CS_BYTEALIGNWINDOW;
  window_class.lpfnWndProc = main_window_procedure;
  window_class.hInstance = instance;
  window_class.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_PICONEL));
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = nullptr;
  window_class.lpszMenuName = MAKEINTRESOURCEW(IDR_MAIN_MENU);
  window_class.lpszClassName = kMainWindowClass;
  return RegisterClassExW(&window_class) != 0;
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

// Runs until WM_QUIT; returns its exit code. Accelerators are translated for
// the messages of every window of the thread and go to the main window.
int run_message_loop(HWND main_window, HACCEL accelerators) {
  MSG message{};
  for (;;) {
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
      WaitMessage();
      continue;
    }
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      break;
    }
    if (accelerators != nullptr && TranslateAcceleratorW(main_window, accelerators, &message)) {
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return message.message == WM_QUIT ? static_cast<int>(message.wParam) : 0;
}

int run(HINSTANCE instance) {
  // Needed by the shell folder browser; never undone.
  static_cast<void>(CoInitialize(nullptr));
  if (!register_main_window_class(instance)) {
    return 1;
  }
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));

  const std::wstring title = to_wide(kNewProjectTitle);
  // Not an OwnedWindow: the user's close request destroys it (WM_CLOSE's
  // default handling), and the loop ends with the WM_QUIT of its WM_DESTROY.
  HWND main_window =
      CreateWindowExW(0, kMainWindowClass, title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0,
                      kMainWindowSize, kMainWindowSize, nullptr, nullptr, instance, nullptr);
  if (main_window == nullptr) {
    return 0;
  }
  ShowWindow(main_window, startup_show_command());
  UpdateWindow(main_window);

  const HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
  return run_message_loop(main_window, accelerators);
}

}  // namespace
}  // namespace piconel

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  return piconel::run(instance);
}
