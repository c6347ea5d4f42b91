#pragma once

// Transparent palette index of a PNG or GIF file, read from the file's own
// bytes after a decoder has turned the file into a bitmap (decoders say
// nothing about transparency). Both probes walk the file's chunk or block
// structure through a bounds-checked reader and answer -1 as soon as a walk,
// skip or read would pass the end.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace piconel {

// PNG (W3C PNG, section 5.3 chunk layout; CRCs are not checked):
// after the 8-byte signature the chunks are walked from the first until
// "IHDR" (or "IEND": -1); its colour type (data byte 9) must be 3, indexed.
// A second walk from the first chunk looks for "tRNS" (stopping at "IEND");
// the result is the index of its first alpha value 0, or -1 when none is 0.
// Every chunk passed or used must lie wholly inside the file, CRC included;
// an IHDR of fewer than 13 data bytes counts as malformed (-1).
[[nodiscard]] std::int32_t png_transparent_index(std::span<const std::uint8_t> bytes);

// GIF 89a (GIF89a document, sections 17 to 23): "GIF" and "89a" first
// (87a files have no transparency: -1), the global colour table skipped, then
// the block stream walked: the trailer 0x3B ends with -1; an extension 0x21
// with label 0xF9 decides (the first one only): transparent flag set gives
// the colour index (data byte 3), clear gives -1; a graphic control
// extension whose first sub-block is shorter than 4 bytes is malformed (-1),
// one of size 0 ends at once and the walk goes on. Other extensions and image
// descriptors (with local colour table and data sub-blocks) are skipped; any
// other byte is stepped over.
[[nodiscard]] std::int32_t gif_transparent_index(std::span<const std::uint8_t> bytes);

// The probe for a file name: ".png" or ".gif" (ASCII case ignored) at the
// end of `path`; -1 for every other extension.
[[nodiscard]] std::int32_t probe_transparent_index(std::string_view path,
                                                   std::span<const std::uint8_t> bytes);

// The 32-bit number stored most significant byte first at `pos`, or none when
// fewer than 4 bytes are there.
[[nodiscard]] std::optional<std::uint32_t> read_u32_be(std::span<const std::uint8_t> bytes,
                                                       std::size_t pos);
// Stores `value` the same way; false (nothing written) when fewer than 4
// bytes are there.
[[nodiscard]] bool write_u32_be(std::span<std::uint8_t> bytes, std::size_t pos,
                                std::uint32_t value);

}  // namespace piconel
