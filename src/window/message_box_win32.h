#pragma once

// Message boxes over one owner, centred over it. Windows only: include from
// *_win32.cpp files only.

#include <windows.h>

#include <string>
#include <string_view>

namespace piconel {

// MessageBoxW owned by `owner` and centred over it inside the work area.
// `text` and `caption` are CP932 and converted with code page 932. While the
// box is open the program counts as busy and its other top-level windows
// are disabled (ModalScope), and a WH_CALLWNDPROCRET hook on this thread moves the window that
// returns from WM_INITDIALOG (the box) over its owner; the hook is removed as
// soon as MessageBoxW returns. A box opened while another centred box is open
// (from a timer, say) shares the outer box's hook. A null owner gives an
// ownerless box where the system puts it. Returns MessageBoxW's result: the
// button pressed, or 0 when the box could not be shown.
[[nodiscard]] int centred_message_box(HWND owner, std::string_view text, std::string_view caption,
                                      UINT style);

// The same with UTF-16 text, for texts that hold a name the system gave
// and CP932 cannot show.
[[nodiscard]] int centred_message_box_wide(HWND owner, const std::wstring& text,
                                           const std::wstring& caption, UINT style);

// True while the centring hook of centred_message_box is installed.
[[nodiscard]] bool centring_hook_installed();

}  // namespace piconel
