#include "dialogs/image_settings_dialog_win32.h"

#include <string>

#include "canvas/colour_picker_win32.h"
#include "canvas/transparent_key.h"
#include "dialogs/dialog_frame_win32.h"
#include "dialogs/image_settings_form.h"
#include "dialogs/window_controls_win32.h"
#include "store/handles_win32.h"
#include "store/system_boundary_win32.h"
#include "window/edit_byte_limit_win32.h"
#include "window/name_refusal_win32.h"
#include "window/resource.h"

namespace piconel {

namespace {

// ピコネル：画像の設定
constexpr char kImageSettingsCaption[] =
    "\x83s\x83R\x83l\x83\x8b\x81"
    "F\x89\xe6\x91\x9c\x82\xcc\x90\xdd\x92\xe8";

struct ImageSettingsDialog {
  HWND owner;
  const ImageEntry& entry;
  ImageSettings& copy;
  const PictureDecoder* decoders;
  // The swatch's brush, replaced at every colour request.
  GdiBrush swatch;
};

ImageSettingsForm read_form(HWND dialog) {
  const WindowControls controls(dialog);
  ImageSettingsForm form;
  form.label = controls.text(IDC_IMAGE_LABEL);
  form.size_forced = controls.is_checked(IDC_IMAGE_SIZE_FORCED);
  form.width_text = controls.text(IDC_IMAGE_FORCED_WIDTH);
  form.height_text = controls.text(IDC_IMAGE_FORCED_HEIGHT);
  form.transparent_on = controls.is_checked(IDC_IMAGE_TRANSPARENT);
  return form;
}

// The enabling rules, from the check boxes as they are now.
void enable_controls(HWND dialog) {
  const ImageSettingsForm form = read_form(dialog);
  WindowControls controls(dialog);
  controls.set_enabled(IDC_IMAGE_FORCED_WIDTH, form.size_edits_enabled());
  controls.set_enabled(IDC_IMAGE_FORCED_HEIGHT, form.size_edits_enabled());
  controls.set_enabled(IDC_IMAGE_CHOOSE_COLOUR, form.colour_button_enabled());
}

void start(const ImageSettingsDialog& state, HWND dialog) {
  const ImageSettingsForm form = form_from_settings(state.copy);
  // The label field holds 63 bytes of CP932: the limit counts bytes as the
  // files do, so nothing typed is cut on OK.
  const HWND label = GetDlgItem(dialog, IDC_IMAGE_LABEL);
  SendMessageW(label, EM_LIMITTEXT, kMaxLabelBytes, 0);
  static_cast<void>(limit_edit_bytes(label, kMaxLabelBytes));
  WindowControls controls(dialog);
  controls.set_text(IDC_IMAGE_LABEL, form.label);
  controls.set_checked(IDC_IMAGE_SIZE_FORCED, form.size_forced);
  controls.set_text(IDC_IMAGE_FORCED_WIDTH, form.width_text);
  controls.set_text(IDC_IMAGE_FORCED_HEIGHT, form.height_text);
  controls.set_checked(IDC_IMAGE_TRANSPARENT, form.transparent_on);
  enable_controls(dialog);
  activate_dialog(dialog, state.owner, IDC_IMAGE_LABEL);
}

// The swatch shows the key's colour whether or not "透過色" is checked; a key
// that names no colour leaves the dialog's own background.
INT_PTR swatch_brush(ImageSettingsDialog& state) {
  const DibColour colour = key_to_colour(state.entry, state.copy.transparent_key);
  if (colour < 0) {
    return FALSE;
  }
  state.swatch =
      GdiBrush(CreateSolidBrush(RGB((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF)));
  return reinterpret_cast<INT_PTR>(state.swatch.get());
}

// The label goes into imgidx.h: a character without an exact CP932 form is
// refused, as in the other dialogs, never stored as a look-alike.
void accept(ImageSettingsDialog& state, HWND dialog) {
  const WindowControls controls(dialog);
  if (!controls.exact_text(IDC_IMAGE_LABEL)) {
    refuse_name(dialog, kImageSettingsCaption, NameCheck::WithoutCp932,
                controls.wide_text(IDC_IMAGE_LABEL));
    SetFocus(GetDlgItem(dialog, IDC_IMAGE_LABEL));
    return;
  }
  state.copy = settings_from_form(read_form(dialog), state.copy.transparent_key);
  EndDialog(dialog, IDOK);
}

INT_PTR handle_message(ImageSettingsDialog& state, HWND dialog, UINT message, WPARAM wparam,
                       LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      start(state, dialog);
      // The focus was set here.
      return FALSE;
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lparam) == GetDlgItem(dialog, IDC_IMAGE_SWATCH)) {
        return swatch_brush(state);
      }
      return FALSE;
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
        case IDC_IMAGE_SIZE_FORCED:
        case IDC_IMAGE_TRANSPARENT:
          if (HIWORD(wparam) == BN_CLICKED) {
            enable_controls(dialog);
          }
          return TRUE;
        case IDC_IMAGE_CHOOSE_COLOUR:
          if (HIWORD(wparam) == BN_CLICKED) {
            static_cast<void>(pick_transparent_colour(dialog, state.entry,
                                                      state.copy.transparent_key, state.decoders));
            InvalidateRect(GetDlgItem(dialog, IDC_IMAGE_SWATCH), nullptr, TRUE);
          }
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

}  // namespace

INT_PTR run_image_settings_dialog(HWND owner, const ImageEntry& entry, ImageSettings& copy,
                                  const PictureDecoder* decoders) {
  ImageSettingsDialog state{owner, entry, copy, decoders, GdiBrush()};
  return run_modal_dialog<ImageSettingsDialog, handle_message, accept>(owner, IDD_IMAGE_SETTINGS,
                                                                       state);
}

}  // namespace piconel
