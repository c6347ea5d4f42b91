// A store saved onto a failing disk, at every step of the save: the file on
// disk is the old one byte for byte or wholly the new one, the save says
// which, no temporary file stays, and a save that reports success loads back
// to the same store.

#include <gtest/gtest.h>

#include <string>

#include "store/document_store.h"
#include "store/file_faults.h"
#include "store/file_io.h"
#include "store/store_dump.h"
#include "store/temp_folder.h"

namespace piconel {
namespace {

using testing::dump;
using testing::folder_entries;
using testing::read_test_file;
using testing::TempFolder;
using testing::write_test_file;

// A project file and a settings file, as the program writes them.
const char* const kOldProject =
    "[PAGELIST]\r\npage000\r\n[FILELIST:page000]\r\na.bmp\t0\t0\tA\t0\t8\t8\t0\t-1\r\n";
const char* const kNewProject =
    "[PAGELIST]\r\npage000\r\npage001\r\n[PROPERTY]\r\nCURRENTPAGE=1\r\n"
    "[FILELIST:page000]\r\na.bmp\t0\t0\tA\t0\t8\t8\t0\t-1\r\n"
    "[FILELIST:page001]\r\n\x83\x5C.bmp\t8\t0\tSO\t0\t8\t8\t1\t255\r\n";
const char* const kOldSettings = "[PROPERTY]\r\nSNAPWIDTH=8\r\n";
const char* const kNewSettings =
    "[PROPERTY]\r\nSNAPWIDTH=16\r\nPLUGIN_SUSIEDIR=1\r\n[WINDOW]\r\nMAXIMIZED=0\r\n"
    "LEFT=10\r\nTOP=20\r\nRIGHT=630\r\nBOTTOM=470\r\n";

TEST(WriteFault, EveryFailingStepOfASaveKeepsTheOldFileOrWritesTheNew) {
  struct Case {
    const char* name;
    const char* old_bytes;  // none: no file before the save
    const char* new_text;
  };
  const Case cases[] = {
      {"project over its old file", kOldProject, kNewProject},
      {"new project file", nullptr, kNewProject},
      {"settings over the old file", kOldSettings, kNewSettings},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    ASSERT_TRUE(folder.ok());
    const std::string path = folder.file("file.ini");
    const std::string source = folder.file("source.txt");
    ASSERT_TRUE(write_test_file(source, c.new_text));
    DocumentStore store;
    ASSERT_TRUE(store.load(source, false));
    const std::string expected = dump(store);
    bool saved = false;
    const int steps = testing::for_every_file_fault(
        [&] {
          if (c.old_bytes != nullptr) {
            ASSERT_TRUE(write_test_file(path, c.old_bytes));
          } else {
            std::filesystem::remove(path);
          }
        },
        [&] { saved = store.save(path); },
        [&](bool struck) {
          EXPECT_EQ(saved, !struck);
          std::set<std::string> names = {"source.txt"};
          if (saved) {
            EXPECT_EQ(read_test_file(path), c.new_text);
            DocumentStore again;
            ASSERT_TRUE(again.load(path, false));
            EXPECT_EQ(dump(again), expected);
            names.insert("file.ini");
          } else if (c.old_bytes != nullptr) {
            EXPECT_EQ(read_test_file(path), c.old_bytes);
            names.insert("file.ini");
          }
          EXPECT_EQ(folder_entries(folder.path()), names);
        });
    // open, write, flush, close, rename
    EXPECT_EQ(steps, 5);
  }
}

}  // namespace
}  // namespace piconel
