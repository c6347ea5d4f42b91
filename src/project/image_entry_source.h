#pragma once

// The entry source a page load uses in the program: the image library's
// open_image_entry at the stored position, then the display from the window
// layer's factory.

#include <string_view>

#include "image/colour.h"
#include "image/open_image_entry.h"
#include "project/project_ports.h"

namespace piconel {

class PictureDecoder;

class ImageEntrySource final : public EntrySource {
 public:
  // All three may be none: no plug-ins, no colour merge, no display (an entry
  // without a display is still a loaded entry). The pointers must outlive
  // the source.
  ImageEntrySource(const PictureDecoder* decoders, ColourList* sheet_colours,
                   EntryDisplayFactory* display_factory)
      : decoders_(decoders), sheet_colours_(sheet_colours), display_factory_(display_factory) {}

  // Loads `full_path` into `entry` at (x, y) without automatic placement and,
  // with a factory, creates its display. False when the file cannot be read
  // or the display cannot be made.
  [[nodiscard]] bool open_entry(ImageEntry& entry, std::string_view full_path, int x,
                                int y) override;
  // The factory's placeholder display; false without a factory.
  [[nodiscard]] bool open_placeholder(ImageEntry& entry) override;

 private:
  const PictureDecoder* decoders_;
  ColourList* sheet_colours_;
  EntryDisplayFactory* display_factory_;
};

}  // namespace piconel
