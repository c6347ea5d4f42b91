// The plug-in host's text and size rules on hand-made records: the version
// check, info texts, extension patterns (CP932 names included), the folder
// list, the open-file filter bytes and the checks on a plug-in's answer.

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "image/image_test_helpers.h"
#include "image/picture_decoder.h"
#include "image/plugin_host.h"

namespace piconel {
namespace {

using testing::Bytes;

// ソ and 表: both end in 0x5C, the backslash byte.
constexpr std::string_view kSo = "\x83\x5c";   // ソ
constexpr std::string_view kHyo = "\x95\x5c";  // 表

std::string cat(std::initializer_list<std::string_view> parts) {
  std::string text;
  for (std::string_view part : parts) {
    text.append(part);
  }
  return text;
}

TEST(PluginVersion, OnlySingleFileImageFiltersPass) {
  struct Case {
    std::string_view text;
    int returned;
    bool accepted;
  };
  const Case cases[] = {
      {"00IN", 4, true},  {"00IX", 4, true},  {"00INxyz", 7, true}, {"00IM", 4, false},
      {"00AM", 4, false}, {"01IN", 4, false}, {"0IN", 3, false},    {"00I", 3, false},
      {"00IN", 3, false}, {"", 0, false},     {"00in", 4, false},   {"00XN", 4, false},
      {"00I", 4, false},  // a count larger than the text does not make it longer
  };
  for (const Case& c : cases) {
    EXPECT_EQ(is_image_filter_version(c.text, c.returned), c.accepted)
        << c.text << " returned " << c.returned;
  }
}

TEST(PluginInfoText, EndsAtFirstZeroOrOneByteBeforeTheEnd) {
  struct Case {
    std::vector<char> buffer;
    std::string_view expected;
  };
  const Case cases[] = {
      {{'0', '0', 'I', 'N', '\0', 'x', 'y'}, "00IN"},
      {{'\0', 'a', 'b'}, ""},
      {{'a', 'b', 'c'}, "ab"},  // no zero written: the last byte is never text
      {{'a'}, ""},
      {{}, ""},
      {{'\x83', '\x5c', '\0'}, kSo},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(plugin_info_text(c.buffer), c.expected) << c.buffer.size();
  }
  // A full 256-byte answer without a terminator keeps 255 bytes.
  const std::vector<char> full(kPluginInfoBytes, 'z');
  EXPECT_EQ(plugin_info_text(full), std::string(255, 'z'));
}

TEST(PluginPatterns, ExtensionMatchesPatternList) {
  struct Case {
    std::string patterns;
    std::string extension;
    bool matches;
  };
  const Case cases[] = {
      {"*.tst", ".tst", true},
      {"*.tst", ".TST", true},
      {"*.TsT", ".tSt", true},
      {"*.jpg;*.jpeg", ".jpeg", true},
      {"*.jpg;*.jpeg", ".jpg", true},
      {"*.jpg;*.jpeg", ".jpe", false},
      {"*.jpg;*.jpeg", ".jp", false},
      {"*.jpg;*.jpeg", "jpg", false},
      {"*.jpg;*.jpeg", ".jpg;", false},
      {"*.tar.gz", ".gz", true},
      {"*.tar.gz", ".tar.gz", true},
      {"*.png", "", false},
      {"", ".png", false},
      {"", "", false},
      {"*.*", ".png", false},
      {"*.*", ".*", true},
      {"*.png;", ".png", true},
      {";;*.png;;", ".png", true},
      {"*.png", ".png ", false},
      {"png", ".png", false},
      // Double-byte characters compare byte for byte, ASCII around them
      // without regard to case.
      {cat({"*.", kHyo}), cat({".", kHyo}), true},
      {cat({"*.", kSo, ";*.", kHyo}), cat({".", kHyo}), true},
      {cat({"*.", kSo, ";*.", kHyo}), cat({".", kSo}), true},
      {cat({"*.", kSo, "A"}), cat({".", kSo, "a"}), true},
      {"*.\x83\x41", ".\x83\x61", false},  // *.ア against .ャ: trail bytes differ in case only
      // A lead byte takes the next byte with it, even a '.' or ';'.
      {"*\x83.png", ".png", false},
      {"*.\x83;*.bmp", ".bmp", true},
      {"*.\x83;*.bmp", ".\x83", false},
      {"*.\x83;*.bmp", ".\x83;*.bmp", true},
      // A lead byte cut off at the end is read no further.
      {"*.png\x83", ".png\x83", true},
      {"*.\x83", ".\x83", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(patterns_match_extension(c.patterns, c.extension), c.matches)
        << c.patterns << " / " << c.extension;
  }
}

Plugin plugin_with(std::vector<PluginPair> pairs) {
  Plugin plugin;
  plugin.pair_count = static_cast<std::int32_t>(pairs.size());
  plugin.pairs = std::move(pairs);
  return plugin;
}

TEST(PluginPatterns, PluginClaimsWhenAnyPairMatches) {
  const Plugin plugin =
      plugin_with({{"*.jpg;*.jpeg", "JPEG"}, {cat({"*.", kSo}), "so"}, {"*.png", "PNG"}});
  EXPECT_TRUE(plugin_claims_extension(plugin, ".JPEG"));
  EXPECT_TRUE(plugin_claims_extension(plugin, cat({".", kSo})));
  EXPECT_TRUE(plugin_claims_extension(plugin, ".png"));
  EXPECT_FALSE(plugin_claims_extension(plugin, ".gif"));
  EXPECT_FALSE(plugin_claims_extension(plugin, ""));
  EXPECT_FALSE(plugin_claims_extension(plugin_with({}), ".png"));
}

TEST(PluginFolders, SeparatorAddedOnlyWhenMissing) {
  struct Case {
    std::string folder;
    std::string expected;
  };
  const Case cases[] = {
      {"C:\\prog", "C:\\prog\\"},
      {"C:\\prog\\", "C:\\prog\\"},
      {"C:\\prog/", "C:\\prog/"},
      {"C:\\", "C:\\"},
      {"C:", "C:\\"},
      // The 0x5C ending ソ and 表 is their second byte, not a separator.
      {cat({"C:\\", kSo}), cat({"C:\\", kSo, "\\"})},
      {cat({"C:\\", kHyo}), cat({"C:\\", kHyo, "\\"})},
      {cat({"C:\\", kSo, "\\"}), cat({"C:\\", kSo, "\\"})},
      {cat({"C:\\", kSo, kHyo}), cat({"C:\\", kSo, kHyo, "\\"})},
      {"C:\\\x83", "C:\\\x83\\"},  // a lead byte cut off at the end
  };
  for (const Case& c : cases) {
    EXPECT_EQ(with_folder_separator(c.folder), c.expected) << c.folder;
  }
}

TEST(PluginFolders, ProgramFolderPluginSubfolderThenSusie) {
  struct Case {
    std::string program;
    std::optional<std::string> susie;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"C:\\prog", std::nullopt, {"C:\\prog\\", "C:\\prog\\plugin\\"}},
      {"C:\\prog\\", std::nullopt, {"C:\\prog\\", "C:\\prog\\plugin\\"}},
      {"C:\\prog/", std::nullopt, {"C:\\prog/", "C:\\prog/plugin\\"}},
      {"C:\\prog", std::string(), {"C:\\prog\\", "C:\\prog\\plugin\\"}},
      {"C:\\prog", std::string("D:\\susie"), {"C:\\prog\\", "C:\\prog\\plugin\\", "D:\\susie\\"}},
      {"C:\\prog", std::string("D:\\susie\\"), {"C:\\prog\\", "C:\\prog\\plugin\\", "D:\\susie\\"}},
      {cat({"C:\\", kSo}),
       cat({"D:\\", kHyo}),
       {cat({"C:\\", kSo, "\\"}), cat({"C:\\", kSo, "\\plugin\\"}), cat({"D:\\", kHyo, "\\"})}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(plugin_folders(c.program, c.susie), c.expected) << c.program;
  }
}

// `prefix` padded with '-' to `length` bytes.
std::string padded(std::string_view prefix, std::size_t length) {
  std::string text(prefix);
  text.resize(length, '-');
  return text;
}

// One pair as the filter holds it: description, zero, patterns, zero.
std::string filter_pair(std::string_view description, std::string_view patterns) {
  return cat({description, std::string_view("\0", 1), patterns, std::string_view("\0", 1)});
}

// Runs build_plugin_filter on a buffer of `size` bytes filled with 'x' and
// returns what it wrote; `after` receives the byte after the written part
// ('x' when untouched, '\0' when the buffer is full).
std::string filter_text(const std::vector<Plugin>& plugins, std::size_t size,
                        char* after = nullptr) {
  std::vector<char> buffer(size, 'x');
  const std::size_t used = build_plugin_filter(plugins, buffer);
  EXPECT_LE(used, size);
  if (after != nullptr) {
    *after = used < size ? buffer[used] : '\0';
  }
  return std::string(buffer.data(), used);
}

TEST(PluginFilter, PairsInOrderEachTextTerminatedThenClosingZero) {
  // "画像" (CP932) as a description.
  const std::string picture = "\x89\xe6\x91\x9c";  // 画像
  const std::vector<Plugin> plugins = {
      plugin_with({{"*.jpg;*.jpeg", "JPEG"}, {cat({"*.", kSo}), picture}}),
      plugin_with({}),
      plugin_with({{"*.png", "PNG"}}),
  };
  const std::string expected = filter_pair("JPEG", "*.jpg;*.jpeg") +
                               filter_pair(picture, cat({"*.", kSo})) +
                               filter_pair("PNG", "*.png") + std::string(1, '\0');
  char after = 0;
  EXPECT_EQ(filter_text(plugins, 1024, &after), expected);
  EXPECT_EQ(after, 'x');
  EXPECT_EQ(filter_text({}, 1024), std::string(1, '\0'));
}

TEST(PluginFilter, PairLimitIs510BytesWithTerminators) {
  struct Case {
    std::size_t description;
    std::size_t patterns;
    bool kept;
  };
  const Case cases[] = {
      {254, 254, true},   // 510
      {1, 507, true},     // 510
      {255, 254, false},  // 511
      {254, 255, false},  // 511
      {0, 509, false},    // 511
      {0, 0, true},       // two terminators only
  };
  for (const Case& c : cases) {
    const PluginPair pair = {padded("*.p;", c.patterns), padded("D", c.description)};
    const std::vector<Plugin> plugins = {plugin_with({pair, {"*.end", "End"}})};
    std::string expected;
    if (c.kept) {
      expected = filter_pair(pair.description, pair.patterns);
    }
    expected += filter_pair("End", "*.end") + std::string(1, '\0');
    EXPECT_EQ(filter_text(plugins, 2048), expected) << c.description << " + " << c.patterns;
  }
}

TEST(PluginFilter, PairThatDoesNotFitDropsRestOfItsPlugin) {
  const std::vector<Plugin> plugins = {
      plugin_with({{"*.a", "A"}, {"*.big", padded("B", 100)}, {"*.c", "C"}}),
      plugin_with({{"*.d", "D"}, {"*.e", "E"}}),
  };
  const std::string a = filter_pair("A", "*.a");
  const std::string big = filter_pair(padded("B", 100), "*.big");
  const std::string c = filter_pair("C", "*.c");
  const std::string d = filter_pair("D", "*.d");
  const std::string e = filter_pair("E", "*.e");
  const std::string zero(1, '\0');
  struct Case {
    std::size_t size;
    std::string expected;
  };
  const Case cases[] = {
      {1024, a + big + c + d + e + zero},
      {(a + big + c + d + e + zero).size(), a + big + c + d + e + zero},  // exactly enough
      // One byte short: "E" no longer fits.
      {(a + big + c + d + e + zero).size() - 1, a + big + c + d + zero},
      // No room for the big pair: "C" goes with it, the next plug-in still fits.
      {(a + big).size(), a + d + e + zero},
      {(a + d + e + zero).size(), a + d + e + zero},
      {(a + d + zero).size(), a + d + zero},
      {(a + zero).size(), a + zero},
      {a.size(), zero},
      {1, zero},
  };
  for (const Case& k : cases) {
    EXPECT_EQ(filter_text(plugins, k.size), k.expected) << k.size;
  }
}

TEST(PluginFilter, TooLongPairIsSkippedWithoutDroppingTheRest) {
  // The 511-byte pair never fits any buffer; it is passed over, not taken as
  // "the buffer is full", so the small pair after it is still listed.
  const std::vector<Plugin> plugins = {
      plugin_with({{padded("*.x;", 255), padded("X", 254)}, {"*.y", "Y"}})};
  EXPECT_EQ(filter_text(plugins, 16), filter_pair("Y", "*.y") + std::string(1, '\0'));
}

TEST(PluginFilter, EmptyBufferGetsNothing) {
  const std::vector<Plugin> plugins = {plugin_with({{"*.a", "A"}})};
  std::vector<char> none;
  EXPECT_EQ(build_plugin_filter(plugins, none), 0u);
}

TEST(PluginFilter, BuiltInDecodersFollowThePlugins) {
  const std::vector<Plugin> plugins = {plugin_with({{"*.jpg", "JPEG"}})};
  // PNG ファイル, GIF ファイル
  const std::string png = "PNG \x83\x74\x83\x40\x83\x43\x83\x8b";
  const std::string gif = "GIF \x83\x74\x83\x40\x83\x43\x83\x8b";
  std::vector<char> buffer(256, 'x');
  const std::size_t used = build_decoder_filter(plugins, buffer);
  EXPECT_EQ(std::string(buffer.data(), used), filter_pair("JPEG", "*.jpg") +
                                                  filter_pair(png, "*.png") +
                                                  filter_pair(gif, "*.gif") + std::string(1, '\0'));
  std::vector<char> only_built_in(256, 'x');
  EXPECT_EQ(std::string(only_built_in.data(), build_decoder_filter({}, only_built_in)),
            filter_pair(png, "*.png") + filter_pair(gif, "*.gif") + std::string(1, '\0'));
}

// A BITMAPINFOHEADER followed by `table_entries` zero colour-table entries:
// a bitmap file without its 14-byte file header.
Bytes info_block(std::int32_t width, std::int32_t height, std::uint16_t depth,
                 std::uint32_t colours_used, std::size_t table_entries,
                 std::uint32_t compression = 0) {
  Bytes info = testing::make_bitmap(width, height, depth, std::vector<PaletteEntry>(table_entries),
                                    {}, colours_used, compression);
  info.erase(info.begin(), info.begin() + 14);
  return info;
}

// A plug-in's answer passes the same checks as a bitmap file, so an answer
// the loader cannot use is refused here and the host moves on to the next
// plug-in.
TEST(DecoderAnswer, AcceptedOnlyWhenTheBitmapReaderWouldReadIt) {
  struct Case {
    const char* name;
    Bytes info;
    std::size_t pixel_bytes;
    bool accepted;
  };
  const Case cases[] = {
      {"24-bit 3 x 2", info_block(3, 2, 24, 0, 0), 24, true},
      {"pixel block larger than needed", info_block(3, 2, 24, 0, 0), 100, true},
      {"pixel block one byte short", info_block(3, 2, 24, 0, 0), 23, false},
      {"top-down", info_block(1, -2, 24, 0, 0), 8, true},
      {"info block with spare bytes", info_block(1, 1, 24, 0, 2), 4, true},
      {"8-bit full table", info_block(2, 1, 8, 0, 256), 4, true},
      {"8-bit table one entry short", info_block(2, 1, 8, 0, 255), 4, false},
      {"8-bit four colours used", info_block(2, 1, 8, 4, 4), 4, true},
      {"1-bit 33 wide", info_block(33, 2, 1, 0, 2), 16, true},
      {"4-bit", info_block(3, 1, 4, 0, 16), 4, true},
      {"2-bit", info_block(17, 1, 2, 0, 4), 8, true},
      {"PaletteLongerThanDepth", info_block(1, 1, 4, 17, 17), 4, false},
      {"PaletteOver256", info_block(1, 1, 8, 100000, 256), 4, false},
      {"24-bit with a table", info_block(1, 1, 24, 2, 2), 4, true},
      {"16-bit bit fields, masks empty", info_block(2, 1, 16, 0, 3, 3), 4, false},
      {"32-bit bit fields, masks missing", info_block(1, 1, 32, 0, 2, 3), 4, false},
      {"Compressed RLE8", info_block(1, 1, 8, 0, 256, 1), 4, false},
      {"SideOver32768", info_block(32769, 1, 8, 0, 256), 32772, false},
      {"39-byte header", Bytes(39, 0), 100, false},
      {"empty info block", Bytes{}, 100, false},
      {"zero width", info_block(0, 1, 24, 0, 0), 100, false},
      {"negative width", info_block(-1, 1, 24, 0, 0), 100, false},
      {"zero height", info_block(1, 0, 24, 0, 0), 100, false},
      {"depth 3", info_block(1, 1, 3, 0, 16), 100, false},
      {"depth 0", info_block(1, 1, 0, 0, 0), 100, false},
      {"huge sides, small block", info_block(0x7FFFFFFF, INT32_MIN, 32, 0, 0), 1 << 20, false},
  };
  for (const Case& c : cases) {
    const Bytes pixels(c.pixel_bytes, 0);
    EXPECT_EQ(accept_decoder_answer(c.info, pixels).has_value(), c.accepted) << c.name;
  }
}

TEST(DecoderAnswer, V5HeaderIsReadWholeWithItsMasks) {
  // BITMAPV5HEADER (124 bytes), 2 x 1, 16 bits, BI_BITFIELDS with 5-6-5
  // masks at offsets 40, 44, 48 inside the header.
  Bytes info(124, 0);
  testing::put_u32_le(info, 0, 124);
  testing::put_u32_le(info, 4, 2);
  testing::put_u32_le(info, 8, 1);
  testing::put_u16_le(info, 12, 1);
  testing::put_u16_le(info, 14, 16);
  testing::put_u32_le(info, 16, 3);
  testing::put_u32_le(info, 40, 0xF800);
  testing::put_u32_le(info, 44, 0x07E0);
  testing::put_u32_le(info, 48, 0x001F);
  const Bytes pixels = {0x00, 0xF8, 0x1F, 0x00};  // red, blue
  const std::optional<Dib> dib = accept_decoder_answer(info, pixels);
  ASSERT_TRUE(dib.has_value());
  EXPECT_EQ(dib->pixel(0, 0), 0xFF0000u);
  EXPECT_EQ(dib->pixel(1, 0), 0x0000FFu);
  // The same header cut to 40 bytes loses its masks and is refused.
  EXPECT_FALSE(accept_decoder_answer(Bytes(info.begin(), info.begin() + 40), pixels).has_value());
}

}  // namespace
}  // namespace piconel
