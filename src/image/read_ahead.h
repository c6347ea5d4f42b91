#pragma once

// A page's picture files decoded on every core before its rows are opened
// one by one. Opening and reading a file is most of a page load, and most of
// that is waiting on the system, which several threads do side by side; the
// colour work that follows stays with the rows, in their order.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "image/decode_cache.h"

namespace piconel {

class PictureDecoder;

// Pixels a read-ahead holds at most: a page of a few hundred sprites takes a
// few megabytes, and a page of large pictures is not held twice whole.
inline constexpr std::size_t kReadAheadBudget = std::size_t{64} << 20;

// One job per core the system reports (one when it reports none), at most 64.
[[nodiscard]] int one_job_per_core();

struct ReadAheadFile {
  std::string path;
  bool ready = false;               // decode_image was run for `path`
  std::optional<DecodedFile> file;  // its answer when ready: none when it does not decode
};

// Decodes each of `paths` as decode_image does with `decoders` (none: the
// built-in decoders only), on up to `jobs` threads, this one among them.
// Plug-ins are not known to be thread-safe: with any loaded the caller passes
// one job. Once the pictures held reach `budget_bytes`, the files after
// that are left not ready (their rows read them as before). The slots
// follow `paths`; empty when no memory is left for them.
[[nodiscard]] std::vector<ReadAheadFile> read_ahead(std::span<const std::string> paths,
                                                    const PictureDecoder* decoders, int jobs,
                                                    std::size_t budget_bytes = kReadAheadBudget);

}  // namespace piconel
