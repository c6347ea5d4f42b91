// The text format: what the loader accepts, where it fails, and what the
// writer produces.

#include "store/document_store.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "store/file_io.h"
#include "store/store_dump.h"
#include "store/temp_folder.h"

namespace piconel {
namespace {

using testing::dump;

struct ParseCase {
  const char* name;
  std::string_view text;
  bool ok;
  int line_count;
  const char* contents;  // dump() of the store after the parse
};

// std::string_view literals so that embedded NUL bytes count.
using namespace std::string_view_literals;

const ParseCase kParseCases[] = {
    {"EmptyText", ""sv, true, 0, ""},
    {"LeadingNulIsEmpty", "\0[a]\r\n"sv, true, 0, ""},
    {"OneHeader", "[a]"sv, true, 1, "[a]\n"},
    {"CrLfLines", "[a]\r\nK=v\r\nrow\r\n"sv, true, 3, "[a]\nK=v\n|row\n"},
    {"LfOnlyLines", "[a]\nK=v\nrow\n"sv, true, 3, "[a]\nK=v\n|row\n"},
    {"LastLineWithoutTerminator", "[a]\r\nK=v"sv, true, 2, "[a]\nK=v\n"},
    {"LoneCrAsLastByte", "[a]\r\nK=v\r"sv, true, 2, "[a]\nK=v\n"},
    {"LoneCrInTheMiddle", "[a]\r\nK=v\rX=y\r\n"sv, false, 2, ""},
    {"CrCrLf", "[a]\r\r\nK=v\r\n"sv, false, 1, ""},
    {"CrCrLfOnSecondLine", "[a]\r\nK=v\r\r\n"sv, false, 2, ""},
    {"FirstLineEmpty", "\r\n[a]\r\n"sv, false, 1, ""},
    {"FirstLineNotHeader", "K=v\r\n[a]\r\n"sv, false, 1, ""},
    {"ByteOrderMarkBeforeHeader", "\xEF\xBB\xBF[a]\r\n"sv, false, 1, ""},
    {"BadThirdLineCountsEmptyLines", "[a]\r\n\r\nx\x01y\r\n"sv, false, 3, ""},
    {"NulInsideTheFile", "[a]\r\nK=v\0rest\r\n"sv, false, 2, ""},
    {"NulAsLastByte", "[a]\r\nK=v\0"sv, true, 2, "[a]\nK=v\n"},
    {"NulAfterCrLfEndsTheText", "[a]\r\nK=v\r\n\0junk"sv, true, 2, "[a]\nK=v\n"},
    {"OtherControlByteTerminates", "[a]\r\nK=v\x1B\r\n"sv, false, 2, ""},
    {"EmptySectionName", "[]\r\nK=v\r\n"sv, true, 2, "[]\nK=v\n"},
    {"BracketInsideName", "[a]b]\r\n"sv, true, 1, "[a]b]\n"},
    {"EqualsInsideName", "[a=b]\r\n"sv, true, 1, "[a=b]\n"},
    {"LoneOpeningBracketIsNotHeader", "[\r\n"sv, false, 1, ""},
    {"TrailingBlankMakesRow", "[a]\r\n[NAME] \r\n"sv, true, 2, "[a]\n|[NAME] \n"},
    {"TrailingBlankBeforeFirstHeader", "[NAME] \r\n"sv, false, 1, ""},
    {"ValueKeepsFurtherEquals", "[a]\r\nKEY=a=b\r\n"sv, true, 2, "[a]\nKEY=a=b\n"},
    {"EmptyKey", "[a]\r\n=x\r\n"sv, true, 2, "[a]\n=x\n"},
    {"EmptyValue", "[a]\r\nKEY=\r\n"sv, true, 2, "[a]\nKEY=\n"},
    {"TabBeforeEqualsMakesRow", "[a]\r\na\tb=c\r\n"sv, true, 2, "[a]\n|a\tb=c\n"},
    {"TabAfterEqualsStaysInValue", "[a]\r\na=b\tc\r\n"sv, true, 2, "[a]\na=b\tc\n"},
    {"NothingTrimmed", "[a]\r\n K = v \r\n"sv, true, 2, "[a]\n K = v \n"},
    {"EmptyLinesIgnoredButCounted", "[a]\r\n\r\n\r\nK=v\r\n"sv, true, 4, "[a]\nK=v\n"},
    {"DoubleByteTextUntouched", "[\x95\x5C]\r\n\x83\x5C=\x83\x5C\r\n"sv, true, 2,
     "[\x95\x5C]\n\x83\x5C=\x83\x5C\n"},
    {"DuplicateSectionsKept", "[a]\r\nK=1\r\n[a]\r\nK=2\r\n"sv, true, 4, "[a]\nK=1\n[a]\nK=2\n"},
    {"DuplicateKeysKept", "[a]\r\nK=1\r\nK=2\r\n"sv, true, 3, "[a]\nK=1\nK=2\n"},
};

TEST(DocumentStoreParse, TextFormatCases) {
  for (const ParseCase& c : kParseCases) {
    SCOPED_TRACE(c.name);
    DocumentStore store;
    EXPECT_EQ(store.parse(c.text), c.ok);
    EXPECT_EQ(store.line_count(), c.line_count);
    EXPECT_EQ(dump(store), c.contents);
    if (!c.ok) {
      EXPECT_EQ(store.current_section(), nullptr);
    }
  }
}

TEST(DocumentStoreParse, NewParseReplacesOldContent) {
  DocumentStore store;
  ASSERT_TRUE(store.parse("[a]\r\nK=v\r\n"));
  ASSERT_TRUE(store.parse("[b]\r\n"));
  EXPECT_EQ(dump(store), "[b]\n");
}

TEST(DocumentStoreSerialize, WritesCrLfAndNothingElse) {
  DocumentStore store;
  ASSERT_TRUE(store.parse("[a]\nK=v\n\nrow\n[]\n[b]\nx=\n"));
  EXPECT_EQ(store.serialize(), "[a]\r\nK=v\r\nrow\r\n[]\r\n[b]\r\nx=\r\n");
}

TEST(DocumentStoreSerialize, EmptyStoreIsEmptyText) {
  DocumentStore store;
  EXPECT_EQ(store.serialize(), "");
}

TEST(DocumentStoreSerialize, RoundTripKeepsOrderOfEverything) {
  DocumentStore store;
  ASSERT_TRUE(store.add_section("INFOMATION"));
  ASSERT_TRUE(store.set_string(kCurrentSection, "APPLICATIONNAME", "x"));
  ASSERT_TRUE(store.set_string("PAGELIST", std::nullopt, "page001"));
  ASSERT_TRUE(store.set_string("PAGELIST", std::nullopt, "page000", 0));
  ASSERT_TRUE(store.set_string("PAGELIST", "K", "a=b\tc"));
  ASSERT_TRUE(store.add_section("FILELIST:page000"));
  ASSERT_TRUE(store.set_string(kCurrentSection, std::nullopt, "C:\\\x83\x5C.bmp\t1\t2"));
  ASSERT_TRUE(store.add_section("PAGELIST"));  // a duplicate name
  ASSERT_TRUE(store.add_section("EMPTY"));

  DocumentStore reloaded;
  ASSERT_TRUE(reloaded.parse(store.serialize()));
  EXPECT_EQ(dump(reloaded), dump(store));
  EXPECT_EQ(reloaded.serialize(), store.serialize());
}

TEST(DocumentStoreClear, EmptiesEverythingButTheLineCounter) {
  DocumentStore store;
  EXPECT_FALSE(store.parse("[a]\r\n\r\nbad\x01\r\n"));
  ASSERT_TRUE(store.parse("[a]\r\nK=v\r\n[b]\r\n"));
  ASSERT_NE(store.find_section("a"), nullptr);
  store.clear();
  EXPECT_TRUE(store.sections().empty());
  EXPECT_EQ(store.current_section(), nullptr);
  EXPECT_EQ(store.file_path(), "");
  EXPECT_EQ(store.line_count(), 3);
}

// --- through files ---------------------------------------------------------

class DocumentStoreFile : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder_.ok()); }
  testing::TempFolder folder_;
};

TEST_F(DocumentStoreFile, MissingFileGivesMissingOkAndKeepsPath) {
  const std::string path = folder_.file("none.ini");
  DocumentStore store;
  EXPECT_TRUE(store.load(path, true));
  EXPECT_EQ(store.file_path(), path);
  EXPECT_TRUE(store.sections().empty());
  EXPECT_FALSE(store.load(path, false));
  EXPECT_EQ(store.file_path(), path);
}

// A settings file that exists but cannot be opened must not count as
// missing: the program would run on defaults and save over it at close.
TEST_F(DocumentStoreFile, UnopenableFileIsNotMissing) {
  const std::string folder_path = folder_.file("piconel.ini");
  ASSERT_TRUE(make_directories(folder_path));
  DocumentStore store;
  EXPECT_FALSE(store.load(folder_path, true));
  EXPECT_EQ(store.file_path(), folder_path);
  EXPECT_TRUE(store.sections().empty());
}

TEST_F(DocumentStoreFile, FailedSaveKeepsTheRecordedPath) {
  const std::string path = folder_.file("kept.ijp");
  DocumentStore store;
  ASSERT_TRUE(store.parse("[a]\r\n"));
  ASSERT_TRUE(store.save(path));
  EXPECT_FALSE(store.save(folder_.file("no-such-folder\\x.ijp")));
  EXPECT_EQ(store.file_path(), path);
}

TEST_F(DocumentStoreFile, EmptyFileLoadsAndEmptyStoreSavesZeroBytes) {
  const std::string path = folder_.file("empty.ini");
  ASSERT_TRUE(testing::write_test_file(path, ""));
  DocumentStore store;
  EXPECT_TRUE(store.load(path, false));
  EXPECT_EQ(store.line_count(), 0);
  EXPECT_TRUE(store.sections().empty());
  ASSERT_TRUE(testing::write_test_file(path, "old contents"));
  EXPECT_TRUE(store.save());
  EXPECT_EQ(testing::read_test_file(path), "");
}

TEST_F(DocumentStoreFile, ParseErrorEmptiesStoreAndPath) {
  const std::string path = folder_.file("bad.ijp");
  ASSERT_TRUE(testing::write_test_file(path, "[a]\r\nK=v\r\n\x83\x5C\rX\r\n"));
  DocumentStore store;
  ASSERT_TRUE(store.parse("[old]\r\n"));
  EXPECT_FALSE(store.load(path, true));
  EXPECT_EQ(store.line_count(), 3);
  EXPECT_EQ(store.file_path(), "");
  EXPECT_TRUE(store.sections().empty());
}

TEST_F(DocumentStoreFile, LoadRecordsPathCutTo259Bytes) {
  const std::string path = folder_.file(std::string(300, 'x'));
  DocumentStore store;
  EXPECT_TRUE(store.load(path, true));
  EXPECT_EQ(store.file_path(), path.substr(0, 259));
}

TEST_F(DocumentStoreFile, SaveThenLoadGivesBackTheStore) {
  const std::string path = folder_.file("\x83\x5C\x95\x5C.ijp");  // ソ表.ijp
  DocumentStore store;
  ASSERT_TRUE(store.parse("[a]\r\nK=v\r\nrow\r\n[a]\r\n[b]\r\n=\r\n"));
  ASSERT_TRUE(store.save(path));
  EXPECT_EQ(store.file_path(), path);
  EXPECT_EQ(testing::read_test_file(path), "[a]\r\nK=v\r\nrow\r\n[a]\r\n[b]\r\n=\r\n");

  DocumentStore reloaded;
  ASSERT_TRUE(reloaded.load(path, false));
  EXPECT_EQ(reloaded.line_count(), 6);
  EXPECT_EQ(dump(reloaded), dump(store));
}

// Reloading through the store's own recorded path: load clears the store
// (and its path) before it reads, so the path must be taken first.
TEST_F(DocumentStoreFile, ReloadThroughOwnRecordedPath) {
  const std::string path = folder_.file("reload.ini");
  ASSERT_TRUE(testing::write_test_file(path, "[a]\r\nK=v\r\n"));
  DocumentStore store;
  ASSERT_TRUE(store.load(path, false));
  ASSERT_TRUE(testing::write_test_file(path, "[b]\r\nK=w\r\n"));
  EXPECT_TRUE(store.load(store.file_path(), false));
  EXPECT_EQ(store.file_path(), path);
  EXPECT_EQ(store.get_string("b", "K"), "w");
  EXPECT_FALSE(store.has_section("a"));
}

TEST_F(DocumentStoreFile, SaveReplacesLongerFileEntirely) {
  const std::string path = folder_.file("replace.ini");
  ASSERT_TRUE(testing::write_test_file(path, std::string(5000, 'z')));
  DocumentStore store;
  ASSERT_TRUE(store.add_section("a"));
  ASSERT_TRUE(store.save(path));
  EXPECT_EQ(testing::read_test_file(path), "[a]\r\n");
}

TEST_F(DocumentStoreFile, SaveWithoutAnyPathFails) {
  DocumentStore store;
  ASSERT_TRUE(store.add_section("a"));
  EXPECT_FALSE(store.save());
}

TEST_F(DocumentStoreFile, SaveIntoMissingFolderFails) {
  DocumentStore store;
  ASSERT_TRUE(store.add_section("a"));
  std::string path = folder_.file("no-such-folder");
  path += testing::TempFolder::separator();
  path += "x.ini";
  EXPECT_FALSE(store.save(path));
}

}  // namespace
}  // namespace piconel
