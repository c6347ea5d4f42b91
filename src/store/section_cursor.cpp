#include "store/section_cursor.h"

namespace piconel {

SectionCursor::SectionCursor(DocumentStore& store, std::string_view section,
                             const SectionCursor* parent)
    : store_(&store), parent_(parent) {
  if (store.find_section(section) == nullptr) {
    (void)store.add_section(section);
  }
  section_ = store.current_section();
}

SectionCursor::SectionCursor(DocumentStore& store)
    : store_(&store), section_(store.current_section()) {}

bool SectionCursor::select_section(std::string_view name, bool create) {
  section_ = store_->find_section(name);
  if (section_ == nullptr && create && store_->add_section(name)) {
    section_ = store_->current_section();
  }
  return section_ != nullptr;
}

void SectionCursor::focus(SectionName name) const {
  if (!name && section_ != nullptr) {
    store_->set_current_section(section_);
  }
}

std::optional<std::string_view> SectionCursor::get_string(std::string_view key,
                                                          SectionName name) const {
  focus(name);
  return store_->get_string(name, key);
}

int SectionCursor::copy_string(std::string_view key, char* buffer, int size,
                               SectionName name) const {
  focus(name);
  return store_->copy_string(name, key, buffer, size);
}

int SectionCursor::get_string_to(std::string_view key, std::string& out, SectionName name) const {
  focus(name);
  return store_->get_string_to(name, key, out);
}

bool SectionCursor::get_int(std::string_view key, int& out, SectionName name) const {
  focus(name);
  return store_->get_int(name, key, out);
}

bool SectionCursor::get_flag(std::string_view key, SectionName name) const {
  focus(name);
  return store_->get_flag(name, key);
}

int SectionCursor::get_int_list(std::string_view key, std::span<std::int32_t> out,
                                SectionName name) const {
  focus(name);
  return store_->get_int_list(name, key, out);
}

int SectionCursor::get_byte_list(std::string_view key, std::span<std::uint8_t> out,
                                 SectionName name) const {
  focus(name);
  return store_->get_byte_list(name, key, out);
}

bool SectionCursor::set_string(std::optional<std::string_view> key, std::string_view value,
                               int position, SectionName name) {
  focus(name);
  return store_->set_string(name, key, value, position);
}

bool SectionCursor::set_int(std::string_view key, int value, SectionName name) {
  focus(name);
  return store_->set_int(name, key, value);
}

bool SectionCursor::set_int_list(std::string_view key, std::span<const std::int32_t> values,
                                 SectionName name) {
  focus(name);
  return store_->set_int_list(name, key, values);
}

bool SectionCursor::set_byte_list(std::string_view key, std::span<const std::uint8_t> values,
                                  SectionName name) {
  focus(name);
  return store_->set_byte_list(name, key, values);
}

bool SectionCursor::set_string_from(std::string_view key, const std::string& value,
                                    SectionName name) {
  focus(name);
  return store_->set_string_from(name, key, value);
}

bool SectionCursor::delete_key(std::string_view key, SectionName name) {
  focus(name);
  return store_->delete_key(name, key);
}

bool SectionCursor::save(std::optional<std::string_view> path) {
  return store_->save(path);
}

}  // namespace piconel
