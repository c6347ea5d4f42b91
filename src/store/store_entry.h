#pragma once

// The records of the document store. Their bytes are not copied on load:
// a loaded entry or section name is a view into the store's copy of the file,
// and only text set later gets a heap block of its own. An entry is kept to
// 16 bytes on 64-bit builds (12 on 32-bit) so a file of short lines needs a
// small multiple of its size.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace piconel {

// Longest key plus value the store holds: lengths are kept in 31 bits.
inline constexpr std::size_t kMaxStoreTextBytes = 0x7FFFFFFF;

// A keyed entry ("KEY=value") or a row (a value only, addressed by its
// position). Move-only; owns its text only when it was set after the load.
class StoreEntry {
 public:
  StoreEntry() = default;
  ~StoreEntry() { release(); }
  StoreEntry(StoreEntry&& other) noexcept;
  StoreEntry& operator=(StoreEntry&& other) noexcept;
  StoreEntry(const StoreEntry&) = delete;
  StoreEntry& operator=(const StoreEntry&) = delete;

  // A view of loaded text that must outlive the entry: `line` is the key,
  // one '=' and the value when `key_size` is given, else a row's value.
  // None when the line is longer than kMaxStoreTextBytes.
  static std::optional<StoreEntry> view_of(std::string_view line,
                                           std::optional<std::size_t> key_size);
  // A heap copy of key and value; none when memory runs out or the text is
  // longer than kMaxStoreTextBytes.
  static std::optional<StoreEntry> copy_of(std::optional<std::string_view> key,
                                           std::string_view value);

  bool is_row() const { return key_size_ == kRowMark; }
  std::optional<std::string_view> key() const;
  std::string_view value() const;

  // The value becomes a heap copy of `value` (which may be a view of the old
  // one); false, and nothing changed, when memory runs out.
  [[nodiscard]] bool set_value(std::string_view value);

 private:
  static constexpr std::uint32_t kRowMark = 0xFFFFFFFF;
  static constexpr std::uint32_t kOwnedBit = 0x80000000;

  std::size_t text_size() const { return size_and_owned_ & ~kOwnedBit; }
  bool owns_text() const { return (size_and_owned_ & kOwnedBit) != 0; }
  void release();

  const char* text_ = nullptr;         // key '=' value, or the row's value
  std::uint32_t size_and_owned_ = 0;   // bytes of text_; top bit: text_ is ours
  std::uint32_t key_size_ = kRowMark;  // key bytes before the '=', or kRowMark
};

// A named section: its name (held as a row entry, for the same view-or-copy
// ownership) and its entries in order.
class StoreSection {
 public:
  std::string_view name() const { return name_.value(); }
  std::span<const StoreEntry> entries() const { return entries_; }
  // Entries whose values a caller may rewrite in place (StoreEntry::set_value).
  std::span<StoreEntry> entries() { return entries_; }

 private:
  friend class DocumentStore;
  friend class SectionIndex;

  StoreEntry name_;
  std::vector<StoreEntry> entries_;
  std::uint64_t order_ = 0;  // creation order: list order among equal names
};

}  // namespace piconel
