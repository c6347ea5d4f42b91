// The file-system boundary on Linux: CP932 paths in Windows form become UTF-8
// POSIX names; files are read with open/read and replaced through mkstemp and
// rename.

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

#include "store/cp932.h"
#include "store/file_error.h"
#include "store/file_fault.h"
#include "store/file_io.h"
#include "store/iconv_posix.h"
#include "store/native_path_posix.h"
#include "store/no_throw.h"

namespace piconel {

namespace {

// Owns one file descriptor.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() { close(); }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  bool valid() const { return fd_ >= 0; }
  int get() const { return fd_; }
  // Closes now; false when close itself reports an error (a late write
  // failure on some file systems).
  bool close() {
    if (fd_ < 0) {
      return true;
    }
    const int result = ::close(fd_);
    fd_ = -1;
    return result == 0;
  }

 private:
  int fd_;
};

std::optional<std::string> cp932_to_utf8(std::string text) {
  // ASCII reads the same in both encodings; most paths are ASCII, and the
  // output run converts one path for every image it reads.
  if (std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; })) {
    return text;
  }
  return iconv_convert("UTF-8", "CP932", text);
}

// fsync of the folder holding `native_file`, so a rename into it survives a
// crash. Best effort: the file itself is already safe, and some file systems
// refuse to sync a folder.
void sync_folder_of(const std::string& native_file) {
  const std::size_t slash = native_file.rfind('/');
  const std::string folder =
      slash == std::string::npos ? "." : (slash == 0 ? "/" : native_file.substr(0, slash));
  FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.valid()) {
    static_cast<void>(::fsync(fd.get()));
  }
}

// umask can only be read by setting it, which is not safe while other threads
// create files (the command line writes pages on several); it is read once,
// by the first writer, and taken to stay as it was at start.
mode_t process_umask() {
  static const mode_t mask = [] {
    const mode_t read = ::umask(0);
    ::umask(read);
    return read;
  }();
  return mask;
}

bool stat_path(std::string_view path, struct stat& info) {
  const std::optional<std::string> native = native_path(path);
  return native && ::stat(native->c_str(), &info) == 0;
}

// Whether a test's injected fault fails this step of a write; errno then
// says what a failing disk would.
bool step_fails(FileStep step) {
  if (!take_file_step(step)) {
    return false;
  }
  errno = EIO;
  return true;
}

// The stack buffer a file is first read into; pictures of a few kilobytes
// fit, with room to spare.
constexpr std::size_t kFirstReadBytes = 32 * 1024;

// One read, again when a signal interrupts it before anything is read.
ssize_t read_some(int fd, std::uint8_t* into, std::size_t size) {
  for (;;) {
    const ssize_t got = ::read(fd, into, size);
    if (got >= 0 || errno != EINTR) {
      return got;
    }
  }
}

bool write_all(int fd, std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    if (const auto fault = take_file_step(FileStep::Write)) {
      if (*fault == FileFaultKind::ShortWrite) {
        const std::size_t half = (bytes.size() - done) / 2;
        static_cast<void>(::write(fd, bytes.data() + done, half));
      }
      errno = *fault == FileFaultKind::Error ? EIO : ENOSPC;
      return false;
    }
    const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    if (written == 0) {
      errno = ENOSPC;  // nothing taken and no error: the usual cause
      return false;
    }
    done += static_cast<std::size_t>(written);
  }
  return true;
}

}  // namespace

std::optional<std::string> native_path(std::string_view cp932_path) {
  if (cp932_path.empty()) {
    return std::nullopt;
  }
  std::string path(cp932_path);
  for (std::size_t pos = 0; pos < path.size(); ++pos) {
    if (is_cp932_lead_byte(static_cast<unsigned char>(path[pos]))) {
      ++pos;  // the trail byte may be 0x5C and is not a separator
    } else if (path[pos] == '\\') {
      path[pos] = '/';
    }
  }
  if (path.size() >= 2 && (path[0] == 'Z' || path[0] == 'z') && path[1] == ':') {
    path.erase(0, 2);
    if (path.empty() || path[0] != '/') {
      path.insert(path.begin(), '/');
    }
  }
  return cp932_to_utf8(std::move(path));
}

std::string native_path_for_display(std::string_view path) {
  return native_path(path).value_or(std::string());
}

FileBytes read_whole_file(std::string_view path, std::uint64_t max_bytes) {
  FileBytes result;
  const std::optional<std::string> native = native_path(path);
  if (!native) {
    return result;
  }
  FileDescriptor fd(::open(native->c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.valid()) {
    if (errno == ENOENT || errno == ENOTDIR) {
      result.status = ReadStatus::NotFound;
    }
    return result;
  }
  // Most files read are small (the pictures of an output run, thousands of
  // them): read whole into a buffer on the stack, they need no size query and
  // no cleared buffer of their own. One byte past the limit is asked for, so
  // a file over it is told without reading more.
  std::array<std::uint8_t, kFirstReadBytes> first;  // not cleared: read into
  const std::size_t ask =
      max_bytes < first.size() ? static_cast<std::size_t>(max_bytes) + 1 : first.size();
  std::size_t got = 0;
  while (got < ask) {
    const ssize_t part = read_some(fd.get(), first.data() + got, ask - got);
    if (part < 0) {
      // A folder opens on POSIX but cannot be read, as on Windows it cannot
      // be opened as a file.
      result.status = errno == EISDIR ? ReadStatus::CannotOpen : ReadStatus::ReadError;
      return result;
    }
    if (part == 0) {
      break;
    }
    got += static_cast<std::size_t>(part);
  }
  if (got > max_bytes) {
    result.status = ReadStatus::TooLarge;
    return result;
  }
  if (got < ask) {
    if (!allocation_succeeds([&] { result.bytes.assign(first.data(), first.data() + got); })) {
      result.status = ReadStatus::NoMemory;
      return result;
    }
    result.status = ReadStatus::Ok;
    return result;
  }
  // A larger file: its size is checked against the limit before its buffer
  // is allocated. It is read up to that size (one that shrank meanwhile
  // fails, one that grew is read as it was), never less than already read.
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) {
    result.status = ReadStatus::ReadError;
    return result;
  }
  if (info.st_size < 0 || static_cast<std::uint64_t>(info.st_size) > max_bytes ||
      static_cast<std::uint64_t>(info.st_size) > SIZE_MAX / 2) {
    result.status = ReadStatus::TooLarge;
    return result;
  }
  const std::size_t size = std::max(static_cast<std::size_t>(info.st_size), got);
  if (!try_resize(result.bytes, size)) {
    result.status = ReadStatus::NoMemory;
    return result;
  }
  std::copy(first.data(), first.data() + got, result.bytes.data());
  while (got < size) {
    const ssize_t part = read_some(fd.get(), result.bytes.data() + got, size - got);
    if (part <= 0) {
      result.bytes.clear();
      result.status = ReadStatus::ReadError;
      return result;
    }
    got += static_cast<std::size_t>(part);
  }
  result.status = ReadStatus::Ok;
  return result;
}

bool write_file_replacing(std::string_view path, std::span<const std::uint8_t> bytes,
                          Durability durability) {
  return write_file_replacing_parts(path, {&bytes, 1}, durability);
}

bool write_file_replacing_parts(std::string_view path,
                                std::span<const std::span<const std::uint8_t>> parts,
                                Durability durability) {
  const std::optional<std::string> native = native_path(path);
  if (!native || native->back() == '/') {
    set_last_file_error(native ? EISDIR : EILSEQ);
    return false;
  }
  // The temporary file sits beside the target so the rename stays within one
  // file system and replaces the target in one step.
  std::string temp_name = *native + ".XXXXXX";
  FileDescriptor fd(step_fails(FileStep::Open) ? -1 : ::mkstemp(temp_name.data()));
  if (!fd.valid()) {
    set_last_file_error(errno);
    return false;
  }
  // mkstemp creates the file 0600: give it the target's permissions, or for
  // a new file the mode a plain create would.
  struct stat target {};
  const mode_t mode =
      ::stat(native->c_str(), &target) == 0 ? (target.st_mode & 07777) : (0666 & ~process_umask());
  bool ok = ::fchmod(fd.get(), mode) == 0;
  for (const std::span<const std::uint8_t> part : parts) {
    ok = ok && write_all(fd.get(), part);
  }
  // On the disk before the rename, and the rename itself recorded in the
  // folder: otherwise a crash can leave an empty file in place of the old.
  const bool synced = durability == Durability::Synced;
  ok = ok && (!synced || (!step_fails(FileStep::Flush) && ::fsync(fd.get()) == 0));
  // The first failure's reason: a later close may fail for the same cause.
  int error = ok ? 0 : errno;
  ok = fd.close() && !step_fails(FileStep::Close) && ok;
  ok = ok && !step_fails(FileStep::Rename) && ::rename(temp_name.c_str(), native->c_str()) == 0;
  if (!ok) {
    set_last_file_error(error != 0 ? error : errno);
    ::unlink(temp_name.c_str());
    return false;
  }
  if (synced) {
    sync_folder_of(*native);
  }
  return true;
}

bool is_directory(std::string_view path) {
  struct stat info {};
  return stat_path(path, info) && S_ISDIR(info.st_mode);
}

bool file_exists(std::string_view path) {
  struct stat info {};
  return stat_path(path, info) && !S_ISDIR(info.st_mode);
}

FolderListing list_folder(std::string_view folder) {
  FolderListing listing;
  const std::optional<std::string> native = native_path(folder);
  if (!native) {
    return listing;
  }
  const std::unique_ptr<DIR, int (*)(DIR*)> directory(::opendir(native->c_str()), ::closedir);
  if (!directory) {
    return listing;
  }
  while (const dirent* item = ::readdir(directory.get())) {
    const std::string_view name = item->d_name;
    if (name == "." || name == "..") {
      continue;
    }
    std::optional<std::string> cp932 = iconv_convert("CP932", "UTF-8", name);
    if (!cp932) {
      ++listing.unnamed;
      continue;
    }
    // d_type is not filled on every file system; stat decides then.
    bool is_folder = item->d_type == DT_DIR;
    if (item->d_type == DT_UNKNOWN || item->d_type == DT_LNK) {
      struct stat info {};
      is_folder =
          ::stat((*native + "/" + std::string(name)).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    }
    if (!allocation_succeeds([&] { listing.items.push_back({std::move(*cp932), is_folder}); })) {
      listing.items.clear();
      return listing;
    }
  }
  listing.ok = true;
  return listing;
}

bool make_directories(std::string_view path) {
  const std::optional<std::string> native = native_path(path);
  if (!native) {
    set_last_file_error(EILSEQ);
    return false;
  }
  const std::string& full = *native;
  // Create every prefix that ends before a separator, then the whole path.
  // A prefix that exists passes; should it be a file, the next one fails
  // with ENOTDIR, and the whole path being a file keeps its EEXIST.
  int error = 0;
  for (std::size_t pos = 1; pos <= full.size(); ++pos) {
    if (pos < full.size() && full[pos] != '/') {
      continue;
    }
    const std::string prefix = full.substr(0, pos);
    if (::mkdir(prefix.c_str(), 0777) != 0) {
      error = errno;
      if (error != EEXIST) {
        set_last_file_error(error);
        return false;
      }
    }
  }
  struct stat info {};
  if (::stat(full.c_str(), &info) != 0) {
    set_last_file_error(errno);
    return false;
  }
  if (!S_ISDIR(info.st_mode)) {
    set_last_file_error(error != 0 ? error : ENOTDIR);
    return false;
  }
  return true;
}

}  // namespace piconel
