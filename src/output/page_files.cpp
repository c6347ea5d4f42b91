#include "output/page_files.h"

#include "output/output_file.h"
#include "output/page_bitmap.h"
#include "output/page_file_name.h"
#include "output/sheet_png.h"
#include "store/cp932.h"
#include "store/file_error.h"
#include "store/no_throw.h"

namespace piconel {
namespace {

// The cleared error stays 0 when the write failed for want of memory, which
// no system call reports.
bool failed_to_write(std::string path, PagePassResult& result) {
  result.failure = PageFailure::FileNotWritten;
  result.file_error = last_file_error();
  result.failed_file = std::move(path);
  return false;
}

}  // namespace

std::optional<PageFileNames> page_file_names(std::string_view page_name,
                                             const OutputContext& context) {
  if (!context.compose_sheet() && !context.write_json) {
    return PageFileNames{};
  }
  auto bitmap = page_bitmap_file_name(page_name);
  auto png = page_file_name(page_name, ".png");
  auto json = page_file_name(page_name, ".json");
  if (!bitmap || !png || !json) {
    return std::nullopt;
  }
  return PageFileNames{std::move(*bitmap), std::move(*png), std::move(*json)};
}

bool add_frame(std::vector<SpriteFrame>& frames, const OutputContext& context,
               const std::string& label, std::string_view path, int index,
               const CoordinateRow& row) {
  return allocation_succeeds([&] {
    SpriteFrame frame;
    frame.name = context.write_label && !label.empty() ? label : file_name_of(path);
    frame.index = index;
    frame.row = row;
    frames.push_back(std::move(frame));
  });
}

bool write_sheet_files(PageSheet& sheet, const PageFileNames& names, const ColourList& palette,
                       ColorRef background, const PagePassInputs& in, PagePassResult& result) {
  const OutputContext& context = *in.context;
  const std::optional<SheetPixels> pixels = sheet.finish(palette);
  if (!pixels) {
    result.failure = PageFailure::NoMemory;
    return false;
  }
  if (context.write_bitmap) {
    const std::string path = join_path(in.output_folder, names.bitmap);
    set_last_file_error(0);
    if (!write_sheet_bitmap(path, *pixels, in.if_changed)) {
      return failed_to_write(path, result);
    }
  }
  if (context.write_png) {
    std::optional<PaletteEntry> transparent;
    if (context.png_transparent) {
      transparent = ColourList::starting_with(background).entries[0];
    }
    const std::string path = join_path(in.output_folder, names.png);
    set_last_file_error(0);
    if (!write_sheet_png(path, *pixels, transparent, in.if_changed)) {
      return failed_to_write(path, result);
    }
  }
  return true;
}

bool write_frames(const std::vector<SpriteFrame>& frames, const PageFileNames& names,
                  std::int32_t width, std::int32_t height, const PagePassInputs& in,
                  PagePassResult& result) {
  const OutputContext& context = *in.context;
  SpriteSheetMeta meta;
  meta.image = context.write_png ? names.png : names.bitmap;
  meta.width = width;
  meta.height = height;
  meta.transparent = context.write_png && context.png_transparent;
  const std::optional<std::string> text = encode_sprite_json(frames, meta);
  if (!text) {
    result.failure = PageFailure::NoMemory;
    return false;
  }
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text->data());
  const std::string path = join_path(in.output_folder, names.json);
  set_last_file_error(0);
  if (!write_output_file(path, {bytes, text->size()}, in.if_changed)) {
    return failed_to_write(path, result);
  }
  return true;
}

}  // namespace piconel
