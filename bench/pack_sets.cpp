#include "pack_sets.h"

#include <cstdint>
#include <utility>

namespace piconel::bench {
namespace {

// A 32-bit linear congruential generator (Numerical Recipes constants):
// the standard library's distributions differ between implementations.
class Sizes {
 public:
  explicit Sizes(std::uint32_t seed) : state_(seed) {}
  // Uniform in low..high (inclusive), small bias is fine here.
  std::int32_t between(std::int32_t low, std::int32_t high) {
    state_ = state_ * 1664525u + 1013904223u;
    return low +
           static_cast<std::int32_t>((state_ >> 8) % static_cast<std::uint32_t>(high - low + 1));
  }

 private:
  std::uint32_t state_;
};

PackSet uniform_tiles() {
  return {"uniform tiles 200 x 24x24", std::vector<PackSize>(200, PackSize{24, 24})};
}

PackSet mixed_sprites() {
  Sizes r(1);
  PackSet set{"mixed sprites 256 x 8-64", {}};
  for (int i = 0; i < 256; ++i) {
    set.sizes.push_back({r.between(8, 64), r.between(8, 64)});
  }
  return set;
}

PackSet strips() {
  Sizes r(2);
  PackSet set{"strips 200, up to 8:1", {}};
  for (int i = 0; i < 200; ++i) {
    const std::int32_t side = r.between(8, 32);
    const std::int32_t other = side * r.between(1, 8);
    set.sizes.push_back(r.between(0, 1) == 0 ? PackSize{side, other} : PackSize{other, side});
  }
  return set;
}

PackSet tiles_and_pictures() {
  Sizes r(3);
  PackSet set{"244 tiles 16x16 + 12 pictures 128-256", {}};
  for (int i = 0; i < 244; ++i) {
    set.sizes.push_back({16, 16});
  }
  for (int i = 0; i < 12; ++i) {
    set.sizes.push_back({r.between(128, 256), r.between(128, 256)});
  }
  return set;
}

PackSet glyphs() {
  Sizes r(4);
  PackSet set{"glyphs 190, height 24", {}};
  for (int i = 0; i < 190; ++i) {
    set.sizes.push_back({r.between(6, 24), 24});
  }
  return set;
}

PackSet ui_pieces() {
  Sizes r(5);
  PackSet set{"UI pieces 80 x 16-300", {}};
  for (int i = 0; i < 80; ++i) {
    set.sizes.push_back({r.between(16, 300), r.between(16, 300)});
  }
  return set;
}

PackSet tiny_sprites() {
  Sizes r(6);
  PackSet set{"tiny sprites 256 x 4-12", {}};
  for (int i = 0; i < 256; ++i) {
    set.sizes.push_back({r.between(4, 12), r.between(4, 12)});
  }
  return set;
}

PackSet power_of_two_sprites() {
  Sizes r(7);
  PackSet set{"power-of-two sprites 200 x 8-64", {}};
  for (int i = 0; i < 200; ++i) {
    set.sizes.push_back({8 << r.between(0, 3), 8 << r.between(0, 3)});
  }
  return set;
}

PackSet animation_frames() {
  Sizes r(8);
  PackSet set{"animation 8 characters x 24 frames", {}};
  for (int character = 0; character < 8; ++character) {
    const PackSize frame{r.between(40, 96), r.between(40, 96)};
    for (int i = 0; i < 24; ++i) {
      set.sizes.push_back(frame);
    }
  }
  return set;
}

}  // namespace

std::vector<PackSet> pack_sets() {
  return {uniform_tiles(),   mixed_sprites(), strips(),       tiles_and_pictures(),
          glyphs(),          ui_pieces(),     tiny_sprites(), power_of_two_sprites(),
          animation_frames()};
}

}  // namespace piconel::bench
