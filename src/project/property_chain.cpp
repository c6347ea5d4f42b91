#include "project/property_chain.h"

#include <algorithm>
#include <array>
#include <vector>

#include "project/project.h"

namespace piconel {

namespace {

constexpr std::array<EnableKeyRow, 5> kEnableKeyTable = {{
    {kTransparentEnableKey, kTransparentColourKey},
    {kFixedSheetKey, kSheetSizeManualKey},  // the automatic radio button
    {"", kSheetSizeManualKey},              // the manual radio button
    {"", kSheetWidthKey},
    {"", kSheetHeightKey},
}};

// The level's enable key of `key` is a flag: on when it begins with '1'.
bool level_enabled(std::string_view key, const SectionCursor& level) {
  return level.get_flag(enable_key_for(key));
}

std::optional<std::string> to_string(std::optional<std::string_view> value) {
  if (!value) {
    return std::nullopt;
  }
  return std::string(*value);
}

// Reads the key at one level into `out` when it yields exactly out.size()
// items; `out` is untouched otherwise.
bool read_exact_bytes(std::string_view key, std::span<std::uint8_t> out,
                      const SectionCursor& level) {
  if (!level.get_string(key)) {
    return false;
  }
  std::vector<std::uint8_t> items(out.size());
  if (level.get_byte_list(key, items) != static_cast<int>(out.size())) {
    return false;
  }
  std::copy(items.begin(), items.end(), out.begin());
  return true;
}

}  // namespace

std::span<const EnableKeyRow> enable_key_table() {
  return kEnableKeyTable;
}

std::string_view enable_key_for(std::string_view key) {
  std::string_view enable = kFixedSheetKey;
  for (const EnableKeyRow& row : kEnableKeyTable) {
    if (!row.enable_key.empty()) {
      enable = row.enable_key;
    }
    if (row.governed_key == key) {
      return enable;
    }
  }
  return kFixedSheetKey;
}

PropertyChain::PropertyChain(DocumentStore& project, DocumentStore* settings,
                             std::optional<std::string_view> page_name) {
  // Parents first: each level needs its parent's address.
  if (settings != nullptr) {
    application_.emplace(*settings, kPropertySection, nullptr);
  }
  project_.emplace(project, kPropertySection, application_ ? &*application_ : nullptr);
  if (page_name) {
    page_.emplace(project, page_property_section(*page_name), &*project_);
  }
}

std::optional<std::string> own_string(std::string_view key, const SectionCursor& cursor) {
  return to_string(cursor.get_string(key));
}

std::optional<std::string> first_string(std::string_view key, const SectionCursor& start) {
  for (const SectionCursor* level = &start; level != nullptr; level = level->parent()) {
    if (auto value = level->get_string(key)) {
      return std::string(*value);
    }
  }
  return std::nullopt;
}

std::optional<std::string> chained_string(std::string_view key, const SectionCursor& start) {
  for (const SectionCursor* level = &start; level != nullptr; level = level->parent()) {
    if (!level_enabled(key, *level)) {
      continue;
    }
    if (auto value = level->get_string(key)) {
      return std::string(*value);
    }
  }
  return std::nullopt;
}

std::optional<std::string> inherited_string(std::string_view key, const SectionCursor& start) {
  if (start.parent() == nullptr) {
    return std::nullopt;
  }
  return chained_string(key, *start.parent());
}

bool first_bytes(std::string_view key, std::span<std::uint8_t> out, const SectionCursor& start) {
  for (const SectionCursor* level = &start; level != nullptr; level = level->parent()) {
    if (read_exact_bytes(key, out, *level)) {
      return true;
    }
  }
  return false;
}

bool chained_bytes(std::string_view key, std::span<std::uint8_t> out, const SectionCursor& start) {
  for (const SectionCursor* level = &start; level != nullptr; level = level->parent()) {
    if (level_enabled(key, *level) && read_exact_bytes(key, out, *level)) {
      return true;
    }
  }
  return false;
}

bool inherited_bytes(std::string_view key, std::span<std::uint8_t> out,
                     const SectionCursor& start) {
  if (start.parent() == nullptr) {
    return false;
  }
  return chained_bytes(key, out, *start.parent());
}

}  // namespace piconel
