#pragma once

// The output settings of the project properties dialog: the check boxes and
// edits bound to the project's PROPERTY keys, and their enabling rules.

#include "dialogs/dialog_controls.h"
#include "store/section_cursor.h"

namespace piconel {

// Longest output folder and label template: a 260-byte buffer's worth.
inline constexpr std::size_t kMaxOutputTextBytes = 259;

// Fills the controls from the project's PROPERTY section (`project`):
// a box is checked when its key begins with '1' ("ビットマップ出力" also when
// OUTPUT_BMP is absent), the folder and the template ("IMG_%PAGE%_%FILE%"
// when absent) go into their edits; then the enabling rules.
void show_project_output(DialogControls& controls, const SectionCursor& project);

// The folder edit and "参照..." only while "出力フォルダ" is checked; the
// template and the page-number box only while "ラベル出力" is;
// "背景色を透明にする" only while "PNG出力" is.
void enable_project_output(DialogControls& controls);

// Writes the ten flags ("1"/"0") and both texts (at most 259 bytes, also
// from disabled edits). False when a write ran out of memory.
[[nodiscard]] bool save_project_output(const DialogControls& controls, SectionCursor& project);

}  // namespace piconel
