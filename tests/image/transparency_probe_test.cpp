#include "image/transparency_probe.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace piconel {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Byte by byte: GCC 12 at -O3 warns falsely (-Warray-bounds,
// -Wstringop-overflow) about vector::insert of these short ranges.
void append(Bytes& out, std::initializer_list<std::uint8_t> bytes) {
  for (const std::uint8_t byte : bytes) {
    out.push_back(byte);
  }
}

void append_text(Bytes& out, const char* text, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    out.push_back(static_cast<std::uint8_t>(text[i]));
  }
}

// A PNG chunk: 4-byte big-endian length, type, data, CRC (zero: not checked).
Bytes chunk(const char* type, const Bytes& data) {
  Bytes out;
  const auto n = static_cast<std::uint32_t>(data.size());
  append(out, {static_cast<std::uint8_t>(n >> 24), static_cast<std::uint8_t>(n >> 16),
               static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n)});
  append_text(out, type, 4);
  out.insert(out.end(), data.begin(), data.end());
  append(out, {0, 0, 0, 0});
  return out;
}

// IHDR data: width 1, height 1, depth 8, the colour type, then compression,
// filter and interlace 0 (13 bytes; the colour type is byte 9).
Bytes ihdr(std::uint8_t colour_type) {
  return chunk("IHDR", {0, 0, 0, 1, 0, 0, 0, 1, 8, colour_type, 0, 0, 0});
}

Bytes png(std::initializer_list<Bytes> chunks) {
  Bytes out = {137, 80, 78, 71, 13, 10, 26, 10};
  for (const Bytes& c : chunks) {
    out.insert(out.end(), c.begin(), c.end());
  }
  return out;
}

const Bytes kPlte = chunk("PLTE", {0, 0, 0, 255, 255, 255, 1, 2, 3});
const Bytes kIdat = chunk("IDAT", {0x78, 0x9C, 0, 0});
const Bytes kIend = chunk("IEND", {});

TEST(PngProbeTest, Cases) {
  struct Case {
    const char* name;
    Bytes file;
    std::int32_t expected;
  };
  const Case cases[] = {
      {"ThirdAlphaZero", png({ihdr(3), kPlte, chunk("tRNS", {255, 255, 0}), kIdat, kIend}), 2},
      {"SingleZero", png({ihdr(3), kPlte, chunk("tRNS", {0}), kIdat, kIend}), 0},
      {"SingleHalf", png({ihdr(3), kPlte, chunk("tRNS", {128}), kIdat, kIend}), -1},
      {"EmptyTrns", png({ihdr(3), kPlte, chunk("tRNS", {}), kIdat, kIend}), -1},
      {"TruecolourWithTrns", png({ihdr(2), chunk("tRNS", {0, 0, 0, 0, 0, 0}), kIdat, kIend}), -1},
      {"TruecolourAlphaWithTrns", png({ihdr(6), chunk("tRNS", {0}), kIdat, kIend}), -1},
      {"GreyWithTrns", png({ihdr(0), chunk("tRNS", {0, 0}), kIdat, kIend}), -1},
      {"IndexedWithoutTrns", png({ihdr(3), kPlte, kIdat, kIend}), -1},
      {"IendBeforeIhdr", png({kIend, ihdr(3), chunk("tRNS", {0})}), -1},
      {"TrnsAfterIend", png({ihdr(3), kPlte, kIdat, kIend, chunk("tRNS", {0})}), -1},
      // The second walk starts again from the first chunk.
      {"TrnsBeforeIhdr", png({chunk("tRNS", {9, 0}), ihdr(3), kIdat, kIend}), 1},
      {"FirstTrnsDecides", png({ihdr(3), chunk("tRNS", {5}), chunk("tRNS", {0}), kIend}), -1},
      {"ShortIhdr", png({chunk("IHDR", {0, 0, 0, 1, 0, 0, 0, 1, 8, 3}), chunk("tRNS", {0}), kIend}),
       -1},
      {"BadSignature",
       [] {
         Bytes f = png({ihdr(3), chunk("tRNS", {0}), kIend});
         f[1] = 'Q';
         return f;
       }(),
       -1},
      {"NoChunks", png({}), -1},
      {"Empty", Bytes{}, -1},
      {"NoIend", png({ihdr(3), kPlte, kIdat}), -1},
      {"HugeLength",
       [] {
         Bytes f = png({ihdr(3), chunk("tRNS", {0}), kIend});
         f[8] = f[9] = f[10] = f[11] = 0xFF;  // IHDR length 0xFFFFFFFF
         return f;
       }(),
       -1},
      {"ZeroPastEntry256",
       [] {
         Bytes alpha(300, 255);
         alpha[280] = 0;
         return png({ihdr(3), chunk("tRNS", alpha), kIend});
       }(),
       -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(png_transparent_index(c.file), c.expected) << c.name;
  }
}

TEST(PngProbeTest, EveryPrefix) {
  const Bytes head = png({ihdr(3), kPlte, chunk("tRNS", {255, 255, 0})});
  const Bytes file = png({ihdr(3), kPlte, chunk("tRNS", {255, 255, 0}), kIdat, kIend});
  for (std::size_t n = 0; n <= file.size(); ++n) {
    const std::span<const std::uint8_t> prefix(file.data(), n);
    // The index is known once the tRNS chunk, CRC included, is complete.
    EXPECT_EQ(png_transparent_index(prefix), n >= head.size() ? 2 : -1) << n;
  }
}

// GIF: "GIF89a", width 1, height 1, packed, background, aspect (13 bytes).
Bytes gif_header(const char* version, std::uint8_t packed) {
  Bytes out = {'G', 'I', 'F'};
  append_text(out, version, 3);
  append(out, {1, 0, 1, 0, packed, 0, 0});
  return out;
}

// Graphic control extension: 21 F9 04 packed delay(2) index 00.
Bytes gce(bool transparent, std::uint8_t index) {
  return {0x21, 0xF9, 0x04,  static_cast<std::uint8_t>(transparent ? 0x05 : 0x04),
          0x0A, 0x00, index, 0x00};
}

// Image descriptor, 1 x 1, optional local table of 2 entries, LZW data.
Bytes image(bool local_table) {
  Bytes out = {0x2C, 0, 0, 0, 0, 1, 0, 1, 0, static_cast<std::uint8_t>(local_table ? 0x80 : 0)};
  if (local_table) {
    append(out, {0, 0, 0, 255, 255, 255});
  }
  append(out, {0x02, 0x02, 0x44, 0x01, 0x00});
  return out;
}

Bytes gif(Bytes header, std::initializer_list<Bytes> blocks) {
  for (const Bytes& b : blocks) {
    header.insert(header.end(), b.begin(), b.end());
  }
  header.push_back(0x3B);
  return header;
}

const Bytes kComment = {0x21, 0xFE, 0x03, 'a', 'b', 'c', 0x02, 'd', 'e', 0x00};
const Bytes kNetscape = {0x21, 0xFF, 0x0B, 'N', 'E',  'T',  'S',  'C',  'A', 'P',
                         'E',  '2',  '.',  '0', 0x03, 0x01, 0x00, 0x00, 0x00};

TEST(GifProbeTest, Cases) {
  // Global table of 4 entries: packed 0x81 (flag, size bits 1: 3 * 2^2 bytes).
  Bytes with_table = gif_header("89a", 0x81);
  with_table.insert(with_table.end(), 12, 0x33);
  struct Case {
    const char* name;
    Bytes file;
    std::int32_t expected;
  };
  const Case cases[] = {
      {"FlagSetIndex7", gif(gif_header("89a", 0), {gce(true, 7), image(false)}), 7},
      {"FlagClear", gif(gif_header("89a", 0), {gce(false, 7), image(false)}), -1},
      {"FirstExtensionDecides",
       gif(gif_header("89a", 0), {gce(false, 3), image(false), gce(true, 4), image(false)}), -1},
      {"LaterFrameAfterPlainImage",
       gif(gif_header("89a", 0), {image(true), gce(true, 4), image(false)}), 4},
      {"CommentAndApplicationSkipped",
       gif(gif_header("89a", 0), {kComment, kNetscape, gce(true, 9), image(false)}), 9},
      {"GlobalTableSkipped", gif(with_table, {gce(true, 2), image(false)}), 2},
      {"Version87a", gif(gif_header("87a", 0), {gce(true, 7), image(false)}), -1},
      {"TrailerFirst", gif(gif_header("89a", 0), {{0x3B}, gce(true, 7)}), -1},
      {"StrayBytesStepped", gif(gif_header("89a", 0), {{0x00, 0x99}, gce(true, 6)}), 6},
      {"EmptyControlExtensionGoesOn", gif(gif_header("89a", 0), {{0x21, 0xF9, 0x00}, gce(true, 5)}),
       5},
      {"ShortControlExtension", gif(gif_header("89a", 0), {{0x21, 0xF9, 0x02, 0x01, 0x00, 0x00}}),
       -1},
      {"IndexZero", gif(gif_header("89a", 0), {gce(true, 0)}), 0},
      {"Index255", gif(gif_header("89a", 0), {gce(true, 255)}), 255},
      {"NoExtension", gif(gif_header("89a", 0), {image(false)}), -1},
      {"GlobalTablePastEnd", gif_header("89a", 0x87), -1},
      {"NotGif", Bytes{'P', 'N', 'G', '8', '9', 'a', 0, 0, 0, 0, 0, 0, 0}, -1},
      {"Empty", Bytes{}, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(gif_transparent_index(c.file), c.expected) << c.name;
  }
}

TEST(GifProbeTest, EveryPrefix) {
  const Bytes head = gif_header("89a", 0);
  Bytes before = head;
  before.insert(before.end(), kComment.begin(), kComment.end());
  const Bytes file = gif(head, {kComment, gce(true, 7), image(false)});
  // The answer is known once the control extension's first sub-block (3
  // bytes of introducer, label and size plus 4 data bytes) is in.
  const std::size_t known = before.size() + 7;
  for (std::size_t n = 0; n <= file.size(); ++n) {
    const std::span<const std::uint8_t> prefix(file.data(), n);
    EXPECT_EQ(gif_transparent_index(prefix), n >= known ? 7 : -1) << n;
  }
}

TEST(ProbeTest, ChosenByExtension) {
  const Bytes png_file = png({ihdr(3), chunk("tRNS", {255, 0}), kIend});
  const Bytes gif_file = gif(gif_header("89a", 0), {gce(true, 3)});
  EXPECT_EQ(probe_transparent_index("a.png", png_file), 1);
  EXPECT_EQ(probe_transparent_index("C:\\x\\A.PNG", png_file), 1);
  EXPECT_EQ(probe_transparent_index("a.gif", png_file), -1);
  EXPECT_EQ(probe_transparent_index("a.GiF", gif_file), 3);
  EXPECT_EQ(probe_transparent_index("a.png.bak", png_file), -1);
  EXPECT_EQ(probe_transparent_index("a.bmp", png_file), -1);
  EXPECT_EQ(probe_transparent_index("png", png_file), -1);
}

TEST(ProbeTest, BigEndianNumbers) {
  Bytes bytes = {0x12, 0x34, 0x56, 0x78, 0x9A};
  EXPECT_EQ(read_u32_be(bytes, 0), 0x12345678u);
  EXPECT_EQ(read_u32_be(bytes, 1), 0x3456789Au);
  EXPECT_FALSE(read_u32_be(bytes, 2).has_value());
  EXPECT_FALSE(read_u32_be(bytes, 5).has_value());
  EXPECT_FALSE(read_u32_be(bytes, 6).has_value());
  EXPECT_FALSE(read_u32_be(bytes, std::numeric_limits<std::size_t>::max()).has_value());
  EXPECT_FALSE(read_u32_be({}, 0).has_value());

  EXPECT_TRUE(write_u32_be(bytes, 1, 0xCAFEBABE));
  EXPECT_EQ(bytes, (Bytes{0x12, 0xCA, 0xFE, 0xBA, 0xBE}));
  EXPECT_FALSE(write_u32_be(bytes, 2, 1));
  EXPECT_FALSE(write_u32_be(bytes, std::numeric_limits<std::size_t>::max() - 1, 1));
  EXPECT_EQ(bytes, (Bytes{0x12, 0xCA, 0xFE, 0xBA, 0xBE})) << "failed writes change nothing";
  EXPECT_EQ(read_u32_be(bytes, 1), 0xCAFEBABEu);
}

}  // namespace
}  // namespace piconel
