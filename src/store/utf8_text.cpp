#include "store/utf8_text.h"

#include "store/cp932.h"
#include "store/no_throw.h"

namespace piconel {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// Bytes of the character at `pos`: 1 or 2, 0 when none starts there.
std::size_t character_length(std::string_view text, std::size_t pos) {
  const auto byte = static_cast<unsigned char>(text[pos]);
  if (byte < 0x80 || (byte >= 0xA1 && byte <= 0xDF)) {
    return 1;
  }
  if (is_cp932_lead_byte(byte) && pos + 1 < text.size() &&
      is_cp932_trail_byte(static_cast<unsigned char>(text[pos + 1]))) {
    return 2;
  }
  return 0;
}

void append_characters(std::string& out, std::string_view run) {
  if (const auto whole = cp932_characters_to_utf8(run)) {
    out += *whole;
    return;
  }
  // Some pair is unassigned: one character at a time finds which.
  for (std::size_t pos = 0; pos < run.size();) {
    const std::size_t length = character_length(run, pos);
    const auto one = cp932_characters_to_utf8(run.substr(pos, length));
    out += one ? std::string_view(*one) : kReplacement;
    pos += length;
  }
}

}  // namespace

std::optional<std::string> cp932_to_utf8(std::string_view cp932) {
  std::string out;
  const bool ok = allocation_succeeds([&] {
    std::size_t pos = 0;
    while (pos < cp932.size()) {
      std::size_t end = pos;
      while (end < cp932.size()) {
        const std::size_t length = character_length(cp932, end);
        if (length == 0) {
          break;
        }
        end += length;
      }
      if (end > pos) {
        append_characters(out, cp932.substr(pos, end - pos));
      }
      if (end < cp932.size()) {
        out += kReplacement;
        ++end;
      }
      pos = end;
    }
  });
  if (!ok) {
    return std::nullopt;
  }
  return out;
}

}  // namespace piconel
