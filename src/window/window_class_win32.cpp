#include "window/window_class_win32.h"

namespace piconel {

bool register_window_class(const WindowClass& window_class) {
  const HINSTANCE instance =
      window_class.instance != nullptr ? window_class.instance : GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(instance, window_class.name, &existing)) {
    return true;
  }
  WNDCLASSEXW registered{};
  registered.cbSize = sizeof(registered);
  registered.style = window_class.style;
  registered.lpfnWndProc = window_class.procedure;
  registered.hInstance = instance;
  registered.hIcon = window_class.icon;
  registered.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  registered.hbrBackground = window_class.background;
  registered.lpszMenuName = window_class.menu;
  registered.lpszClassName = window_class.name;
  return RegisterClassExW(&registered) != 0;
}

}  // namespace piconel
