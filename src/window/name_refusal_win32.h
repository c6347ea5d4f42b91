#pragma once

// Names from the system (file dialogs, dropped files, the command line, the
// folder browser) that the program cannot hold: one without an exact CP932
// form, or longer than a path buffer takes. They are refused with a message
// that shows the name as the system gave it, never changed into another
// name. Windows only: include from *_win32.cpp files only.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "project/project_ports.h"

namespace piconel {

// "この名前には CP932 (シフトJIS) で表せない文字が含まれているため使えません。"
inline constexpr std::string_view kNameWithoutCp932 =
    "\x82\xb1\x82\xcc\x96\xbc\x91O\x82\xc9\x82\xcd CP932 (\x83V\x83t\x83gJIS) "
    "\x82\xc5\x95\x5c\x82\xb9\x82\xc8\x82\xa2\x95\xb6\x8e\x9a\x82\xaa\x8a\xdc\x82\xdc\x82\xea\x82"
    "\xc4\x82\xa2\x82\xe9\x82\xbd\x82\xdf\x8eg\x82\xa6\x82\xdc\x82\xb9\x82\xf1\x81\x42";
// "名前が長すぎます (259 バイトまで)。"
inline constexpr std::string_view kNameTooLong =
    "\x96\xbc\x91O\x82\xaa\x92\xb7\x82\xb7\x82\xac\x82\xdc\x82\xb7 (259 "
    "\x83o\x83\x43\x83g\x82\xdc\x82\xc5)\x81\x42";

// Longest name a 260-byte path buffer takes with its terminator.
inline constexpr std::size_t kMaxNameBytes = 259;

enum class NameCheck { Ok, WithoutCp932, TooLong };

struct CheckedName {
  NameCheck check = NameCheck::Ok;
  // The exact CP932 form; filled only with Ok.
  std::string cp932;
};

// The name as CP932 when it has an exact form of at most `max_bytes`.
[[nodiscard]] CheckedName check_name(std::wstring_view name, std::size_t max_bytes = kMaxNameBytes);

// A name the system gave and the program cannot hold, as CP932 can show it
// in a list of refused files: each character with an exact CP932 form as
// it is, every other one as '?'.
[[nodiscard]] std::string displayable_cp932(std::wstring_view name);

// A chosen or dropped image file as the adding takes it: its exact CP932
// path (check_name), or what CP932 can show of it (displayable_cp932) with
// the reason the program cannot hold it.
[[nodiscard]] ChosenFile chosen_file(std::wstring_view name);

// Shows why `name` is refused (the reason, then the name itself) in an
// error box centred over `owner` with `caption` (CP932).
void refuse_name(HWND owner, std::string_view caption, NameCheck reason, std::wstring_view name);

}  // namespace piconel
