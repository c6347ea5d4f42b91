#include "window/name_refusal_win32.h"

#include "store/wide_text.h"
#include "window/message_box_win32.h"

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

std::string displayable_cp932(std::wstring_view name) {
  std::string shown;
  for (std::size_t i = 0; i < name.size(); ++i) {
    // A surrogate pair is one character.
    const bool pair =
        IS_HIGH_SURROGATE(name[i]) && i + 1 < name.size() && IS_LOW_SURROGATE(name[i + 1]);
    const std::size_t length = pair ? 2 : 1;
    const std::optional<std::string> character = to_cp932_strict(name.substr(i, length));
    shown += character.value_or("?");
    i += length - 1;
  }
  return shown;
}

ChosenFile chosen_file(std::wstring_view name) {
  CheckedName checked = check_name(name);
  switch (checked.check) {
    case NameCheck::Ok:
      return ChosenFile{std::move(checked.cp932)};
    case NameCheck::TooLong:
      return ChosenFile{displayable_cp932(name), NameProblem::TooLong};
    case NameCheck::WithoutCp932:
      break;
  }
  return ChosenFile{displayable_cp932(name), NameProblem::WithoutCp932};
}

void refuse_name(HWND owner, std::string_view caption, NameCheck reason, std::wstring_view name) {
  std::wstring text = to_wide(reason == NameCheck::TooLong ? kNameTooLong : kNameWithoutCp932);
  text += L"\r\n\r\n";
  text += name;
  static_cast<void>(centred_message_box_wide(owner, text, to_wide(caption), MB_OK | MB_ICONERROR));
}

}  // namespace piconel
