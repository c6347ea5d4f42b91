#include <windows.h>

#include <shellapi.h>

#include <string>

#include "app/about_text.h"
#include "app/command_actions_win32.h"
#include "dialogs/dialog_frame_win32.h"
#include "store/wide_text.h"
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

void close_about(AboutDialog&, HWND dialog) {
  EndDialog(dialog, IDOK);
}

INT_PTR handle_about_message(AboutDialog& about, HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      SetDlgItemTextW(dialog, IDC_ABOUT_TEXT,
                      to_wide(about_text(about.record, about.build_date)).c_str());
      activate_dialog(dialog, about.owner, IDOK);
      // The focus was set here.
      return FALSE;
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
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
  static_cast<void>(run_modal_dialog<AboutDialog, handle_about_message, close_about>(
      app.main_window, IDD_ABOUT, about));
}

}  // namespace piconel
