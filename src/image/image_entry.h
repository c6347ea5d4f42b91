#pragma once

// One image placed on the current page: what was loaded from its file, where
// it lies on the sheet and its user settings. The display resources (child
// window, memory DC, device bitmap) belong to the window layer and hang off
// `display`; the model works without them.

#include <array>
#include <cstdint>
#include <list>
#include <memory>
#include <string>

#include "image/colour.h"

namespace piconel {

inline constexpr int kMaxEntriesPerPage = 256;
inline constexpr int kMaxLabelBytes = 63;  // label field of 64 bytes
inline constexpr int kMaxPathBytes = 259;  // path field of 260 bytes
// The side of a placeholder whose row stores no size.
inline constexpr int kPlaceholderSide = 32;

// The block the image settings dialog edits and columns 4 to 9 of an image
// row carry, copied as one unit.
struct ImageSettings {
  std::string label;             // at most 63 bytes, may be empty
  std::int32_t size_forced = 0;  // 1: tables record the forced size
  std::int32_t forced_width = 0;
  std::int32_t forced_height = 0;
  std::int32_t transparent_on = 0;
  // -1 none; a palette index for pictures of 8 bits or less, else 0x00RRGGBB.
  std::int32_t transparent_key = 0;

  friend bool operator==(const ImageSettings&, const ImageSettings&) = default;
};

// Window-layer resources of an entry; released when the entry goes.
class EntryDisplay {
 public:
  virtual ~EntryDisplay() = default;
};

struct ImageEntry {
  std::unique_ptr<EntryDisplay> display;  // the picture as the sheet view paints it

  std::int32_t bits_per_pixel = 0;
  std::string path;  // resolved full path, at most 259 bytes
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t x = 0;
  std::int32_t y = 0;
  bool selected = false;
  // The file could not be read when the page was loaded: the entry stands in
  // for its row (drawn as a marked box of `width` x `height`, selectable and
  // deletable) and is written back unchanged. It has no picture and no
  // colours; the output finds the file missing as before.
  bool placeholder = false;

  // Colour analysis of the loader.
  std::int32_t colour_count = 0;       // 0..256, -1 above 256
  std::int32_t transparent_slot = -1;  // position of the transparent colour among used ones
  // Palette entries with flag = `absent` (1: not used by the picture); for
  // true colour the first colour_count entries are the distinct colours.
  std::array<PaletteEntry, kMaxColours> palette{};

  ImageSettings settings;

  bool has_display() const { return display != nullptr; }
};

// The image entries of the current page in drawing and row order. A list, so
// an entry keeps its address while others come and go (views and the drag
// refer back to their entries). The project declares the same alias.
using ImageEntryList = std::list<ImageEntry>;

}  // namespace piconel
