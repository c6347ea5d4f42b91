// Whole-file operations of the document store: the text format's loader and
// writer, load, save and clear.

#include "store/document_store.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>

#include "store/file_io.h"
#include "store/no_throw.h"

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

// The line walk of the text format, shared by the two passes of the loader.
// Calls `on_line(content)` for every line; `on_line` answers Next, Bad (a
// parse error) or NoMemory. Counts lines in `line_count`.
enum class LineResult { Next, Bad, NoMemory };

template <typename OnLine>
LineResult walk_lines(std::string_view text, int& line_count, OnLine on_line) {
  const std::size_t size = text.size();
  // Every read past the end sees a NUL, as if the text were followed by one.
  auto byte_at = [&](std::size_t pos) -> unsigned char {
    return pos < size ? static_cast<unsigned char>(text[pos]) : 0;
  };
  line_count = 0;
  if (byte_at(0) == 0) {
    return LineResult::Next;
  }
  std::size_t start = 0;
  for (;;) {
    ++line_count;
    std::size_t end = start;
    while (end < size && is_content_byte(static_cast<unsigned char>(text[end]))) {
      ++end;
    }
    if (const LineResult result = on_line(text.substr(start, end - start));
        result != LineResult::Next) {
      return result;
    }
    // `end` is the terminator T (or the end of the text), `end + 1` the byte
    // B after it.
    const unsigned char terminator = byte_at(end);
    if (end >= size || byte_at(end + 1) == 0) {
      return LineResult::Next;
    }
    if (terminator == '\r') {
      if (byte_at(end + 1) != '\n') {
        return LineResult::Bad;
      }
      start = end + 2;
      if (byte_at(start) == 0) {
        return LineResult::Next;
      }
    } else if (terminator == '\n') {
      start = end + 1;
    } else {
      return LineResult::Bad;
    }
    if (start >= size) {
      return LineResult::Next;
    }
  }
}

bool is_header(std::string_view content) {
  return content.size() >= 2 && content.front() == '[' && content.back() == ']';
}

// Key bytes of a keyed line: a '=' counts only before the first TAB, the one
// byte below 0x20 a line may hold. None for a row.
std::optional<std::size_t> key_size_of(std::string_view content) {
  const std::size_t equals = content.substr(0, content.find('\t')).find('=');
  if (equals == std::string_view::npos) {
    return std::nullopt;
  }
  return equals;
}

}  // namespace

void DocumentStore::drop_all_sections() {
  current_ = nullptr;
  index_.clear();
  sections_.clear();
  std::vector<std::uint8_t>().swap(text_);
}

void DocumentStore::clear() {
  drop_all_sections();
  path_.clear();
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
    // short read, a file too large to hold or no memory for its bytes: never
    // "missing", so a caller does not go on with defaults and later save over
    // the real file. The store stays empty and keeps its path.
    return false;
  }
  if (!parse_owned(std::move(file.bytes))) {
    path_.clear();
    return false;
  }
  return true;
}

bool DocumentStore::parse(std::string_view text) {
  std::vector<std::uint8_t> copy;
  if (!allocation_succeeds([&] { copy.assign(text.begin(), text.end()); })) {
    drop_all_sections();
    line_count_ = 0;
    return false;
  }
  return parse_owned(std::move(copy));
}

bool DocumentStore::parse_owned(std::vector<std::uint8_t>&& bytes) {
  drop_all_sections();
  text_ = std::move(bytes);
  const std::string_view text(reinterpret_cast<const char*>(text_.data()), text_.size());

  // First pass: check the syntax and count each section's entries, so the
  // second pass allocates every entry list once at its final size.
  std::vector<std::uint32_t> counts;
  LineResult result = walk_lines(text, line_count_, [&](std::string_view content) {
    if (is_header(content)) {
      return allocation_succeeds([&] { counts.push_back(0); }) ? LineResult::Next
                                                               : LineResult::NoMemory;
    }
    if (counts.empty()) {
      return LineResult::Bad;  // no section yet, even for an empty line
    }
    if (!content.empty()) {
      ++counts.back();
    }
    return LineResult::Next;
  });

  // Second pass: build the sections; only memory can fail now.
  if (result == LineResult::Next) {
    std::size_t section_number = 0;
    StoreSection* target = nullptr;
    result = walk_lines(text, line_count_, [&](std::string_view content) {
      if (is_header(content)) {
        const std::string_view name = content.substr(1, content.size() - 2);
        const bool made = allocation_succeeds([&] {
          StoreSection& section = sections_.emplace_back();
          section.order_ = next_order_++;
          section.name_ = *StoreEntry::view_of(name, std::nullopt);
          section.entries_.reserve(counts[section_number++]);
        });
        if (!made) {
          return LineResult::NoMemory;
        }
        target = &sections_.back();
      } else if (!content.empty()) {
        std::optional<StoreEntry> entry = StoreEntry::view_of(content, key_size_of(content));
        if (!entry) {
          return LineResult::NoMemory;
        }
        target->entries_.push_back(std::move(*entry));  // within the reserved room
      }
      return LineResult::Next;
    });
  }
  if (result == LineResult::Next && index_.rebuild(sections_)) {
    return true;
  }
  drop_all_sections();
  return false;
}

bool DocumentStore::serialize_into(std::string& out) const {
  return allocation_succeeds([&] {
    std::size_t size = 0;
    for (const StoreSection& section : sections_) {
      size += section.name().size() + 4;
      for (const StoreEntry& entry : section.entries()) {
        size += (entry.key() ? entry.key()->size() + 1 : 0) + entry.value().size() + 2;
      }
    }
    out.clear();
    out.reserve(size);
    for (const StoreSection& section : sections_) {
      out += '[';
      out += section.name();
      out += "]\r\n";
      for (const StoreEntry& entry : section.entries()) {
        if (const std::optional<std::string_view> key = entry.key()) {
          out += *key;
          out += '=';
        }
        out += entry.value();
        out += "\r\n";
      }
    }
  });
}

std::string DocumentStore::serialize() const {
  std::string out;
  if (!serialize_into(out)) {
    out.clear();
  }
  return out;
}

bool DocumentStore::save(std::optional<std::string_view> path) {
  const std::string target = path ? cut_path(*path) : path_;
  if (target.empty()) {
    return false;
  }
  std::string text;
  if (!serialize_into(text)) {
    return false;
  }
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
