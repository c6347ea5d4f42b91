#pragma once

// Packing a page tightly: the choices a page remembers, its sheet limits,
// the size an image takes, and the packer run over a page's images. The
// window's command and piconel-cli's pack both come through here, so the
// same page gets the same positions from either.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "image/image_entry.h"
#include "packing/rect_packer.h"
#include "project/project.h"
#include "store/document_store.h"
#include "store/section_cursor.h"

namespace piconel {

// Keys of a page's "PROPERTY:<page>" (also read from the project's and the
// application's PROPERTY: the first level that holds a key gives it).
inline constexpr std::string_view kPackPaddingKey = "PACK_PADDING";
inline constexpr std::string_view kPackPowerOfTwoKey = "PACK_POWEROFTWO";
inline constexpr std::string_view kPackSquareKey = "PACK_SQUARE";
inline constexpr std::string_view kPackSelectedOnlyKey = "PACK_SELECTEDONLY";

// Padding is kept to what a sheet can hold.
inline constexpr std::int32_t kMaxPackPadding = 256;

struct PackChoices {
  std::int32_t padding = 0;
  bool power_of_two = false;
  bool square = false;
  bool selected_only = false;  // pack the selected images around the others

  friend bool operator==(const PackChoices&, const PackChoices&) = default;
};

// The choices in effect for the page of `page` (a chain cursor): each key
// from the first level that holds it; padding by atoi, kept to 0 ..
// kMaxPackPadding; a flag is on when its value begins with '1'.
[[nodiscard]] PackChoices read_pack_choices(const SectionCursor& page);

// Stores all four choices in the page's own "PROPERTY:<page>".
void write_pack_choices(DocumentStore& project_store, std::string_view page_name,
                        const PackChoices& choices);

// The sheet limits of the page of `page`: its manual sheet size (effective
// SHEETSIZEMANUAL on with SHEETWIDTH and SHEETHEIGHT above 0, each kept to
// kPackSheetLimit), else kPackSheetLimit on both sides.
[[nodiscard]] PackSize page_sheet_limits(const SectionCursor& page);

// The room an image takes on the sheet: its picture, grown to its forced
// size when that is set (so neither the drawn picture nor the rectangle the
// tables give overlaps a neighbour).
[[nodiscard]] PackSize packing_size(std::int32_t picture_width, std::int32_t picture_height,
                                    const ImageSettings& settings);

struct PageImage {
  PackSize size;
  PackPoint at;         // where it lies now
  bool movable = true;  // false: it stays and the others go around it
};

struct PagePacking {
  // False when the movable images do not fit the sheet together: every
  // position is the old one.
  bool packed = false;
  // One per image: the new position, or the old one for images that stay
  // or are too large.
  std::vector<PackPoint> positions;
  std::vector<std::size_t> too_large;  // ascending image indices
  std::int32_t box_width = 0;          // extent of the packed and staying images
  std::int32_t box_height = 0;
  std::int32_t sheet_width = 0;  // the box as power of two / square asks
  std::int32_t sheet_height = 0;
  std::int32_t fill_permille = 0;  // image area / box area, in tenths of a percent
};

[[nodiscard]] PagePacking pack_page_images(std::span<const PageImage> images,
                                           const PackChoices& choices, PackSize limits);

// "充填率 93.4%" for 934 tenths of a percent.
[[nodiscard]] std::string fill_text(std::int32_t fill_permille);

// The choices of the current page; defaults when there is no store or the
// current page names no page.
[[nodiscard]] PackChoices current_page_pack_choices(Project& project);

// Packs the current page's image entries by `choices` within its sheet
// limits (with selected_only, only the selected entries move and the others
// stay). When the page could be packed, the entries take their new
// positions; otherwise, or without a store or a current page, nothing
// changes. The caller redraws and marks the project modified.
[[nodiscard]] PagePacking pack_current_entries(Project& project, const PackChoices& choices);

}  // namespace piconel
