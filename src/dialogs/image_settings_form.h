#pragma once

// The image settings dialog's controls as plain values, and the two ways
// between them and an image settings block: what the dialog shows when it
// opens, and what OK stores. Nothing is validated: an empty label, a size of
// 0 or a negative number is stored as typed.

#include <cstdint>
#include <string>

#include "image/image_entry.h"

namespace piconel {

struct ImageSettingsForm {
  std::string label;            // CP932, edit 1006
  bool size_forced = false;     // "画像サイズ強制指定"
  std::string width_text;       // edit 1040
  std::string height_text;      // edit 1041
  bool transparent_on = false;  // "透過色"

  // Edits 1040 and 1041 take input only while the size is forced, the
  // button "色の選択..." only while the image has a transparent colour.
  [[nodiscard]] bool size_edits_enabled() const { return size_forced; }
  [[nodiscard]] bool colour_button_enabled() const { return transparent_on; }

  friend bool operator==(const ImageSettingsForm&, const ImageSettingsForm&) = default;
};

// The label, the two flags (non-zero is checked) and the forced size as
// decimal numbers.
[[nodiscard]] ImageSettingsForm form_from_settings(const ImageSettings& settings);

// The block OK stores: the label cut to 63 bytes (never half a double-byte
// character), the flags as 1 or 0, the size edits read with C atoi rules
// whether or not they take input (text that is no number gives 0), and
// `transparent_key` as the picker last set it (unchecking "透過色" keeps it).
[[nodiscard]] ImageSettings settings_from_form(const ImageSettingsForm& form,
                                               std::int32_t transparent_key);

}  // namespace piconel
