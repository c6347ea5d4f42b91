#include "output/output_file.h"

#include <algorithm>

#include "store/file_io.h"

namespace piconel {
namespace {

bool holds_bytes(std::string_view path, std::span<const std::span<const std::uint8_t>> parts) {
  std::size_t size = 0;
  for (const auto& part : parts) {
    size += part.size();
  }
  // A longer file is refused by its size before anything is read.
  const FileBytes old = read_whole_file(path, size);
  if (old.status != ReadStatus::Ok || old.bytes.size() != size) {
    return false;
  }
  auto at = old.bytes.begin();
  for (const auto& part : parts) {
    if (!std::equal(part.begin(), part.end(), at)) {
      return false;
    }
    at += static_cast<std::ptrdiff_t>(part.size());
  }
  return true;
}

}  // namespace

bool write_output_file(std::string_view path, std::span<const std::span<const std::uint8_t>> parts,
                       bool if_changed) {
  if (if_changed && holds_bytes(path, parts)) {
    return true;
  }
  // Output files can be made again: replaced in one step, not flushed.
  return write_file_replacing_parts(path, parts, Durability::Unsynced);
}

bool write_output_file(std::string_view path, std::span<const std::uint8_t> bytes,
                       bool if_changed) {
  const std::span<const std::uint8_t> parts[] = {bytes};
  return write_output_file(path, parts, if_changed);
}

}  // namespace piconel
