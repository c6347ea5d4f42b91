#pragma once

// The page name rule. A name is read byte by byte: a byte 0x80-0x9F or
// 0xE0-0xFF begins a double-byte character, accepted together with the byte
// after it; every other byte must be 0-9, a-z, A-Z or '_'. Names compare
// byte-exactly, so "Page" and "page" are different pages.

#include <string_view>

#include "project/project_ports.h"

namespace piconel {

// 1-based character position (a double-byte character counts as one) of the
// first character that breaks the rule, 0 when the name is valid, -1 when it
// is empty. The second byte of a double-byte character is not tested; a first
// byte at the very end (possible only from broken input) is invalid at its
// own position. The length is not checked here (see kMaxPageNameBytes).
[[nodiscard]] int find_invalid_page_name_character(std::string_view name);

// True when the name is valid. An invalid non-empty name shows
// "使用できない文字が含まれています。\r\n(%d文字目)" with the position, caption
// "ピコネル：ページ名の変更" and the error icon, when an owner is given. An empty
// name returns false without a message.
[[nodiscard]] bool check_page_name(std::string_view name, Prompter* owner);

}  // namespace piconel
