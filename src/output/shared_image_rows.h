#pragma once

// Which image rows of an output run name a file another row of the run names
// too. Only those rows go through the run's decode cache, counted there so a
// picture is held until its last row; a file named by one row (most of them)
// is decoded at its row and let go, without a lookup in the cache's table of
// every path.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "store/document_store.h"

namespace piconel {

class DecodeCache;

class SharedImageRows {
 public:
  // Whether row `row` (from 0) of the page at `page` (its position in the
  // page list) names a file another row names too; true for every row of a
  // run whose count ran out of memory (the cache then keeps what it is
  // given, as before counting) and for rows the count never saw.
  [[nodiscard]] bool shared(std::size_t page, std::size_t row) const;

 private:
  friend SharedImageRows count_shared_image_rows(DocumentStore& project,
                                                 const std::vector<std::string>& pages,
                                                 std::string_view project_folder,
                                                 DecodeCache& cache);
  bool counted_ = false;
  std::vector<std::vector<bool>> shared_;  // by page position, then row
};

// Finds the rows of `pages` (names of the page list, in order) whose resolved
// paths (resolve_image_path against `project_folder`) another row also has,
// and counts each of those rows' use with cache.expect_use. A row whose path
// does not resolve loads nothing and shares nothing.
[[nodiscard]] SharedImageRows count_shared_image_rows(DocumentStore& project,
                                                      const std::vector<std::string>& pages,
                                                      std::string_view project_folder,
                                                      DecodeCache& cache);

}  // namespace piconel
