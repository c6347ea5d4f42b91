#pragma once

// Pictures decoded once for a whole output run: a file named by several
// image rows (of one page or of several) is read and decoded at its first
// row, and the later rows take a copy. A file that could not be decoded is
// remembered too, so a costly refusal is paid once and not once a row.
//
// When the run counts its rows' uses of each file first (expect_use), a
// picture is kept only while rows still to come name it, and the last of
// them takes it instead of a copy: a file named by one row (most of them)
// is neither copied nor held, so memory stays bounded by the pages in work.
// Files never counted are kept for the whole run.
//
// Shared by the pages composed at once on several threads; lookups and
// insertions take a lock, decoding does not.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "image/dib.h"

namespace piconel {

// A file's picture before any per-row colour work (analysis, replacement).
struct DecodedFile {
  Dib dib;
  std::int32_t automatic_index = -1;  // decoder's probed transparent index, or -1
};

class DecodeCache {
 public:
  // Pictures are kept while their pixel bytes together stay within
  // `budget_bytes`; past it, a picture is decoded again at each row, and
  // failures are still remembered (they hold no pixels).
  explicit DecodeCache(std::uint64_t budget_bytes = kMaxBitmapBytes) : budget_(budget_bytes) {}
  DecodeCache(const DecodeCache&) = delete;
  DecodeCache& operator=(const DecodeCache&) = delete;

  // One more row of the run names `path` (before any decode of it). False
  // when no memory is left for the count; the file is then kept as an
  // uncounted one would be, or decoded again, never wrongly.
  [[nodiscard]] bool expect_use(std::string_view path);
  // Room for `paths` files, so counting a run's rows does not rehash as it
  // goes. False when no memory is left for it (counting still works).
  [[nodiscard]] bool reserve(std::size_t paths);

  // What `decode_file()` gives for `path`, run only when `path` has not been
  // decoded yet (or was let go after its counted uses). None when the file
  // does not decode (or, rarely, when no memory is left for the copy).
  template <typename Decode>
  std::optional<DecodedFile> decode(std::string_view path, Decode&& decode_file) {
    Found found = take(path);
    if (found.known) {
      return std::move(found.picture);
    }
    std::optional<DecodedFile> picture = decode_file();
    keep(path, picture);
    return picture;
  }

  // Files decoded so far (what the tests count).
  [[nodiscard]] std::size_t decoded_count() const;
  // Files whose pictures (or refusals) are held now.
  [[nodiscard]] std::size_t held_count() const;

 private:
  struct Found {
    bool known = false;
    std::optional<DecodedFile> picture;
  };
  struct Entry {
    bool counted = false;
    int uses_left = 0;     // counted: rows still to take it, this one included
    bool decoded = false;  // `picture` holds the file's answer
    std::optional<DecodedFile> picture;
  };
  // Looked up by the path as the row gives it, without a copy.
  struct PathHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view path) const noexcept {
      return std::hash<std::string_view>{}(path);
    }
  };
  Found take(std::string_view path);
  void keep(std::string_view path, const std::optional<DecodedFile>& picture);
  std::optional<DecodedFile> release(Entry& entry);

  mutable std::mutex mutex_;
  std::unordered_map<std::string, Entry, PathHash, std::equal_to<>> entries_;
  std::uint64_t budget_;
  std::uint64_t kept_bytes_ = 0;
  std::size_t decoded_ = 0;
};

}  // namespace piconel
