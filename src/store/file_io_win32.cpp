// The file-system boundary on Windows: CP932 paths become UTF-16 through code
// page 932 and go to the W functions.

#include <windows.h>

#include <cstdint>
#include <string>

#include "store/cp932.h"
#include "store/file_error.h"
#include "store/file_fault.h"
#include "store/file_io.h"
#include "store/handles_win32.h"
#include "store/native_file_io_win32.h"
#include "store/no_throw.h"
#include "store/wide_text.h"

namespace piconel {

namespace {

// Paths are converted strictly: a substitute character could name another
// file.
std::optional<std::wstring> wide_path(std::string_view path) {
  if (path.empty()) {
    return std::nullopt;
  }
  return to_wide_strict(path);
}

// A name that fits MAX_PATH as it is, or else the "\\?\" form of its full
// path, which the W functions accept at any length.
std::wstring usable_name(const std::wstring& name) {
  if (name.size() < MAX_PATH) {
    return name;
  }
  const DWORD needed = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
  if (needed == 0) {
    return name;
  }
  std::wstring full(needed, L'\0');
  const DWORD length = GetFullPathNameW(name.c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed) {
    return name;
  }
  full.resize(length);
  if (full.rfind(L"\\\\", 0) == 0) {
    return L"\\\\?\\UNC\\" + full.substr(2);
  }
  return L"\\\\?\\" + full;
}

// FindFirstFileW reports failure as INVALID_HANDLE_VALUE; FindClose ends a search.
struct FindSearch : handle_traits::File {
  static void close(Handle handle) { FindClose(handle); }
};

// Whether a test's injected fault fails this step of a write; the last
// error then says what a failing disk would.
bool step_fails(FileStep step) {
  if (!take_file_step(step)) {
    return false;
  }
  SetLastError(ERROR_WRITE_FAULT);
  return true;
}

bool write_all(HANDLE file, std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const std::size_t left = bytes.size() - done;
    const DWORD chunk = left > (DWORD{1} << 30) ? (DWORD{1} << 30) : static_cast<DWORD>(left);
    DWORD written = 0;
    if (const auto fault = take_file_step(FileStep::Write)) {
      if (*fault == FileFaultKind::ShortWrite) {
        static_cast<void>(WriteFile(file, bytes.data() + done, chunk / 2, &written, nullptr));
      }
      SetLastError(*fault == FileFaultKind::Error ? ERROR_WRITE_FAULT : ERROR_DISK_FULL);
      return false;
    }
    if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr)) {
      return false;
    }
    if (written == 0) {
      SetLastError(ERROR_DISK_FULL);  // nothing taken and no error: the usual cause
      return false;
    }
    done += written;
  }
  return true;
}

// Puts `temp` in the place of `target`. An existing file is replaced with
// ReplaceFileW, which keeps its security and streams; its attributes are
// put back should they be lost (Wine's ReplaceFileW drops them), so a hidden
// project stays hidden. A new file is a plain rename. Both stay on one
// volume, so the target is never seen half written.
bool replace_with(const std::wstring& temp, const std::wstring& target) {
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    return MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    // What the system says to a program writing onto a folder.
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  {
    // A target another program holds open cannot be replaced. Asking first
    // keeps a failing ReplaceFileW from leaving files of its own behind
    // (Wine's leaves a temporary one).
    const FileHandle probe(CreateFileW(target.c_str(), GENERIC_READ | DELETE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!probe.valid()) {
      return false;
    }
  }
  if (!ReplaceFileW(target.c_str(), temp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                    nullptr)) {
    // A file system without its support: the rename replaces the file too.
    return MoveFileExW(temp.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
  }
  if (GetFileAttributesW(target.c_str()) != attributes) {
    SetFileAttributesW(target.c_str(), attributes);
  }
  return true;
}

DWORD attributes_of(std::string_view path) {
  const std::optional<std::wstring> wide = wide_path(path);
  if (!wide) {
    return INVALID_FILE_ATTRIBUTES;
  }
  return GetFileAttributesW(usable_name(*wide).c_str());
}

}  // namespace

std::string native_path_for_display(std::string_view path) {
  return std::string(path);
}

FileBytes read_whole_file(std::string_view path, std::uint64_t max_bytes) {
  const std::optional<std::wstring> wide = wide_path(path);
  if (!wide) {
    return FileBytes{};
  }
  return read_whole_file_wide(*wide, max_bytes);
}

FileBytes read_whole_file_wide(const std::wstring& path, std::uint64_t max_bytes) {
  FileBytes result;
  if (path.empty()) {
    return result;
  }
  FileHandle file(CreateFileW(usable_name(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
      result.status = ReadStatus::NotFound;
    }
    return result;
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) {
    result.status = ReadStatus::ReadError;
    return result;
  }
  const auto file_size = static_cast<std::uint64_t>(size.QuadPart);
  if (file_size > max_bytes || file_size > SIZE_MAX / 2) {
    result.status = ReadStatus::TooLarge;
    return result;
  }
  if (!try_resize(result.bytes, static_cast<std::size_t>(file_size))) {
    result.status = ReadStatus::NoMemory;
    return result;
  }
  std::size_t done = 0;
  while (done < result.bytes.size()) {
    const std::size_t left = result.bytes.size() - done;
    const DWORD chunk = left > (DWORD{1} << 30) ? (DWORD{1} << 30) : static_cast<DWORD>(left);
    DWORD got = 0;
    if (!ReadFile(file.get(), result.bytes.data() + done, chunk, &got, nullptr) || got == 0) {
      result.bytes.clear();
      result.status = ReadStatus::ReadError;
      return result;
    }
    done += got;
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
  const std::optional<std::wstring> wide = wide_path(path);
  if (!wide) {
    set_last_file_error(ERROR_NO_UNICODE_TRANSLATION);
    return false;
  }
  return write_file_replacing_wide(*wide, parts, durability);
}

bool write_file_replacing_wide(const std::wstring& path,
                               std::span<const std::span<const std::uint8_t>> parts,
                               Durability durability) {
  if (path.empty() || path.back() == L'\\' || path.back() == L'/') {
    set_last_file_error(ERROR_ACCESS_DENIED);
    return false;
  }
  const std::wstring target = usable_name(path);
  // The temporary file sits beside the target so MoveFileExW replaces it in
  // one step on the same volume. CREATE_NEW never opens someone else's file;
  // a taken name moves on to the next number.
  const std::wstring stem = path + L".~" + std::to_wstring(GetCurrentProcessId()) + L"-";
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::wstring temp = usable_name(stem + std::to_wstring(attempt));
    if (step_fails(FileStep::Open)) {
      set_last_file_error(static_cast<int>(GetLastError()));
      return false;
    }
    FileHandle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
      if (GetLastError() == ERROR_FILE_EXISTS || GetLastError() == ERROR_ALREADY_EXISTS) {
        continue;
      }
      set_last_file_error(static_cast<int>(GetLastError()));
      return false;
    }
    bool ok = true;
    for (const std::span<const std::uint8_t> part : parts) {
      ok = ok && write_all(file.get(), part);
    }
    // On the disk before the rename: otherwise a crash or power loss after
    // the rename can leave an empty project in place of the old one.
    ok = ok && (durability == Durability::Unsynced ||
                (!step_fails(FileStep::Flush) && FlushFileBuffers(file.get()) != FALSE));
    // The first failure's reason: a later close may fail for the same cause.
    DWORD error = ok ? 0 : GetLastError();
    // A failed close means the bytes may not be on disk either.
    ok = CloseHandle(file.release()) != FALSE && !step_fails(FileStep::Close) && ok;
    ok = ok && !step_fails(FileStep::Rename) && replace_with(temp, target);
    if (!ok) {
      set_last_file_error(static_cast<int>(error != 0 ? error : GetLastError()));
      DeleteFileW(temp.c_str());
    }
    return ok;
  }
  set_last_file_error(ERROR_FILE_EXISTS);
  return false;
}

bool is_directory(std::string_view path) {
  const DWORD attributes = attributes_of(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool file_exists(std::string_view path) {
  const DWORD attributes = attributes_of(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

FolderListing list_folder(std::string_view folder) {
  FolderListing listing;
  const std::optional<std::wstring> wide = wide_path(folder);
  if (!wide) {
    return listing;
  }
  std::wstring pattern = *wide;
  if (pattern.back() != L'\\' && pattern.back() != L'/') {
    pattern += L'\\';
  }
  pattern += L'*';
  WIN32_FIND_DATAW found{};
  const ScopedHandle<FindSearch> search(FindFirstFileW(usable_name(pattern).c_str(), &found));
  if (!search) {
    // A folder always lists "." except a drive's root, which may say it is
    // empty this way.
    listing.ok = GetLastError() == ERROR_FILE_NOT_FOUND;
    return listing;
  }
  do {
    const std::wstring_view name = found.cFileName;
    if (name == L"." || name == L"..") {
      continue;
    }
    std::optional<std::string> cp932 = to_cp932_strict(name);
    if (!cp932) {
      ++listing.unnamed;
      continue;
    }
    const bool is_folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (!allocation_succeeds([&] { listing.items.push_back({std::move(*cp932), is_folder}); })) {
      listing.items.clear();
      return listing;
    }
  } while (FindNextFileW(search.get(), &found));
  listing.ok = GetLastError() == ERROR_NO_MORE_FILES;
  if (!listing.ok) {
    listing.items.clear();
  }
  return listing;
}

bool make_directories(std::string_view path) {
  // Each prefix ending before a separator (outside double-byte characters),
  // then the whole path. Prefixes such as "C:" or a share name cannot be made
  // and need not be: only the final check counts.
  DWORD error = 0;
  for (std::size_t pos = 0; pos <= path.size(); ++pos) {
    if (pos < path.size()) {
      const auto byte = static_cast<unsigned char>(path[pos]);
      if (is_cp932_lead_byte(byte) && pos + 1 < path.size()) {
        ++pos;  // the trail byte may be 0x5C and is not a separator
        continue;
      }
      if (path[pos] != '\\' && path[pos] != '/') {
        continue;
      }
    }
    if (pos == 0) {
      continue;
    }
    const std::string_view prefix = path.substr(0, pos);
    if (is_directory(prefix)) {
      continue;
    }
    const std::optional<std::wstring> wide = wide_path(prefix);
    if (!wide) {
      set_last_file_error(ERROR_NO_UNICODE_TRANSLATION);
      return false;
    }
    if (!CreateDirectoryW(usable_name(*wide).c_str(), nullptr)) {
      error = GetLastError();
    }
  }
  if (is_directory(path)) {
    return true;
  }
  // The last refusal says why (a file of that name: "already exists").
  set_last_file_error(static_cast<int>(error != 0 ? error : ERROR_PATH_NOT_FOUND));
  return false;
}

}  // namespace piconel
