// Whole-file operations of the document store: the text format's loader and
// writer, load, save and clear.

#include "store/document_store.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>

#include "store/file_io.h"

namespace piconel {

namespace {

constexpr std::size_t kMaxPathBytes = 259;

std::string cut_path(std::string_view path) {
  return std::string(path.substr(0, kMaxPathBytes));
}

// A line's content runs over TAB and every byte from 0x20 up; any other byte
// is its terminator.
bool is_content_byte(unsigned char byte) {
  return byte == '\t' || byte >= 0x20;
}

}  // namespace

void DocumentStore::clear() {
  sections_.clear();
  path_.clear();
  current_ = nullptr;
}

bool DocumentStore::load(std::string_view path, bool missing_ok) {
  // Taken before clear(): `path` may be a view of path_ itself (a reload).
  std::string recorded = cut_path(path);
  clear();
  line_count_ = 0;
  path_ = std::move(recorded);

  FileBytes file = read_whole_file(path_);
  if (file.status == ReadStatus::NotFound) {
    return missing_ok;
  }
  if (file.status != ReadStatus::Ok) {
    // A file that exists but cannot be opened (access denied, locked), a
    // short read or a file too large to hold: never "missing", so a caller
    // does not go on with defaults and later save over the real file. The
    // store stays empty and keeps its path.
    return false;
  }
  const std::string_view text(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size());
  if (!parse(text)) {
    path_.clear();
    return false;
  }
  return true;
}

bool DocumentStore::parse(std::string_view text) {
  sections_.clear();
  current_ = nullptr;
  line_count_ = 0;

  const std::size_t size = text.size();
  // The loaded text is followed by one NUL byte; every read past the end sees
  // it, so no read ever leaves `text`.
  auto byte_at = [&](std::size_t pos) -> unsigned char {
    return pos < size ? static_cast<unsigned char>(text[pos]) : 0;
  };
  auto fail = [&] {
    sections_.clear();
    current_ = nullptr;
    return false;
  };

  if (byte_at(0) == 0) {
    return true;
  }

  StoreSection* target = nullptr;
  std::size_t start = 0;
  for (;;) {
    ++line_count_;
    std::size_t end = start;
    while (end < size && is_content_byte(static_cast<unsigned char>(text[end]))) {
      ++end;
    }
    const std::string_view content = text.substr(start, end - start);

    if (content.size() >= 2 && content.front() == '[' && content.back() == ']') {
      sections_.push_back(StoreSection{std::string(content.substr(1, content.size() - 2)), {}});
      target = &sections_.back();
    } else if (target == nullptr) {
      return fail();
    } else if (!content.empty()) {
      // A '=' counts only before the first TAB, the one byte below 0x20 a
      // line may hold.
      const std::size_t tab = content.find('\t');
      const std::size_t equals = content.substr(0, tab).find('=');
      if (equals != std::string_view::npos) {
        target->entries.push_back(StoreEntry{std::string(content.substr(0, equals)),
                                             std::string(content.substr(equals + 1))});
      } else {
        target->entries.push_back(StoreEntry{std::nullopt, std::string(content)});
      }
    }

    // `end` is the terminator T (or the end of the text), `end + 1` the byte
    // B after it.
    const unsigned char terminator = byte_at(end);
    if (end >= size || byte_at(end + 1) == 0) {
      return true;
    }
    if (terminator == '\r') {
      if (byte_at(end + 1) != '\n') {
        return fail();
      }
      start = end + 2;
      if (byte_at(start) == 0) {
        return true;
      }
    } else if (terminator == '\n') {
      start = end + 1;
    } else {
      return fail();
    }
    if (start >= size) {
      return true;
    }
  }
}

std::string DocumentStore::serialize() const {
  std::string out;
  for (const StoreSection& section : sections_) {
    out += '[';
    out += section.name;
    out += "]\r\n";
    for (const StoreEntry& entry : section.entries) {
      if (entry.key) {
        out += *entry.key;
        out += '=';
      }
      out += entry.value;
      out += "\r\n";
    }
  }
  return out;
}

bool DocumentStore::save(std::optional<std::string_view> path) {
  const std::string target = path ? cut_path(*path) : path_;
  if (target.empty()) {
    return false;
  }
  const std::string text = serialize();
  if (!write_file_replacing(
          target, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()))) {
    return false;
  }
  // Recorded only once written: a failed Save As must not leave the store
  // pointing at a file that was never written.
  path_ = target;
  return true;
}

}  // namespace piconel
