// Windows-only behaviour of the file boundary.

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "store/document_store.h"
#include "store/file_io.h"
#include "store/temp_folder.h"
#include "store/wide_text.h"

namespace piconel {
namespace {

using testing::read_test_file;
using testing::TempFolder;
using testing::write_test_file;

std::size_t entries_in(const std::string& folder) {
  std::size_t count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    (void)entry;
    ++count;
  }
  return count;
}

TEST(FileIoWin32, FailedReplaceLeavesOldFileIntact) {
  TempFolder folder;
  ASSERT_TRUE(folder.ok());
  const std::string path = folder.file("\x83\x5C.ini");  // ソ.ini
  ASSERT_TRUE(write_test_file(path, "old contents"));
  {
    // Another program holds the file open without sharing: the rename over
    // it fails, and the temporary file goes away again.
    HANDLE held = CreateFileW(to_wide(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(write_test_file(path, "new"));
    CloseHandle(held);
  }
  EXPECT_EQ(read_test_file(path), "old contents");
  EXPECT_EQ(entries_in(folder.path()), 1u);
}

TEST(FileIoWin32, LockedFileIsNotMissing) {
  // A file another program holds open without sharing exists: reading it
  // fails, and a store load must not take it for a missing file.
  TempFolder folder;
  ASSERT_TRUE(folder.ok());
  const std::string path = folder.file("piconel.ini");
  ASSERT_TRUE(write_test_file(path, "[PROPERTY]\r\nSNAPWIDTH=9\r\n"));
  HANDLE held = CreateFileW(to_wide(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(read_whole_file(path).status, ReadStatus::CannotOpen);
  DocumentStore store;
  EXPECT_FALSE(store.load(path, true));
  CloseHandle(held);
  EXPECT_TRUE(store.load(path, true));
  EXPECT_EQ(store.get_string("PROPERTY", "SNAPWIDTH"), "9");
}

TEST(FileIoWin32, ReplacingKeepsTheTargetsAttributes) {
  TempFolder folder;
  ASSERT_TRUE(folder.ok());
  const std::string path = folder.file("project.ijp");
  ASSERT_TRUE(write_test_file(path, "old"));
  const std::wstring wide = to_wide(path);
  ASSERT_TRUE(SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_HIDDEN));
  EXPECT_TRUE(write_test_file(path, "new"));
  EXPECT_EQ(read_test_file(path), "new");
  EXPECT_NE(GetFileAttributesW(wide.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
  EXPECT_EQ(entries_in(folder.path()), 1u);
  SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(FileIoWin32, CanonicalNameOnDisk) {
  // The name on disk is the UTF-16 form of the CP932 bytes, not a
  // reinterpretation in the ANSI code page.
  TempFolder folder;
  ASSERT_TRUE(folder.ok());
  ASSERT_TRUE(write_test_file(folder.file("\x95\x5C.txt"), "x"));  // 表.txt
  const std::wstring expected = to_wide(folder.path()) + L"\u8868.txt";
  EXPECT_NE(GetFileAttributesW(expected.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(FileIoWin32, InvalidCp932PathIsRefused) {
  TempFolder folder;
  ASSERT_TRUE(folder.ok());
  EXPECT_FALSE(write_test_file(folder.file("bad\x81\x20"), "x"));
  EXPECT_EQ(read_whole_file(folder.file("bad\x81\x20")).status, ReadStatus::CannotOpen);
  EXPECT_EQ(entries_in(folder.path()), 0u);
}

}  // namespace
}  // namespace piconel
