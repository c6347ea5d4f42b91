#include <windows.h>

#include <shellapi.h>

#include <string>

#include "app/about_text.h"
#include "app/command_actions_win32.h"
#include "store/system_boundary_win32.h"
#include "store/wide_text.h"
#include "window/centre_window_win32.h"
#include "window/modal_scope_win32.h"
#include "window/resource.h"

namespace piconel {

namespace {

struct AboutDialog {
  HWND owner = nullptr;
  AboutRecord record;
  std::string build_date;
};

// Hands an address to the shell with the default verb; a failure shows
// nothing.
void open_address(HWND dialog, const std::string& address) {
  ShellExecuteW(dialog, nullptr, to_wide(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

INT_PTR handle_about_message(AboutDialog& about, HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      static_cast<void>(centre_window(dialog, about.owner));
      SetDlgItemTextW(dialog, IDC_ABOUT_TEXT,
                      to_wide(about_text(about.record, about.build_date)).c_str());
      SetForegroundWindow(dialog);
      SetFocus(GetDlgItem(dialog, IDOK));
      // The focus was set here.
      return FALSE;
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
        case IDOK:
        case IDCANCEL:
          EndDialog(dialog, LOWORD(wparam));
          return TRUE;
        case IDC_ABOUT_WEB_PAGE:
          open_address(dialog, std::string(about.record.web_page));
          return TRUE;
        case IDC_ABOUT_MAIL:
          open_address(dialog, mail_link(about.record.mail));
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

}  // namespace

void show_about_box(App& app) {
  AboutDialog about{app.main_window, program_about_record(), format_build_date(__DATE__)};
  ModalScope modal(app.main_window);
  DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT), app.main_window,
                  bound_dialog_procedure<AboutDialog, handle_about_message>,
                  reinterpret_cast<LPARAM>(&about));
}

}  // namespace piconel
