#pragma once

// The shell's folder browser. Windows only: include from *_win32.cpp files
// only.

#include <windows.h>

#include <string>
#include <string_view>

namespace piconel {

// The shell folder browser owned by `owner`, titled `title` (CP932), taking
// only file-system folders and opening on `folder` (CP932). OK puts the
// chosen folder's path into `folder` and gives true; cancel and a choice
// without a file-system path give false and leave `folder` as it was, as
// does a path without an exact CP932 form, after a message titled
// `refusal_caption` saying why. COM must be initialised on
// the thread.
[[nodiscard]] bool browse_for_folder(HWND owner, std::string_view title,
                                     std::string_view refusal_caption, std::string& folder);

}  // namespace piconel
