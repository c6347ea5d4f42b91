#include "image/decode_cache.h"

#include "store/no_throw.h"

namespace piconel {

DecodeCache::Found DecodeCache::find(std::string_view path) const {
  const std::lock_guard<std::mutex> lock(mutex_);
  const auto at = entries_.find(path);
  if (at == entries_.end()) {
    return {};
  }
  Found found;
  // A copy that cannot be had is a miss: the caller decodes afresh.
  found.known = allocation_succeeds([&] { found.picture = at->second; });
  return found;
}

void DecodeCache::keep(std::string_view path, const std::optional<DecodedFile>& picture) {
  const std::lock_guard<std::mutex> lock(mutex_);
  ++decoded_;
  const std::uint64_t bytes = picture ? picture->dib.pixels.size() : 0;
  if (bytes > budget_ - kept_bytes_) {
    return;
  }
  // Two threads may have decoded the same file at once; the first kept wins.
  bool inserted = false;
  if (allocation_succeeds(
          [&] { inserted = entries_.try_emplace(std::string(path), picture).second; }) &&
      inserted) {
    kept_bytes_ += bytes;
  }
}

std::size_t DecodeCache::decoded_count() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return decoded_;
}

}  // namespace piconel
