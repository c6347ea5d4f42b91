#include "app/output_port_win32.h"

// After windows.h, which they need.
#include <objbase.h>
#include <shlobj.h>

#include <optional>

#include "app/modal_scope_win32.h"
#include "app/name_refusal_win32.h"
#include "store/wide_text.h"

namespace piconel {
namespace {

// Preselects the folder whose path (UTF-16) comes as the callback's data
// once the browser has finished its set-up.
int CALLBACK preselect_folder(HWND browser, UINT message, LPARAM, LPARAM data) noexcept {
  if (message == BFFM_INITIALIZED && data != 0) {
    SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, data);
  }
  return 0;
}

// The item list SHBrowseForFolderW returns, freed through the shell
// allocator.
class ShellItemList {
 public:
  explicit ShellItemList(PIDLIST_ABSOLUTE list) : list_(list) {}
  ~ShellItemList() { CoTaskMemFree(list_); }
  ShellItemList(const ShellItemList&) = delete;
  ShellItemList& operator=(const ShellItemList&) = delete;
  [[nodiscard]] PIDLIST_ABSOLUTE get() const { return list_; }

 private:
  PIDLIST_ABSOLUTE list_;
};

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

bool browse_for_folder(HWND owner, std::string_view title, std::string& folder) {
  const std::wstring wide_title = to_wide(title);
  // A start folder without a UTF-16 form is not preselected.
  const std::optional<std::wstring> start = to_wide_strict(folder);
  wchar_t display_name[MAX_PATH] = {};

  BROWSEINFOW request{};
  request.hwndOwner = owner;
  request.pszDisplayName = display_name;
  request.lpszTitle = wide_title.c_str();
  request.ulFlags = BIF_RETURNONLYFSDIRS;
  request.lpfn = preselect_folder;
  request.lParam = start && !start->empty() ? reinterpret_cast<LPARAM>(start->c_str()) : 0;

  const ShellItemList chosen = [&] {
    const ModalScope modal(owner);
    return ShellItemList(SHBrowseForFolderW(&request));
  }();
  if (chosen.get() == nullptr) {
    return false;
  }
  wchar_t path[MAX_PATH] = {};
  if (!SHGetPathFromIDListW(chosen.get(), path)) {
    return false;
  }
  CheckedName converted = check_name(path);
  if (converted.check != NameCheck::Ok) {
    refuse_name(owner, kOutputCaption, converted.check, path);
    return false;
  }
  folder = std::move(converted.cp932);
  return true;
}

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
  return browse_for_folder(owner_, kOutputFolderTitle, folder);
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
