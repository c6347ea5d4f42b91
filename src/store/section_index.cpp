#include "store/section_index.h"

#include <algorithm>
#include <tuple>

#include "store/no_throw.h"

namespace piconel {

bool SectionIndex::before(const StoreSection* a, const StoreSection* b) {
  return std::make_tuple(a->name(), a->order_) < std::make_tuple(b->name(), b->order_);
}

StoreSection* SectionIndex::first_named(std::string_view name) const {
  const auto it =
      std::lower_bound(sorted_.begin(), sorted_.end(), name,
                       [](const StoreSection* s, std::string_view n) { return s->name() < n; });
  return it != sorted_.end() && (*it)->name() == name ? *it : nullptr;
}

bool SectionIndex::add(StoreSection& section) {
  const auto at = std::upper_bound(sorted_.begin(), sorted_.end(), &section, before);
  return allocation_succeeds([&] { sorted_.insert(at, &section); });
}

void SectionIndex::remove(const StoreSection& section) {
  const auto it = std::lower_bound(sorted_.begin(), sorted_.end(), &section, before);
  if (it != sorted_.end() && *it == &section) {
    sorted_.erase(it);
  }
}

bool SectionIndex::rebuild(std::list<StoreSection>& sections) {
  sorted_.clear();
  if (!allocation_succeeds([&] { sorted_.reserve(sections.size()); })) {
    return false;
  }
  for (StoreSection& section : sections) {
    sorted_.push_back(&section);
  }
  std::sort(sorted_.begin(), sorted_.end(), before);
  return true;
}

void SectionIndex::clear() {
  std::vector<StoreSection*>().swap(sorted_);
}

}  // namespace piconel
