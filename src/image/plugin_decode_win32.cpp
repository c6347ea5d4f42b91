// Decoding a file through the Susie plug-ins: the whole file goes to
// GetPicture as a memory buffer, and the two local-memory blocks it returns
// are checked, copied out and released.

#include <windows.h>

#include <cstring>
#include <limits>

#include "image/plugin_host.h"
#include "image/transparency_probe.h"
#include "store/cp932.h"
#include "store/file_io.h"

namespace piconel {

namespace {

// GetPicture's progress callback: (done, total, user data); nonzero asks the
// plug-in to stop.
using ProgressCallback = int(WINAPI*)(int done, int total, LONG_PTR data);
// The 32-bit interface declares `len` and `lData` as long; LONG_PTR is the
// same type there and pointer-sized in the 64-bit interface.
using GetPictureFunction = int(WINAPI*)(LPCSTR buffer, LONG_PTR length, unsigned int flag,
                                        HANDLE* info_handle, HANDLE* bits_handle,
                                        ProgressCallback progress, LONG_PTR data);

// Bit 0..2 of `flag`: 1 = `buffer` holds the file's bytes, `length` their count.
constexpr unsigned int kInputIsMemory = 1;
constexpr int kSpiAllRight = 0;
constexpr std::size_t kInfoHeaderBytes = 40;
constexpr std::uint32_t kBiBitfields = 3;

int WINAPI keep_going(int, int, LONG_PTR) {
  return 0;
}

// A block handed over by the plug-in: the caller owns it after a successful
// GetPicture and releases it with LocalFree.
class LocalBlock {
 public:
  explicit LocalBlock(HLOCAL handle) : handle_(handle) {}
  LocalBlock(const LocalBlock&) = delete;
  LocalBlock& operator=(const LocalBlock&) = delete;
  ~LocalBlock() {
    if (handle_ != nullptr) {
      LocalFree(handle_);
    }
  }
  HLOCAL get() const { return handle_; }

 private:
  HLOCAL handle_;
};

// LocalLock / LocalUnlock. Declared after its LocalBlock so it unlocks first.
class LocalLockGuard {
 public:
  explicit LocalLockGuard(HLOCAL handle)
      : handle_(handle), data_(handle != nullptr ? LocalLock(handle) : nullptr) {}
  LocalLockGuard(const LocalLockGuard&) = delete;
  LocalLockGuard& operator=(const LocalLockGuard&) = delete;
  ~LocalLockGuard() {
    if (data_ != nullptr) {
      LocalUnlock(handle_);
    }
  }
  const std::uint8_t* data() const { return static_cast<const std::uint8_t*>(data_); }

 private:
  HLOCAL handle_;
  void* data_;
};

std::uint32_t u32_at(const std::uint8_t* bytes, std::size_t offset) {
  return static_cast<std::uint32_t>(bytes[offset]) |
         (static_cast<std::uint32_t>(bytes[offset + 1]) << 8) |
         (static_cast<std::uint32_t>(bytes[offset + 2]) << 16) |
         (static_cast<std::uint32_t>(bytes[offset + 3]) << 24);
}

std::uint16_t u16_at(const std::uint8_t* bytes, std::size_t offset) {
  return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

bool is_dib_depth(std::uint32_t bits) {
  return bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Copies the plug-in's BITMAPINFO and pixel array after checking that each
// block holds what its header claims: the 40-byte header and its colour
// table (biClrUsed entries, or 2^depth when that is 0 for depths up to 8, at
// most 256; three masks more for BI_BITFIELDS), and stride x |height| pixel
// bytes. None for anything else, so no reader ever passes the blocks' ends.
std::optional<DecodedPicture> copy_picture(HLOCAL info_handle, HLOCAL bits_handle) {
  const LocalLockGuard info(info_handle);
  const LocalLockGuard bits(bits_handle);
  if (info.data() == nullptr || bits.data() == nullptr) {
    return std::nullopt;
  }
  const std::size_t info_size = LocalSize(info_handle);
  const std::size_t bits_size = LocalSize(bits_handle);
  if (info_size < kInfoHeaderBytes) {
    return std::nullopt;
  }
  const auto width = static_cast<std::int32_t>(u32_at(info.data(), 4));
  const auto height = static_cast<std::int32_t>(u32_at(info.data(), 8));
  const std::uint32_t depth = u16_at(info.data(), 14);
  const std::uint32_t compression = u32_at(info.data(), 16);
  const std::uint32_t colours_used = u32_at(info.data(), 32);
  if (width <= 0 || height == 0 || !is_dib_depth(depth)) {
    return std::nullopt;
  }

  std::uint64_t table_entries = colours_used;
  if (table_entries == 0 && depth <= 8) {
    table_entries = std::uint64_t{1} << depth;
  }
  if (table_entries > 256) {
    table_entries = 256;
  }
  std::uint64_t table_bytes = table_entries * 4;
  if (compression == kBiBitfields) {
    table_bytes += 12;
  }
  const std::uint64_t info_bytes = kInfoHeaderBytes + table_bytes;
  if (info_bytes > info_size) {
    return std::nullopt;
  }

  // Rows are padded to 4 bytes: ceil(width * depth / 32) * 4.
  const std::uint64_t row_bits = static_cast<std::uint64_t>(width) * depth;
  const std::uint64_t stride = (row_bits + 31) / 32 * 4;
  const std::int64_t signed_rows = height;
  const auto rows = static_cast<std::uint64_t>(signed_rows < 0 ? -signed_rows : signed_rows);
  if (rows > std::numeric_limits<std::uint64_t>::max() / stride) {
    return std::nullopt;
  }
  const std::uint64_t pixel_bytes = stride * rows;
  if (pixel_bytes > bits_size) {
    return std::nullopt;
  }

  DecodedPicture picture;
  picture.bitmap_info.assign(info.data(), info.data() + info_bytes);
  picture.pixels.assign(bits.data(), bits.data() + pixel_bytes);
  return picture;
}

// Runs one plug-in on the file's bytes. The returned blocks are released on
// every path once GetPicture has reported success; after a failure they are
// not the caller's to free.
std::optional<DecodedPicture> decode_with(const Plugin& plugin,
                                          const std::vector<std::uint8_t>& file) {
  const auto get_picture =
      reinterpret_cast<GetPictureFunction>(plugin.entry(PluginEntry::GetPicture));
  if (get_picture == nullptr) {
    return std::nullopt;
  }
  HANDLE info_handle = nullptr;
  HANDLE bits_handle = nullptr;
  const int result =
      get_picture(reinterpret_cast<LPCSTR>(file.data()), static_cast<LONG_PTR>(file.size()),
                  kInputIsMemory, &info_handle, &bits_handle, keep_going, 0);
  if (result != kSpiAllRight) {
    return std::nullopt;
  }
  if (info_handle != nullptr && info_handle == bits_handle) {
    // One block cannot be both; free it once rather than twice.
    const LocalBlock only_block(info_handle);
    return std::nullopt;
  }
  const LocalBlock info_block(info_handle);
  const LocalBlock bits_block(bits_handle);
  if (info_block.get() == nullptr || bits_block.get() == nullptr) {
    return std::nullopt;
  }
  return copy_picture(info_block.get(), bits_block.get());
}

}  // namespace

std::optional<DecodedPicture> PluginHost::decode(std::string_view path) const {
  const std::string_view extension = extension_of(path);
  if (extension.empty()) {
    return std::nullopt;
  }
  for (const Plugin& plugin : plugins_) {
    bool claimed = false;
    for (const PluginPair& pair : plugin.pairs) {
      if (patterns_match_extension(pair.patterns, extension)) {
        claimed = true;
        break;
      }
    }
    if (!claimed) {
      continue;
    }
    // Each claiming plug-in gets a fresh read; a file that cannot be read or
    // is empty moves on to the next plug-in.
    const FileBytes file = read_whole_file(path);
    if (file.status != ReadStatus::Ok || file.bytes.empty() ||
        file.bytes.size() > static_cast<std::uint64_t>(std::numeric_limits<LONG_PTR>::max())) {
      continue;
    }
    std::optional<DecodedPicture> picture = decode_with(plugin, file.bytes);
    if (!picture) {
      continue;
    }
    // Plug-ins say nothing about transparency; paletted PNG and GIF files
    // carry it in their own bytes.
    picture->probed_transparent_index = probe_transparent_index(path, file.bytes);
    return picture;
  }
  return std::nullopt;
}

}  // namespace piconel
