// Susie image plug-ins used by the plug-in host tests. One source gives
// several libraries, chosen by PICONEL_TEST_PLUGIN_KIND:
//
//   1  decoder: "*.tst" pictures of our own and header-only stubs for PNG and
//      GIF files, plus answers that are deliberately malformed;
//   2  refusing: claims "*.tst" and "*.png" but refuses every file; also
//      carries long pairs for the filter's length limits, and writes past
//      the buffer length GetPluginInfo is given;
//   3  version: answers GetPluginInfo(0) with PICONEL_TEST_VERSION and
//      decodes every "*.tst" to a 1 x 1 picture (so a host that wrongly loads
//      it is caught);
//   4  no GetPluginInfo export at all;
//   5  wrong answers: claims "*.tst" and "*.png" and answers "TSTC" files and
//      PNG files with a compressed (BI_RLE8) header, "TSTV" files with a V5
//      header cut to 40 bytes; refuses everything else.
//
// The ".tst" format (all numbers little-endian):
//   0  "TST1"
//   4  width  (16 bits, 1..4096)
//   6  height (16 bits, 1..4096)
//   8  width * height pixels of three bytes red, green, blue, top row first
// Other magic words ask for malformed answers:
//   "TSTX" a pixel block one byte shorter than stride x height
//   "TSTH" an info block of 39 bytes
//   "TSTP" an 8-bit picture with biClrUsed 0 whose info block has only 16
//          colour-table entries
//   "TSTN" success without an info handle
//   "TSTS" success with one block given as both handles
// and well-formed variants of "TST1":
//   "TSTF" the same picture in fixed (LMEM_FIXED) blocks
//   "TSTT" the same picture stored top-down (negative biHeight)
//   "TST4" / "TST5" the picture at 16 bits (5-6-5) with a BITMAPV4HEADER /
//          BITMAPV5HEADER whose masks sit inside the header
//   "TSTC" / "TSTV" the plain picture (the wrong-answers plug-in refuses
//          them its own way first)
//
// The calling convention is WINAPI (__stdcall on 32-bit x86); the 32-bit
// build links with --kill-at so the exports carry their plain names.

#include <windows.h>

#include <cstdint>
#include <cstring>

#ifndef PICONEL_TEST_PLUGIN_KIND
#error "PICONEL_TEST_PLUGIN_KIND must be defined"
#endif

#define PLUGIN_EXPORT extern "C" __declspec(dllexport)

namespace {

using ProgressCallback = int(WINAPI*)(int done, int total, LONG_PTR data);

constexpr int kSpiAllRight = 0;
constexpr int kSpiNotSupported = 2;
constexpr int kSpiOutOfOrder = 3;
constexpr int kSpiNoMemory = 4;
constexpr unsigned kMaxSide = 4096;

[[maybe_unused]] int g_picture_calls = 0;
HLOCAL g_last_info = nullptr;
HLOCAL g_last_bits = nullptr;

[[maybe_unused]] int copy_info(const char* text, LPSTR buffer, int buffer_length) {
  if (buffer == nullptr || buffer_length <= 0) {
    return 0;
  }
  int length = static_cast<int>(std::strlen(text));
  if (length > buffer_length - 1) {
    length = buffer_length - 1;
  }
  std::memcpy(buffer, text, static_cast<std::size_t>(length));
  buffer[length] = '\0';
  return length;
}

[[maybe_unused]] unsigned read_u16_le(const unsigned char* bytes) {
  return static_cast<unsigned>(bytes[0] | (bytes[1] << 8));
}

[[maybe_unused]] unsigned read_u32_be(const unsigned char* bytes) {
  return (static_cast<unsigned>(bytes[0]) << 24) | (static_cast<unsigned>(bytes[1]) << 16) |
         (static_cast<unsigned>(bytes[2]) << 8) | static_cast<unsigned>(bytes[3]);
}

void put_u32(unsigned char* bytes, std::uint32_t value) {
  bytes[0] = static_cast<unsigned char>(value);
  bytes[1] = static_cast<unsigned char>(value >> 8);
  bytes[2] = static_cast<unsigned char>(value >> 16);
  bytes[3] = static_cast<unsigned char>(value >> 24);
}

// A moveable block, returned unlocked as the interface asks; some plug-ins
// hand out fixed blocks instead, which the host must take as well.
HLOCAL allocate(std::size_t bytes, bool fixed = false) {
  return LocalAlloc((fixed ? LMEM_FIXED : LMEM_MOVEABLE) | LMEM_ZEROINIT, bytes);
}

// Both blocks of an answer, or neither.
[[maybe_unused]] bool allocate_both(std::size_t info_bytes, std::size_t pixel_bytes, bool fixed,
                                    HLOCAL* info, HLOCAL* bits) {
  *info = allocate(info_bytes, fixed);
  *bits = allocate(pixel_bytes, fixed);
  if (*info == nullptr || *bits == nullptr) {
    LocalFree(*info);
    LocalFree(*bits);
    *info = nullptr;
    *bits = nullptr;
    return false;
  }
  return true;
}

struct Header {
  std::int32_t width;
  std::int32_t height;
  std::uint16_t depth;
  std::uint32_t colours_used;
};

constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiBitFields = 3;
constexpr std::size_t kV4HeaderBytes = 108;
constexpr std::size_t kV5HeaderBytes = 124;

void write_header(unsigned char* info, const Header& header, std::uint32_t image_bytes,
                  std::uint32_t header_bytes = 40, std::uint32_t compression = 0) {
  put_u32(info + 0, header_bytes);
  put_u32(info + 4, static_cast<std::uint32_t>(header.width));
  put_u32(info + 8, static_cast<std::uint32_t>(header.height));
  info[12] = 1;  // planes
  info[14] = static_cast<unsigned char>(header.depth);
  put_u32(info + 16, compression);
  put_u32(info + 20, image_bytes);
  put_u32(info + 32, header.colours_used);
}

std::size_t stride_of(std::int32_t width, unsigned depth) {
  return (static_cast<std::size_t>(width) * depth + 31) / 32 * 4;
}

// Hands both blocks to the caller (or frees them on failure).
int hand_over(HLOCAL info, HLOCAL bits, HANDLE* info_out, HANDLE* bits_out) {
  g_last_info = info;
  g_last_bits = bits;
  *info_out = info;
  *bits_out = bits;
  return kSpiAllRight;
}

[[maybe_unused]] int paletted_stub(std::int32_t width, std::int32_t height, HANDLE* info_out,
                                   HANDLE* bits_out) {
  const std::size_t stride = stride_of(width, 8);
  HLOCAL info = nullptr;
  HLOCAL bits = nullptr;
  if (!allocate_both(40 + 4 * 4, stride * static_cast<std::size_t>(height), false, &info, &bits)) {
    return kSpiNoMemory;
  }
  auto* info_bytes = static_cast<unsigned char*>(LocalLock(info));
  write_header(info_bytes, {width, height, 8, 4},
               static_cast<std::uint32_t>(stride * static_cast<std::size_t>(height)));
  // Palette: black, white, red, green (blue, green, red, 0).
  const unsigned char table[16] = {0, 0, 0, 0, 255, 255, 255, 0, 0, 0, 255, 0, 0, 255, 0, 0};
  std::memcpy(info_bytes + 40, table, sizeof table);
  LocalUnlock(info);
  auto* pixels = static_cast<unsigned char*>(LocalLock(bits));
  std::memset(pixels, 1, stride * static_cast<std::size_t>(height));
  LocalUnlock(bits);
  return hand_over(info, bits, info_out, bits_out);
}

// Sides a picture of ours may have: 1..kMaxSide.
[[maybe_unused]] bool is_valid_size(unsigned width, unsigned height) {
  return width != 0 && height != 0 && width <= kMaxSide && height <= kMaxSide;
}

// The paletted stub for sides read from a file header.
[[maybe_unused]] int paletted_stub_of_size(unsigned width, unsigned height, HANDLE* info_out,
                                           HANDLE* bits_out) {
  if (!is_valid_size(width, height)) {
    return kSpiOutOfOrder;
  }
  return paletted_stub(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height),
                       info_out, bits_out);
}

[[maybe_unused]] int decode_tst(const unsigned char* file, std::size_t size, HANDLE* info_out,
                                HANDLE* bits_out) {
  if (size < 8 || std::memcmp(file, "TST", 3) != 0) {
    return kSpiNotSupported;
  }
  const char mode = static_cast<char>(file[3]);
  const unsigned width = read_u16_le(file + 4);
  const unsigned height = read_u16_le(file + 6);
  if (!is_valid_size(width, height)) {
    return kSpiOutOfOrder;
  }
  const std::size_t stride = stride_of(static_cast<std::int32_t>(width), 24);
  std::size_t pixel_bytes = stride * height;
  std::size_t info_bytes = 40;
  std::uint32_t header_bytes = 40;
  std::uint32_t compression = 0;
  Header header = {static_cast<std::int32_t>(width), static_cast<std::int32_t>(height), 24, 0};
  const bool has_pixels = mode == '1' || mode == 'F' || mode == 'T' || mode == 'C' || mode == 'V' ||
                          mode == '4' || mode == '5';
  if (has_pixels && (size - 8) / 3 / width < height) {
    return kSpiOutOfOrder;
  }
  switch (mode) {
    case '1':
    case 'F':
    case 'C':
    case 'V':
      break;
    case 'T':
      header.height = -header.height;
      break;
    case '4':
    case '5':
      header.depth = 16;
      pixel_bytes = stride_of(header.width, 16) * height;
      header_bytes = mode == '4' ? kV4HeaderBytes : kV5HeaderBytes;
      info_bytes = header_bytes;
      compression = kBiBitFields;
      break;
    case 'X':
      pixel_bytes -= 1;
      break;
    case 'H':
      info_bytes = 39;
      break;
    case 'P':
      header.depth = 8;
      pixel_bytes = stride_of(header.width, 8) * height;
      info_bytes = 40 + 16 * 4;
      break;
    case 'N': {
      HLOCAL bits = allocate(pixel_bytes);
      g_last_info = nullptr;
      g_last_bits = bits;
      *info_out = nullptr;
      *bits_out = bits;
      return kSpiAllRight;
    }
    case 'S': {
      HLOCAL both = allocate(pixel_bytes + 40);
      return hand_over(both, both, info_out, bits_out);
    }
    default:
      return kSpiNotSupported;
  }
  HLOCAL info = nullptr;
  HLOCAL bits = nullptr;
  if (!allocate_both(info_bytes, pixel_bytes, mode == 'F', &info, &bits)) {
    return kSpiNoMemory;
  }
  if (info_bytes >= 40) {
    auto* info_data = static_cast<unsigned char*>(LocalLock(info));
    write_header(info_data, header, static_cast<std::uint32_t>(pixel_bytes), header_bytes,
                 compression);
    if (compression == kBiBitFields) {
      put_u32(info_data + 40, 0xF800);  // red, green, blue masks inside the header
      put_u32(info_data + 44, 0x07E0);
      put_u32(info_data + 48, 0x001F);
    }
    LocalUnlock(info);
  }
  if (has_pixels) {
    auto* pixels = static_cast<unsigned char*>(LocalLock(bits));
    const std::size_t row_bytes = pixel_bytes / height;
    for (unsigned y = 0; y < height; ++y) {
      // File rows run top-down; DIB rows bottom-up unless the height is
      // negative.
      const unsigned char* source = file + 8 + static_cast<std::size_t>(y) * width * 3;
      const unsigned row = mode == 'T' ? y : height - 1 - y;
      unsigned char* target = pixels + static_cast<std::size_t>(row) * row_bytes;
      for (unsigned x = 0; x < width; ++x) {
        const unsigned char red = source[3 * x + 0];
        const unsigned char green = source[3 * x + 1];
        const unsigned char blue = source[3 * x + 2];
        if (header.depth == 16) {
          const unsigned value = ((red >> 3) << 11) | ((green >> 2) << 5) | (blue >> 3);
          target[2 * x + 0] = static_cast<unsigned char>(value);
          target[2 * x + 1] = static_cast<unsigned char>(value >> 8);
        } else {
          target[3 * x + 0] = blue;
          target[3 * x + 1] = green;
          target[3 * x + 2] = red;
        }
      }
    }
    LocalUnlock(bits);
  }
  return hand_over(info, bits, info_out, bits_out);
}

[[maybe_unused]] int decode_png_stub(const unsigned char* file, std::size_t size, HANDLE* info_out,
                                     HANDLE* bits_out) {
  static const unsigned char kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
  if (size < 24 || std::memcmp(file, kSignature, 8) != 0 ||
      std::memcmp(file + 12, "IHDR", 4) != 0) {
    return kSpiNotSupported;
  }
  return paletted_stub_of_size(read_u32_be(file + 16), read_u32_be(file + 20), info_out, bits_out);
}

[[maybe_unused]] int decode_gif_stub(const unsigned char* file, std::size_t size, HANDLE* info_out,
                                     HANDLE* bits_out) {
  if (size < 10 || std::memcmp(file, "GIF8", 4) != 0) {
    return kSpiNotSupported;
  }
  return paletted_stub_of_size(read_u16_le(file + 6), read_u16_le(file + 8), info_out, bits_out);
}

// Kind 5: answers that look decoded but that the host must refuse.
[[maybe_unused]] int wrong_answer(const unsigned char* file, std::size_t size, HANDLE* info_out,
                                  HANDLE* bits_out) {
  static const unsigned char kPngSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
  const bool png = size >= 8 && std::memcmp(file, kPngSignature, 8) == 0;
  const bool compressed = png || (size >= 4 && std::memcmp(file, "TSTC", 4) == 0);
  const bool cut_v5 = size >= 4 && std::memcmp(file, "TSTV", 4) == 0;
  if (!compressed && !cut_v5) {
    return kSpiNotSupported;
  }
  // A 4 x 4 picture either way: 8-bit RLE with a full table, or 16-bit bit
  // fields whose V5 header (and masks) end after 40 bytes.
  const Header header = {4, 4, static_cast<std::uint16_t>(compressed ? 8 : 16), 0};
  const std::size_t info_bytes = compressed ? 40 + 256 * 4 : 40;
  const std::size_t pixel_bytes = 64;
  HLOCAL info = nullptr;
  HLOCAL bits = nullptr;
  if (!allocate_both(info_bytes, pixel_bytes, false, &info, &bits)) {
    return kSpiNoMemory;
  }
  auto* info_data = static_cast<unsigned char*>(LocalLock(info));
  write_header(info_data, header, static_cast<std::uint32_t>(pixel_bytes),
               compressed ? 40 : static_cast<std::uint32_t>(kV5HeaderBytes),
               compressed ? kBiRle8 : kBiBitFields);
  LocalUnlock(info);
  return hand_over(info, bits, info_out, bits_out);
}

#if PICONEL_TEST_PLUGIN_KIND == 1
const char* const kInfo[] = {"00IN",        "Piconel test decoder",
                             "*.tst",       "Piconel test picture",
                             "*.png;*.gif", "PNG and GIF header stubs"};
#elif PICONEL_TEST_PLUGIN_KIND == 2
// Texts are padded with '-' to `length` bytes when that is not 0. Pair 3
// takes exactly 510 bytes with its two terminators (kept in the filter);
// pair 4 takes 511 (skipped).
struct PaddedInfo {
  const char* text;
  int length;
};
const PaddedInfo kInfo[] = {{"00IN", 0},    {"Piconel refusing plug-in", 0},
                            {"*.tst", 0},   {"Refusing test picture", 0},
                            {"*.png", 0},   {"Refusing PNG", 0},
                            {"*.TST", 0},   {"Refusing again", 0},
                            {"*.r1;", 254}, {"R", 254},
                            {"*.r2;", 255}, {"S", 254},
                            {"*.end", 0},   {"Refusing last", 0}};
#elif PICONEL_TEST_PLUGIN_KIND == 5
const char* const kInfo[] = {"00IN", "Piconel wrong answers", "*.tst;*.png", "Wrong answers"};
#elif PICONEL_TEST_PLUGIN_KIND == 3
const char* const kInfo[] = {PICONEL_TEST_VERSION, "Piconel version test plug-in", "*.tst",
                             "Wrongly loaded picture"};
#endif

}  // namespace

#if PICONEL_TEST_PLUGIN_KIND != 4
PLUGIN_EXPORT int WINAPI GetPluginInfo(int infono, LPSTR buffer, int buffer_length) {
  if (infono < 0 || static_cast<std::size_t>(infono) >= sizeof kInfo / sizeof kInfo[0]) {
    return 0;
  }
#if PICONEL_TEST_PLUGIN_KIND == 2
  char padded[300] = {};
  const PaddedInfo& info = kInfo[infono];
  std::strcpy(padded, info.text);
  for (int i = static_cast<int>(std::strlen(padded)); i < info.length; ++i) {
    padded[i] = '-';
  }
  const int length = copy_info(padded, buffer, buffer_length);
  // Careless, as some old plug-ins are: it scribbles past the length it is
  // given; the host leaves room for that and reads only what it offered.
  std::memset(buffer + buffer_length, 'X', 512);
  return length;
#else
  return copy_info(kInfo[infono], buffer, buffer_length);
#endif
}

PLUGIN_EXPORT int WINAPI IsSupported(LPCSTR, DWORD_PTR) {
  return 0;
}
#else
PLUGIN_EXPORT int WINAPI PiconelNotAPlugin() {
  return 0;
}
#endif

#if PICONEL_TEST_PLUGIN_KIND != 4
PLUGIN_EXPORT int WINAPI GetPicture(LPCSTR buffer, LONG_PTR length, unsigned int flag,
                                    HANDLE* info_out, HANDLE* bits_out, ProgressCallback progress,
                                    LONG_PTR data) {
  ++g_picture_calls;
  if ((flag & 7) != 1 || buffer == nullptr || length <= 0 || info_out == nullptr ||
      bits_out == nullptr) {
    return kSpiNotSupported;
  }
  if (progress != nullptr && progress(0, 1, data) != 0) {
    return 1;  // aborted by the caller
  }
  [[maybe_unused]] const auto* file = reinterpret_cast<const unsigned char*>(buffer);
  [[maybe_unused]] const auto size = static_cast<std::size_t>(length);
#if PICONEL_TEST_PLUGIN_KIND == 1
  int result = decode_tst(file, size, info_out, bits_out);
  if (result == kSpiNotSupported) {
    result = decode_png_stub(file, size, info_out, bits_out);
  }
  if (result == kSpiNotSupported) {
    result = decode_gif_stub(file, size, info_out, bits_out);
  }
  return result;
#elif PICONEL_TEST_PLUGIN_KIND == 2
  return kSpiNotSupported;
#elif PICONEL_TEST_PLUGIN_KIND == 5
  return wrong_answer(file, size, info_out, bits_out);
#else
  return paletted_stub(1, 1, info_out, bits_out);
#endif
}

// Test hooks: how often GetPicture ran, and the blocks it handed out last.
PLUGIN_EXPORT int WINAPI PiconelTestPictureCalls() {
  return g_picture_calls;
}

PLUGIN_EXPORT void WINAPI PiconelTestLastHandles(HLOCAL* info, HLOCAL* bits) {
  *info = g_last_info;
  *bits = g_last_bits;
}
#endif
