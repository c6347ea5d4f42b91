// The file boundary through program-form paths, with CP932 names.

#include "store/file_io.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "store/file_error.h"
#include "store/temp_folder.h"

namespace piconel {
namespace {

using testing::read_test_file;
using testing::TempFolder;
using testing::write_test_file;

class FileIo : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder_.ok()); }
  std::string sub(std::string_view a, std::string_view b = {}) const {
    std::string path = folder_.file(a);
    if (!b.empty()) {
      path += TempFolder::separator();
      path += b;
    }
    return path;
  }
  TempFolder folder_;
};

TEST_F(FileIo, WriteThenReadWholeFile) {
  const std::string path = sub("\x83\x5C\x95\x5C.bin");  // ソ表.bin
  const std::string bytes("a\0\r\n\xFF", 5);
  ASSERT_TRUE(write_test_file(path, bytes));
  const FileBytes file = read_whole_file(path);
  EXPECT_EQ(file.status, ReadStatus::Ok);
  EXPECT_EQ(std::string(file.bytes.begin(), file.bytes.end()), bytes);
  EXPECT_TRUE(file_exists(path));
  EXPECT_FALSE(is_directory(path));
}

// Only a file or folder that is not there counts as missing; a caller may
// then go on with defaults.
TEST_F(FileIo, OnlyAnAbsentFileIsNotFound) {
  ASSERT_TRUE(write_test_file(sub("plain"), "x"));
  const struct {
    std::string path;
    ReadStatus status;
  } cases[] = {
      {sub("missing"), ReadStatus::NotFound},
      {sub("no-folder\\missing"), ReadStatus::NotFound},
      {sub("plain\\below"), ReadStatus::NotFound},  // a file on the path
      {"", ReadStatus::CannotOpen},
  };
  for (const auto& c : cases) {
    const FileBytes file = read_whole_file(c.path);
    EXPECT_EQ(file.status, c.status) << c.path;
    EXPECT_TRUE(file.bytes.empty());
  }
  EXPECT_FALSE(file_exists(sub("missing")));
}

TEST_F(FileIo, FolderIsNotAFile) {
  ASSERT_TRUE(make_directories(sub("dir")));
  EXPECT_EQ(read_whole_file(sub("dir")).status, ReadStatus::CannotOpen);
  EXPECT_FALSE(file_exists(sub("dir")));
  EXPECT_TRUE(is_directory(sub("dir")));
}

TEST_F(FileIo, FolderListingGivesNamesAndKinds) {
  ASSERT_TRUE(make_directories(sub("list", "inner")));
  // ソ.bmp: the second byte of ソ is a backslash.
  ASSERT_TRUE(write_test_file(sub("list", "\x83\x5c.bmp"), "x"));
  ASSERT_TRUE(write_test_file(sub("list", "a.txt"), "y"));
  FolderListing listing = list_folder(sub("list"));
  ASSERT_TRUE(listing.ok);
  EXPECT_EQ(listing.unnamed, 0);
  std::sort(listing.items.begin(), listing.items.end(),
            [](const FolderItem& a, const FolderItem& b) { return a.name < b.name; });
  // Byte order: 0x83 sorts after the letters.
  ASSERT_EQ(listing.items.size(), 3u);
  EXPECT_EQ(listing.items[0].name, "a.txt");
  EXPECT_FALSE(listing.items[0].is_folder);
  EXPECT_EQ(listing.items[1].name, "inner");
  EXPECT_TRUE(listing.items[1].is_folder);
  EXPECT_EQ(listing.items[2].name, "\x83\x5c.bmp");
  EXPECT_FALSE(listing.items[2].is_folder);

  EXPECT_TRUE(list_folder(sub("list", "inner")).ok);
  EXPECT_TRUE(list_folder(sub("list", "inner")).items.empty());
  EXPECT_FALSE(list_folder(sub("nowhere")).ok);
  EXPECT_FALSE(list_folder(sub("list", "a.txt")).ok);
}

TEST_F(FileIo, SizeLimit) {
  const std::string path = sub("ten");
  ASSERT_TRUE(write_test_file(path, "0123456789"));
  EXPECT_EQ(read_whole_file(path, 9).status, ReadStatus::TooLarge);
  EXPECT_EQ(read_whole_file(path, 10).status, ReadStatus::Ok);
}

// Small files are read without asking their size, larger ones by it: every
// size around that switch comes back whole, and one byte over the limit is
// refused on both sides of it.
TEST_F(FileIo, WholeFileOfEverySizeUpToItsLimit) {
  const struct {
    std::size_t size;
    std::uint64_t limit;
    ReadStatus status;
  } cases[] = {
      {0, 0, ReadStatus::Ok},
      {0, std::uint64_t{1} << 31, ReadStatus::Ok},
      {1, 0, ReadStatus::TooLarge},
      {32767, 32767, ReadStatus::Ok},
      {32768, 32767, ReadStatus::TooLarge},
      {32768, 32768, ReadStatus::Ok},
      {32769, 32768, ReadStatus::TooLarge},
      {100000, 99999, ReadStatus::TooLarge},
      {100000, 100000, ReadStatus::Ok},
      {100000, UINT64_MAX, ReadStatus::Ok},
  };
  for (const auto& c : cases) {
    std::string bytes(c.size, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    }
    const std::string path = sub("sized");
    ASSERT_TRUE(write_test_file(path, bytes));
    const FileBytes file = read_whole_file(path, c.limit);
    EXPECT_EQ(file.status, c.status) << c.size << " bytes, limit " << c.limit;
    const std::string expected = c.status == ReadStatus::Ok ? bytes : std::string();
    EXPECT_TRUE(std::string(file.bytes.begin(), file.bytes.end()) == expected)
        << c.size << " bytes, limit " << c.limit;
  }
}

TEST_F(FileIo, ReplacingKeepsNoTemporaryFiles) {
  const std::string path = sub("target.ini");
  ASSERT_TRUE(write_test_file(path, "first version, longer"));
  ASSERT_TRUE(write_test_file(path, "second"));
  EXPECT_EQ(read_test_file(path), "second");
  ASSERT_TRUE(write_test_file(path, ""));
  EXPECT_EQ(read_test_file(path), "");
  EXPECT_TRUE(file_exists(path));
  // Only the target is left in the folder.
  std::size_t entries = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder_.path())) {
    (void)entry;
    ++entries;
  }
  EXPECT_EQ(entries, 1u);
}

// Output files skip the flush to disk; the replacing is the same.
TEST_F(FileIo, UnsyncedReplacingReplacesTheSameWay) {
  const std::string path = sub("page.bmp");
  const std::vector<std::uint8_t> first = {1, 2, 3, 4, 5};
  const std::vector<std::uint8_t> second = {9};
  const std::string folder = sub("folder");
  ASSERT_TRUE(make_directories(folder));
  for (const Durability durability : {Durability::Synced, Durability::Unsynced}) {
    ASSERT_TRUE(write_file_replacing(path, first, durability));
    ASSERT_TRUE(write_file_replacing(path, second, durability));
    EXPECT_EQ(read_whole_file(path).bytes, second);
    // A folder in the way fails and stays.
    EXPECT_FALSE(write_file_replacing(folder, first, durability));
    EXPECT_TRUE(is_directory(folder));
  }
  std::size_t entries = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder_.path())) {
    (void)entry;
    ++entries;
  }
  EXPECT_EQ(entries, 2u);  // the file and the folder, no temporary files
}

TEST_F(FileIo, FailedReplaceLeavesFolderTargetAlone) {
  // A folder cannot be replaced by a file: the write fails and the folder
  // and what it holds stay.
  ASSERT_TRUE(make_directories(sub("busy")));
  ASSERT_TRUE(write_test_file(sub("busy", "inner"), "keep"));
  EXPECT_FALSE(write_test_file(sub("busy"), "new"));
  EXPECT_TRUE(is_directory(sub("busy")));
  EXPECT_EQ(read_test_file(sub("busy", "inner")), "keep");
}

TEST_F(FileIo, WriteIntoMissingFolderFails) {
  EXPECT_FALSE(write_test_file(sub("nowhere", "x"), "x"));
  EXPECT_FALSE(is_directory(sub("nowhere")));
}

TEST_F(FileIo, MakeDirectoriesCreatesParents) {
  std::string deep = sub("\x95\x5C", "\x83\x5C");  // 表\ソ
  deep += TempFolder::separator();
  deep += "c";
  EXPECT_TRUE(make_directories(deep));
  EXPECT_TRUE(is_directory(deep));
  EXPECT_TRUE(is_directory(sub("\x95\x5C", "\x83\x5C")));
  // Already there, and with a trailing separator.
  EXPECT_TRUE(make_directories(deep + TempFolder::separator()));
  // A file in the way.
  ASSERT_TRUE(write_test_file(sub("file"), "x"));
  EXPECT_FALSE(make_directories(sub("file", "below")));
}

constexpr std::uint8_t kOneByte = 1;

// Each failure leaves the system's own reason for the message that reports
// it; success leaves the number alone.
TEST_F(FileIo, FailuresKeepTheSystemsReason) {
  ASSERT_TRUE(make_directories(sub("folder")));
  ASSERT_TRUE(write_test_file(sub("file"), "x"));
  struct Case {
    const char* what;
    bool (*fails)(const std::string& path);
    std::string path;
  };
  const Case cases[] = {
      {"WriteOntoAFolder",
       [](const std::string& path) {
         return !write_file_replacing(path, {&kOneByte, 1});
       },
       sub("folder")},
      {"WriteIntoAMissingFolder",
       [](const std::string& path) {
         return !write_file_replacing(path, {&kOneByte, 1});
       },
       sub("nowhere", "x")},
      {"FolderWhereAFileIs", [](const std::string& path) { return !make_directories(path); },
       sub("file")},
      {"FolderBelowAFile", [](const std::string& path) { return !make_directories(path); },
       sub("file", "below")},
  };
  for (const Case& c : cases) {
    set_last_file_error(0);
    EXPECT_TRUE(c.fails(c.path)) << c.what;
    EXPECT_NE(last_file_error(), 0) << c.what;
    const std::string text = file_error_text(last_file_error());
    EXPECT_FALSE(text.empty()) << c.what;
    EXPECT_NE(text, kUnknownFileError) << c.what;
  }
  set_last_file_error(0);
  ASSERT_TRUE(make_directories(sub("folder")));
  EXPECT_EQ(last_file_error(), 0);
  EXPECT_EQ(file_error_text(0), kUnknownFileError);
}

}  // namespace
}  // namespace piconel
