#include "project/image_entry_source.h"

#include "image/picture_decoder.h"

namespace piconel {

bool ImageEntrySource::open_entry(ImageEntry& entry, std::string_view full_path, int x, int y) {
  PlacementCursor cursor{x, y};
  OpenImageRequest request;
  request.path = full_path;
  request.cursor = &cursor;
  request.keep_position = true;
  request.decoders = decoders_;
  request.colour_list = sheet_colours_;
  // Files come in the order prepare_page had them; one that does not match
  // (none was read ahead) is read here.
  if (next_read_ahead_ < read_ahead_.size() && read_ahead_[next_read_ahead_].path == full_path) {
    ReadAheadFile& ahead = read_ahead_[next_read_ahead_++];
    if (ahead.ready) {
      request.decoded = &ahead.file;
    }
  }
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

void ImageEntrySource::prepare_page(std::span<const std::string> full_paths) {
  page_loaded();
  if (read_ahead_jobs_ > 1 && (decoders_ == nullptr || decoders_->thread_safe())) {
    read_ahead_ = read_ahead(full_paths, decoders_, read_ahead_jobs_);
  }
}

void ImageEntrySource::page_loaded() {
  read_ahead_.clear();
  read_ahead_.shrink_to_fit();
  next_read_ahead_ = 0;
}

bool ImageEntrySource::open_placeholder(ImageEntry& entry) {
  if (display_factory_ == nullptr) {
    return false;
  }
  entry.display = display_factory_->create_placeholder_display(entry);
  return entry.display != nullptr;
}

}  // namespace piconel
