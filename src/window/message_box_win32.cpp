#include "window/message_box_win32.h"

#include <string>

#include "store/handles_win32.h"
#include "store/system_boundary_win32.h"
#include "store/wide_text.h"
#include "window/centre_window_win32.h"
#include "window/modal_scope_win32.h"

namespace piconel {

namespace {

// The hook of the one centred box that is open; a hook procedure gets no
// context pointer, so this is the only place to keep it.
HHOOK g_centring_hook = nullptr;

LRESULT CALLBACK centre_on_init_dialog(int code, WPARAM wparam, LPARAM lparam) noexcept {
  return hook_procedure_boundary(code, wparam, lparam, [&] {
    if (code == HC_ACTION) {
      const auto* returned = reinterpret_cast<const CWPRETSTRUCT*>(lparam);
      // The box has laid itself out during WM_INITDIALOG and is not shown
      // yet, so moving it now is not seen as a jump.
      if (returned->message == WM_INITDIALOG) {
        static_cast<void>(centre_window(returned->hwnd, GetParent(returned->hwnd)));
      }
    }
    return CallNextHookEx(g_centring_hook, code, wparam, lparam);
  });
}

}  // namespace

int centred_message_box(HWND owner, std::string_view text, std::string_view caption, UINT style) {
  return centred_message_box_wide(owner, to_wide(text), to_wide(caption), style);
}

int centred_message_box_wide(HWND owner, const std::wstring& wide_text,
                             const std::wstring& wide_caption, UINT style) {
  const ModalScope modal(owner);
  WindowsHook hook;
  if (g_centring_hook == nullptr) {
    hook.reset(
        SetWindowsHookExW(WH_CALLWNDPROCRET, centre_on_init_dialog, nullptr, GetCurrentThreadId()));
    g_centring_hook = hook.get();
  }
  const int answer = MessageBoxW(owner, wide_text.c_str(), wide_caption.c_str(), style);
  if (hook) {
    g_centring_hook = nullptr;
    hook.reset();
  }
  return answer;
}

bool centring_hook_installed() {
  return g_centring_hook != nullptr;
}

}  // namespace piconel
