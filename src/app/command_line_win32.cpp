#include "app/command_line_win32.h"

#include "store/wide_text.h"

namespace piconel {
namespace {

bool is_blank(wchar_t c) {
  return c == L' ' || c == L'\t';
}

}  // namespace

std::wstring_view command_line_tail(std::wstring_view command_line) {
  std::size_t position = 0;
  if (!command_line.empty() && command_line.front() == L'"') {
    const std::size_t closing = command_line.find(L'"', 1);
    position = closing == std::wstring_view::npos ? command_line.size() : closing + 1;
  } else {
    while (position < command_line.size() && !is_blank(command_line[position])) {
      ++position;
    }
  }
  while (position < command_line.size() && is_blank(command_line[position])) {
    ++position;
  }
  return command_line.substr(position);
}

std::optional<std::string> project_argument(std::wstring_view tail) {
  std::string argument = to_cp932(tail);
  if (argument.size() > kMaxArgumentBytes) {
    return std::nullopt;
  }
  // The closing quote is a single byte, never the trail byte of a
  // double-byte character (those are 0x40 and above).
  if (!argument.empty() && argument.front() == '"') {
    argument.erase(0, 1);
    if (!argument.empty() && argument.back() == '"') {
      argument.pop_back();
    }
  }
  return argument;
}

}  // namespace piconel
