// Decoding a file through the Susie plug-ins: the whole file goes to
// GetPicture as a memory buffer, and the two local-memory blocks it returns
// are checked (accept_decoder_answer), turned into a picture and released.

#include <windows.h>

#include <limits>
#include <memory>

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

int WINAPI keep_going(int, int, LONG_PTR) noexcept {
  return 0;
}

struct LocalCloser {
  void operator()(HLOCAL block) const { LocalFree(block); }
};
// A block handed over by the plug-in: the caller owns it after a successful
// GetPicture and releases it with LocalFree.
using LocalBlock = std::unique_ptr<void, LocalCloser>;

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

// Checks the plug-in's BITMAPINFO and pixel array in place, each block read
// within the size LocalSize reports, and builds the picture from them.
std::optional<Dib> accept_blocks(HLOCAL info_handle, HLOCAL bits_handle) {
  const LocalLockGuard info(info_handle);
  const LocalLockGuard bits(bits_handle);
  if (info.data() == nullptr || bits.data() == nullptr) {
    return std::nullopt;
  }
  return accept_decoder_answer(std::span<const std::uint8_t>(info.data(), LocalSize(info_handle)),
                               std::span<const std::uint8_t>(bits.data(), LocalSize(bits_handle)));
}

// Runs one plug-in on the file's bytes. The returned blocks are released on
// every path once GetPicture has reported success; after a failure they are
// not the caller's to free.
std::optional<Dib> decode_with(const Plugin& plugin, const std::vector<std::uint8_t>& file) {
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
  if (!info_block || !bits_block) {
    return std::nullopt;
  }
  return accept_blocks(info_block.get(), bits_block.get());
}

}  // namespace

std::optional<DecodedPicture> PluginHost::decode(std::string_view path) const {
  const std::string_view extension = extension_of(path);
  if (extension.empty()) {
    return std::nullopt;
  }
  for (const Plugin& plugin : plugins_) {
    if (!plugin_claims_extension(plugin, extension)) {
      continue;
    }
    // Each claiming plug-in gets a fresh read; a file that cannot be read or
    // is empty moves on to the next plug-in.
    const FileBytes file = read_whole_file(path);
    if (file.status != ReadStatus::Ok || file.bytes.empty() ||
        file.bytes.size() > static_cast<std::uint64_t>(std::numeric_limits<LONG_PTR>::max())) {
      continue;
    }
    std::optional<Dib> dib = decode_with(plugin, file.bytes);
    if (!dib) {
      continue;
    }
    // Plug-ins say nothing about transparency; paletted PNG and GIF files
    // carry it in their own bytes.
    return DecodedPicture{std::move(*dib), probe_transparent_index(path, file.bytes)};
  }
  return std::nullopt;
}

}  // namespace piconel
