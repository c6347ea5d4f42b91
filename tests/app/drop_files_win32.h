#pragma once

// A real drop handle for the drop tests: what Explorer hands a window with
// WM_DROPFILES. The window that takes the drop frees it (DragFinish).

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

namespace piconel::test {

// A drop handle naming `files` (wide names, as Explorer builds them).
inline HDROP make_drop(const std::vector<std::wstring>& files) {
  std::size_t chars = 1;
  for (const std::wstring& file : files) {
    chars += file.size() + 1;
  }
  const HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  auto* names = reinterpret_cast<wchar_t*>(reinterpret_cast<char*>(drop) + sizeof(DROPFILES));
  for (const std::wstring& file : files) {
    file.copy(names, file.size());
    names += file.size() + 1;
  }
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

}  // namespace piconel::test
