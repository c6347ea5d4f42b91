#pragma once

// The image settings dialog "画像の設定" (template 118): an image's label,
// forced size and transparent colour. Windows only: include from
// *_win32.cpp files only.

#include <windows.h>

#include "image/image_entry.h"

namespace piconel {

class PictureDecoder;

// Runs the dialog modally over `owner` (the program's other windows
// disabled meanwhile, so the entry cannot be deleted under it) on `copy`, a
// copy of `entry`'s image settings block; `entry` gives the swatch its colour and the transparent
// colour picker its picture (read through `decoders`, may be none).
// Returns IDOK (1) with `copy` holding what the dialog stores, or IDCANCEL
// (2), after which the caller discards `copy` (the picker may have changed
// its key). The caller writes an OK'd copy back to the entry.
[[nodiscard]] INT_PTR run_image_settings_dialog(HWND owner, const ImageEntry& entry,
                                                ImageSettings& copy,
                                                const PictureDecoder* decoders);

}  // namespace piconel
