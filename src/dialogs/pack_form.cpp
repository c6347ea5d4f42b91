#include "dialogs/pack_form.h"

#include "store/decimal_text.h"

namespace piconel {

PackForm pack_form_from(const PackChoices& choices) {
  return PackForm{format_decimal(choices.padding), choices.power_of_two, choices.square,
                  choices.selected_only};
}

std::optional<PackChoices> pack_choices_from(const PackForm& form) {
  std::string_view text = form.padding_text;
  while (!text.empty() && text.front() == ' ') {
    text.remove_prefix(1);
  }
  while (!text.empty() && text.back() == ' ') {
    text.remove_suffix(1);
  }
  int padding = 0;
  if (text.size() > 3) {
    return std::nullopt;
  }
  for (const char c : text) {
    if (c < '0' || c > '9') {
      return std::nullopt;
    }
    padding = padding * 10 + (c - '0');
  }
  if (padding > kMaxPackPadding) {
    return std::nullopt;
  }
  return PackChoices{padding, form.power_of_two, form.square, form.selected_only};
}

}  // namespace piconel
