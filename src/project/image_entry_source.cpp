#include "project/image_entry_source.h"

namespace piconel {

bool ImageEntrySource::open_entry(ImageEntry& entry, std::string_view full_path, int x, int y) {
  PlacementCursor cursor{x, y};
  OpenImageRequest request;
  request.path = full_path;
  request.cursor = &cursor;
  request.keep_position = true;
  request.decoders = decoders_;
  request.colour_list = sheet_colours_;
  const std::optional<Dib> picture = open_image_entry(entry, request);
  if (!picture) {
    return false;
  }
  if (display_factory_ != nullptr) {
    entry.display = display_factory_->create_display(entry, *picture);
    if (!entry.display) {
      return false;
    }
  }
  return true;
}

bool ImageEntrySource::open_placeholder(ImageEntry& entry) {
  if (display_factory_ == nullptr) {
    return false;
  }
  entry.display = display_factory_->create_placeholder_display(entry);
  return entry.display != nullptr;
}

}  // namespace piconel
