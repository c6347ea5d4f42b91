#pragma once

// The sectioned key/value text store behind piconel.ini and *.ijp project
// files: ordered sections of ordered entries, each entry keyed ("KEY=value")
// or a row (a bare value addressed by its position). Loaded whole from one
// file and written whole back.
//
// Section names: every operation that takes a `SectionName` also accepts
// `kCurrentSection` (std::nullopt), meaning the current section. A lookup by
// name forgets the current section, scans from the first section and makes the
// found one current; a failed lookup leaves no current section. Names and keys
// compare as exact byte strings; duplicates are allowed and lookups find the
// first one in list order.
//
// All text is CP932 bytes, never decoded. Nothing here throws or shows a
// message; failures are results, running out of memory included: every
// write returns false and leaves the store as it was.
//
// Memory: the loaded file is kept whole and the loaded names, keys and values
// are views into it; each entry adds 16 bytes (12 on 32-bit builds) and each
// section a list node and an index slot. Lookups by name go through an index
// of the sections sorted by name, never a scan of every section.

#include <cstdint>
#include <list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "store/section_index.h"
#include "store/store_entry.h"

namespace piconel {

using SectionName = std::optional<std::string_view>;
inline constexpr SectionName kCurrentSection = std::nullopt;

class DocumentStore {
 public:
  DocumentStore() = default;
  DocumentStore(const DocumentStore&) = delete;
  DocumentStore& operator=(const DocumentStore&) = delete;

  // --- whole-file operations ---------------------------------------------

  // Clears the store, records `path` (cut to 259 bytes) and loads the file.
  // A missing file (file or path not found) gives `missing_ok` and an empty
  // store that keeps the path. A file that exists but cannot be opened
  // (access denied, locked, a folder) or read (short read, 2 GiB or more, no
  // memory for its bytes) gives false and an empty store that keeps the path.
  // A parse error gives false, an empty store, an empty path, and
  // line_count() at the failing 1-based line; so does running out of memory
  // while building the store. An empty file, or one whose first byte is NUL,
  // loads as an empty store.
  [[nodiscard]] bool load(std::string_view path, bool missing_ok);

  // Writes every section ("[name]" CR LF, then "key=value" or "value" CR LF
  // per entry) to `path` (cut to 259 bytes) or, with none, to the recorded
  // path. A given path becomes the recorded path only when the write
  // succeeded. The file is replaced whole through a temporary file in the
  // same folder, so a failed write never leaves a half-written file.
  [[nodiscard]] bool save(std::optional<std::string_view> path = std::nullopt);

  // Removes every section; empty path, no current section. The line counter
  // keeps its value.
  void clear();

  int line_count() const { return line_count_; }
  const std::string& file_path() const { return path_; }

  // The bytes save() writes, without touching any file (empty when memory
  // runs out; save() tells that apart).
  std::string serialize() const;
  // Replaces the contents with `text` parsed as load() does after reading
  // the file. The path is not touched, whatever the result; on a parse error
  // the store is empty and line_count() names the failing line. `text` is
  // copied (it may be a view of this store's own text).
  [[nodiscard]] bool parse(std::string_view text);

  // --- sections ----------------------------------------------------------

  StoreSection* find_section(SectionName name);
  bool has_section(SectionName name) { return find_section(name) != nullptr; }
  StoreSection* first_section();
  const std::list<StoreSection>& sections() const { return sections_; }
  // First entry of the section, or none; callers may walk entries() of the
  // section instead. Entry pointers end when an entry is added to or removed
  // from that section.
  StoreEntry* first_entry(SectionName name);
  // Number of entries of the section (0 when missing).
  int entry_count(SectionName name);

  // Appends a section without looking for an existing one; it becomes current.
  // False when memory runs out (nothing changes then).
  bool add_section(std::string_view name);
  bool delete_section(SectionName name);
  bool rename_section(SectionName name, std::string_view new_name);

  // The section the current-section rule names now, or none.
  StoreSection* current_section() const { return current_; }
  void set_current_section(StoreSection* section) { current_ = section; }

  // --- reading -----------------------------------------------------------

  StoreEntry* find_entry(SectionName name, std::string_view key);
  // The view (here and from row_at) points into the entry: it stays valid
  // while other entries and sections are added, changed or removed, and ends
  // when that entry is written or erased (set_string on its key, delete_key,
  // delete_entry_at, delete_section of its section) or the store is cleared,
  // loaded or parsed. Copy it before any of those. Section names (name())
  // live as long, until a rename or delete of that section.
  std::optional<std::string_view> get_string(SectionName name, std::string_view key);
  // C-buffer copy: empties the buffer first; -1 when missing; with no buffer
  // the value's length; a longer value is cut to size - 1 bytes and size - 1
  // returned. A buffer with a size of 0 or less receives nothing and gives 0.
  int copy_string(SectionName name, std::string_view key, char* buffer, int size);
  // Sets `out` to empty, then to the value: its length, or -1 when missing.
  int get_string_to(SectionName name, std::string_view key, std::string& out);
  // C atoi of the value; false and `out` untouched when missing.
  bool get_int(SectionName name, std::string_view key, int& out);
  // A flag: on when the value exists and its first byte is '1'.
  bool get_flag(SectionName name, std::string_view key);
  // Comma-separated lists; return the number of items stored (items beyond
  // it are not touched); at most out.size() items.
  int get_int_list(SectionName name, std::string_view key, std::span<std::int32_t> out);
  int get_byte_list(SectionName name, std::string_view key, std::span<std::uint8_t> out);
  // Value of the entry at 0-based position `index` (rows and keyed entries
  // alike), or none.
  std::optional<std::string_view> row_at(SectionName name, int index);

  // --- writing -----------------------------------------------------------

  // Key given and present (first match): replaces its value. Otherwise a new
  // entry; a missing section is appended (it does not become current); a
  // keyed entry, a row at position < 0, or any entry of an empty section goes
  // to the end; a row at position p is inserted before the entry at p.
  bool set_string(SectionName name, std::optional<std::string_view> key, std::string_view value,
                  int position = -1);
  bool insert_row(SectionName name, int position, std::string_view value) {
    return set_string(name, std::nullopt, value, position);
  }
  bool set_int(SectionName name, std::string_view key, int value);
  bool set_int_list(SectionName name, std::string_view key, std::span<const std::int32_t> values);
  bool set_byte_list(SectionName name, std::string_view key, std::span<const std::uint8_t> values);
  bool set_string_from(SectionName name, std::string_view key, const std::string& value) {
    return set_string(name, key, value, -1);
  }
  bool delete_key(SectionName name, std::string_view key);
  bool delete_entry_at(SectionName name, int index);

  // --- identification ("INFOMATION") ------------------------------------

  // APPLICATIONNAME = name, APPLICATIONVERSION = "%d.%d.%d" of
  // (version >> 24, bits 16..23, bits 0..15).
  bool write_info(std::string_view application_name, std::uint32_t packed_version);
  // Packed version, or 0 when the section, the name or the version is missing
  // or the name differs.
  std::uint32_t check_info(std::string_view application_name);

 private:
  // The bytes of `text` parsed into the store, which keeps them as the text
  // its loaded strings view.
  [[nodiscard]] bool parse_owned(std::vector<std::uint8_t>&& text);
  // Appends a section named by a heap copy of `name`; none when memory runs
  // out. The current section is not changed.
  StoreSection* append_section(std::string_view name);
  // save()'s bytes into `out`; false when memory runs out.
  [[nodiscard]] bool serialize_into(std::string& out) const;
  void drop_all_sections();

  std::vector<std::uint8_t> text_;  // the loaded file, viewed by loaded strings
  std::list<StoreSection> sections_;
  SectionIndex index_;
  std::uint64_t next_order_ = 0;
  std::string path_;
  StoreSection* current_ = nullptr;
  int line_count_ = 0;
};

// The flag rule of every stored switch: on when the value exists and its first
// byte is '1' ("1", "10" and "1x" are on; "", "0" and " 1" are off).
constexpr bool is_flag_on(std::optional<std::string_view> value) {
  return value && !value->empty() && value->front() == '1';
}

inline constexpr std::uint32_t kApplicationVersion = (1u << 24) + 8;  // "1.0.8"

}  // namespace piconel
