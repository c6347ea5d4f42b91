#include "app/name_refusal_win32.h"

#include "app/message_box_win32.h"
#include "store/wide_text.h"

namespace piconel {

CheckedName check_name(std::wstring_view name, std::size_t max_bytes) {
  std::optional<std::string> cp932 = to_cp932_strict(name);
  if (!cp932) {
    return CheckedName{NameCheck::WithoutCp932, {}};
  }
  if (cp932->size() > max_bytes) {
    return CheckedName{NameCheck::TooLong, {}};
  }
  return CheckedName{NameCheck::Ok, std::move(*cp932)};
}

void refuse_name(HWND owner, std::string_view caption, NameCheck reason, std::wstring_view name) {
  std::wstring text = to_wide(reason == NameCheck::TooLong ? kNameTooLong : kNameWithoutCp932);
  text += L"\r\n\r\n";
  text += name;
  static_cast<void>(centred_message_box_wide(owner, text, to_wide(caption), MB_OK | MB_ICONERROR));
}

}  // namespace piconel
