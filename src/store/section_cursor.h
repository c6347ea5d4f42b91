#pragma once

// A small handle naming one section of a store, optionally linked to a parent
// cursor: the next, less specific level of a property chain (page -> project
// -> application). A cursor owns nothing and must not outlive its store.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "store/document_store.h"

namespace piconel {

class SectionCursor {
 public:
  // Finds the section by name (current-section rule); appends it when
  // missing. The cursor then names the store's current section.
  SectionCursor(DocumentStore& store, std::string_view section, const SectionCursor* parent);
  // Names the store's current section; no parent.
  explicit SectionCursor(DocumentStore& store);

  // Names the section found by name; appends it when missing and `create`.
  // When missing and not created the cursor names none and the result is false.
  bool select_section(std::string_view name, bool create);

  const SectionCursor* parent() const { return parent_; }
  void set_parent(const SectionCursor* parent) { parent_ = parent; }
  DocumentStore& store() const { return *store_; }
  StoreSection* section() const { return section_; }

  // Store forms on the cursor's section: with kCurrentSection the cursor's
  // section first becomes the store's current section.
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
  // Makes the cursor's section current when `name` is kCurrentSection.
  void focus(SectionName name) const;

  DocumentStore* store_;
  StoreSection* section_ = nullptr;
  const SectionCursor* parent_ = nullptr;
};

}  // namespace piconel
