#pragma once

// What `piconel-cli check` finds in a project, page by page, with the
// output's own code: the rows as the page pass reads them, each image loaded
// into the page palette as the page pass loads it, the labels formatted as
// the label header writes them.

#include <cstdint>
#include <string>
#include <vector>

#include "canvas/snapping.h"
#include "image/picture_decoder.h"
#include "project/project.h"

namespace piconel {

// One image of a finding: its path as the row stores it and where it lies.
struct CheckedImage {
  std::string path;
  SheetRect rect;
};

struct PageFindings {
  std::string page;
  std::vector<std::string> unreadable;  // row paths of images that cannot be read
  std::vector<std::pair<CheckedImage, CheckedImage>> overlaps;  // every pair
  std::vector<CheckedImage> outside;  // beyond the sheet (or at a negative place)
  std::int32_t sheet_width = 0;       // the sheet the output gives the page
  std::int32_t sheet_height = 0;
  // With the label header on: labels of imgidx.h already given on this or
  // an earlier page, and labels that are no C identifier.
  std::vector<std::string> duplicate_labels;
  std::vector<std::string> invalid_labels;
  // With bitmaps on, a page with images whose name is no plain file name.
  bool unwritable_name = false;
  // With bitmaps on: the page is written with 24 bits because its palette
  // holds more than 256 colours, or because its sheet is over 1024 x 1024.
  bool too_many_colours = false;
  bool sheet_too_large = false;

  [[nodiscard]] int count() const;
};

// Every page of the opened project in page order (`settings`: the
// application level, may be none).
[[nodiscard]] std::vector<PageFindings> check_project(Project& project, DocumentStore* settings,
                                                      const PictureDecoder* decoders);

}  // namespace piconel
