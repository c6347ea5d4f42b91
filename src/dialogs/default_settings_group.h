#pragma once

// The default-settings group that the page, project and application dialogs
// share: "背景色" (background colour) and "用紙サイズ" (sheet size) of one
// level of the property chain. A check box per setting says whether the
// edited level sets the value itself; while it is off the controls are
// disabled and show what the level inherits from the levels above.

#include <array>
#include <cstdint>
#include <string_view>

#include "dialogs/dialog_controls.h"
#include "store/section_cursor.h"

namespace piconel {

// The swatch and the colour dialog work on three bytes red, green, blue.
struct Rgb {
  std::uint8_t red = 255;
  std::uint8_t green = 255;
  std::uint8_t blue = 255;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// One row of the binding table. A row without a check box (check_id 0)
// belongs to the check box of the nearest row above that has one.
struct GroupBinding {
  int check_id;
  std::string_view enable_key;
  int value_id;
  std::string_view value_key;
  // Working values: a number, a colour packed red | green << 8 | blue << 16,
  // or 1/0 for "this radio button is checked".
  int inherited = 0;
  int own = 0;
};

// What a click on one of the group's buttons asks of the dialog.
enum class GroupClick {
  NotHandled,   // not a group button: the dialog handles it
  Handled,      // the group has done all there is to do
  ChooseColour  // "色の変更...": open the colour dialog on current_colour()
};

class DefaultSettingsGroup {
 public:
  DefaultSettingsGroup();

  // Fills the controls for the level `edited` names; its parents are the
  // levels above it. A level without a parent is the top level, whose check
  // boxes are always checked.
  void initialise(DialogControls& controls, const SectionCursor& edited);

  // Applies the enabling rules after a click on `clicked` (0 for none) and
  // swaps own and inherited values of the rows it turned on or off.
  void update(DialogControls& controls, int clicked);

  // A button click of the dialog: the check boxes and radio buttons update
  // the group (at the top level a check box is checked again instead).
  [[nodiscard]] GroupClick click(DialogControls& controls, int id);

  // Writes the enable keys, TRANSPARENTCOLOR (3-byte list), SHEETSIZEMANUAL,
  // SHEETWIDTH and SHEETHEIGHT (empty below 1) into the section `own` names.
  // False when a write ran out of memory.
  [[nodiscard]] bool save(const DialogControls& controls, SectionCursor& own) const;

  [[nodiscard]] bool top_level() const { return top_level_; }
  // The colour the swatch shows.
  [[nodiscard]] Rgb current_colour() const { return current_; }
  void set_current_colour(Rgb colour) { current_ = colour; }

 private:
  std::array<GroupBinding, 5> rows_;
  bool top_level_ = false;
  Rgb current_;
};

}  // namespace piconel
