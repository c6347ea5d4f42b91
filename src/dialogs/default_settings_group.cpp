#include "dialogs/default_settings_group.h"

#include <optional>
#include <string>

#include "project/property_chain.h"
#include "store/decimal_text.h"
#include "window/dialog_ids.h"

namespace piconel {

namespace {

// The size the dialogs offer when no level above gives one.
constexpr int kOfferedSheetSize = 512;

int pack(Rgb colour) {
  return colour.red | (colour.green << 8) | (colour.blue << 16);
}

Rgb unpack(int packed) {
  return Rgb{static_cast<std::uint8_t>(packed & 0xFF),
             static_cast<std::uint8_t>((packed >> 8) & 0xFF),
             static_cast<std::uint8_t>((packed >> 16) & 0xFF)};
}

bool is_radio(const GroupBinding& row) {
  return row.value_id == IDC_SIZE_AUTOMATIC || row.value_id == IDC_SIZE_MANUAL;
}

bool is_size(const GroupBinding& row) {
  return row.value_id == IDC_SHEET_WIDTH || row.value_id == IDC_SHEET_HEIGHT;
}

bool begins_with_one(const std::optional<std::string>& value) {
  return value && !value->empty() && (*value)[0] == '1';
}

// A size below 1 is shown as an empty edit, as it is stored.
void show_size(DialogControls& controls, int id, int value) {
  if (value < 1) {
    controls.set_text(id, "");
  } else {
    set_control_number(controls, id, value);
  }
}

Rgb bytes_or_white(bool (*lookup)(std::string_view, std::span<std::uint8_t>, const SectionCursor&),
                   const SectionCursor& level) {
  std::array<std::uint8_t, 3> bytes{255, 255, 255};
  static_cast<void>(lookup(kTransparentColourKey, bytes, level));
  return Rgb{bytes[0], bytes[1], bytes[2]};
}

}  // namespace

DefaultSettingsGroup::DefaultSettingsGroup()
    : rows_{{
          {IDC_BACKGROUND_ENABLE, kTransparentEnableKey, IDC_CHANGE_COLOUR, kTransparentColourKey},
          {IDC_SHEET_SIZE_ENABLE, kFixedSheetKey, IDC_SIZE_AUTOMATIC, kSheetSizeManualKey},
          {0, {}, IDC_SIZE_MANUAL, kSheetSizeManualKey},
          {0, {}, IDC_SHEET_WIDTH, kSheetWidthKey},
          {0, {}, IDC_SHEET_HEIGHT, kSheetHeightKey},
      }} {}

void DefaultSettingsGroup::initialise(DialogControls& controls, const SectionCursor& edited) {
  top_level_ = edited.parent() == nullptr;
  bool group_on = false;
  bool effective_manual = false;
  for (GroupBinding& row : rows_) {
    if (row.check_id != 0) {
      group_on = top_level_ || edited.get_flag(row.enable_key);
      controls.set_checked(row.check_id, group_on);
    }
    controls.set_enabled(row.value_id, group_on);
    if (row.value_id == IDC_CHANGE_COLOUR) {
      const Rgb inherited = bytes_or_white(inherited_bytes, edited);
      const Rgb own = bytes_or_white(first_bytes, edited);
      row.inherited = pack(inherited);
      row.own = pack(own);
      current_ = group_on ? own : inherited;
    } else if (is_radio(row)) {
      const bool wants_manual = row.value_id == IDC_SIZE_MANUAL;
      row.own = begins_with_one(first_string(row.value_key, edited)) == wants_manual ? 1 : 0;
      row.inherited =
          begins_with_one(inherited_string(row.value_key, edited)) == wants_manual ? 1 : 0;
      controls.set_checked(row.value_id, (group_on ? row.own : row.inherited) != 0);
      if (wants_manual) {
        effective_manual = begins_with_one(chained_string(row.value_key, edited));
      }
    } else {
      const std::optional<std::string> inherited = inherited_string(row.value_key, edited);
      const std::optional<std::string> own = first_string(row.value_key, edited);
      row.inherited = inherited ? c_atoi(*inherited) : kOfferedSheetSize;
      row.own = own ? c_atoi(*own) : row.inherited;
      controls.set_enabled(row.value_id, group_on && effective_manual);
      if (effective_manual) {
        show_size(controls, row.value_id, group_on ? row.own : row.inherited);
      } else {
        controls.set_text(row.value_id, "");
      }
    }
  }
  update(controls, 0);
}

void DefaultSettingsGroup::update(DialogControls& controls, int clicked) {
  bool group_on = false;
  bool turned_on = false;
  bool turned_off = false;
  bool manual = false;
  for (GroupBinding& row : rows_) {
    if (row.check_id != 0) {
      group_on = controls.is_checked(row.check_id);
      turned_on = clicked == row.check_id && group_on;
      turned_off = clicked == row.check_id && !group_on;
    }
    if (row.value_id == IDC_SHEET_WIDTH && group_on &&
        (clicked == IDC_SIZE_AUTOMATIC || clicked == IDC_SIZE_MANUAL)) {
      // The radio buttons switch the width and height rows on and off.
      turned_on = manual;
      turned_off = !manual;
    }
    const bool enabled = is_size(row) ? group_on && manual : group_on;
    controls.set_enabled(row.value_id, enabled);
    if (turned_off) {
      // Keep what the row showed as its own value; show the inherited one.
      if (is_size(row)) {
        const int typed = control_number(controls, row.value_id);
        if (typed > 0) {
          row.own = typed;
        }
        if (manual) {
          show_size(controls, row.value_id, row.inherited);
        } else {
          controls.set_text(row.value_id, "");
        }
      } else if (is_radio(row)) {
        row.own = controls.is_checked(row.value_id) ? 1 : 0;
        controls.set_checked(row.value_id, row.inherited != 0);
      } else {
        row.own = pack(current_);
        current_ = unpack(row.inherited);
      }
    } else if (turned_on) {
      if (is_size(row)) {
        if (enabled) {
          show_size(controls, row.value_id, row.own);
        } else if (manual) {
          show_size(controls, row.value_id, row.inherited);
        } else {
          controls.set_text(row.value_id, "");
        }
      } else if (is_radio(row)) {
        controls.set_checked(row.value_id, row.own != 0);
      } else {
        current_ = unpack(row.own);
      }
    }
    if (row.value_id == IDC_SIZE_MANUAL) {
      manual = controls.is_checked(IDC_SIZE_MANUAL);
    }
  }
  controls.redraw(IDC_COLOUR_SWATCH);
}

GroupClick DefaultSettingsGroup::click(DialogControls& controls, int id) {
  switch (id) {
    case IDC_BACKGROUND_ENABLE:
    case IDC_SHEET_SIZE_ENABLE:
      if (top_level_) {
        // Nothing above the top level to inherit from: the boxes stay on.
        controls.set_checked(id, true);
      } else {
        update(controls, id);
      }
      return GroupClick::Handled;
    case IDC_SIZE_AUTOMATIC:
    case IDC_SIZE_MANUAL:
      update(controls, id);
      return GroupClick::Handled;
    case IDC_CHANGE_COLOUR:
      return GroupClick::ChooseColour;
    default:
      return GroupClick::NotHandled;
  }
}

bool DefaultSettingsGroup::save(const DialogControls& controls, SectionCursor& own) const {
  bool ok = true;
  for (const GroupBinding& row : rows_) {
    if (row.check_id != 0) {
      ok = own.set_string(row.enable_key, controls.is_checked(row.check_id) ? "1" : "0") && ok;
    }
  }
  const bool colour_on = controls.is_checked(IDC_BACKGROUND_ENABLE);
  const Rgb colour = colour_on ? current_ : unpack(rows_[0].own);
  const std::array<std::uint8_t, 3> bytes{colour.red, colour.green, colour.blue};
  ok = own.set_byte_list(kTransparentColourKey, bytes) && ok;

  const bool size_on = controls.is_checked(IDC_SHEET_SIZE_ENABLE);
  const bool manual = size_on ? controls.is_checked(IDC_SIZE_MANUAL) : rows_[2].own != 0;
  ok = own.set_string(kSheetSizeManualKey, manual ? "1" : "0") && ok;
  for (const GroupBinding& row : rows_) {
    if (!is_size(row)) {
      continue;
    }
    const int number = size_on && controls.is_checked(IDC_SIZE_MANUAL)
                           ? control_number(controls, row.value_id)
                           : row.own;
    ok = own.set_string(row.value_key, number < 1 ? std::string() : format_decimal(number)) && ok;
  }
  return ok;
}

}  // namespace piconel
