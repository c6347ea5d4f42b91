// Section and entry maintenance and the typed reads and writes of the
// document store.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "store/decimal_text.h"
#include "store/document_store.h"
#include "store/no_throw.h"

namespace piconel {

namespace {

constexpr std::string_view kInfoSection = "INFOMATION";
constexpr std::string_view kInfoName = "APPLICATIONNAME";
constexpr std::string_view kInfoVersion = "APPLICATIONVERSION";

// The list text is built as in a 1024-byte C buffer: items are appended while
// the text is at most 1022 bytes long, each cut to the space left.
constexpr std::size_t kListTextBuffer = 1024;

std::string list_text(std::span<const int> values) {
  std::string text;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (text.size() > kListTextBuffer - 2) {
      break;
    }
    std::string item = format_decimal(values[i]);
    if (i + 1 < values.size()) {
      item += ',';
    }
    const std::size_t room = kListTextBuffer - 1 - text.size();
    text.append(item, 0, std::min(room, item.size()));
  }
  return text;
}

// The list rule shared by the integer and byte lists; `store` receives item i.
template <typename Store>
int parse_list(std::string_view value, std::size_t max_count, Store store) {
  if (max_count == 0) {
    return 0;
  }
  auto byte_at = [&](std::size_t pos) -> char { return pos < value.size() ? value[pos] : '\0'; };
  std::size_t pos = 0;
  std::size_t count = 0;
  for (;;) {
    if (byte_at(pos) == '\0') {
      break;
    }
    while (byte_at(pos) == ' ') {
      ++pos;
    }
    if (byte_at(pos) == '\0') {
      break;
    }
    store(count, c_atoi(value.substr(pos)));
    while ((byte_at(pos) >= '0' && byte_at(pos) <= '9') || byte_at(pos) == '-') {
      ++pos;
    }
    while (byte_at(pos) == ' ') {
      ++pos;
    }
    ++count;
    if (count >= max_count || byte_at(pos) != ',') {
      break;
    }
    ++pos;
  }
  return static_cast<int>(count);
}

int clamp_length(std::size_t length) {
  return length > static_cast<std::size_t>(INT32_MAX) ? INT32_MAX : static_cast<int>(length);
}

}  // namespace

// --- sections ------------------------------------------------------------

StoreSection* DocumentStore::find_section(SectionName name) {
  if (!name) {
    return current_;
  }
  current_ = index_.first_named(*name);
  return current_;
}

StoreSection* DocumentStore::first_section() {
  return sections_.empty() ? nullptr : &sections_.front();
}

StoreEntry* DocumentStore::first_entry(SectionName name) {
  StoreSection* section = find_section(name);
  if (section == nullptr || section->entries_.empty()) {
    return nullptr;
  }
  return &section->entries_.front();
}

int DocumentStore::entry_count(SectionName name) {
  StoreSection* section = find_section(name);
  return section == nullptr ? 0 : clamp_length(section->entries_.size());
}

StoreSection* DocumentStore::append_section(std::string_view name) {
  std::optional<StoreEntry> copy = StoreEntry::copy_of(std::nullopt, name);
  if (!copy) {
    return nullptr;
  }
  StoreSection* section = nullptr;
  if (!allocation_succeeds([&] { section = &sections_.emplace_back(); })) {
    return nullptr;
  }
  section->name_ = std::move(*copy);
  section->order_ = next_order_++;
  if (!index_.add(*section)) {
    sections_.pop_back();
    return nullptr;
  }
  return section;
}

bool DocumentStore::add_section(std::string_view name) {
  StoreSection* section = append_section(name);
  if (section == nullptr) {
    return false;
  }
  current_ = section;
  return true;
}

bool DocumentStore::delete_section(SectionName name) {
  StoreSection* section = find_section(name);
  current_ = nullptr;
  if (section == nullptr) {
    return false;
  }
  index_.remove(*section);
  sections_.remove_if([section](const StoreSection& s) { return &s == section; });
  return true;
}

bool DocumentStore::rename_section(SectionName name, std::string_view new_name) {
  StoreSection* section = find_section(name);
  if (section == nullptr) {
    return false;
  }
  std::optional<StoreEntry> copy = StoreEntry::copy_of(std::nullopt, new_name);
  if (!copy) {
    return false;
  }
  index_.remove(*section);
  section->name_ = std::move(*copy);
  // The slot just freed takes it back: this add cannot run out of memory.
  static_cast<void>(index_.add(*section));
  return true;
}

// --- reading -------------------------------------------------------------

StoreEntry* DocumentStore::find_entry(SectionName name, std::string_view key) {
  StoreSection* section = find_section(name);
  if (section == nullptr) {
    return nullptr;
  }
  for (StoreEntry& entry : section->entries_) {
    if (entry.key() == key) {
      return &entry;
    }
  }
  return nullptr;
}

std::optional<std::string_view> DocumentStore::get_string(SectionName name, std::string_view key) {
  const StoreEntry* entry = find_entry(name, key);
  if (entry == nullptr) {
    return std::nullopt;
  }
  return entry->value();
}

int DocumentStore::copy_string(SectionName name, std::string_view key, char* buffer, int size) {
  if (buffer != nullptr && size > 0) {
    buffer[0] = '\0';
  }
  const std::optional<std::string_view> value = get_string(name, key);
  if (!value) {
    return -1;
  }
  if (buffer == nullptr) {
    return clamp_length(value->size());
  }
  if (size <= 0) {
    return 0;  // no room for even the terminating zero
  }
  const std::size_t limit = static_cast<std::size_t>(size);
  const std::size_t copied = value->size() < limit ? value->size() : limit - 1;
  std::memcpy(buffer, value->data(), copied);
  buffer[copied] = '\0';
  return static_cast<int>(copied);
}

int DocumentStore::get_string_to(SectionName name, std::string_view key, std::string& out) {
  out.clear();
  const std::optional<std::string_view> value = get_string(name, key);
  if (!value) {
    return -1;
  }
  if (!allocation_succeeds([&] { out.assign(*value); })) {
    return -1;  // treated as missing: the caller gets no partial text
  }
  return clamp_length(out.size());
}

bool DocumentStore::get_int(SectionName name, std::string_view key, int& out) {
  const std::optional<std::string_view> value = get_string(name, key);
  if (!value) {
    return false;
  }
  out = c_atoi(*value);
  return true;
}

bool DocumentStore::get_flag(SectionName name, std::string_view key) {
  return is_flag_on(get_string(name, key));
}

int DocumentStore::get_int_list(SectionName name, std::string_view key,
                                std::span<std::int32_t> out) {
  const std::optional<std::string_view> value = get_string(name, key);
  if (!value) {
    return 0;
  }
  return parse_list(*value, out.size(), [&](std::size_t i, int item) { out[i] = item; });
}

int DocumentStore::get_byte_list(SectionName name, std::string_view key,
                                 std::span<std::uint8_t> out) {
  const std::optional<std::string_view> value = get_string(name, key);
  if (!value) {
    return 0;
  }
  return parse_list(*value, out.size(), [&](std::size_t i, int item) {
    out[i] = static_cast<std::uint8_t>(static_cast<unsigned int>(item) & 0xFFu);
  });
}

std::optional<std::string_view> DocumentStore::row_at(SectionName name, int index) {
  StoreSection* section = find_section(name);
  if (section == nullptr || index < 0 ||
      static_cast<std::size_t>(index) >= section->entries_.size()) {
    return std::nullopt;
  }
  return section->entries_[static_cast<std::size_t>(index)].value();
}

// --- writing -------------------------------------------------------------

bool DocumentStore::set_string(SectionName name, std::optional<std::string_view> key,
                               std::string_view value, int position) {
  StoreSection* section = find_section(name);
  if (key && section != nullptr) {
    for (StoreEntry& entry : section->entries_) {
      if (entry.key() == *key) {
        return entry.set_value(value);
      }
    }
  }
  if (section == nullptr && !name) {
    return false;  // no current section and no name to create one by
  }

  std::optional<StoreEntry> entry = StoreEntry::copy_of(key, value);
  if (!entry) {
    return false;
  }
  if (section == nullptr) {
    // A section made here does not become current.
    StoreSection* made = append_section(*name);
    if (made == nullptr) {
      return false;
    }
    if (!allocation_succeeds([&] { made->entries_.push_back(std::move(*entry)); })) {
      index_.remove(*made);
      sections_.pop_back();
      return false;
    }
    return true;
  }
  auto& entries = section->entries_;
  const bool at_end = key || position < 0 || static_cast<std::size_t>(position) >= entries.size();
  // StoreEntry moves cannot throw, so a failed insert leaves the list as it was.
  return allocation_succeeds([&] {
    entries.insert(at_end ? entries.end() : entries.begin() + position, std::move(*entry));
  });
}

bool DocumentStore::set_int(SectionName name, std::string_view key, int value) {
  return set_string(name, key, format_decimal(value), -1);
}

bool DocumentStore::set_int_list(SectionName name, std::string_view key,
                                 std::span<const std::int32_t> values) {
  std::string text;
  return allocation_succeeds([&] { text = list_text(values); }) && set_string(name, key, text, -1);
}

bool DocumentStore::set_byte_list(SectionName name, std::string_view key,
                                  std::span<const std::uint8_t> values) {
  std::string text;
  return allocation_succeeds([&] {
           const std::vector<int> items(values.begin(), values.end());
           text = list_text(items);
         }) &&
         set_string(name, key, text, -1);
}

bool DocumentStore::delete_key(SectionName name, std::string_view key) {
  StoreSection* section = find_section(name);
  if (section == nullptr) {
    return false;
  }
  auto& entries = section->entries_;
  for (auto it = entries.begin(); it != entries.end(); ++it) {
    if (it->key() == key) {
      entries.erase(it);
      return true;
    }
  }
  return false;
}

bool DocumentStore::delete_entry_at(SectionName name, int index) {
  StoreSection* section = find_section(name);
  if (section == nullptr || index < 0 ||
      static_cast<std::size_t>(index) >= section->entries_.size()) {
    return false;
  }
  section->entries_.erase(section->entries_.begin() + index);
  return true;
}

// --- identification --------------------------------------------------------

bool DocumentStore::write_info(std::string_view application_name, std::uint32_t packed_version) {
  const std::string version = format_decimal(static_cast<int>(packed_version >> 24)) + "." +
                              format_decimal(static_cast<int>((packed_version >> 16) & 0xFFu)) +
                              "." + format_decimal(static_cast<int>(packed_version & 0xFFFFu));
  return set_string(kInfoSection, kInfoName, application_name, -1) &&
         set_string(kInfoSection, kInfoVersion, version, -1);
}

std::uint32_t DocumentStore::check_info(std::string_view application_name) {
  const std::optional<std::string_view> name = get_string(kInfoSection, kInfoName);
  if (!name || *name != application_name) {
    return 0;
  }
  const std::optional<std::string_view> version = get_string(kInfoSection, kInfoVersion);
  if (!version) {
    return 0;
  }
  // a.b.c: each part is atoi of the text after the previous dot.
  const std::string_view text = *version;
  const auto major = static_cast<std::uint32_t>(c_atoi(text));
  std::uint32_t minor = 0;
  std::uint32_t patch = 0;
  const std::size_t first_dot = text.find('.');
  if (first_dot != std::string_view::npos) {
    minor = static_cast<std::uint32_t>(c_atoi(text.substr(first_dot + 1)));
    const std::size_t second_dot = text.find('.', first_dot + 1);
    if (second_dot != std::string_view::npos) {
      patch = static_cast<std::uint32_t>(c_atoi(text.substr(second_dot + 1)));
    }
  }
  return (major << 24) + (minor << 16) + patch;
}

}  // namespace piconel
