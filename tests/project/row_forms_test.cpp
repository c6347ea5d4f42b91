#include "project/row_forms.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace piconel {
namespace {

// Every form written must read back as the same image: no '=' before the
// first TAB, and a path the image path rule takes as relative is resolved
// against the folder again.
TEST(RowFormsTest, EveryWrittenFormReadsBack) {
  const struct {
    const char* name;
    const char* full_path;
    const char* folder;
    std::optional<std::string> entry_path;
  } entries[] = {
      {"FullPathAsItIs", "C:\\p\\x.bmp", "C:\\p\\", "C:\\p\\x.bmp"},
      {"EqualsInFolderStaysRelative", "C:\\a=b\\x.bmp", "C:\\a=b\\", "x.bmp"},
      {"RelativeProjectFolder", "sub\\x.bmp", "sub\\", "x.bmp"},
      {"EqualsOutsideTheFolder", "C:\\a=b\\x.bmp", "C:\\p\\", std::nullopt},
      {"EqualsInTheName", "C:\\p\\x=1.bmp", "C:\\p\\", std::nullopt},
  };
  for (const auto& c : entries) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(row_path_for_entry(c.full_path, c.folder), c.entry_path);
  }

  const struct {
    const char* name;
    const char* row;
    const char* folder;
    std::optional<std::string> full;
  } rows[] = {
      {"MadeFull", "img\\x.bmp\t1\t2", "C:\\p\\", "C:\\p\\img\\x.bmp\t1\t2"},
      {"AbsoluteUnchanged", "D:\\x.bmp\t1", "C:\\p\\", "D:\\x.bmp\t1"},
      {"EmptyFolderUnchanged", "x.bmp", "", "x.bmp"},
      {"EqualsInFolder", "x.bmp\t1", "C:\\a=b\\", std::nullopt},
      {"NotAbsoluteWhenFull", "x.bmp", "/home/p/", std::nullopt},
      {"TooLong", "longer.bmp",
       "C:\\"
       "0123456789012345678901234567890123456789012345678901234567890123456789"
       "0123456789012345678901234567890123456789012345678901234567890123456789"
       "0123456789012345678901234567890123456789012345678901234567890123456789"
       "0123456789012345678901234567890123456789\\",
       std::nullopt},
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(full_image_row(c.row, c.folder), c.full);
  }
  EXPECT_EQ(relative_image_row("C:\\p\\x.bmp\t1", "C:\\p\\"), "x.bmp\t1");
  EXPECT_EQ(relative_image_row("c:\\p\\x.bmp\t1", "C:\\p\\"), "c:\\p\\x.bmp\t1");
}

}  // namespace
}  // namespace piconel
