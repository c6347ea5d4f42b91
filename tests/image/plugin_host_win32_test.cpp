// The Susie plug-in host against plug-ins of our own (tests/image/plugins):
// loading and the version check, matching by extension, fall-through, the
// copies of the returned blocks and their release, the PNG/GIF probe and
// the open-file filter text.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "image/image_entry.h"
#include "image/load_image.h"
#include "image/plugin_host.h"
#include "store/file_io.h"

namespace piconel {
namespace {

using Bytes = std::vector<std::uint8_t>;
// GetPicture calls of the refusing plug-in and of the decoder.
using Calls = std::pair<int, int>;

// The plug-in library extension (ASCII) in wide form.
const std::wstring kPluginExtension(kPluginLibraryExtension.begin(), kPluginLibraryExtension.end());

std::string narrow(std::wstring_view wide) {
  const int length = static_cast<int>(wide.size());
  const int needed = WideCharToMultiByte(932, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(needed), '\0');
  WideCharToMultiByte(932, 0, wide.data(), length, text.data(), needed, nullptr, nullptr);
  return text;
}

std::wstring exe_folder() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

bool write_file(const std::wstring& path, const Bytes& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  DWORD written = 0;
  const BOOL ok =
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size();
}

void remove_tree(const std::wstring& folder) {
  WIN32_FIND_DATAW found = {};
  HANDLE find = FindFirstFileW((folder + L"*").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") {
        continue;
      }
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        remove_tree(folder + name + L"\\");
      } else {
        DeleteFileW((folder + name).c_str());
      }
    } while (FindNextFileW(find, &found));
    FindClose(find);
  }
  RemoveDirectoryW(folder.c_str());
}

// ".tst" picture: "TST1", width and height (16 bits), red/green/blue pixels
// top row first.
Bytes tst_file(char mode, std::uint16_t width, std::uint16_t height, const Bytes& pixels) {
  Bytes bytes = {'T',
                 'S',
                 'T',
                 static_cast<std::uint8_t>(mode),
                 static_cast<std::uint8_t>(width),
                 static_cast<std::uint8_t>(width >> 8),
                 static_cast<std::uint8_t>(height),
                 static_cast<std::uint8_t>(height >> 8)};
  bytes.insert(bytes.end(), pixels.begin(), pixels.end());
  return bytes;
}

// A 2 x 1 indexed PNG: IHDR (colour type 3), PLTE of three entries, tRNS
// 255, 255, 0 (entry 2 transparent), IEND. CRCs are zero; nobody checks them.
Bytes png_file() {
  return {
      137, 80, 78, 71,  13,  10,  26,  10,                      // signature
      0,   0,  0,  13,  'I', 'H', 'D', 'R',                     // offset 8
      0,   0,  0,  2,   0,   0,   0,   1,   8,   3,   0, 0, 0,  // width 2, height 1, 8 bits, type 3
      0,   0,  0,  0,                                           // CRC
      0,   0,  0,  9,   'P', 'L', 'T', 'E',                     // offset 33
      0,   0,  0,  255, 255, 255, 255, 0,   0,   0,   0, 0, 0,  //
      0,   0,  0,  3,   't', 'R', 'N', 'S', 255, 255, 0, 0, 0, 0, 0,  //
      0,   0,  0,  0,   'I', 'E', 'N', 'D', 0,   0,   0, 0};
}

// A 1 x 1 GIF 89a with a two-entry global table and a graphic control
// extension whose transparent flag is set with index 7.
Bytes gif_file() {
  return {'G',  'I',  'F',  '8',  '9', 'a', 1, 0, 1, 0, 0x80, 0, 0,  // header, packed 0x80
          0,    0,    0,    255,  255, 255,                          // global table
          0x21, 0xF9, 4,    0x01, 0,   0,   7, 0,                    // graphic control extension
          0x2C, 0,    0,    0,    0,   1,   0, 1, 0, 0,              // image descriptor
          2,    2,    0x44, 0x01, 0,                                 // LZW data
          0x3B};
}

// A 1 x 1 24-bit Windows bitmap (white).
Bytes bmp_file() {
  Bytes bytes = {'B', 'M', 58,  0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,         // file header
                 40,  0,   0,   0, 1, 0, 0, 0, 1, 0, 0,  0, 1, 0, 24, 0,  // info header
                 0,   0,   0,   0, 4, 0, 0, 0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0, 0, 0, 0, 0, 0,  //
                 255, 255, 255, 0};
  return bytes;
}

Bytes info_header(std::int32_t width, std::int32_t height, std::uint16_t depth,
                  std::uint32_t image_bytes, std::uint32_t colours_used) {
  Bytes bytes(40, 0);
  const auto put = [&](std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
      bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
    }
  };
  put(0, 40);
  put(4, static_cast<std::uint32_t>(width));
  put(8, static_cast<std::uint32_t>(height));
  bytes[12] = 1;
  bytes[14] = static_cast<std::uint8_t>(depth);
  put(20, image_bytes);
  put(32, colours_used);
  return bytes;
}

// A temporary program folder whose name holds ソ and 表 (both end in 0x5C):
//   <root>\refusing.sph, version_*.sph, no_info.sph, broken.sph (not a
//   library), folder.sph\ (a directory), readme.sph.txt
//   <root>\plugin\decoder.sph
// (".spi" instead of ".sph" in 32-bit builds). Only refusing and decoder are
// image filters, so the host loads refusing first, then decoder.
class PluginHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH] = {};
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    static int counter = 0;
    root_ = std::wstring(temp) + L"piconel_\u30BD\u8868_" + std::to_wstring(GetCurrentProcessId()) +
            L"_" + std::to_wstring(++counter) + L"\\";
    ASSERT_TRUE(CreateDirectoryW(root_.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((root_ + L"plugin").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((root_ + L"folder" + kPluginExtension).c_str(), nullptr));
    install(L"refusing", root_);
    install(L"version_00am", root_);
    install(L"version_00im", root_);
    install(L"version_short", root_);
    install(L"no_info", root_);
    install(L"decoder", root_ + L"plugin\\");
    ASSERT_TRUE(write_file(root_ + L"broken" + kPluginExtension,
                           Bytes{'n', 'o', 't', ' ', 'a', ' ', 'D', 'L', 'L'}));
    ASSERT_TRUE(write_file(root_ + L"readme" + kPluginExtension + L".txt", Bytes{'x'}));
    root_narrow_ = narrow(root_);
  }

  void TearDown() override {
    // The host keeps its libraries loaded for the whole run; the test
    // releases them itself so that the folder can be removed.
    const std::vector<HMODULE> modules = loaded_modules();
    host_.free_plugins();
    for (HMODULE module : modules) {
      FreeLibrary(module);
    }
    remove_tree(root_);
  }

  std::vector<HMODULE> loaded_modules() const {
    std::vector<HMODULE> modules;
    for (const Plugin& plugin : host_.plugins()) {
      modules.push_back(static_cast<HMODULE>(plugin.module));
    }
    return modules;
  }

  void install(const std::wstring& name, const std::wstring& folder) {
    const std::wstring source = exe_folder() + L"piconel_test_plugin_" + name + L".dll";
    const std::wstring target = folder + name + kPluginExtension;
    ASSERT_TRUE(CopyFileW(source.c_str(), target.c_str(), FALSE)) << narrow(source);
  }

  // CP932 path of a file in the temporary folder, written with `bytes`.
  std::string put(std::wstring_view name, const Bytes& bytes) {
    const std::wstring path = root_ + std::wstring(name);
    EXPECT_TRUE(write_file(path, bytes));
    return narrow(path);
  }

  void load() { ASSERT_EQ(host_.load_plugins(root_narrow_, false), 2); }

  const Plugin* plugin_named(std::string_view file_name) const {
    for (const Plugin& plugin : host_.plugins()) {
      if (plugin.file_name == file_name) {
        return &plugin;
      }
    }
    return nullptr;
  }

  // How often GetPicture of the plug-in has run.
  int picture_calls(std::string_view stem) const {
    const Plugin* plugin = plugin_named(std::string(stem) + std::string(kPluginLibraryExtension));
    if (plugin == nullptr) {
      return -1;
    }
    using CallCount = int(WINAPI*)();
    const auto calls = reinterpret_cast<CallCount>(reinterpret_cast<void (*)()>(
        GetProcAddress(static_cast<HMODULE>(plugin->module), "PiconelTestPictureCalls")));
    return calls != nullptr ? calls() : -1;
  }

  // GetPicture calls so far of the refusing plug-in and of the decoder.
  Calls picture_calls() const { return {picture_calls("refusing"), picture_calls("decoder")}; }

  // The blocks the decoder (or the plug-in `stem`) handed out last.
  void decoder_handles(HLOCAL* info, HLOCAL* bits, std::string_view stem = "decoder") const {
    const Plugin* plugin = plugin_named(std::string(stem) + std::string(kPluginLibraryExtension));
    ASSERT_NE(plugin, nullptr);
    using Handles = void(WINAPI*)(HLOCAL*, HLOCAL*);
    const auto handles = reinterpret_cast<Handles>(reinterpret_cast<void (*)()>(
        GetProcAddress(static_cast<HMODULE>(plugin->module), "PiconelTestLastHandles")));
    ASSERT_NE(handles, nullptr);
    handles(info, bits);
  }

  // load_image with this host as its decoder list.
  std::optional<Dib> load_through_host(const std::string& path, ImageEntry* entry) const {
    ColourList list;
    LoadImageRequest request;
    request.path = path;
    request.entry = entry;
    request.colour_list = &list;
    request.decoders = &host_;
    return load_image(request);
  }

  // A freed moveable block's handle is no longer valid.
  static bool released(HLOCAL handle) {
    return handle == nullptr || LocalFlags(handle) == LMEM_INVALID_HANDLE;
  }

  std::wstring root_;
  std::string root_narrow_;
  PluginHost host_;
};

TEST_F(PluginHostTest, LoadsImageFiltersInFolderOrder) {
  load();
  const std::vector<Plugin>& plugins = host_.plugins();
  ASSERT_EQ(plugins.size(), 2u);
  const std::string ext(kPluginLibraryExtension);

  EXPECT_EQ(plugins[0].file_name, "refusing" + ext);
  EXPECT_EQ(plugins[0].module_path, root_narrow_ + "refusing" + ext);
  EXPECT_EQ(plugins[0].kind, 'N');
  EXPECT_EQ(plugins[0].about, "Piconel refusing plug-in");
  EXPECT_EQ(plugins[0].pair_count, 6);
  ASSERT_EQ(plugins[0].pairs.size(), 6u);
  EXPECT_EQ(plugins[0].pairs[0].patterns, "*.tst");
  EXPECT_EQ(plugins[0].pairs[0].description, "Refusing test picture");
  EXPECT_EQ(plugins[0].pairs[3].patterns.size(), 254u);
  EXPECT_EQ(plugins[0].pairs[4].patterns.size(), 255u);
  EXPECT_EQ(plugins[0].pairs[5].description, "Refusing last");

  EXPECT_EQ(plugins[1].file_name, "decoder" + ext);
  EXPECT_EQ(plugins[1].module_path, root_narrow_ + "plugin\\decoder" + ext);
  EXPECT_EQ(plugins[1].pair_count, 2);
  ASSERT_EQ(plugins[1].pairs.size(), 2u);
  EXPECT_EQ(plugins[1].pairs[1].patterns, "*.png;*.gif");
  EXPECT_EQ(plugins[1].pairs[1].description, "PNG and GIF header stubs");

  // Exports present in the test plug-ins are found; the rest stay empty.
  const Plugin& decoder = plugins[1];
  EXPECT_NE(decoder.entry(PluginEntry::GetPluginInfo), nullptr);
  EXPECT_NE(decoder.entry(PluginEntry::IsSupported), nullptr);
  EXPECT_NE(decoder.entry(PluginEntry::GetPicture), nullptr);
  EXPECT_EQ(decoder.entry(PluginEntry::GetPictureInfo), nullptr);
  EXPECT_EQ(decoder.entry(PluginEntry::GetPreview), nullptr);
  EXPECT_EQ(decoder.entry(PluginEntry::ConfigurationDlg), nullptr);
}

TEST_F(PluginHostTest, RejectsWrongVersionsAndNonPlugins) {
  const std::string ext(kPluginLibraryExtension);
  const char* const rejected[] = {"version_00am", "version_00im", "version_short", "no_info",
                                  "broken",       "folder",       "missing"};
  for (const char* stem : rejected) {
    EXPECT_FALSE(host_.load_plugin(root_narrow_ + stem + ext)) << stem;
  }
  EXPECT_TRUE(host_.plugins().empty());
  EXPECT_TRUE(host_.load_plugin(root_narrow_ + "refusing" + ext));
  EXPECT_EQ(host_.plugins().size(), 1u);
}

TEST_F(PluginHostTest, SameFolderTwiceLoadsTwice) {
  const std::vector<std::string> folders = {root_narrow_ + "plugin", root_narrow_ + "plugin\\"};
  EXPECT_EQ(host_.load_plugins_from(folders), 2);
  ASSERT_EQ(host_.plugins().size(), 2u);
  EXPECT_EQ(host_.plugins()[0].module_path, host_.plugins()[1].module_path);
}

TEST_F(PluginHostTest, MissingFoldersLoadNothing) {
  const std::vector<std::string> folders = {root_narrow_ + "nowhere\\", ""};
  EXPECT_EQ(host_.load_plugins_from(folders), 0);
  EXPECT_TRUE(host_.plugins().empty());
}

TEST_F(PluginHostTest, DecodesTstIntoBottomUpDib) {
  load();
  // 3 x 2, top row (1,2,3) (4,5,6) (7,8,9), bottom row (10,11,12) ...
  const std::string path = put(L"\u8868.tst", tst_file('1', 3, 2,
                                                       {1, 2, 3, 4, 5, 6, 7, 8, 9,  //
                                                        10, 11, 12, 13, 14, 15, 16, 17, 18}));
  const std::optional<DecodedPicture> picture = host_.decode(path);
  ASSERT_TRUE(picture.has_value());
  EXPECT_EQ(bitmap_info_bytes(picture->dib), info_header(3, 2, 24, 24, 0));
  // Stride 12; bottom row first, blue-green-red, two padding... three bytes.
  const Bytes expected = {12, 11, 10, 15, 14, 13, 18, 17, 16, 0, 0, 0,  //
                          3,  2,  1,  6,  5,  4,  9,  8,  7,  0, 0, 0};
  EXPECT_EQ(picture->dib.pixels, expected);
  EXPECT_EQ(picture->probed_transparent_index, -1);

  // The refusing plug-in comes first and was asked once, although two of its
  // pairs match ".tst"; then the decoder.
  EXPECT_EQ(picture_calls(), (Calls{1, 1}));
  HLOCAL info = nullptr;
  HLOCAL bits = nullptr;
  decoder_handles(&info, &bits);
  ASSERT_NE(info, nullptr);
  ASSERT_NE(bits, nullptr);
  EXPECT_TRUE(released(info));
  EXPECT_TRUE(released(bits));
}

TEST_F(PluginHostTest, UpperCaseExtensionMatches) {
  load();
  const std::string path = put(L"UPPER.TST", tst_file('1', 1, 1, {9, 8, 7}));
  const std::optional<DecodedPicture> picture = host_.decode(path);
  ASSERT_TRUE(picture.has_value());
  EXPECT_EQ(picture->dib.pixels, (Bytes{7, 8, 9, 0}));
}

TEST_F(PluginHostTest, FixedBlocksAreTakenToo) {
  load();
  const std::string path = put(L"fixed.tst", tst_file('F', 1, 2, {1, 2, 3, 4, 5, 6}));
  const std::optional<DecodedPicture> picture = host_.decode(path);
  ASSERT_TRUE(picture.has_value());
  EXPECT_EQ(bitmap_info_bytes(picture->dib), info_header(1, 2, 24, 8, 0));
  EXPECT_EQ(picture->dib.pixels, (Bytes{6, 5, 4, 0, 3, 2, 1, 0}));
}

// A top-down answer passes the same checks as a top-down bitmap file and
// comes back bottom-up.
TEST_F(PluginHostTest, TopDownAnswerIsTurnedBottomUp) {
  load();
  const std::string path = put(L"top_down.tst", tst_file('T', 1, 2, {1, 2, 3, 4, 5, 6}));
  const std::optional<DecodedPicture> picture = host_.decode(path);
  ASSERT_TRUE(picture.has_value());
  EXPECT_EQ(bitmap_info_bytes(picture->dib), info_header(1, 2, 24, 8, 0));
  EXPECT_EQ(picture->dib.pixels, (Bytes{6, 5, 4, 0, 3, 2, 1, 0}));
}

TEST_F(PluginHostTest, BitmapNamedTstOrPngFallsThroughEveryPlugin) {
  load();
  int calls = 0;
  for (const wchar_t* name : {L"bitmap.tst", L"bitmap.png"}) {
    const std::string path = put(name, bmp_file());
    EXPECT_FALSE(host_.decode(path).has_value()) << path;
    ++calls;
    EXPECT_EQ(picture_calls(), (Calls{calls, calls})) << path;
  }
}

TEST_F(PluginHostTest, UnclaimedOrMissingExtensionCallsNoPlugin) {
  load();
  const std::string bitmap = put(L"bitmap.bmp", bmp_file());
  const std::string no_dot = put(L"nodot", tst_file('1', 1, 1, {1, 2, 3}));
  EXPECT_TRUE(CreateDirectoryW((root_ + L"dir.tst").c_str(), nullptr));
  const std::string dotted_folder = put(L"dir.tst\\inside", tst_file('1', 1, 1, {1, 2, 3}));
  // "dir.tst\inside" has no extension: only the last component counts (and
  // the trail bytes 0x5C of ソ and 表 in the folder name are no separators).
  EXPECT_FALSE(host_.decode(bitmap).has_value());
  EXPECT_FALSE(host_.decode(no_dot).has_value());
  EXPECT_FALSE(host_.decode(dotted_folder).has_value());
  EXPECT_FALSE(host_.decode("").has_value());
  EXPECT_EQ(picture_calls(), (Calls{0, 0}));
}

TEST_F(PluginHostTest, UnreadableFileMovesOnWithoutCalls) {
  load();
  EXPECT_FALSE(host_.decode(root_narrow_ + "missing.tst").has_value());
  const std::string empty = put(L"empty.tst", Bytes{});
  EXPECT_FALSE(host_.decode(empty).has_value());
  EXPECT_EQ(picture_calls(), (Calls{0, 0}));
}

TEST_F(PluginHostTest, MalformedAnswersAreRefusedAndReleased) {
  load();
  struct Case {
    const wchar_t* name;
    char mode;
  };
  const Case cases[] = {
      {L"short_pixels.tst", 'X'},   // pixel block one byte short
      {L"short_header.tst", 'H'},   // 39-byte info block
      {L"short_palette.tst", 'P'},  // 8 bits, biClrUsed 0, only 16 table entries
      {L"no_info.tst", 'N'},        // success without an info handle
      {L"same_block.tst", 'S'},     // one block as both handles (freed once)
  };
  int calls = 0;
  for (const Case& c : cases) {
    const std::string path = put(c.name, tst_file(c.mode, 4, 3, {}));
    EXPECT_FALSE(host_.decode(path).has_value()) << c.mode;
    ++calls;
    EXPECT_EQ(picture_calls("decoder"), calls) << c.mode;
    HLOCAL info = nullptr;
    HLOCAL bits = nullptr;
    decoder_handles(&info, &bits);
    EXPECT_NE(bits, nullptr) << c.mode;
    EXPECT_TRUE(released(info)) << c.mode;
    EXPECT_TRUE(released(bits)) << c.mode;
  }
}

// A V4 or V5 answer is read whole: its bit-field masks sit inside the
// header, past the first 40 bytes.
TEST_F(PluginHostTest, V4AndV5AnswersKeepTheirMasks) {
  load();
  for (const char mode : {'4', '5'}) {
    // Top row red, blue; bottom row green, white.
    const std::string path =
        put(mode == '4' ? L"v4.tst" : L"v5.tst",
            tst_file(mode, 2, 2, {255, 0, 0, 0, 0, 255, 0, 255, 0, 255, 255, 255}));
    const std::optional<DecodedPicture> picture = host_.decode(path);
    ASSERT_TRUE(picture.has_value()) << mode;
    const Dib& dib = picture->dib;
    EXPECT_EQ(dib.file_bits_per_pixel, 16) << mode;
    EXPECT_EQ(dib.pixel(0, 0), 0xFF0000u) << mode;
    EXPECT_EQ(dib.pixel(1, 0), 0x0000FFu) << mode;
    EXPECT_EQ(dib.pixel(0, 1), 0x00FF00u) << mode;
    EXPECT_EQ(dib.pixel(1, 1), 0xFFFFFFu) << mode;
  }
  EXPECT_EQ(picture_calls(), (Calls{2, 2}));
}

// A plug-in whose answer is refused (compressed, or a V5 header cut to 40
// bytes) counts as failed: its blocks are released and the next plug-in
// decodes the file.
TEST_F(PluginHostTest, RefusedAnswersMoveOnToTheNextPlugin) {
  ASSERT_TRUE(CreateDirectoryW((root_ + L"first").c_str(), nullptr));
  install(L"wrong_answers", root_ + L"first\\");
  const std::vector<std::string> folders = {root_narrow_ + "first", root_narrow_ + "plugin"};
  ASSERT_EQ(host_.load_plugins_from(folders), 2);
  int calls = 0;
  for (const char mode : {'C', 'V'}) {
    const std::string path = put(mode == 'C' ? L"compressed.tst" : L"cut_v5.tst",
                                 tst_file(mode, 1, 2, {1, 2, 3, 4, 5, 6}));
    const std::optional<DecodedPicture> picture = host_.decode(path);
    ++calls;
    ASSERT_TRUE(picture.has_value()) << mode;
    EXPECT_EQ(bitmap_info_bytes(picture->dib), info_header(1, 2, 24, 8, 0)) << mode;
    EXPECT_EQ(picture->dib.pixels, (Bytes{6, 5, 4, 0, 3, 2, 1, 0})) << mode;
    EXPECT_EQ(picture_calls("wrong_answers"), calls) << mode;
    EXPECT_EQ(picture_calls("decoder"), calls) << mode;
    HLOCAL info = nullptr;
    HLOCAL bits = nullptr;
    decoder_handles(&info, &bits, "wrong_answers");
    EXPECT_NE(info, nullptr) << mode;
    EXPECT_TRUE(released(info)) << mode;
    EXPECT_TRUE(released(bits)) << mode;
  }
}

// After the plug-ins come the built-in decoders: a PNG whose plug-in answer
// is refused is decoded by the built-in PNG decoder, as without plug-ins.
TEST_F(PluginHostTest, RefusedPngAnswerMovesOnToTheBuiltInDecoder) {
  ASSERT_TRUE(CreateDirectoryW((root_ + L"first").c_str(), nullptr));
  install(L"wrong_answers", root_ + L"first\\");
  const std::vector<std::string> folders = {root_narrow_ + "first"};
  ASSERT_EQ(host_.load_plugins_from(folders), 1);
  const FileBytes fixture =
      read_whole_file(std::string(PICONEL_TEST_DATA_DIR) + "/image/png_gif/png_rgb8.png");
  ASSERT_EQ(fixture.status, ReadStatus::Ok);
  const std::string path = put(L"rgb.png", fixture.bytes);

  ImageEntry entry;
  const std::optional<Dib> through_host = load_through_host(path, &entry);
  EXPECT_EQ(picture_calls("wrong_answers"), 1);
  ColourList list;
  ImageEntry plain_entry;
  LoadImageRequest plain;
  plain.path = path;
  plain.entry = &plain_entry;
  plain.colour_list = &list;
  const std::optional<Dib> without_plugins = load_image(plain);
  ASSERT_TRUE(through_host.has_value());
  ASSERT_TRUE(without_plugins.has_value());
  EXPECT_EQ(bitmap_info_bytes(*through_host), bitmap_info_bytes(*without_plugins));
  EXPECT_EQ(through_host->pixels, without_plugins->pixels);
  EXPECT_EQ(entry.colour_count, plain_entry.colour_count);
}

TEST_F(PluginHostTest, PngDecodedByPluginIsProbed) {
  load();
  const std::string path = put(L"indexed.PNG", png_file());
  const std::optional<DecodedPicture> picture = host_.decode(path);
  ASSERT_TRUE(picture.has_value());
  Bytes info = info_header(2, 1, 8, 4, 4);
  const Bytes table = {0, 0, 0, 0, 255, 255, 255, 0, 0, 0, 255, 0, 0, 255, 0, 0};
  info.insert(info.end(), table.begin(), table.end());
  EXPECT_EQ(bitmap_info_bytes(picture->dib), info);
  EXPECT_EQ(picture->dib.pixels, (Bytes{1, 1, 1, 1}));
  EXPECT_EQ(picture->probed_transparent_index, 2);
  EXPECT_EQ(picture_calls(), (Calls{1, 1}));
}

TEST_F(PluginHostTest, GifDecodedByPluginIsProbed) {
  load();
  const std::string path = put(L"frame.gif", gif_file());
  const std::optional<DecodedPicture> picture = host_.decode(path);
  ASSERT_TRUE(picture.has_value());
  EXPECT_EQ(picture->probed_transparent_index, 7);
  // ".gif" is not claimed by the refusing plug-in.
  EXPECT_EQ(picture_calls(), (Calls{0, 1}));
}

TEST_F(PluginHostTest, ProbeFollowsExtensionNotContent) {
  load();
  // PNG bytes in a ".gif" file: decoded by the stub, probed as GIF (-1).
  const std::string path = put(L"mislabelled.gif", png_file());
  const std::optional<DecodedPicture> picture = host_.decode(path);
  ASSERT_TRUE(picture.has_value());
  EXPECT_EQ(picture->probed_transparent_index, -1);
}

std::string filter_pair(std::string_view description, std::string_view patterns) {
  std::string pair(description);
  pair.push_back('\0');
  pair.append(patterns);
  pair.push_back('\0');
  return pair;
}

// The refusing plug-in's first three pairs (those before its long ones) and
// the decoder's two pairs, as the filter lists them.
std::string refusing_short_pairs() {
  return filter_pair("Refusing test picture", "*.tst") + filter_pair("Refusing PNG", "*.png") +
         filter_pair("Refusing again", "*.TST");
}
std::string decoder_first_pair() {
  return filter_pair("Piconel test picture", "*.tst");
}
std::string decoder_pairs() {
  return decoder_first_pair() + filter_pair("PNG and GIF header stubs", "*.png;*.gif");
}

TEST_F(PluginHostTest, FilterListsPairsAndSkipsLongOnes) {
  load();
  const std::string long_patterns = "*.r1;" + std::string(249, '-');  // 254 bytes
  const std::string long_description = "R" + std::string(253, '-');   // 254 bytes
  const std::string refusing = refusing_short_pairs() +
                               filter_pair(long_description, long_patterns) +
                               // pair 4 takes 511 bytes and is left out
                               filter_pair("Refusing last", "*.end");
  const std::string expected = refusing + decoder_pairs() + std::string(1, '\0');

  std::vector<char> buffer(2048, 'x');
  const std::size_t used = host_.build_plugin_filter(buffer);
  ASSERT_EQ(used, expected.size());
  EXPECT_EQ(std::string(buffer.data(), used), expected);
  EXPECT_EQ(buffer[used], 'x');

  // Exactly enough room.
  std::vector<char> exact(expected.size(), 'x');
  EXPECT_EQ(host_.build_plugin_filter(exact), expected.size());
  EXPECT_EQ(std::string(exact.data(), exact.size()), expected);
}

TEST_F(PluginHostTest, FilterDropsRestOfPluginThatDoesNotFit) {
  load();
  // Room for the refusing plug-in's first three pairs but not its 510-byte
  // pair: that and "Refusing last" are dropped, the decoder's pairs follow.
  const std::string first = refusing_short_pairs();
  const std::string expected = first + decoder_pairs() + std::string(1, '\0');
  std::vector<char> buffer(expected.size() + 100, 'x');
  const std::size_t used = host_.build_plugin_filter(buffer);
  ASSERT_EQ(used, expected.size());
  EXPECT_EQ(std::string(buffer.data(), used), expected);

  // One byte short of the decoder's second pair: it is dropped too.
  const std::string shorter = first + decoder_first_pair() + '\0';
  std::vector<char> tight(expected.size() - 1, 'x');
  EXPECT_EQ(host_.build_plugin_filter(tight), shorter.size());
  EXPECT_EQ(std::string(tight.data(), shorter.size()), shorter);
}

TEST_F(PluginHostTest, FilterInTinyBuffers) {
  load();
  std::vector<char> none;
  EXPECT_EQ(host_.build_plugin_filter(none), 0u);
  std::vector<char> one(1, 'x');
  EXPECT_EQ(host_.build_plugin_filter(one), 1u);
  EXPECT_EQ(one[0], '\0');
}

TEST_F(PluginHostTest, FreedRecordsLeaveLibrariesLoaded) {
  load();
  const std::string path = put(L"one.tst", tst_file('1', 1, 1, {1, 2, 3}));
  ASSERT_TRUE(host_.decode(path).has_value());
  const std::vector<HMODULE> modules = loaded_modules();
  host_.free_plugins();
  EXPECT_TRUE(host_.plugins().empty());
  EXPECT_FALSE(host_.decode(path).has_value());
  for (HMODULE module : modules) {
    wchar_t name[MAX_PATH] = {};
    EXPECT_GT(GetModuleFileNameW(module, name, MAX_PATH), 0u);
    FreeLibrary(module);
  }
}

// load_image with the real host: plug-ins first, the built-in reader after.
TEST_F(PluginHostTest, LoadImageFallsBackToBuiltInReaderForBitmapNamedPng) {
  load();
  const std::string path = put(L"really_a_bitmap.png", bmp_file());
  ImageEntry entry;
  const std::optional<Dib> dib = load_through_host(path, &entry);
  ASSERT_TRUE(dib.has_value());
  EXPECT_EQ(dib->width, 1);
  EXPECT_EQ(dib->height, 1);
  EXPECT_EQ(dib->bits_per_pixel, 24);
  EXPECT_EQ(dib->pixels, (Bytes{255, 255, 255, 0}));
  EXPECT_EQ(picture_calls(), (Calls{1, 1}));
}

TEST_F(PluginHostTest, LoadImageTakesPluginPictureAndProbedIndex) {
  load();
  const std::string path = put(L"indexed.png", png_file());
  ImageEntry entry;
  const std::optional<Dib> dib = load_through_host(path, &entry);
  ASSERT_TRUE(dib.has_value());
  EXPECT_EQ(dib->width, 2);
  EXPECT_EQ(dib->bits_per_pixel, 8);
  EXPECT_EQ(entry.settings.transparent_key, 2);  // from the PNG's tRNS, not the picture
  EXPECT_EQ(entry.colour_count, 1);              // only index 1 (white) is used
}

// The Susie folder is read from a registry value; the test uses a key of its
// own and removes it afterwards.
class SusieRegistryTest : public PluginHostTest {
 protected:
  static constexpr const wchar_t* kKey = L"Software\\Piconel\\PluginHostTest";

  void TearDown() override {
    RegDeleteKeyW(HKEY_CURRENT_USER, kKey);
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Piconel");
    PluginHostTest::TearDown();
  }

  void set_value(const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
    HKEY key = nullptr;
    ASSERT_EQ(
        RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
        ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), bytes),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }
};

TEST_F(SusieRegistryTest, ReadsFolderAndLoadsFromIt) {
  const std::string key = "Software\\Piconel\\PluginHostTest";
  EXPECT_FALSE(read_susie_plugin_folder(key).has_value());  // no key yet

  const std::wstring susie = root_ + L"plugin";
  set_value(L"Path", REG_SZ, susie.c_str(),
            static_cast<DWORD>((susie.size() + 1) * sizeof(wchar_t)));
  const std::optional<std::string> folder = read_susie_plugin_folder(key);
  ASSERT_TRUE(folder.has_value());
  EXPECT_EQ(*folder, root_narrow_ + "plugin");

  // Program folder, its plugin subfolder and the Susie folder (the same
  // subfolder again): refusing, decoder, decoder.
  const std::vector<std::string> folders = plugin_folders(root_narrow_, folder);
  ASSERT_EQ(folders.size(), 3u);
  EXPECT_EQ(host_.load_plugins_from(folders), 3);
}

TEST_F(SusieRegistryTest, NonStringOrEmptyValueGivesNoFolder) {
  const std::string key = "Software\\Piconel\\PluginHostTest";
  const DWORD number = 5;
  set_value(L"Path", REG_DWORD, &number, sizeof number);
  EXPECT_FALSE(read_susie_plugin_folder(key).has_value());
  const wchar_t empty[] = L"";
  set_value(L"Path", REG_SZ, empty, sizeof empty);
  EXPECT_FALSE(read_susie_plugin_folder(key).has_value());
  // A value stored without its terminator still reads correctly.
  const wchar_t bare[] = {L'C', L':', L'\\', L'x'};
  set_value(L"Path", REG_SZ, bare, sizeof bare);
  EXPECT_EQ(read_susie_plugin_folder(key), std::optional<std::string>("C:\\x"));
  EXPECT_FALSE(read_susie_plugin_folder(key, "Missing").has_value());
  // REG_EXPAND_SZ names its folder once expanded.
  ASSERT_TRUE(SetEnvironmentVariableW(L"PICONEL_SUSIE_TEST", L"C:\\susie"));
  const wchar_t expandable[] = L"%PICONEL_SUSIE_TEST%\\plugins";
  set_value(L"Path", REG_EXPAND_SZ, expandable, sizeof expandable);
  EXPECT_EQ(read_susie_plugin_folder(key), std::optional<std::string>("C:\\susie\\plugins"));
}

}  // namespace
}  // namespace piconel
