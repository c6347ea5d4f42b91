#pragma once

// The Susie image plug-in host: finds plug-in libraries at start-up, keeps one
// record per library in load order, decodes files through them by extension
// and lists their file types for the open-file dialog.
//
// The pure rules (the version check, extension patterns, the folder list, the
// open-file filter text) live in plugin_rules.cpp and are built everywhere; the library handling
// lives in plugin_*_win32.cpp and exists only on Windows. The declarations stay free of OS headers:
// the module handle is an opaque pointer and entry points are kept as a generic function pointer
// that the Windows side casts back to the plug-in signatures.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "image/picture_decoder.h"

namespace piconel {

// Registry key (under HKEY_CURRENT_USER) whose value "Path" names the plug-in
// folder of an installed Susie viewer.
inline constexpr std::string_view kSusiePluginKey = "Software\\Takechin\\Susie\\Plug-in";
inline constexpr std::string_view kSusiePluginValue = "Path";

// Extension of the plug-in libraries loaded: "*.spi" in 32-bit builds, "*.sph"
// in 64-bit builds (the 64-bit form of the same interface: the same calls,
// with pointer-sized length and user-data arguments).
inline constexpr std::string_view kPluginLibraryExtension = sizeof(void*) == 8 ? ".sph" : ".spi";

// Name of the program folder's subfolder that holds plug-ins.
inline constexpr std::string_view kPluginSubfolder = "plugin";

// Longest text kept from one GetPluginInfo answer: the host offers 256-byte
// buffers, so a text holds at most 255 bytes before its terminator.
inline constexpr std::size_t kPluginInfoBytes = 256;

// A pair whose description and pattern list with their terminators take more
// bytes than this is left out of the open-file filter.
inline constexpr std::size_t kMaxFilterPairBytes = 510;

// Entry points looked up in every plug-in, in this order. Only GetPluginInfo
// and GetPicture are ever called; the others are recorded for completeness.
enum class PluginEntry : std::size_t {
  GetPluginInfo,
  IsSupported,
  GetPictureInfo,
  GetPicture,
  GetPreview,
  GetArchiveInfo,
  GetFileInfo,
  GetFile,
  ConfigurationDlg,
};
inline constexpr std::size_t kPluginEntryCount = 9;
inline constexpr std::array<std::string_view, kPluginEntryCount> kPluginEntryNames = {
    "GetPluginInfo",  "IsSupported", "GetPictureInfo", "GetPicture",      "GetPreview",
    "GetArchiveInfo", "GetFileInfo", "GetFile",        "ConfigurationDlg"};

// Generic form of a library export (what GetProcAddress gives), cast back to
// the plug-in's real signature at the call; empty when the export is absent.
using PluginEntryPoint = void (*)();

// One extension pair of a plug-in.
struct PluginPair {
  std::string patterns;     // info 2n + 2, e.g. "*.jpg;*.jpeg" (CP932)
  std::string description;  // info 2n + 3, e.g. "JPEG file" (CP932)
};

// One loaded library.
struct Plugin {
  void* module = nullptr;   // HMODULE; the library stays loaded until the process ends
  std::string module_path;  // full path (CP932)
  std::string file_name;    // module_path without its folder
  char kind = 0;            // fourth character of the version string ('N' for "00IN")
  std::int32_t pair_count = 0;
  std::string about;  // info 1: name, version and copyright
  std::array<PluginEntryPoint, kPluginEntryCount> entry_points{};
  std::vector<PluginPair> pairs;  // pair_count entries, read once at load time

  PluginEntryPoint entry(PluginEntry which) const {
    return entry_points[static_cast<std::size_t>(which)];
  }
};

// True for the version string of a single-file image filter: at least four
// characters returned, beginning with "00", third character 'I', fourth not
// 'M' ("00IN" passes; "00AM", "00IM", "01IN" do not). `text` is the buffer as
// the plug-in left it, `returned` the count GetPluginInfo reported.
[[nodiscard]] bool is_image_filter_version(std::string_view text, int returned);

// The text of one GetPluginInfo answer left in `buffer`: up to the first zero
// byte, and at most buffer.size() - 1 bytes when the plug-in wrote no zero.
[[nodiscard]] std::string_view plugin_info_text(std::span<const char> buffer);

// True when one of the patterns in `patterns` equals `extension` (dot
// included) without regard to ASCII case. Every '.' in the text starts a
// pattern that ends before the next ';' or at the end, so "*.jpg;*.jpeg"
// holds ".jpg" and ".jpeg". A '.' or ';' byte inside a double-byte character
// is no separator. An empty extension matches nothing.
[[nodiscard]] bool patterns_match_extension(std::string_view patterns, std::string_view extension);

// True when any pair of `plugin` has a pattern equal to `extension`.
[[nodiscard]] bool plugin_claims_extension(const Plugin& plugin, std::string_view extension);

// `folder` with a backslash added when its last character is not already a
// separator ('\\' or '/'; the trail byte of ソ or 表 is not one).
[[nodiscard]] std::string with_folder_separator(std::string_view folder);

// The folders searched for plug-ins, in order: the program folder, its
// subfolder "plugin", then `susie_folder` when given and not empty. Each
// returned folder ends in a separator (with_folder_separator).
[[nodiscard]] std::vector<std::string> plugin_folders(
    std::string_view program_folder, const std::optional<std::string>& susie_folder);

// Writes the open-file filter of `plugins` into `buffer`: for each pair the
// description and the pattern list, each followed by a zero byte, and a
// closing zero byte. Pairs longer than kMaxFilterPairBytes are skipped; when
// a pair does not fit in the rest of the buffer, that plug-in's remaining
// pairs are dropped and the next plug-in is tried. Returns the number of
// bytes written including the closing zero (0 for an empty buffer).
[[nodiscard]] std::size_t build_plugin_filter(std::span<const Plugin> plugins,
                                              std::span<char> buffer);

// The decoder part of the add-image filter: the pairs of `plugins` as
// build_plugin_filter writes them, followed by the built-in decoders' pairs
// (kBuiltInPairs), which are listed after the plug-ins as they are tried
// after them. Same buffer rules and result as build_plugin_filter.
[[nodiscard]] std::size_t build_decoder_filter(std::span<const Plugin> plugins,
                                               std::span<char> buffer);

class PluginHost final : public PictureDecoder {
 public:
  PluginHost() = default;
  PluginHost(const PluginHost&) = delete;
  PluginHost& operator=(const PluginHost&) = delete;
  ~PluginHost() override = default;

  // Start-up: loads every plug-in of plugin_folders(program_folder, ...),
  // adding the Susie viewer's folder from the registry when
  // `search_susie_folder` is set. Returns the number of plug-ins loaded.
  int load_plugins(std::string_view program_folder, bool search_susie_folder);

  // Loads every "*.spi" (32-bit) or "*.sph" (64-bit) file of each folder, in
  // folder order and, within a folder, in the order the directory listing
  // gives. Directories, names whose extension only matches through their
  // 8.3 short name, and names without a CP932 form are skipped. The same
  // library in two folders loads twice. Returns the number of plug-ins loaded.
  int load_plugins_from(std::span<const std::string> folders);

  // Loads one library and appends its record when it answers as an image
  // filter (is_image_filter_version). A library that does not load, lacks
  // GetPluginInfo or has the wrong version is released and skipped (false).
  // Pairs are counted until GetPluginInfo answers 0, at most 1024 of them.
  bool load_plugin(std::string_view path);

  // Tries the plug-ins whose patterns match the extension of `path`, in load
  // order, each with the whole file in memory. The first plug-in whose
  // answer accept_decoder_answer takes gives the picture (its info block read
  // whole, so a V4 or V5 header keeps its masks); PNG and GIF files are then
  // probed for their transparent palette index. A plug-in that fails, or
  // whose answer is refused (missing handles, a malformed or compressed
  // header, a palette longer than the depth allows, a side above
  // kMaxBitmapSide, a pixel block smaller than stride x height), passes the
  // file to the next plug-in; the rest of its own pairs are not tried. None
  // when no plug-in decodes the file.
  std::optional<DecodedPicture> decode(std::string_view path) const override;
  [[nodiscard]] bool thread_safe() const override { return plugins_.empty(); }

  // The open-file filter of all loaded plug-ins (the free
  // build_plugin_filter over plugins()).
  std::size_t build_plugin_filter(std::span<char> buffer) const {
    return piconel::build_plugin_filter(plugins_, buffer);
  }

  // The add-image filter of the loaded plug-ins and the built-in decoders
  // (the free build_decoder_filter over plugins()).
  std::size_t build_decoder_filter(std::span<char> buffer) const {
    return piconel::build_decoder_filter(plugins_, buffer);
  }

  // Shut-down: forgets every record. The libraries stay loaded.
  void free_plugins();

  const std::vector<Plugin>& plugins() const { return plugins_; }

 private:
  std::vector<Plugin> plugins_;
};

// The Susie viewer's plug-in folder from the registry value `value_name` of
// HKEY_CURRENT_USER\`key` (CP932), or none when the key or value is missing,
// not a string, or empty. Windows only.
std::optional<std::string> read_susie_plugin_folder(
    std::string_view key = kSusiePluginKey, std::string_view value_name = kSusiePluginValue);

}  // namespace piconel
