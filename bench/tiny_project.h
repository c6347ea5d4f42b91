#pragma once

// The largest project the window takes: 256 pages of 256 tiny sprites (4 x 4,
// 4 bits, one file each, 65,536 files), 16 a row on each page, every table
// switched on. The same call always writes the same bytes.

#include <string>

namespace piconel::bench {

inline constexpr int kTinyPages = 256;
inline constexpr int kTinySpritesPerPage = 256;
inline constexpr int kTinySide = 4;

// Writes the sprites into "<folder>tiny/" and the project file
// "<folder>tiny.ijp", whose path it returns.
[[nodiscard]] std::string write_tiny_project(const std::string& folder);

}  // namespace piconel::bench
