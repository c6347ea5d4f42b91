#pragma once

// The files one page writes besides its table lines: the bitmap, the PNG and
// the JSON sprite data, named after the page and written by the page pass
// once the page is composed.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "image/colour.h"
#include "output/output_context.h"
#include "output/page_pass.h"
#include "output/page_sheet.h"
#include "output/page_tables.h"
#include "output/sprite_json.h"

namespace piconel {

// "<page>.bmp", "<page>.png" and "<page>.json".
struct PageFileNames {
  std::string bitmap;
  std::string png;
  std::string json;
};

// The names; none when the page name is no plain file name and the context
// switches on any of the three files (empty names when it switches on none).
[[nodiscard]] std::optional<PageFileNames> page_file_names(std::string_view page_name,
                                                           const OutputContext& context);

// Appends the entry's frame. Its name is the label imgidx.h holds for it;
// without the label header (or with an empty label) the image's file name.
// False when memory runs out.
[[nodiscard]] bool add_frame(std::vector<SpriteFrame>& frames, const OutputContext& context,
                             const std::string& label, std::string_view path, int index,
                             const CoordinateRow& row);

// Finishes the sheet and writes the bitmap and / or the PNG the context
// switches on (the PNG's background transparent when asked). False, with
// the failure and the file in `result`, when the sheet cannot be finished or a
// file cannot be written.
[[nodiscard]] bool write_sheet_files(PageSheet& sheet, const PageFileNames& names,
                                     const ColourList& palette, ColorRef background,
                                     const PagePassInputs& in, PagePassResult& result);

// Writes "<page>.json" for a sheet of width x height. False, with the failure
// in `result`, when it cannot be made or written.
[[nodiscard]] bool write_frames(const std::vector<SpriteFrame>& frames, const PageFileNames& names,
                                std::int32_t width, std::int32_t height, const PagePassInputs& in,
                                PagePassResult& result);

}  // namespace piconel
