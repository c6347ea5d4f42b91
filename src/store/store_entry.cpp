#include "store/store_entry.h"

#include <cstring>
#include <new>
#include <utility>

namespace piconel {

StoreEntry::StoreEntry(StoreEntry&& other) noexcept
    : text_(std::exchange(other.text_, nullptr)),
      size_and_owned_(std::exchange(other.size_and_owned_, 0)),
      key_size_(std::exchange(other.key_size_, kRowMark)) {}

StoreEntry& StoreEntry::operator=(StoreEntry&& other) noexcept {
  if (this != &other) {
    release();
    text_ = std::exchange(other.text_, nullptr);
    size_and_owned_ = std::exchange(other.size_and_owned_, 0);
    key_size_ = std::exchange(other.key_size_, kRowMark);
  }
  return *this;
}

void StoreEntry::release() {
  if (owns_text()) {
    delete[] text_;
  }
  text_ = nullptr;
  size_and_owned_ = 0;
}

std::optional<StoreEntry> StoreEntry::view_of(std::string_view line,
                                              std::optional<std::size_t> key_size) {
  if (line.size() > kMaxStoreTextBytes) {
    return std::nullopt;
  }
  StoreEntry entry;
  entry.text_ = line.data();
  entry.size_and_owned_ = static_cast<std::uint32_t>(line.size());
  entry.key_size_ = key_size ? static_cast<std::uint32_t>(*key_size) : kRowMark;
  return entry;
}

std::optional<StoreEntry> StoreEntry::copy_of(std::optional<std::string_view> key,
                                              std::string_view value) {
  const std::size_t key_bytes = key ? key->size() + 1 : 0;  // the key and its '='
  if (value.size() > kMaxStoreTextBytes || key_bytes > kMaxStoreTextBytes - value.size()) {
    return std::nullopt;
  }
  const std::size_t size = key_bytes + value.size();
  char* text = nullptr;
  if (size > 0) {
    text = new (std::nothrow) char[size];
    if (text == nullptr) {
      return std::nullopt;
    }
    if (key) {
      std::memcpy(text, key->data(), key->size());
      text[key->size()] = '=';
    }
    std::memcpy(text + key_bytes, value.data(), value.size());
  }
  StoreEntry entry;
  entry.text_ = text;
  entry.size_and_owned_ = static_cast<std::uint32_t>(size) | (text != nullptr ? kOwnedBit : 0);
  entry.key_size_ = key ? static_cast<std::uint32_t>(key->size()) : kRowMark;
  return entry;
}

std::optional<std::string_view> StoreEntry::key() const {
  if (is_row()) {
    return std::nullopt;
  }
  return std::string_view(text_, key_size_);
}

std::string_view StoreEntry::value() const {
  const std::size_t skip = is_row() ? 0 : std::size_t{key_size_} + 1;
  return std::string_view(text_ == nullptr ? "" : text_ + skip, text_size() - skip);
}

bool StoreEntry::set_value(std::string_view value) {
  std::optional<StoreEntry> fresh = copy_of(key(), value);
  if (!fresh) {
    return false;
  }
  *this = std::move(*fresh);
  return true;
}

}  // namespace piconel
