// Lookups, typed reads and writes, entry maintenance and the identification
// section.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "store/document_store.h"
#include "store/store_dump.h"

namespace piconel {
namespace {

using testing::dump;

DocumentStore& loaded(DocumentStore& store, std::string_view text) {
  EXPECT_TRUE(store.parse(text));
  return store;
}

// --- the current section ---------------------------------------------------

TEST(CurrentSection, NamedLookupMakesSectionCurrent) {
  DocumentStore store;
  loaded(store, "[a]\r\nK=1\r\n[b]\r\nK=2\r\n");
  EXPECT_EQ(store.get_string("b", "K"), "2");
  EXPECT_EQ(store.get_string(kCurrentSection, "K"), "2");
  EXPECT_EQ(store.get_string("a", "K"), "1");
  EXPECT_EQ(store.get_string(kCurrentSection, "K"), "1");
}

TEST(CurrentSection, FailedLookupLeavesNone) {
  DocumentStore store;
  loaded(store, "[a]\r\nK=1\r\n");
  ASSERT_NE(store.find_section("a"), nullptr);
  EXPECT_EQ(store.find_section("missing"), nullptr);
  EXPECT_EQ(store.current_section(), nullptr);
  EXPECT_FALSE(store.get_string(kCurrentSection, "K"));
  // A write with no name and no current section has nowhere to go.
  EXPECT_FALSE(store.set_string(kCurrentSection, "K", "x"));
  EXPECT_EQ(dump(store), "[a]\nK=1\n");
}

TEST(CurrentSection, DuplicateSectionNameFindsFirst) {
  DocumentStore store;
  loaded(store, "[a]\r\nK=1\r\n[a]\r\nK=2\r\n");
  EXPECT_EQ(store.get_string("a", "K"), "1");
  EXPECT_EQ(store.find_section("a"), &store.sections().front());
}

TEST(CurrentSection, DeleteSectionForgetsIt) {
  DocumentStore store;
  loaded(store, "[a]\r\nK=1\r\n[b]\r\n");
  EXPECT_TRUE(store.delete_section("a"));
  EXPECT_EQ(store.current_section(), nullptr);
  EXPECT_FALSE(store.get_string(kCurrentSection, "K"));
  EXPECT_FALSE(store.delete_section(kCurrentSection));
  EXPECT_FALSE(store.delete_section("a"));
  EXPECT_EQ(dump(store), "[b]\n");
}

TEST(CurrentSection, AddSectionAppendsEvenWhenNamePresentAndMakesItCurrent) {
  DocumentStore store;
  loaded(store, "[a]\r\n");
  ASSERT_TRUE(store.add_section("a"));
  EXPECT_EQ(store.current_section(), &store.sections().back());
  ASSERT_TRUE(store.set_string(kCurrentSection, "K", "v"));
  EXPECT_EQ(dump(store), "[a]\n[a]\nK=v\n");
}

TEST(Sections, RenameKeepsPlaceAndChecksNothing) {
  DocumentStore store;
  loaded(store, "[a]\r\n[b]\r\n[c]\r\n");
  EXPECT_TRUE(store.rename_section("b", "c"));
  EXPECT_FALSE(store.rename_section("missing", "x"));
  EXPECT_EQ(dump(store), "[a]\n[c]\n[c]\n");
}

// Lookups by name go through an index; after every kind of change it must
// still name the first section of that name in list order, as a scan would.
TEST(Sections, LookupByNameFindsFirstInListOrderAfterChanges) {
  DocumentStore store;
  loaded(store, "[b]\r\nN=1\r\n[a]\r\nN=2\r\n[b]\r\nN=3\r\n[c]\r\nN=4\r\n[]\r\nN=5\r\n");
  using Step = std::function<bool(DocumentStore&)>;
  const struct {
    const char* what;
    Step step;
    std::vector<std::pair<std::string, std::optional<std::string>>> lookups;  // name, N
  } cases[] = {
      {"as loaded",
       [](DocumentStore&) { return true; },
       {{"b", "1"}, {"a", "2"}, {"c", "4"}, {"", "5"}, {"B", std::nullopt}, {"d", std::nullopt}}},
      // The later "c" is renamed "a": it stays after the loaded "a".
      {"rename a later section to an earlier name",
       [](DocumentStore& s) { return s.rename_section("c", "a"); },
       {{"a", "2"}, {"c", std::nullopt}}},
      // The first "b" becomes "c"; the second "b" is found now.
      {"rename the first of two",
       [](DocumentStore& s) { return s.rename_section("b", "c"); },
       {{"b", "3"}, {"c", "1"}}},
      {"delete the first a", [](DocumentStore& s) { return s.delete_section("a"); }, {{"a", "4"}}},
      {"append a duplicate",
       [](DocumentStore& s) { return s.set_string("b", "N", "6") && s.add_section("b"); },
       {{"b", "6"}}},
      {"create by set_string",
       [](DocumentStore& s) { return s.set_string("d", "N", "7"); },
       {{"d", "7"}, {"", "5"}}},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(c.step(store)) << c.what;
    for (const auto& [name, value] : c.lookups) {
      EXPECT_EQ(store.get_string(name, "N"), value) << c.what << ": " << name;
    }
  }
  EXPECT_EQ(dump(store), "[c]\nN=1\n[b]\nN=6\n[a]\nN=4\n[]\nN=5\n[b]\n[d]\nN=7\n");
}

TEST(Sections, FirstEntryAndCount) {
  DocumentStore store;
  loaded(store, "[a]\r\n[b]\r\nK=v\r\nrow\r\n");
  EXPECT_EQ(store.first_entry("a"), nullptr);
  ASSERT_NE(store.first_entry("b"), nullptr);
  EXPECT_EQ(store.first_entry("b")->value(), "v");
  EXPECT_EQ(store.entry_count("b"), 2);
  EXPECT_EQ(store.entry_count("missing"), 0);
  EXPECT_EQ(store.first_section()->name(), "a");
}

// --- reading ---------------------------------------------------------------

TEST(Reading, KeyedLookupSkipsRowsAndIsCaseSensitive) {
  DocumentStore store;
  loaded(store, "[a]\r\nK\r\nk=lower\r\nK=upper\r\n");
  EXPECT_EQ(store.get_string("a", "K"), "upper");
  EXPECT_EQ(store.get_string("a", "k"), "lower");
  EXPECT_FALSE(store.get_string("A", "K"));
}

TEST(Reading, CopyStringCutsAndCounts) {
  DocumentStore store;
  loaded(store, "[a]\r\nK=hello\r\nE=\r\n");
  char buffer[8];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(store.copy_string("a", "K", buffer, 8), 5);
  EXPECT_STREQ(buffer, "hello");
  EXPECT_EQ(store.copy_string("a", "K", buffer, 6), 5);  // five bytes and a zero fit
  EXPECT_STREQ(buffer, "hello");
  EXPECT_EQ(store.copy_string("a", "K", buffer, 5), 4);
  EXPECT_STREQ(buffer, "hell");
  EXPECT_EQ(store.copy_string("a", "K", buffer, 1), 0);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(store.copy_string("a", "K", nullptr, 0), 5);
  std::strcpy(buffer, "old");
  EXPECT_EQ(store.copy_string("a", "missing", buffer, 8), -1);
  EXPECT_STREQ(buffer, "");  // emptied even when missing
  EXPECT_EQ(store.copy_string("a", "E", buffer, 8), 0);
}

TEST(Reading, GetStringToEmptiesFirst) {
  DocumentStore store;
  loaded(store, "[a]\r\nK=v\r\n");
  std::string out = "old";
  EXPECT_EQ(store.get_string_to("a", "K", out), 1);
  EXPECT_EQ(out, "v");
  EXPECT_EQ(store.get_string_to("a", "X", out), -1);
  EXPECT_EQ(out, "");
}

TEST(Reading, GetIntFollowsAtoi) {
  struct Case {
    const char* value;
    int expected;
  };
  const Case cases[] = {
      {"42", 42},
      {"-7", -7},
      {"+5", 5},
      {" \t12x", 12},
      {"", 0},
      {"abc", 0},
      {"- 3", 0},
      {"0x1F", 0},
      {"007", 7},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"99999999999999999999", 2147483647},
      {"-99999999999999999999", -2147483647 - 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    DocumentStore store;
    ASSERT_TRUE(store.set_string("a", "N", c.value));
    int out = 12345;
    EXPECT_TRUE(store.get_int("a", "N", out));
    EXPECT_EQ(out, c.expected);
  }
  DocumentStore store;
  int untouched = 99;
  EXPECT_FALSE(store.get_int("a", "N", untouched));
  EXPECT_EQ(untouched, 99);
}

TEST(Reading, FlagIsOnOnlyWithLeadingOne) {
  DocumentStore store;
  ASSERT_TRUE(store.parse("[a]\r\nA=1\r\nB=10\r\nC=0\r\nD=\r\nE= 1\r\nF=true\r\n"));
  EXPECT_TRUE(store.get_flag("a", "A"));
  EXPECT_TRUE(store.get_flag("a", "B"));
  EXPECT_FALSE(store.get_flag("a", "C"));
  EXPECT_FALSE(store.get_flag("a", "D"));
  EXPECT_FALSE(store.get_flag("a", "E"));
  EXPECT_FALSE(store.get_flag("a", "F"));
  EXPECT_FALSE(store.get_flag("a", "missing"));
}

TEST(Reading, IntListRule) {
  struct Case {
    const char* value;
    int count;
    std::array<std::int32_t, 4> items;  // -99 marks an untouched item
  };
  const Case cases[] = {
      {" 10, -3 ,7", 3, {10, -3, 7, -99}},
      {"1 2", 1, {1, -99, -99, -99}},
      {"", 0, {-99, -99, -99, -99}},
      {"+5,6", 1, {5, -99, -99, -99}},
      {"1,2,3,4,5", 4, {1, 2, 3, 4}},
      {"1,", 1, {1, -99, -99, -99}},
      {"1,,3", 3, {1, 0, 3, -99}},
      {",5", 2, {0, 5, -99, -99}},
      {"0,-1,640,480", 4, {0, -1, 640, 480}},
      {"1;2", 1, {1, -99, -99, -99}},
      {"--5,2", 2, {0, 2, -99, -99}},
      {"x,2", 1, {0, -99, -99, -99}},
      {"   ", 0, {-99, -99, -99, -99}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    DocumentStore store;
    ASSERT_TRUE(store.set_string("a", "L", c.value));
    std::array<std::int32_t, 4> items{-99, -99, -99, -99};
    EXPECT_EQ(store.get_int_list("a", "L", items), c.count);
    EXPECT_EQ(items, c.items);
  }
}

TEST(Reading, ListOfMissingKeyOrZeroMaximumStoresNothing) {
  DocumentStore store;
  ASSERT_TRUE(store.set_string("a", "L", "1,2"));
  std::array<std::int32_t, 2> items{7, 7};
  EXPECT_EQ(store.get_int_list("a", "missing", items), 0);
  EXPECT_EQ(store.get_int_list("a", "L", std::span(items).first(0)), 0);
  EXPECT_EQ(items, (std::array<std::int32_t, 2>{7, 7}));
  EXPECT_EQ(store.get_int_list("a", "L", std::span(items).first(1)), 1);
  EXPECT_EQ(items, (std::array<std::int32_t, 2>{1, 7}));
}

TEST(Reading, ByteListTruncatesToLowBits) {
  DocumentStore store;
  ASSERT_TRUE(store.set_string("a", "C", "255,256,-1"));
  std::array<std::uint8_t, 3> bytes{};
  EXPECT_EQ(store.get_byte_list("a", "C", bytes), 3);
  EXPECT_EQ(bytes, (std::array<std::uint8_t, 3>{255, 0, 255}));
}

TEST(Reading, RowAtCountsKeyedEntries) {
  DocumentStore store;
  loaded(store, "[a]\r\nK=v\r\nrow\r\n");
  EXPECT_EQ(store.row_at("a", 0), "v");
  EXPECT_EQ(store.row_at("a", 1), "row");
  EXPECT_FALSE(store.row_at("a", 2));
  EXPECT_FALSE(store.row_at("a", -1));
  EXPECT_FALSE(store.row_at("missing", 0));
}

// --- writing ---------------------------------------------------------------

TEST(Writing, SetStringReplacesFirstOfDuplicateKeys) {
  DocumentStore store;
  loaded(store, "[a]\r\nK=1\r\nK=2\r\n");
  EXPECT_TRUE(store.set_string("a", "K", "new", 0));  // position ignored for keys
  EXPECT_EQ(dump(store), "[a]\nK=new\nK=2\n");
}

TEST(Writing, KeyedEntryGoesToTheEnd) {
  DocumentStore store;
  loaded(store, "[a]\r\nr0\r\nr1\r\n");
  EXPECT_TRUE(store.set_string("a", "K", "v", 0));
  EXPECT_EQ(dump(store), "[a]\n|r0\n|r1\nK=v\n");
}

TEST(Writing, InsertRowPositions) {
  struct Case {
    const char* name;
    int position;
    const char* contents;
  };
  const Case cases[] = {
      {"First", 0, "[a]\n|new\n|r0\n|r1\n"},     {"Middle", 1, "[a]\n|r0\n|new\n|r1\n"},
      {"AtCount", 2, "[a]\n|r0\n|r1\n|new\n"},   {"PastCount", 9, "[a]\n|r0\n|r1\n|new\n"},
      {"Negative", -1, "[a]\n|r0\n|r1\n|new\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DocumentStore store;
    loaded(store, "[a]\r\nr0\r\nr1\r\n");
    EXPECT_TRUE(store.insert_row("a", c.position, "new"));
    EXPECT_EQ(dump(store), c.contents);
  }
}

TEST(Writing, MissingSectionIsAppendedButNotMadeCurrent) {
  DocumentStore store;
  loaded(store, "[a]\r\n");
  EXPECT_TRUE(store.set_string("b", std::nullopt, "row", 5));
  EXPECT_EQ(store.current_section(), nullptr);
  EXPECT_EQ(dump(store), "[a]\n[b]\n|row\n");
}

TEST(Writing, SetIntAndLists) {
  DocumentStore store;
  EXPECT_TRUE(store.set_int("a", "N", -2147483647 - 1));
  EXPECT_EQ(store.get_string("a", "N"), "-2147483648");
  const std::array<std::int32_t, 4> rect{0, -1, 640, 480};
  EXPECT_TRUE(store.set_int_list("a", "R", rect));
  EXPECT_EQ(store.get_string("a", "R"), "0,-1,640,480");
  EXPECT_TRUE(store.set_int_list("a", "E", std::span<const std::int32_t>()));
  EXPECT_EQ(store.get_string("a", "E"), "");
  const std::array<std::uint8_t, 3> colour{255, 0, 128};
  EXPECT_TRUE(store.set_byte_list("a", "C", colour));
  EXPECT_EQ(store.get_string("a", "C"), "255,0,128");
}

TEST(Writing, ListTextStopsNear1024Bytes) {
  // 300 items of "-1000000000," (12 bytes): items are appended while the
  // text is at most 1022 bytes, each cut to what a 1024-byte buffer holds.
  std::vector<std::int32_t> items(300, -1000000000);
  DocumentStore store;
  ASSERT_TRUE(store.set_int_list("a", "L", items));
  const std::string value(*store.get_string("a", "L"));
  EXPECT_EQ(value.size(), 1023u);
  std::string expected;
  for (int i = 0; i < 86; ++i) {
    expected += "-1000000000,";
  }
  expected.resize(1023);
  EXPECT_EQ(value, expected);

  // 1022 bytes so far: one more item is still appended, cut to one byte.
  std::vector<std::int32_t> ones(511, 1);  // "1," * 511 = 1022 bytes
  ones.push_back(77);
  ones.push_back(88);
  ASSERT_TRUE(store.set_int_list("a", "M", ones));
  const std::string_view m = *store.get_string("a", "M");
  EXPECT_EQ(m.size(), 1023u);
  EXPECT_EQ(m.substr(1020), "1,7");
}

TEST(Writing, DeleteKeyAndEntryAt) {
  DocumentStore store;
  loaded(store, "[a]\r\nK=1\r\nrow\r\nK=2\r\n");
  EXPECT_TRUE(store.delete_key("a", "K"));
  EXPECT_EQ(dump(store), "[a]\n|row\nK=2\n");
  EXPECT_FALSE(store.delete_key("a", "row"));  // rows have no key
  EXPECT_FALSE(store.delete_key("missing", "K"));
  EXPECT_FALSE(store.delete_entry_at("a", 2));
  EXPECT_FALSE(store.delete_entry_at("a", -1));
  EXPECT_TRUE(store.delete_entry_at("a", 1));
  EXPECT_EQ(dump(store), "[a]\n|row\n");
}

// --- views into the store ---------------------------------------------------

// Entries live in lists: a view of one survives writes to every other entry
// and section (callers rely on it; the sanitizer build checks the reads).
TEST(Views, SurviveWritesToOtherEntriesAndSections) {
  DocumentStore store;
  loaded(store, "[a]\r\nK=kept value\r\nrow\r\n[b]\r\nX=1\r\n");
  const std::string_view value = *store.get_string("a", "K");
  const std::string_view row = *store.row_at("a", 1);
  for (int i = 0; i < 64; ++i) {
    ASSERT_TRUE(store.insert_row("a", 0, "new row"));
    ASSERT_TRUE(store.set_int("a", "N", i));
    ASSERT_TRUE(store.add_section("c"));
  }
  ASSERT_TRUE(store.rename_section("b", "renamed"));
  ASSERT_TRUE(store.delete_section("renamed"));
  ASSERT_TRUE(store.delete_entry_at("a", 0));
  ASSERT_TRUE(store.delete_key("a", "N"));
  EXPECT_EQ(value, "kept value");
  EXPECT_EQ(row, "row");
}

// Writes whose text is a view of the store itself copy it before they change
// anything.
TEST(Views, WritesMayTakeTheirTextFromTheStore) {
  DocumentStore store;
  loaded(store, "[a]\r\nK=a value long enough to live on the heap\r\nrow\r\nN=b\r\n");
  ASSERT_TRUE(store.set_string("a", "K", *store.get_string("a", "K")));
  EXPECT_EQ(store.get_string("a", "K"), "a value long enough to live on the heap");
  ASSERT_TRUE(store.insert_row("a", 0, *store.row_at("a", 1)));
  EXPECT_EQ(store.row_at("a", 0), "row");
  ASSERT_TRUE(store.rename_section("a", *store.get_string("a", "N")));
  EXPECT_EQ(store.first_section()->name(), "b");
  ASSERT_TRUE(store.add_section(store.first_section()->name()));
  ASSERT_TRUE(store.delete_section(store.first_section()->name()));
  EXPECT_EQ(dump(store), "[b]\n");
}

// --- identification --------------------------------------------------------

TEST(Info, WriteInfoFormatsVersion) {
  DocumentStore store;
  EXPECT_TRUE(store.write_info("name", kApplicationVersion));
  EXPECT_EQ(dump(store), "[INFOMATION]\nAPPLICATIONNAME=name\nAPPLICATIONVERSION=1.0.8\n");
  EXPECT_TRUE(store.write_info("other", (3u << 24) + (255u << 16) + 65535u));
  EXPECT_EQ(store.get_string("INFOMATION", "APPLICATIONVERSION"), "3.255.65535");
  EXPECT_EQ(store.get_string("INFOMATION", "APPLICATIONNAME"), "other");
}

TEST(Info, CheckInfoPacksVersion) {
  struct Case {
    const char* version;
    std::uint32_t expected;
  };
  const Case cases[] = {
      {"1.0.8", (1u << 24) + 8},        {"2", 2u << 24},          {"0.0.0", 0},
      {"1.2", (1u << 24) + (2u << 16)}, {"1..5", (1u << 24) + 5}, {"x", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    DocumentStore store;
    ASSERT_TRUE(store.set_string("INFOMATION", "APPLICATIONNAME", "app"));
    ASSERT_TRUE(store.set_string("INFOMATION", "APPLICATIONVERSION", c.version));
    EXPECT_EQ(store.check_info("app"), c.expected);
  }
}

TEST(Info, CheckInfoMismatches) {
  DocumentStore store;
  EXPECT_EQ(store.check_info("app"), 0u);
  ASSERT_TRUE(store.set_string("INFOMATION", "APPLICATIONVERSION", "1.0.8"));
  EXPECT_EQ(store.check_info("app"), 0u);  // no name
  ASSERT_TRUE(store.set_string("INFOMATION", "APPLICATIONNAME", "App"));
  EXPECT_EQ(store.check_info("app"), 0u);  // byte-wise compare
  ASSERT_TRUE(store.delete_key("INFOMATION", "APPLICATIONVERSION"));
  EXPECT_EQ(store.check_info("App"), 0u);  // no version
}

}  // namespace
}  // namespace piconel
