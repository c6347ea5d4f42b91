#include "image/decode_cache.h"

#include "store/no_throw.h"

namespace piconel {

bool DecodeCache::expect_use(std::string_view path) {
  const std::lock_guard<std::mutex> lock(mutex_);
  return allocation_succeeds([&] {
    auto at = entries_.find(path);
    if (at == entries_.end()) {
      at = entries_.try_emplace(std::string(path)).first;
      at->second.counted = true;
    }
    ++at->second.uses_left;
  });
}

bool DecodeCache::reserve(std::size_t paths) {
  const std::lock_guard<std::mutex> lock(mutex_);
  return allocation_succeeds([&] { entries_.reserve(paths); });
}

// The count stays, so a file decoded again by a thread that raced past its
// last counted use is not kept for the rest of the run.
std::optional<DecodedFile> DecodeCache::release(Entry& entry) {
  if (entry.picture) {
    kept_bytes_ -= entry.picture->dib.pixels.size();
  }
  std::optional<DecodedFile> picture = std::move(entry.picture);
  entry.picture.reset();
  entry.decoded = false;
  return picture;
}

DecodeCache::Found DecodeCache::take(std::string_view path) {
  const std::lock_guard<std::mutex> lock(mutex_);
  const auto at = entries_.find(path);
  if (at == entries_.end()) {
    return {};
  }
  Entry& entry = at->second;
  const bool last_use = entry.counted && --entry.uses_left <= 0;
  if (!entry.decoded) {
    return {};  // the first row of a counted file decodes it
  }
  Found found;
  if (last_use) {
    found.known = true;
    found.picture = release(entry);
    return found;
  }
  // A copy that cannot be had is a miss: the caller decodes afresh.
  found.known = allocation_succeeds([&] { found.picture = entry.picture; });
  return found;
}

void DecodeCache::keep(std::string_view path, const std::optional<DecodedFile>& picture) {
  const std::lock_guard<std::mutex> lock(mutex_);
  ++decoded_;
  const std::uint64_t bytes = picture ? picture->dib.pixels.size() : 0;
  auto at = entries_.find(path);
  if (at != entries_.end() && at->second.counted && at->second.uses_left <= 0) {
    (void)release(at->second);  // no row still to come names it
    return;
  }
  // Two threads may have decoded the same file at once; the first kept wins.
  if ((at != entries_.end() && at->second.decoded) || bytes > budget_ - kept_bytes_) {
    return;
  }
  if (allocation_succeeds([&] {
        if (at == entries_.end()) {
          at = entries_.try_emplace(std::string(path)).first;
        }
        at->second.picture = picture;
      })) {
    at->second.decoded = true;
    kept_bytes_ += bytes;
  }
}

std::size_t DecodeCache::decoded_count() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return decoded_;
}

std::size_t DecodeCache::held_count() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  std::size_t held = 0;
  for (const auto& [path, entry] : entries_) {
    held += entry.decoded ? 1 : 0;
  }
  return held;
}

}  // namespace piconel
