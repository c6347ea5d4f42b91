#pragma once

// The page pass: one page of the project turned into output. It fixes the
// sheet size, fills a canvas with the page's background colour, loads every
// image entry in list order into the page palette (transparent colour
// replaced by the background), copies it onto the canvas and records its
// label line and coordinate row, then writes the page bitmap "<page>.bmp".
//
// With OUTPUT_PNG / OUTPUT_JSON it also writes "<page>.png" with the
// bitmap's pixels and "<page>.json" with the page's frames (page_files.h).
//
// Table lines and records go into the result's PageTables; the output run
// appends them to the table files only for a page that succeeded.

#include <string>
#include <string_view>
#include <vector>

#include "output/output_context.h"
#include "output/page_settings.h"
#include "output/page_tables.h"
#include "store/document_store.h"
#include "store/section_cursor.h"

namespace piconel {

class PictureDecoder;
class DecodeCache;
class SharedImageRows;

struct PagePassInputs {
  DocumentStore* project = nullptr;
  // The project's "PROPERTY" cursor whose parent is the application level.
  const SectionCursor* project_chain = nullptr;
  std::string_view page_name;
  // Pages of this run output before this one (first label value / 256).
  int page_index = 0;
  const OutputContext* context = nullptr;
  // Folder that relative image paths are taken from: ends in a separator,
  // or is empty for the current directory.
  std::string_view project_folder;
  // Folder the bitmap is written into; empty for the current directory.
  std::string_view output_folder;
  const PictureDecoder* decoders = nullptr;  // plug-ins, or none
  // The run's decoded files, so a file named by several rows is decoded
  // once; none decodes at every row.
  DecodeCache* decode_cache = nullptr;
  // The rows whose files other rows name too: only they use `decode_cache`
  // (none: every row does). `page_position` is the page's place in the page
  // list.
  const SharedImageRows* shared_rows = nullptr;
  std::size_t page_position = 0;
  // Leave a bitmap file that already holds the same bytes untouched.
  bool if_changed = false;
};

enum class PagePassStatus {
  Written,  // the page's tables (and bitmap when switched on) are done
  Empty,    // no image entries: success, nothing written for the page
  // Sheet size 0 or less, more than kMaxPageTableEntries rows, a page name
  // that is no plain file name (with bitmaps, PNGs or JSON on), no canvas,
  // or the bitmap, PNG or JSON file not written.
  Failed,
};

// Why a page failed, for its message.
enum class PageFailure {
  None,
  NoMemory,        // for the rows, the canvas or a picture drawn on it
  SheetSize,       // sheet width or height 0 or less
  TooManyImages,   // more than kMaxPageTableEntries rows
  BadFileName,     // the page name is no plain file name (bitmaps on)
  TooManyPages,    // beyond kMaxOutputPages output pages (set by the run)
  FileNotWritten,  // `failed_file` (bitmap, PNG or JSON) could not be written
};

struct PagePassResult {
  PagePassStatus status = PagePassStatus::Failed;
  PageFailure failure = PageFailure::None;  // set when status is Failed
  std::string failed_file;                  // its path (FileNotWritten)
  int file_error = 0;                       // the system's error number (last_file_error)
  PageTables tables;                        // filled for Written and Empty
  // Paths, as the image rows store them, of the images that could not be
  // read (missing, unreadable or malformed), in row order.
  std::vector<std::string> unreadable_images;
};

[[nodiscard]] PagePassResult run_page_pass(const PagePassInputs& inputs);

// The two halves of the page pass. The first reads everything the page needs
// from the project store (and makes "PROPERTY:<page>" when it is missing, as
// the page's cursor does); the second composes and writes the page without
// touching the store, so pages can be composed on several threads while the
// store is read by one at a time.
struct PageSource {
  PageSettings settings;
  std::vector<std::string> rows;  // image rows in list order
  bool rows_read = true;          // false: no memory for the rows (the page fails)
};
[[nodiscard]] PageSource read_page_source(DocumentStore& project,
                                          const SectionCursor& project_chain,
                                          std::string_view page_name);
// `inputs.project` and `inputs.project_chain` are not used.
[[nodiscard]] PagePassResult compose_page(const PageSource& source, const PagePassInputs& inputs);

// "<folder><name>" with a backslash between them when the folder is not
// empty and does not end in a separator (CP932-aware).
[[nodiscard]] std::string join_path(std::string_view folder, std::string_view name);

}  // namespace piconel
