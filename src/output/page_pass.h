#pragma once

// The page pass: one page of the project turned into output. It fixes the
// sheet size, fills a canvas with the page's background colour, loads every
// image entry in list order into the page palette (transparent colour
// replaced by the background), copies it onto the canvas and records its
// label line and coordinate row, then writes the page bitmap "<page>.bmp".
//
// Table lines and records go into the result's PageTables; the output run
// appends them to the table files only for a page that succeeded.

#include <string_view>

#include "output/output_context.h"
#include "output/page_tables.h"
#include "store/document_store.h"
#include "store/section_cursor.h"

namespace piconel {

class PictureDecoder;

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
};

enum class PagePassStatus {
  Written,  // the page's tables (and bitmap when switched on) are done
  Empty,    // no image entries: success, nothing written for the page
  // Sheet size 0 or less, more than kMaxPageTableEntries rows, a page name
  // that is no plain file name (with bitmaps on), no canvas, or the bitmap
  // file not written.
  Failed,
};

struct PagePassResult {
  PagePassStatus status = PagePassStatus::Failed;
  PageTables tables;  // filled for Written and Empty
};

[[nodiscard]] PagePassResult run_page_pass(const PagePassInputs& inputs);

// "<folder><name>" with a backslash between them when the folder is not
// empty and does not end in a separator (CP932-aware).
[[nodiscard]] std::string join_path(std::string_view folder, std::string_view name);

}  // namespace piconel
