#include "store/section_cursor.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "store/store_dump.h"

namespace piconel {
namespace {

using testing::dump;

// Looking must not change the store: a cancelled dialog or a page list row
// would otherwise leave empty sections that the next save writes.
TEST(SectionCursor, MissingSectionIsMadeByTheFirstWriteOnly) {
  DocumentStore store;
  ASSERT_TRUE(store.parse("[a]\r\nK=1\r\n"));
  SectionCursor cursor(store, "new", nullptr);
  EXPECT_EQ(cursor.section(), nullptr);
  int number = 7;
  char buffer[4] = "xyz";
  std::string text = "old";
  std::array<std::uint8_t, 3> bytes{};
  std::array<std::int32_t, 2> ints{};
  // Every read misses, even the one naming the store's current section.
  ASSERT_NE(store.find_section("a"), nullptr);
  EXPECT_FALSE(cursor.get_string("K"));
  EXPECT_EQ(cursor.copy_string("K", buffer, 4), -1);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(cursor.get_string_to("K", text), -1);
  EXPECT_EQ(text, "");
  EXPECT_FALSE(cursor.get_int("K", number));
  EXPECT_EQ(number, 7);
  EXPECT_FALSE(cursor.get_flag("K"));
  EXPECT_EQ(cursor.get_byte_list("K", bytes), 0);
  EXPECT_EQ(cursor.get_int_list("K", ints), 0);
  EXPECT_FALSE(cursor.delete_key("K"));
  EXPECT_EQ(store.serialize(), "[a]\r\nK=1\r\n");

  // The first write appends the section and the cursor names it.
  EXPECT_TRUE(cursor.set_int("N", 2));
  ASSERT_NE(cursor.section(), nullptr);
  EXPECT_EQ(cursor.section()->name(), "new");
  EXPECT_EQ(store.serialize(), "[a]\r\nK=1\r\n[new]\r\nN=2\r\n");
}

TEST(SectionCursor, MissingSectionWrittenElsewhereIsFoundLater) {
  DocumentStore store;
  const SectionCursor reader(store, "s", nullptr);
  SectionCursor writer(store, "s", nullptr);
  EXPECT_FALSE(reader.get_string("K"));
  EXPECT_TRUE(writer.set_string("K", "v"));
  EXPECT_EQ(reader.get_string("K"), "v");
  EXPECT_EQ(store.sections().size(), 1u);
}

TEST(SectionCursor, ConstructingOnExistingSectionFindsFirst) {
  DocumentStore store;
  ASSERT_TRUE(store.parse("[a]\r\nK=1\r\n[a]\r\nK=2\r\n"));
  SectionCursor cursor(store, "a", nullptr);
  EXPECT_EQ(cursor.section(), &store.sections().front());
  EXPECT_EQ(store.sections().size(), 2u);
}

TEST(SectionCursor, ConstructFromCurrent) {
  DocumentStore store;
  ASSERT_TRUE(store.parse("[a]\r\n[b]\r\n"));
  ASSERT_NE(store.find_section("b"), nullptr);
  SectionCursor cursor(store);
  EXPECT_EQ(cursor.section(), &store.sections().back());
  EXPECT_EQ(cursor.parent(), nullptr);
  EXPECT_EQ(&cursor.store(), &store);
}

TEST(SectionCursor, CurrentFormRefocusesTheCursorsSection) {
  DocumentStore store;
  ASSERT_TRUE(store.parse("[a]\r\nK=1\r\n[b]\r\nK=2\r\n"));
  SectionCursor a(store, "a", nullptr);
  SectionCursor b(store, "b", &a);
  EXPECT_EQ(b.parent(), &a);
  // b was made last, yet a's forms work on a.
  EXPECT_EQ(a.get_string("K"), "1");
  EXPECT_EQ(store.current_section(), a.section());
  int value = 0;
  EXPECT_TRUE(b.get_int("K", value));
  EXPECT_EQ(value, 2);
  EXPECT_TRUE(a.set_int("N", 5));
  EXPECT_TRUE(b.set_string(std::nullopt, "row", 0));
  EXPECT_EQ(dump(store), "[a]\nK=1\nN=5\n[b]\n|row\nK=2\n");
}

TEST(SectionCursor, NamedFormUsesTheNameInstead) {
  DocumentStore store;
  ASSERT_TRUE(store.parse("[a]\r\nK=1\r\n[b]\r\nK=2\r\n"));
  SectionCursor a(store, "a", nullptr);
  EXPECT_EQ(a.get_string("K", "b"), "2");
  EXPECT_EQ(store.current_section(), &store.sections().back());
  EXPECT_TRUE(a.set_string("X", "y", -1, "c"));
  EXPECT_EQ(dump(store), "[a]\nK=1\n[b]\nK=2\n[c]\nX=y\n");
}

TEST(SectionCursor, SelectSection) {
  DocumentStore store;
  ASSERT_TRUE(store.parse("[a]\r\n"));
  SectionCursor cursor(store);
  EXPECT_FALSE(cursor.select_section("b", false));
  EXPECT_EQ(cursor.section(), nullptr);
  EXPECT_EQ(store.sections().size(), 1u);
  EXPECT_TRUE(cursor.select_section("b", true));
  EXPECT_EQ(cursor.section()->name(), "b");
  EXPECT_TRUE(cursor.select_section("a", false));
  EXPECT_EQ(cursor.section()->name(), "a");
}

TEST(SectionCursor, CursorNamingNoneUsesStoreCurrent) {
  DocumentStore store;
  ASSERT_TRUE(store.parse("[a]\r\nK=1\r\n"));
  SectionCursor cursor(store);
  EXPECT_EQ(cursor.section(), nullptr);
  EXPECT_FALSE(cursor.get_string("K"));
  ASSERT_NE(store.find_section("a"), nullptr);
  EXPECT_EQ(cursor.get_string("K"), "1");
}

TEST(SectionCursor, AllFormsReachTheStore) {
  DocumentStore store;
  SectionCursor cursor(store, "s", nullptr);
  const std::array<std::int32_t, 2> ints{3, -4};
  const std::array<std::uint8_t, 3> bytes{1, 2, 3};
  EXPECT_TRUE(cursor.set_int_list("I", ints));
  EXPECT_TRUE(cursor.set_byte_list("B", bytes));
  EXPECT_TRUE(cursor.set_string_from("S", std::string("text")));
  std::array<std::int32_t, 2> ints_back{};
  std::array<std::uint8_t, 3> bytes_back{};
  EXPECT_EQ(cursor.get_int_list("I", ints_back), 2);
  EXPECT_EQ(cursor.get_byte_list("B", bytes_back), 3);
  EXPECT_EQ(ints_back, ints);
  EXPECT_EQ(bytes_back, bytes);
  char buffer[3];
  EXPECT_EQ(cursor.copy_string("S", buffer, 3), 2);
  EXPECT_STREQ(buffer, "te");
  std::string out;
  EXPECT_EQ(cursor.get_string_to("S", out), 4);
  EXPECT_TRUE(cursor.delete_key("S"));
  EXPECT_FALSE(cursor.delete_key("S"));
  EXPECT_EQ(store.serialize(), "[s]\r\nI=3,-4\r\nB=1,2,3\r\n");
  EXPECT_FALSE(cursor.save());  // the store has no path
}

}  // namespace
}  // namespace piconel
