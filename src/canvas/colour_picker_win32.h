#pragma once

// The transparent colour picker: a resizable dialog (template 119) showing
// an image four times enlarged in a scrollable area of class "choicewin";
// a click picks the colour of the file's own pixel under it. Windows only:
// include from *_win32.cpp files only.

#include <windows.h>

#include <cstdint>

#include "image/image_entry.h"

namespace piconel {

class PictureDecoder;

// Shows the picker over `owner` for `entry` (its file read again through
// `decoders`, may be none, without analysis, key or replacement, so its
// pixels are the file's own colours) starting from `key`. OK: true, `key`
// becomes colour_to_key of the last picked colour (-1 when it matches no
// used palette entry). Cancel, or a dialog that cannot be shown: false,
// `key` unchanged. A file that cannot be read shows an empty area.
[[nodiscard]] bool pick_transparent_colour(HWND owner, const ImageEntry& entry, std::int32_t& key,
                                           const PictureDecoder* decoders);

}  // namespace piconel
