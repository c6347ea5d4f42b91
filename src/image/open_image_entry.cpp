#include "image/open_image_entry.h"

#include <algorithm>
#include <cstdint>

#include "image/image_path.h"
#include "image/load_image.h"

namespace piconel {

std::optional<Dib> open_image_entry(ImageEntry& entry, const OpenImageRequest& request) {
  entry.display.reset();
  entry.selected = false;
  entry.settings = ImageSettings{};

  std::optional<std::string> full_path = resolve_image_path(request.path, request.project_folder);
  if (!full_path) {
    return std::nullopt;
  }
  LoadImageRequest load;
  load.path = *full_path;
  load.replacement_colour = -1;
  load.entry = &entry;
  load.colour_list = request.colour_list;
  load.transparent_key = -1;
  load.decoders = request.decoders;
  std::optional<Dib> picture;
  if (request.decoded == nullptr) {
    picture = load_image(load);
  } else if (*request.decoded) {
    picture = finish_image(std::move(**request.decoded), load);
    request.decoded->reset();
  }
  if (!picture) {
    return std::nullopt;
  }
  entry.path = std::move(*full_path);
  entry.width = picture->width;
  entry.height = picture->height;

  SheetPoint position;
  if (request.cursor != nullptr) {
    position = {request.cursor->x, request.cursor->y};
  }
  if (!request.keep_position) {
    static const ImageEntryList kNoEntries;
    const ImageEntryList& others = request.entries != nullptr ? *request.entries : kNoEntries;
    position = place_automatically(others, entry.width, position, request.view);
  }
  entry.x = position.x;
  entry.y = position.y;
  entry.settings.label = label_from_path(entry.path);
  return picture;
}

void advance_cursor(PlacementCursor* cursor, const ImageEntry& entry) {
  if (cursor == nullptr) {
    return;
  }
  cursor->x = static_cast<std::int32_t>(
      std::min<std::int64_t>(std::int64_t{entry.x} + entry.width, INT32_MAX));
  cursor->y = entry.y;
}

ImageEntry* add_image_entry(ImageEntryList& entries, const OpenImageRequest& request) {
  if (entries.size() >= static_cast<std::size_t>(kMaxEntriesPerPage)) {
    return nullptr;
  }
  OpenImageRequest own = request;
  own.entries = &entries;
  ImageEntry fresh;
  std::optional<Dib> picture = open_image_entry(fresh, own);
  if (!picture) {
    return nullptr;
  }
  entries.push_back(std::move(fresh));
  ImageEntry& added = entries.back();
  if (request.display_factory != nullptr) {
    added.display = request.display_factory->create_display(added, *picture);
    if (!added.display) {
      entries.pop_back();
      return nullptr;
    }
  }
  advance_cursor(request.cursor, added);
  return &added;
}

}  // namespace piconel
