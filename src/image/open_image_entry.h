#pragma once

// Opening an image file as an entry of the current page: path resolution,
// loading with colour analysis, the starting label, automatic placement and
// the placement cursor carried from file to file. The window layer adds the
// display (the picture as the sheet view paints it) through
// EntryDisplayFactory; the model works without one.

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "image/colour.h"
#include "image/decode_cache.h"
#include "image/dib.h"
#include "image/image_entry.h"
#include "image/placement.h"

namespace piconel {

class PictureDecoder;

// Where the next image of a batch goes: the right edge of the last one placed,
// on its row. Owned by the caller; starts at (0, 0).
struct PlacementCursor {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

// Made by the window layer: creates an entry's display (the copy of
// `picture` the sheet view paints). The entry already sits at its final address in the list, with
// path, size, position, label and colour analysis filled. Returns none when
// any part cannot be made (the entry is then dropped).
class EntryDisplayFactory {
 public:
  virtual ~EntryDisplayFactory() = default;
  virtual std::unique_ptr<EntryDisplay> create_display(ImageEntry& entry, const Dib& picture) = 0;
  // The display of a placeholder (an image row whose file could not be
  // read): a marked box of the entry's size. None when it cannot be made.
  virtual std::unique_ptr<EntryDisplay> create_placeholder_display(ImageEntry& entry) {
    static_cast<void>(entry);
    return nullptr;
  }
};

struct OpenImageRequest {
  std::string_view path;            // as given: absolute, or relative to project_folder
  std::string_view project_folder;  // ends in its separator, or empty
  // Start of the placement (x, y); (0, 0) when none. When given it is moved to
  // (x + width, y) after a successful open.
  PlacementCursor* cursor = nullptr;
  bool keep_position = false;  // true: stay at the cursor (a page load); false: place automatically
  PlacementView view;          // sheet facts for automatic placement
  // The page's entries, scanned by automatic placement; none: an empty page.
  const ImageEntryList* entries = nullptr;
  const PictureDecoder* decoders = nullptr;        // plug-ins, or none
  ColourList* colour_list = nullptr;               // the sheet colour list to merge into, or none
  EntryDisplayFactory* display_factory = nullptr;  // add_image_entry only; none: no display
  // The file's picture as decode_image gave it (read ahead), taken from
  // here: none inside means the file does not decode. Null: read the file.
  std::optional<DecodedFile>* decoded = nullptr;
};

// Fills `entry` in place from the file: clears display, selected and the
// settings block; resolves the path (resolve_image_path; too long: failure);
// load_image with this entry, the colour list, key -1 and no replacement;
// width and height from the picture; the position (cursor, then automatic
// placement unless keep_position); label_from_path. Leaves the cursor alone:
// the caller moves it once the entry is shown (advance_cursor). Returns the
// picture for the display, or none when the path is too long or the file
// cannot be loaded (the entry is then in an unspecified but valid state).
[[nodiscard]] std::optional<Dib> open_image_entry(ImageEntry& entry,
                                                  const OpenImageRequest& request);

// cursor := (entry.x + entry.width, entry.y), when a cursor is given.
void advance_cursor(PlacementCursor* cursor, const ImageEntry& entry);

// Adds a new entry at the tail of `entries`: none without reading the file
// when the page already holds kMaxEntriesPerPage (256) entries; otherwise
// open_image_entry (automatic placement scans `entries`, whatever
// request.entries says), then the display from request.display_factory when
// one is given (a failing display drops the entry). On success the cursor
// advances and the new entry (stable address) is returned; on failure the
// list and the cursor are as before.
[[nodiscard]] ImageEntry* add_image_entry(ImageEntryList& entries, const OpenImageRequest& request);

}  // namespace piconel
