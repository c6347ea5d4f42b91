#pragma once

// The three texts of an image list row.

#include <string>

#include "image/image_entry.h"

namespace piconel {

struct ImageRowTexts {
  std::string file_name;  // "ファイル名": name and extension, no folder
  std::string label;      // "ラベル名": the entry's label
  std::string folder;     // "パス": drive and folder, ending in its separator

  friend bool operator==(const ImageRowTexts&, const ImageRowTexts&) = default;
};

// The path is split as CP932, never at the second byte of a double-byte
// character.
[[nodiscard]] ImageRowTexts image_row_texts(const ImageEntry& entry);

}  // namespace piconel
