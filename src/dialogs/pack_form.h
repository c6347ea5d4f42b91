#pragma once

// What the packing dialog shows and reads back, without a window: the
// padding as text and the three switches.

#include <optional>
#include <string>
#include <string_view>

#include "project/page_packing.h"

namespace piconel {

struct PackForm {
  std::string padding_text;
  bool power_of_two = false;
  bool square = false;
  bool selected_only = false;
};

[[nodiscard]] PackForm pack_form_from(const PackChoices& choices);

// None when the padding is not a whole number from 0 to kMaxPackPadding
// (blanks around it allowed; empty counts as 0).
[[nodiscard]] std::optional<PackChoices> pack_choices_from(const PackForm& form);

}  // namespace piconel
