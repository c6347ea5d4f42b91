#include "dialogs/project_output_fields.h"

#include <array>
#include <string>

#include "output/label_format.h"
#include "project/project_keys.h"
#include "window/dialog_ids.h"

namespace piconel {

namespace {

struct FlagBinding {
  int id;
  std::string_view key;
  bool when_absent;
};

constexpr std::array<FlagBinding, 10> kFlags = {{
    {IDC_OUTPUT_DIR_ENABLE, kOutputEnableKey, false},
    {IDC_OUTPUT_BMP, kOutputBitmapKey, true},
    {IDC_OUTPUT_LABEL, kOutputLabelKey, false},
    {IDC_LABEL_PAGE_NUMBER, kOutputLabelPageNumberKey, false},
    {IDC_TABLE_TEXT, kOutputTableTextKey, false},
    {IDC_TABLE_LITTLE, kOutputTableLittleKey, false},
    {IDC_TABLE_BIG, kOutputTableBigKey, false},
    {IDC_OUTPUT_PNG, kOutputPngKey, false},
    {IDC_PNG_TRANSPARENT, kOutputPngTransparentKey, false},
    {IDC_OUTPUT_JSON, kOutputJsonKey, false},
}};

}  // namespace

void show_project_output(DialogControls& controls, const SectionCursor& project) {
  for (const FlagBinding& flag : kFlags) {
    const auto value = project.get_string(flag.key);
    controls.set_checked(flag.id,
                         value ? (!value->empty() && (*value)[0] == '1') : flag.when_absent);
  }
  const auto folder = project.get_string(kOutputDirKey);
  controls.set_text(IDC_OUTPUT_DIR, folder ? std::string(*folder) : std::string());
  const auto format = project.get_string(kOutputLabelFormatKey);
  controls.set_text(IDC_LABEL_FORMAT, std::string(format ? *format : kDefaultLabelFormat));
  enable_project_output(controls);
}

void enable_project_output(DialogControls& controls) {
  const bool folder_on = controls.is_checked(IDC_OUTPUT_DIR_ENABLE);
  controls.set_enabled(IDC_OUTPUT_DIR, folder_on);
  controls.set_enabled(IDC_OUTPUT_BROWSE, folder_on);
  const bool label_on = controls.is_checked(IDC_OUTPUT_LABEL);
  controls.set_enabled(IDC_LABEL_FORMAT, label_on);
  controls.set_enabled(IDC_LABEL_PAGE_NUMBER, label_on);
  controls.set_enabled(IDC_PNG_TRANSPARENT, controls.is_checked(IDC_OUTPUT_PNG));
}

bool save_project_output(const DialogControls& controls, SectionCursor& project) {
  bool ok = true;
  for (const FlagBinding& flag : kFlags) {
    ok = project.set_string(flag.key, controls.is_checked(flag.id) ? "1" : "0") && ok;
  }
  ok = project.set_string(kOutputDirKey,
                          control_text_up_to(controls, IDC_OUTPUT_DIR, kMaxOutputTextBytes)) &&
       ok;
  ok = project.set_string(kOutputLabelFormatKey,
                          control_text_up_to(controls, IDC_LABEL_FORMAT, kMaxOutputTextBytes)) &&
       ok;
  return ok;
}

}  // namespace piconel
