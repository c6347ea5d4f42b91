#pragma once

// Writing one output file (a page bitmap or a table file).

#include <cstdint>
#include <span>
#include <string_view>

namespace piconel {

// Replaces `path` with the bytes of `parts`, one after the other. With
// `if_changed`, a file that already holds exactly these bytes is left alone:
// not rewritten, so its time stamp stays and build tools that watch time
// stamps see no change. False when the file cannot be written.
[[nodiscard]] bool write_output_file(std::string_view path,
                                     std::span<const std::span<const std::uint8_t>> parts,
                                     bool if_changed);
[[nodiscard]] bool write_output_file(std::string_view path, std::span<const std::uint8_t> bytes,
                                     bool if_changed);

}  // namespace piconel
