#pragma once

// Page-sized sets of image sizes for the packer benchmark, each the kind of
// page a game or UI sheet holds. Made by a fixed little generator, so every
// run and platform packs the same sizes.

#include <string>
#include <vector>

#include "packing/pack_types.h"

namespace piconel::bench {

struct PackSet {
  std::string name;
  std::vector<PackSize> sizes;
};

std::vector<PackSet> pack_sets();

}  // namespace piconel::bench
