#include "app/settings_save_failure_win32.h"

#include <string>

#include "app/settings_texts.h"
#include "store/wide_text.h"
#include "window/message_box_win32.h"

namespace piconel {

void report_settings_not_saved(const App& app, HWND owner) {
  // The path as the system gave it, so a program folder CP932 cannot write
  // is shown as it is.
  const std::wstring path =
      app.settings_path.empty() ? to_wide(app.settings.file_path()) : app.settings_path;
  static_cast<void>(
      centred_message_box_wide(owner, to_wide(settings_texts::kSaveFailed) + L"\r\n\r\n" + path,
                               to_wide(settings_texts::kCaption), MB_OK | MB_ICONERROR));
}

}  // namespace piconel
