// Random and mutated texts: every byte sequence either loads or fails at a
// line that exists, and what loads writes back to text that loads into the
// same store. Seeds are fixed so a failure repeats.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <string>

#include "store/document_store.h"
#include "store/store_dump.h"
#include "store/text_mutation.h"

namespace piconel {
namespace {

int count_lines(const std::string& text) {
  // An upper bound: every LF and CR can end a line, plus the last one.
  return static_cast<int>(std::count(text.begin(), text.end(), '\n') +
                          std::count(text.begin(), text.end(), '\r')) +
         1;
}

void check_text(const std::string& text) {
  DocumentStore store;
  const bool ok = store.parse(text);
  ASSERT_GE(store.line_count(), 0);
  ASSERT_LE(store.line_count(), count_lines(text));
  if (!ok) {
    ASSERT_GE(store.line_count(), 1);
    ASSERT_TRUE(store.sections().empty());
    return;
  }
  const std::string written = store.serialize();
  DocumentStore reloaded;
  ASSERT_TRUE(reloaded.parse(written)) << "line " << reloaded.line_count();
  ASSERT_EQ(testing::dump(reloaded), testing::dump(store));
  ASSERT_EQ(reloaded.serialize(), written);
}

// Bytes the format cares about, so random texts reach every branch often.
constexpr char kAlphabet[] = {'[', ']', '=',    '\t',   ' ',    '\r',   '\n',  '\0',
                              'a', 'K', '\x83', '\x5C', '\x01', '\x7F', '\xFF'};

TEST(DocumentStoreFuzz, RandomTexts) {
  std::mt19937 random(20261207);
  for (int round = 0; round < 20000; ++round) {
    std::string text(random() % 40, '\0');
    for (char& c : text) {
      c = (random() % 4 == 0) ? static_cast<char>(random() % 256)
                              : kAlphabet[random() % sizeof kAlphabet];
    }
    SCOPED_TRACE(::testing::PrintToString(text));
    check_text(text);
    if (::testing::Test::HasFatalFailure()) {
      return;
    }
  }
}

TEST(DocumentStoreFuzz, MutatedValidFile) {
  const std::string valid =
      "[INFOMATION]\r\nAPPLICATIONNAME=\x83\x73\x83\x52\x83\x6c\x83\x8b\r\n"
      "APPLICATIONVERSION=1.0.8\r\n[PAGELIST]\r\npage000\r\n\r\n[FILELIST:page000]\r\n"
      "C:\\\x83\x5C.bmp\t0\t0\t-1\r\n[a]b]\r\n=\r\n";
  std::mt19937 random(8);
  for (int round = 0; round < 20000; ++round) {
    const std::string text = testing::mutate_text(valid, random, kAlphabet, 4);
    SCOPED_TRACE(::testing::PrintToString(text));
    check_text(text);
    if (::testing::Test::HasFatalFailure()) {
      return;
    }
  }
}

TEST(DocumentStoreFuzz, RandomListAndVersionValues) {
  constexpr char kListBytes[] = {'0', '9', '-', '+', ',', ' ', '\t', '.', 'x', '\0'};
  std::mt19937 random(42);
  for (int round = 0; round < 20000; ++round) {
    std::string value(random() % 30, '\0');
    for (char& c : value) {
      c = kListBytes[random() % sizeof kListBytes];
    }
    DocumentStore store;
    ASSERT_TRUE(store.set_string("INFOMATION", "APPLICATIONNAME", "a"));
    ASSERT_TRUE(store.set_string("INFOMATION", "APPLICATIONVERSION", value));
    std::array<std::int32_t, 4> ints{};
    std::array<std::uint8_t, 3> bytes{};
    const int int_count = store.get_int_list("INFOMATION", "APPLICATIONVERSION", ints);
    const int byte_count = store.get_byte_list("INFOMATION", "APPLICATIONVERSION", bytes);
    ASSERT_GE(int_count, 0);
    ASSERT_LE(int_count, 4);
    ASSERT_LE(byte_count, 3);
    ASSERT_EQ(byte_count, std::min(int_count, 3));
    (void)store.check_info("a");
  }
}

TEST(DocumentStoreFuzz, EveryPrefixOfValidFile) {
  const std::string valid = "[a]\r\nK=v\r\nrow\r\n\r\n[b]\n=\tx\r\n";
  for (std::size_t length = 0; length <= valid.size(); ++length) {
    SCOPED_TRACE(length);
    check_text(valid.substr(0, length));
  }
}

}  // namespace
}  // namespace piconel
