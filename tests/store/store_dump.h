#pragma once

// A compact, readable picture of a store's contents for expectations:
// "[name]" per section, then "key=value" or "|value" per entry, each followed
// by a line feed.

#include <string>

#include "store/document_store.h"

namespace piconel::testing {

inline std::string dump(const DocumentStore& store) {
  std::string out;
  for (const StoreSection& section : store.sections()) {
    out += "[";
    out += section.name();
    out += "]\n";
    for (const StoreEntry& entry : section.entries()) {
      if (entry.key()) {
        out += *entry.key();
        out += "=";
      } else {
        out += "|";
      }
      out += entry.value();
      out += "\n";
    }
  }
  return out;
}

}  // namespace piconel::testing
