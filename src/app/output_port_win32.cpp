#include "app/output_port_win32.h"

#include "store/wide_text.h"
#include "window/folder_browser_win32.h"

namespace piconel {
std::string full_folder_path(std::string_view folder) {
  const std::wstring wide = folder.empty() ? std::wstring(L".") : to_wide(folder);
  const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (needed == 0) {
    return std::string(folder);
  }
  std::wstring full(needed, L'\0');
  const DWORD length = GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed) {
    return std::string(folder);
  }
  full.resize(length);
  return to_cp932(full);
}

bool WindowOutputPort::choose_output_folder(std::string& folder) {
  return browse_for_folder(owner_, kOutputFolderTitle, kOutputCaption, folder);
}

void WindowOutputPort::show_error(std::string_view text, std::string_view caption) {
  static_cast<void>(prompter_.message_box(text, caption, kMbOk | kMbIconError));
}

}  // namespace piconel
