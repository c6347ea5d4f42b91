// CP932 <-> UTF-16 through code page 932, and the decision on invalid input.

#include "store/wide_text.h"

#include <gtest/gtest.h>

#include <string>

namespace piconel {
namespace {

TEST(WideText, KnownCharacters) {
  // ピコネル
  EXPECT_EQ(to_wide("\x83\x73\x83\x52\x83\x6C\x83\x8B"), L"\u30D4\u30B3\u30CD\u30EB");
  // ソ and 表: the 0x5C trail byte stays inside the character.
  EXPECT_EQ(to_wide("C:\\\x83\x5C\\\x95\x5C"), L"C:\\\u30BD\\\u8868");
  // Half-width katakana ｱ.
  EXPECT_EQ(to_wide("\xB1"), L"\uFF71");
  EXPECT_EQ(to_wide(""), L"");
  EXPECT_EQ(to_cp932(L"\u30BD\u8868"), "\x83\x5C\x95\x5C");
  EXPECT_EQ(to_cp932(L""), "");
}

TEST(WideText, EmbeddedZeroIsKept) {
  const std::string text("a\0b", 3);
  EXPECT_EQ(to_wide(text), std::wstring(L"a\0b", 3));
  EXPECT_EQ(to_cp932(std::wstring(L"a\0b", 3)), text);
}

TEST(WideText, RoundTripOfEveryDoubleByteCharacter) {
  // Every lead byte with every trail byte that the code page maps gives back
  // the same two bytes. Pairs that Windows maps to the same character as
  // another pair (NEC and IBM duplicates) come back as the preferred pair, so
  // only the conversion UTF-16 -> CP932 -> UTF-16 is required to be stable.
  int characters = 0;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (lead > 0x9F && lead < 0xE0) {
      continue;
    }
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      if (trail == 0x7F) {
        continue;
      }
      const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
      const std::optional<std::wstring> wide = to_wide_strict(bytes);
      if (!wide) {
        continue;
      }
      ASSERT_EQ(wide->size(), 1u) << lead << " " << trail;
      ++characters;
      const std::optional<std::string> back = to_cp932_strict(*wide);
      ASSERT_TRUE(back) << lead << " " << trail;
      EXPECT_EQ(to_wide_strict(*back), wide) << lead << " " << trail;
    }
  }
  EXPECT_GT(characters, 7000);
}

TEST(WideText, RoundTripOfSingleBytes) {
  for (int byte = 0x01; byte <= 0x7F; ++byte) {
    const std::string text(1, static_cast<char>(byte));
    EXPECT_EQ(to_cp932(to_wide(text)), text) << byte;
  }
  for (int byte = 0xA1; byte <= 0xDF; ++byte) {
    const std::string text(1, static_cast<char>(byte));
    EXPECT_EQ(to_cp932(to_wide(text)), text) << byte;
  }
}

TEST(WideText, InvalidBytesFailOnlyInStrictForm) {
  const std::string truncated = "ab\x83";  // lead byte at the end
  const std::string bad_trail = "\x81\x20";
  EXPECT_FALSE(to_wide_strict(truncated));
  EXPECT_FALSE(to_wide_strict(bad_trail));
  // The plain form still gives text, with a substitute for the bad part.
  EXPECT_EQ(to_wide(truncated).substr(0, 2), L"ab");
  EXPECT_GE(to_wide(truncated).size(), 3u);
  EXPECT_FALSE(to_wide(bad_trail).empty());
}

TEST(WideText, UnmappableCharactersFailOnlyInStrictForm) {
  const std::wstring euro = L"a\u20AC";  // no CP932 form
  EXPECT_FALSE(to_cp932_strict(euro));
  EXPECT_EQ(to_cp932(euro), "a?");
}

TEST(WideText, StrictFormTakesNoLookAlike) {
  // Best-fit mapping would turn each of these into another, existing name.
  const std::wstring names[] = {
      L"x\u00A5y.png",                                   // yen sign -> '\\', a separator
      L"Zo\u00EB",                                       // e with diaeresis -> 'e'
      L"M\u00FCller",                                    // u with diaeresis -> 'u'
      std::wstring{L'a', static_cast<wchar_t>(0xD800)},  // lone surrogate
  };
  for (const std::wstring& name : names) {
    EXPECT_FALSE(to_cp932_strict(name)) << to_cp932(name);
  }
  // Exact names still convert: ASCII, kana, a 0x5C trail byte.
  EXPECT_EQ(to_cp932_strict(L"C:\\\u30BD\\a.png"), "C:\\\x83\x5C\\a.png");
}

}  // namespace
}  // namespace piconel
