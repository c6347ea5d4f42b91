#pragma once

// The store's sections by name, so a lookup by name does not scan every
// section: a list of the sections sorted by name and, among equal names, by
// creation order. Sections are only ever appended to the store's list and a
// rename keeps a section's place, so creation order is list order and the
// first section of a name in this index is the first in the list.

#include <cstddef>
#include <list>
#include <string_view>
#include <vector>

#include "store/store_entry.h"

namespace piconel {

class SectionIndex {
 public:
  // The first section (in list order) named exactly `name`, or none.
  StoreSection* first_named(std::string_view name) const;

  // Adds a section whose name and order are set; false when memory runs out.
  [[nodiscard]] bool add(StoreSection& section);
  // Removes the section; its place stays reserved, so the next add cannot
  // run out of memory (a rename removes, renames, then adds).
  void remove(const StoreSection& section);
  // Indexes every section of `sections` afresh; false (and empty) when
  // memory runs out.
  [[nodiscard]] bool rebuild(std::list<StoreSection>& sections);
  void clear();

 private:
  // Names compare as byte strings; equal names by creation order.
  static bool before(const StoreSection* a, const StoreSection* b);

  std::vector<StoreSection*> sorted_;
};

}  // namespace piconel
