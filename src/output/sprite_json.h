#pragma once

// "<page>.json": the frames of one page in the "hash" layout that sprite
// sheet loaders of game engines and web frameworks read:
//
//   { "frames": { "<name>": { "frame": {x, y, w, h}, "rotated": false,
//                             "trimmed": false,
//                             "spriteSourceSize": {x: 0, y: 0, w, h},
//                             "sourceSize": {w, h}, "index": <n> }, ... },
//     "meta": { "app", "version", "image", "format", "size": {w, h},
//               "scale": "1" } }
//
// Frames in table order, every object's keys in the order above, indented by
// two spaces with LF line ends, so files diff well. Names and file names are
// UTF-8 converted from CP932. Frame names are object keys and must differ:
// a name met before gets "#<index>" appended (again until it is new).

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "output/page_tables.h"

namespace piconel {

struct SpriteFrame {
  std::string name;   // CP932: the image's label, or its file name
  int index = 0;      // position in the page's tables, from 0
  CoordinateRow row;  // as imgtable.h records it
};

struct SpriteSheetMeta {
  std::string image;  // CP932 file name of the sheet picture
  std::int32_t width = 0;
  std::int32_t height = 0;
  bool transparent = false;  // the picture's background is transparent
};

// The file's text; none when memory runs out.
[[nodiscard]] std::optional<std::string> encode_sprite_json(std::span<const SpriteFrame> frames,
                                                            const SpriteSheetMeta& meta);

// "1.0.8": the program's version as the files it writes name it.
[[nodiscard]] std::string application_version_text();

}  // namespace piconel
