#pragma once

// Formatting into fixed-size text buffers. When the text and its terminating
// zero fit, the result is the text's length; otherwise the buffer holds the
// first size - 1 bytes and a zero, and the result is -1 (callers that need the
// whole text treat -1 as "too long").

#include <cstddef>
#include <string>

namespace piconel {

[[gnu::format(printf, 3, 4)]] int bounded_format(char* buffer, std::size_t size, const char* format,
                                                 ...);

// The same into a std::string holding at most `size` - 1 bytes, for texts
// shown on the screen (titles, messages): a cut text ends at a whole CP932
// character, so it may be one byte shorter; a lone lead byte would show as a
// stray symbol.
[[gnu::format(printf, 3, 4)]] int bounded_format_string(std::string& out, std::size_t size,
                                                        const char* format, ...);

}  // namespace piconel
