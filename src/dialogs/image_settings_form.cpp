#include "dialogs/image_settings_form.h"

#include "image/image_path.h"
#include "store/decimal_text.h"

namespace piconel {

ImageSettingsForm form_from_settings(const ImageSettings& settings) {
  ImageSettingsForm form;
  form.label = settings.label;
  form.size_forced = settings.size_forced != 0;
  form.width_text = format_decimal(settings.forced_width);
  form.height_text = format_decimal(settings.forced_height);
  form.transparent_on = settings.transparent_on != 0;
  return form;
}

ImageSettings settings_from_form(const ImageSettingsForm& form, std::int32_t transparent_key) {
  ImageSettings settings;
  settings.label = cut_label(form.label);
  settings.size_forced = form.size_forced ? 1 : 0;
  settings.forced_width = c_atoi(form.width_text);
  settings.forced_height = c_atoi(form.height_text);
  settings.transparent_on = form.transparent_on ? 1 : 0;
  settings.transparent_key = transparent_key;
  return settings;
}

}  // namespace piconel
