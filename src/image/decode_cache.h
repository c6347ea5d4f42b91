#pragma once

// Pictures decoded once for a whole output run: a file named by several
// image rows (of one page or of several) is read and decoded at its first
// row, and the later rows take a copy. A file that could not be decoded is
// remembered too, so a costly refusal is paid once and not once a row.
//
// Shared by the pages composed at once on several threads; lookups and
// insertions take a lock, decoding does not.

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

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

  // What `decode_file()` gives for `path`, run only when `path` has not been
  // decoded yet. None when the file does not decode (or, rarely, when no
  // memory is left for the copy).
  template <typename Decode>
  std::optional<DecodedFile> decode(std::string_view path, Decode&& decode_file) {
    Found found = find(path);
    if (found.known) {
      return std::move(found.picture);
    }
    std::optional<DecodedFile> picture = decode_file();
    keep(path, picture);
    return picture;
  }

  // Files decoded so far (what the tests count).
  [[nodiscard]] std::size_t decoded_count() const;

 private:
  struct Found {
    bool known = false;
    std::optional<DecodedFile> picture;
  };
  Found find(std::string_view path) const;
  void keep(std::string_view path, const std::optional<DecodedFile>& picture);

  mutable std::mutex mutex_;
  std::map<std::string, std::optional<DecodedFile>, std::less<>> entries_;
  std::uint64_t budget_;
  std::uint64_t kept_bytes_ = 0;
  std::size_t decoded_ = 0;
};

}  // namespace piconel
