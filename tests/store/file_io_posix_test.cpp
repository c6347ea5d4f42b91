// How program-form CP932 paths become Linux names.

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "store/file_io.h"
#include "store/native_path_posix.h"
#include "store/temp_folder.h"

namespace piconel {
namespace {

TEST(NativePath, Cases) {
  struct Case {
    const char* path;
    const char* native;
  };
  const Case cases[] = {
      {"Z:\\home\\user\\a.ijp", "/home/user/a.ijp"},
      {"z:\\tmp", "/tmp"},
      {"Z:", "/"},
      {"Z:rel", "/rel"},
      {"dir\\file", "dir/file"},
      {"/already/posix", "/already/posix"},
      {"C:\\x", "C:/x"},
      // ソ and 表 keep their 0x5C trail bytes and come out as UTF-8.
      {"Z:\\\x83\x5C\\\x95\x5C.bmp", "/\xE3\x82\xBD/\xE8\xA1\xA8.bmp"},
      {"\x83\x73\x83\x52\x83\x6C\x83\x8B.ini",  // ピコネル.ini
       "\xE3\x83\x94\xE3\x82\xB3\xE3\x83\x8D\xE3\x83\xAB.ini"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    ASSERT_TRUE(native_path(c.path));
    EXPECT_EQ(*native_path(c.path), c.native);
    EXPECT_EQ(native_path_for_display(c.path), c.native);
  }
}

TEST(NativePath, InvalidCp932Fails) {
  EXPECT_FALSE(native_path(""));
  EXPECT_FALSE(native_path("a\x83"));      // lead byte without its trail byte
  EXPECT_FALSE(native_path("a\x81\x20"));  // a trail byte out of range
  EXPECT_EQ(read_whole_file("a\x83").status, ReadStatus::CannotOpen);
}

TEST(FileIoPosix, ReplacingKeepsTheTargetsPermissions) {
  testing::TempFolder folder;
  ASSERT_TRUE(folder.ok());
  const std::string path = folder.file("project.ijp");
  ASSERT_TRUE(testing::write_test_file(path, "old"));
  const std::optional<std::string> native = native_path(path);
  ASSERT_TRUE(native);
  ASSERT_EQ(::chmod(native->c_str(), 0640), 0);
  EXPECT_TRUE(testing::write_test_file(path, "new"));
  EXPECT_EQ(testing::read_test_file(path), "new");
  struct stat info {};
  ASSERT_EQ(::stat(native->c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
}

}  // namespace
}  // namespace piconel
