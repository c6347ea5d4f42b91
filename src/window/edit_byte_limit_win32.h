#pragma once

// Keeps an edit field's text within a number of CP932 bytes while the user
// types. EM_LIMITTEXT counts UTF-16 characters, and a double-byte character
// takes two bytes in the files. Windows only: include from *_win32.cpp
// files only.

#include <windows.h>

#include <cstddef>

namespace piconel {

// From now on a keystroke, paste or undo that would make the text of `edit`
// longer than `max_bytes` in CP932 is undone (with a beep); the limit goes
// with the window. False when the field could not be subclassed.
bool limit_edit_bytes(HWND edit, std::size_t max_bytes);

}  // namespace piconel
