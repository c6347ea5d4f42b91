#pragma once

// A bounds-checked reader over untrusted bytes. Every read checks
// `n <= size - pos` (pos never exceeds size, so the subtraction cannot wrap).
// A failed read or seek clears `ok()` for good and yields zeros, so header
// code can read straight through and test `ok()` once at the end.

#include <cstddef>
#include <cstdint>
#include <span>

namespace piconel {

class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  [[nodiscard]] bool ok() const { return ok_; }
  [[nodiscard]] std::size_t position() const { return pos_; }
  [[nodiscard]] std::size_t size() const { return bytes_.size(); }
  [[nodiscard]] std::size_t remaining() const { return bytes_.size() - pos_; }

  // Moves to an absolute position; a position past the end fails.
  void seek(std::size_t pos) {
    if (!ok_ || pos > bytes_.size()) {
      ok_ = false;
      return;
    }
    pos_ = pos;
  }

  void skip(std::size_t n) {
    if (need(n)) {
      pos_ += n;
    }
  }

  std::uint8_t u8() {
    if (!need(1)) {
      return 0;
    }
    return bytes_[pos_++];
  }

  std::uint16_t u16_le() {
    if (!need(2)) {
      return 0;
    }
    const auto value = static_cast<std::uint16_t>(bytes_[pos_] | (bytes_[pos_ + 1] << 8));
    pos_ += 2;
    return value;
  }

  std::uint32_t u32_le() {
    if (!need(4)) {
      return 0;
    }
    const std::uint32_t value = static_cast<std::uint32_t>(bytes_[pos_]) |
                                (static_cast<std::uint32_t>(bytes_[pos_ + 1]) << 8) |
                                (static_cast<std::uint32_t>(bytes_[pos_ + 2]) << 16) |
                                (static_cast<std::uint32_t>(bytes_[pos_ + 3]) << 24);
    pos_ += 4;
    return value;
  }

  std::int32_t i32_le() { return static_cast<std::int32_t>(u32_le()); }

  std::uint32_t u32_be() {
    if (!need(4)) {
      return 0;
    }
    const std::uint32_t value = (static_cast<std::uint32_t>(bytes_[pos_]) << 24) |
                                (static_cast<std::uint32_t>(bytes_[pos_ + 1]) << 16) |
                                (static_cast<std::uint32_t>(bytes_[pos_ + 2]) << 8) |
                                static_cast<std::uint32_t>(bytes_[pos_ + 3]);
    pos_ += 4;
    return value;
  }

  // The next `n` bytes, or an empty span (and failure) when fewer remain.
  std::span<const std::uint8_t> take(std::size_t n) {
    if (!need(n)) {
      return {};
    }
    const auto part = bytes_.subspan(pos_, n);
    pos_ += n;
    return part;
  }

 private:
  bool need(std::size_t n) {
    if (!ok_ || n > bytes_.size() - pos_) {
      ok_ = false;
      return false;
    }
    return true;
  }

  std::span<const std::uint8_t> bytes_;
  std::size_t pos_ = 0;
  bool ok_ = true;
};

}  // namespace piconel
