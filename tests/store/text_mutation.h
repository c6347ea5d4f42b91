#pragma once

// Random edits of a valid text for the fuzz tests: a byte replaced by one of
// the bytes the format cares about, a random byte inserted, or a byte erased.

#include <cstddef>
#include <random>
#include <span>
#include <string>

namespace piconel::testing {

// Between 1 and `max_edits` edits at random places.
inline std::string mutate_text(std::string text, std::mt19937& random,
                               std::span<const char> alphabet, int max_edits) {
  const int edits = 1 + static_cast<int>(random() % static_cast<unsigned>(max_edits));
  for (int e = 0; e < edits; ++e) {
    const std::size_t at = random() % (text.size() + 1);
    switch (random() % 3) {
      case 0:
        if (at < text.size()) {
          text[at] = alphabet[random() % alphabet.size()];
        }
        break;
      case 1:
        text.insert(at, 1, static_cast<char>(random() % 256));
        break;
      default:
        if (at < text.size()) {
          text.erase(at, 1);
        }
        break;
    }
  }
  return text;
}

}  // namespace piconel::testing
