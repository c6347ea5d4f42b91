#pragma once

// A small handle naming one section of a store, optionally linked to a parent
// cursor: the next, less specific level of a property chain (page -> project
// -> application). A cursor owns nothing and must not outlive its store.
//
// Only writing creates a section: a cursor on a missing section reads as
// missing and appends the section at its first write, so looking at settings
// (a dialog that is then cancelled, a page list row) never changes the store.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "store/document_store.h"

namespace piconel {

class SectionCursor {
 public:
  // Names the section `section` (found by the current-section rule, which
  // then makes it current). A missing section is not made here: reads give
  // their missing result until a write appends it.
  SectionCursor(DocumentStore& store, std::string_view section, const SectionCursor* parent);
  // Names the store's current section; no parent.
  explicit SectionCursor(DocumentStore& store);

  // Names the section found by name; appends it when missing and `create`.
  // When missing and not created the cursor names none for now (a later
  // write appends it) and the result is false.
  bool select_section(std::string_view name, bool create);

  const SectionCursor* parent() const { return parent_; }
  void set_parent(const SectionCursor* parent) { parent_ = parent; }
  DocumentStore& store() const { return *store_; }
  // The named section as it exists now; none while it is missing.
  StoreSection* section() const { return resolve(); }

  // Store forms on the cursor's section: with kCurrentSection the cursor's
  // section first becomes the store's current section. A cursor whose
  // section is missing reads as missing (delete_key finds nothing) and its
  // writes append the section first.
  std::optional<std::string_view> get_string(std::string_view key,
                                             SectionName name = kCurrentSection) const;
  int copy_string(std::string_view key, char* buffer, int size,
                  SectionName name = kCurrentSection) const;
  int get_string_to(std::string_view key, std::string& out,
                    SectionName name = kCurrentSection) const;
  bool get_int(std::string_view key, int& out, SectionName name = kCurrentSection) const;
  bool get_flag(std::string_view key, SectionName name = kCurrentSection) const;
  int get_int_list(std::string_view key, std::span<std::int32_t> out,
                   SectionName name = kCurrentSection) const;
  int get_byte_list(std::string_view key, std::span<std::uint8_t> out,
                    SectionName name = kCurrentSection) const;
  bool set_string(std::optional<std::string_view> key, std::string_view value, int position = -1,
                  SectionName name = kCurrentSection);
  bool set_int(std::string_view key, int value, SectionName name = kCurrentSection);
  bool set_int_list(std::string_view key, std::span<const std::int32_t> values,
                    SectionName name = kCurrentSection);
  bool set_byte_list(std::string_view key, std::span<const std::uint8_t> values,
                     SectionName name = kCurrentSection);
  bool set_string_from(std::string_view key, const std::string& value,
                       SectionName name = kCurrentSection);
  bool delete_key(std::string_view key, SectionName name = kCurrentSection);
  [[nodiscard]] bool save(std::optional<std::string_view> path = std::nullopt);

 private:
  // The named section, looked up again while it is missing (another cursor
  // may have written it since); the store's current one for a cursor made
  // from the current section.
  StoreSection* resolve() const;
  // Before a read or delete with `name`: false when the cursor's own section
  // is missing, so the store is not asked; otherwise the section is made
  // current when `name` is kCurrentSection.
  [[nodiscard]] bool focus_existing(SectionName name) const;
  // Before a write with `name`: appends the cursor's missing section; false
  // when that runs out of memory.
  [[nodiscard]] bool focus_for_write(SectionName name);

  DocumentStore* store_;
  // Empty for a cursor made from the current section.
  std::string name_;
  bool named_ = false;
  mutable StoreSection* section_ = nullptr;
  const SectionCursor* parent_ = nullptr;
};

}  // namespace piconel
