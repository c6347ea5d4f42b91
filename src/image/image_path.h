#pragma once

// Where an image entry's file lies and the label it starts with.

#include <optional>
#include <string>
#include <string_view>

namespace piconel {

// The full path of an image: a path that begins with two backslashes, or
// whose second and third bytes are ':' and '\\', is used unchanged; any other
// (including one with a single leading backslash) gets `project_folder` (ends
// in its separator, or is empty) put in front. None when the result is longer
// than kMaxPathBytes (259) bytes: it would not fit the path field, and a cut
// path would name another file.
[[nodiscard]] std::optional<std::string> resolve_image_path(std::string_view path,
                                                            std::string_view project_folder);

// The label a freshly opened image gets: the file name of `path` without
// folder and extension (CP932-aware split), upper-cased byte by byte except
// double-byte characters (a byte 0x80-0x9F or 0xE0-0xFF starts one; both of
// its bytes stay), at most kMaxLabelBytes (63) bytes. The cut never leaves the
// first byte of a double-byte character without its second.
[[nodiscard]] std::string label_from_path(std::string_view path);

// The first kMaxLabelBytes (63) bytes of a label, cut before a double-byte
// character (first byte 0x80-0x9F or 0xE0-0xFF) that would not fit whole.
[[nodiscard]] std::string cut_label(std::string_view label);

}  // namespace piconel
