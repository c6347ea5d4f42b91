#pragma once

// Packing a page as its image rows stand in the project store, for pages
// that are not loaded into a window (piconel-cli pack). The images are
// measured through a PictureSizer; the packing itself is pack_page_images,
// the window's.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "project/page_packing.h"
#include "project/project.h"

namespace piconel {

class PictureSizer {
 public:
  virtual ~PictureSizer() = default;
  // The picture size of the image at `full_path`; none when it cannot be read.
  [[nodiscard]] virtual std::optional<PackSize> picture_size(std::string_view full_path) = 0;
};

struct PageRowsPacking {
  PagePacking packing;
  std::vector<std::string> too_large_paths;   // as the rows store them
  std::vector<std::string> unreadable_paths;  // packed at the size a placeholder has
};

// Packs page `page_name` of the project by `choices` (every image movable:
// there is no selection outside the window) within the page's sheet limits.
// An image that cannot be read takes the room the window gives its
// placeholder: its forced size when one is set, else 32 x 32. With `write`,
// and when the page could be packed, the rows whose position changed are
// rewritten in place and PUTIMAGEWIDTH / PUTIMAGEHEIGHT get the new extent
// of all the page's images; the modified flag is not touched.
[[nodiscard]] PageRowsPacking pack_page_rows(Project& project, std::string_view page_name,
                                             const PackChoices& choices, PictureSizer& sizer,
                                             bool write);

}  // namespace piconel
