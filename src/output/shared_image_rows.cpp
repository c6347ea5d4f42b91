#include "output/shared_image_rows.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>

#include "image/decode_cache.h"
#include "image/image_path.h"
#include "image/image_row.h"
#include "project/project.h"
#include "store/no_throw.h"

namespace piconel {
namespace {

// One row's resolved path, known by its hash until two rows' hashes meet.
struct RowUse {
  std::size_t hash = 0;
  std::uint32_t page = 0;
  std::uint32_t row = 0;
};

std::optional<std::string> row_path(const StoreSection& list, std::uint32_t row,
                                    std::string_view project_folder) {
  return resolve_image_path(image_row_path(list.entries()[row].value()), project_folder);
}

}  // namespace

bool SharedImageRows::shared(std::size_t page, std::size_t row) const {
  if (!counted_ || page >= shared_.size() || row >= shared_[page].size()) {
    return true;
  }
  return shared_[page][row];
}

SharedImageRows count_shared_image_rows(DocumentStore& project,
                                        const std::vector<std::string>& pages,
                                        std::string_view project_folder, DecodeCache& cache) {
  SharedImageRows result;
  std::vector<const StoreSection*> lists;
  std::vector<RowUse> uses;
  // Sorting hashes instead of filling a table of every path: the count runs
  // before the first page can start, and most paths are named once.
  const bool counted = allocation_succeeds([&] {
    lists.assign(pages.size(), nullptr);
    result.shared_.resize(pages.size());
    std::size_t rows = 0;
    for (std::size_t page = 0; page < pages.size(); ++page) {
      lists[page] = project.find_section(page_file_section(pages[page]));
      if (lists[page] != nullptr) {
        rows += lists[page]->entries().size();
        result.shared_[page].assign(lists[page]->entries().size(), false);
      }
    }
    uses.reserve(rows);
    for (std::size_t page = 0; page < pages.size(); ++page) {
      if (lists[page] == nullptr) {
        continue;
      }
      std::uint32_t row = 0;
      for (const StoreEntry& entry : lists[page]->entries()) {
        const std::optional<std::string> path =
            resolve_image_path(image_row_path(entry.value()), project_folder);
        if (path) {
          uses.push_back(
              {std::hash<std::string_view>{}(*path), static_cast<std::uint32_t>(page), row});
        }
        ++row;
      }
    }
    std::sort(uses.begin(), uses.end(),
              [](const RowUse& a, const RowUse& b) { return a.hash < b.hash; });
  });
  if (!counted) {
    return SharedImageRows{};  // every row through the cache, uncounted
  }
  // Rows of equal hashes: the paths themselves decide, sorted so equal ones
  // meet.
  std::vector<std::pair<std::string, const RowUse*>> same_hash;
  bool every_use_counted = true;
  const bool compared = allocation_succeeds([&] {
    for (std::size_t start = 0; start < uses.size();) {
      std::size_t end = start + 1;
      while (end < uses.size() && uses[end].hash == uses[start].hash) {
        ++end;
      }
      if (end - start >= 2) {
        same_hash.clear();
        for (std::size_t i = start; i < end; ++i) {
          const RowUse& use = uses[i];
          same_hash.emplace_back(*row_path(*lists[use.page], use.row, project_folder), &use);
        }
        std::sort(same_hash.begin(), same_hash.end());
        for (std::size_t i = 0; i < same_hash.size(); ++i) {
          const bool named_again =
              (i > 0 && same_hash[i - 1].first == same_hash[i].first) ||
              (i + 1 < same_hash.size() && same_hash[i + 1].first == same_hash[i].first);
          if (!named_again) {
            continue;
          }
          const RowUse& use = *same_hash[i].second;
          result.shared_[use.page][use.row] = true;
          if (!cache.expect_use(same_hash[i].first)) {
            every_use_counted = false;
            return;
          }
        }
      }
      start = end;
    }
  });
  if (!compared || !every_use_counted) {
    // Every row through the cache: what it was not told about, it keeps.
    return SharedImageRows{};
  }
  result.counted_ = true;
  return result;
}

}  // namespace piconel
