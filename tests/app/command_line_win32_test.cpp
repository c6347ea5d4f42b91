// The project argument of piconel.exe: the program name cut off the command
// line, the 260-byte limit and the one pair of quotes.

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/command_line_win32.h"

namespace piconel {
namespace {

TEST(CommandLineTail, ProgramNameAndFollowingBlanksAreRemoved) {
  const struct {
    const wchar_t* command_line;
    const wchar_t* tail;
  } cases[] = {
      {L"", L""},
      {L"piconel.exe", L""},
      {L"piconel.exe a.ijp", L"a.ijp"},
      {L"piconel.exe \t  a.ijp  ", L"a.ijp  "},
      {L"piconel.exe\ta.ijp", L"a.ijp"},
      // A quoted name ends at its closing quote, blanks inside included.
      {L"\"C:\\Program Files\\piconel.exe\" \"C:\\my work\\a.ijp\"", L"\"C:\\my work\\a.ijp\""},
      {L"\"C:\\Program Files\\piconel.exe\"a.ijp", L"a.ijp"},
      // No closing quote: everything is the name.
      {L"\"C:\\Program Files\\piconel.exe a.ijp", L""},
      // Two paths stay one tail.
      {L"piconel.exe a.ijp b.ijp", L"a.ijp b.ijp"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << static_cast<int>(std::wstring(c.command_line).size()));
    EXPECT_EQ(command_line_tail(c.command_line), std::wstring_view(c.tail));
  }
}

TEST(ProjectArgument, OnePairOfSurroundingQuotesIsStripped) {
  const struct {
    const wchar_t* tail;
    const char* argument;
  } cases[] = {
      {L"a.ijp", "a.ijp"},
      {L"\"C:\\my work\\a.ijp\"", "C:\\my work\\a.ijp"},
      // Only a leading quote starts the stripping.
      {L"a.ijp\"", "a.ijp\""},
      {L"\"a.ijp", "a.ijp"},
      {L"\"\"a.ijp\"\"", "\"a.ijp\""},
      {L"\"", ""},
      {L"\"\"", ""},
      // Copied as text: a percent sign is no format.
      {L"100%s.ijp", "100%s.ijp"},
      // 表ソ: trail bytes 0x5C are kept, the closing quote still goes.
      {L"\"\x8868\x30bd.ijp\"", "\x95\x5c\x83\x5c.ijp"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.argument);
    EXPECT_EQ(project_argument(c.tail), std::optional<std::string>(c.argument));
  }
}

TEST(ProjectArgument, TwoHundredSixtyBytesOrMoreAreTooLong) {
  EXPECT_EQ(project_argument(std::wstring(259, L'a')), std::string(259, 'a'));
  EXPECT_EQ(project_argument(std::wstring(260, L'a')), std::nullopt);
  // Counted in CP932 bytes: 130 double-byte characters take 260.
  std::string fits;
  for (int i = 0; i < 129; ++i) {
    fits += "\x95\x5c";  // 表
  }
  EXPECT_EQ(project_argument(std::wstring(129, L'\x8868') + L"a"), fits + "a");
  EXPECT_EQ(project_argument(std::wstring(130, L'\x8868')), std::nullopt);
  // The quotes count before they are stripped.
  EXPECT_EQ(project_argument(L"\"" + std::wstring(258, L'a') + L"\""), std::nullopt);
  EXPECT_EQ(project_argument(L"\"" + std::wstring(257, L'a') + L"\""), std::string(257, 'a'));
}

}  // namespace
}  // namespace piconel
