#include "app/output_port_win32.h"

#include "store/wide_text.h"
#include "window/folder_browser_win32.h"

namespace piconel {
namespace {

// Paints every window waiting for it; bounded, so a window whose painting
// leaves it invalid cannot hold the run.
void paint_waiting_windows() {
  constexpr int kMostPaints = 256;
  MSG message{};
  for (int painted = 0;
       painted < kMostPaints && PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE);
       ++painted) {
    DispatchMessageW(&message);
  }
}

}  // namespace

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

void WindowOutputPort::page_finished(int pages_done, int page_count) {
  if (!show_progress_) {
    return;
  }
  const std::optional<std::string> text =
      progress_.page_finished(pages_done, page_count, static_cast<std::int64_t>(GetTickCount64()));
  if (!text) {
    return;
  }
  show_progress_(*text);
  paint_waiting_windows();
}

}  // namespace piconel
