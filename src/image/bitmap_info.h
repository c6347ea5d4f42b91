#pragma once

// Sizes and codes of the Windows bitmap headers (wingdi.h), shared by the
// bitmap reader, the checks on decoder answers and the BITMAPINFO writers.

#include <cstddef>
#include <cstdint>

namespace piconel {

// BITMAPFILEHEADER, in front of the info header in a "BM" file.
inline constexpr std::size_t kBitmapFileHeaderBytes = 14;

// biSize of the info headers read (the V2/V3 sizes are the unofficial
// BITMAPV2INFOHEADER and BITMAPV3INFOHEADER, which add the colour masks and
// the alpha mask).
inline constexpr std::uint32_t kCoreHeaderBytes = 12;  // BITMAPCOREHEADER
inline constexpr std::uint32_t kInfoHeaderBytes = 40;  // BITMAPINFOHEADER
inline constexpr std::uint32_t kV2HeaderBytes = 52;
inline constexpr std::uint32_t kV3HeaderBytes = 56;
inline constexpr std::uint32_t kV4HeaderBytes = 108;  // BITMAPV4HEADER
inline constexpr std::uint32_t kV5HeaderBytes = 124;  // BITMAPV5HEADER

// biCompression values.
inline constexpr std::uint32_t kBiRgb = 0;
inline constexpr std::uint32_t kBiBitfields = 3;

// Most colour-table entries a picture of 8 bits or less can use.
inline constexpr std::uint32_t kMaxColourTableEntries = 256;

}  // namespace piconel
