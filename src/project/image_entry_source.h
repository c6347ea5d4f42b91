#pragma once

// The entry source a page load uses in the program: the image library's
// open_image_entry at the stored position, then the display from the window
// layer's factory.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "image/colour.h"
#include "image/open_image_entry.h"
#include "image/read_ahead.h"
#include "project/project_ports.h"

namespace piconel {

class PictureDecoder;

class ImageEntrySource final : public EntrySource {
 public:
  // All three may be none: no plug-ins, no colour merge, no display (an entry
  // without a display is still a loaded entry). The pointers must outlive
  // the source.
  // `read_ahead_jobs`: threads a page's files are decoded on ahead of its
  // rows (one: none are read ahead).
  ImageEntrySource(const PictureDecoder* decoders, ColourList* sheet_colours,
                   EntryDisplayFactory* display_factory, int read_ahead_jobs = one_job_per_core())
      : decoders_(decoders),
        sheet_colours_(sheet_colours),
        display_factory_(display_factory),
        read_ahead_jobs_(read_ahead_jobs) {}

  // Loads `full_path` into `entry` at (x, y) without automatic placement and,
  // with a factory, creates its display. False when the file cannot be read
  // or the display cannot be made.
  [[nodiscard]] bool open_entry(ImageEntry& entry, std::string_view full_path, int x,
                                int y) override;
  // The factory's placeholder display; false without a factory.
  [[nodiscard]] bool open_placeholder(ImageEntry& entry) override;
  // Decodes the page's files on every core, unless plug-ins are loaded;
  // open_entry then takes each picture in turn.
  void prepare_page(std::span<const std::string> full_paths) override;
  void page_loaded() override;

 private:
  const PictureDecoder* decoders_;
  ColourList* sheet_colours_;
  EntryDisplayFactory* display_factory_;
  int read_ahead_jobs_;
  std::vector<ReadAheadFile> read_ahead_;
  std::size_t next_read_ahead_ = 0;
};

}  // namespace piconel
