#pragma once

// Page settings inherit page -> project -> application. A chain is a row of
// section cursors: "PROPERTY:<page>" of the project store, whose parent is
// PROPERTY of the project store, whose parent is PROPERTY of the settings
// store. Each chained setting is governed by an enable key: a level counts
// for the background colour only when its TRANSPARENTENABLE is "1", for the
// sheet size only when its FIXEDSHEET is "1".

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "store/document_store.h"
#include "store/section_cursor.h"

namespace piconel {

// Keys of the chained settings.
inline constexpr std::string_view kTransparentEnableKey = "TRANSPARENTENABLE";
inline constexpr std::string_view kTransparentColourKey = "TRANSPARENTCOLOR";
inline constexpr std::string_view kFixedSheetKey = "FIXEDSHEET";
inline constexpr std::string_view kSheetSizeManualKey = "SHEETSIZEMANUAL";
inline constexpr std::string_view kSheetWidthKey = "SHEETWIDTH";
inline constexpr std::string_view kSheetHeightKey = "SHEETHEIGHT";

// One row of the enable-key table. `enable_key` is empty for a row that
// keeps the enable key of the row above it.
struct EnableKeyRow {
  std::string_view enable_key;
  std::string_view governed_key;
};

// The enable-key table in its fixed order (the default-settings group binds
// its controls to these rows): TRANSPARENTENABLE/TRANSPARENTCOLOR,
// FIXEDSHEET/SHEETSIZEMANUAL (automatic), -/SHEETSIZEMANUAL (manual),
// -/SHEETWIDTH, -/SHEETHEIGHT.
std::span<const EnableKeyRow> enable_key_table();

// The enable key of `key`: the last enable key named in the rows up to and
// including the first row whose governed key is `key`. A key that is no
// governed key of any row (the enable keys themselves included) counts as
// governed by FIXEDSHEET.
std::string_view enable_key_for(std::string_view key);

// A chain of two or three levels. Building and reading it leave the stores
// as they are: a missing level (the page's "PROPERTY:<page>", the project's
// PROPERTY, PROPERTY of the settings store) reads as empty, and only a write
// through a cursor appends its section. The chain refers to its stores and must not outlive them;
// it is neither copied nor moved, because each level points at its parent.
class PropertyChain {
 public:
  // Page level only when `page_name` is given; application level only when
  // `settings` is given.
  PropertyChain(DocumentStore& project, DocumentStore* settings,
                std::optional<std::string_view> page_name);
  PropertyChain(const PropertyChain&) = delete;
  PropertyChain& operator=(const PropertyChain&) = delete;

  // The most specific level: the page, or the project without a page.
  const SectionCursor& start() const { return page_ ? *page_ : *project_; }

 private:
  std::optional<SectionCursor> application_;
  std::optional<SectionCursor> project_;
  std::optional<SectionCursor> page_;
};

// The value at the cursor's own level only; no enable key test.
[[nodiscard]] std::optional<std::string> own_string(std::string_view key,
                                                    const SectionCursor& cursor);
// The value of the first level, from `start` upwards, that holds the key; no
// enable key test.
[[nodiscard]] std::optional<std::string> first_string(std::string_view key,
                                                      const SectionCursor& start);
// The effective value: the first level, from `start` upwards, whose enable
// key value begins with '1' and which holds the key. None when no level
// qualifies.
[[nodiscard]] std::optional<std::string> chained_string(std::string_view key,
                                                        const SectionCursor& start);
// What the level of `start` would inherit: chained_string from its parent
// (none without a parent).
[[nodiscard]] std::optional<std::string> inherited_string(std::string_view key,
                                                          const SectionCursor& start);

// Byte lists of exactly out.size() items (the key read as a comma-separated
// list yields that many). A level with fewer items is skipped; `out` changes
// only when a level qualifies, and the result says whether one did.
// first_bytes tests no enable key; chained_bytes also needs the level's
// enable key to begin with '1'; inherited_bytes is chained_bytes from the
// parent of `start`.
[[nodiscard]] bool first_bytes(std::string_view key, std::span<std::uint8_t> out,
                               const SectionCursor& start);
[[nodiscard]] bool chained_bytes(std::string_view key, std::span<std::uint8_t> out,
                                 const SectionCursor& start);
[[nodiscard]] bool inherited_bytes(std::string_view key, std::span<std::uint8_t> out,
                                   const SectionCursor& start);

}  // namespace piconel
