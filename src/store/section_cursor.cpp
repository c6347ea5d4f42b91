#include "store/section_cursor.h"

namespace piconel {

SectionCursor::SectionCursor(DocumentStore& store, std::string_view section,
                             const SectionCursor* parent)
    : store_(&store), name_(section), named_(true), parent_(parent) {
  section_ = store.find_section(name_);
}

SectionCursor::SectionCursor(DocumentStore& store)
    : store_(&store), section_(store.current_section()) {}

bool SectionCursor::select_section(std::string_view name, bool create) {
  name_ = std::string(name);
  named_ = true;
  section_ = store_->find_section(name_);
  if (section_ == nullptr && create && store_->add_section(name_)) {
    section_ = store_->current_section();
  }
  return section_ != nullptr;
}

StoreSection* SectionCursor::resolve() const {
  if (section_ == nullptr && named_) {
    section_ = store_->find_section(name_);
  }
  return section_;
}

bool SectionCursor::focus_existing(SectionName name) const {
  if (name) {
    return true;
  }
  if (resolve() != nullptr) {
    store_->set_current_section(section_);
    return true;
  }
  // A cursor made from the current section follows the store's rule.
  return !named_;
}

bool SectionCursor::focus_for_write(SectionName name) {
  if (!name && resolve() == nullptr && named_) {
    if (!store_->add_section(name_)) {
      return false;
    }
    section_ = store_->current_section();
  }
  return focus_existing(name);
}

std::optional<std::string_view> SectionCursor::get_string(std::string_view key,
                                                          SectionName name) const {
  if (!focus_existing(name)) {
    return std::nullopt;
  }
  return store_->get_string(name, key);
}

int SectionCursor::copy_string(std::string_view key, char* buffer, int size,
                               SectionName name) const {
  if (!focus_existing(name)) {
    if (buffer != nullptr && size > 0) {
      buffer[0] = '\0';
    }
    return -1;
  }
  return store_->copy_string(name, key, buffer, size);
}

int SectionCursor::get_string_to(std::string_view key, std::string& out, SectionName name) const {
  if (!focus_existing(name)) {
    out.clear();
    return -1;
  }
  return store_->get_string_to(name, key, out);
}

bool SectionCursor::get_int(std::string_view key, int& out, SectionName name) const {
  return focus_existing(name) && store_->get_int(name, key, out);
}

bool SectionCursor::get_flag(std::string_view key, SectionName name) const {
  return focus_existing(name) && store_->get_flag(name, key);
}

int SectionCursor::get_int_list(std::string_view key, std::span<std::int32_t> out,
                                SectionName name) const {
  return focus_existing(name) ? store_->get_int_list(name, key, out) : 0;
}

int SectionCursor::get_byte_list(std::string_view key, std::span<std::uint8_t> out,
                                 SectionName name) const {
  return focus_existing(name) ? store_->get_byte_list(name, key, out) : 0;
}

bool SectionCursor::set_string(std::optional<std::string_view> key, std::string_view value,
                               int position, SectionName name) {
  return focus_for_write(name) && store_->set_string(name, key, value, position);
}

bool SectionCursor::set_int(std::string_view key, int value, SectionName name) {
  return focus_for_write(name) && store_->set_int(name, key, value);
}

bool SectionCursor::set_int_list(std::string_view key, std::span<const std::int32_t> values,
                                 SectionName name) {
  return focus_for_write(name) && store_->set_int_list(name, key, values);
}

bool SectionCursor::set_byte_list(std::string_view key, std::span<const std::uint8_t> values,
                                  SectionName name) {
  return focus_for_write(name) && store_->set_byte_list(name, key, values);
}

bool SectionCursor::set_string_from(std::string_view key, const std::string& value,
                                    SectionName name) {
  return focus_for_write(name) && store_->set_string_from(name, key, value);
}

bool SectionCursor::delete_key(std::string_view key, SectionName name) {
  return focus_existing(name) && store_->delete_key(name, key);
}

bool SectionCursor::save(std::optional<std::string_view> path) {
  return store_->save(path);
}

}  // namespace piconel
