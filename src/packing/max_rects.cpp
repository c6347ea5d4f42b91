#include "packing/max_rects.h"

#include <algorithm>
#include <cstdlib>

namespace piconel {
namespace {

constexpr std::int64_t kWorst = INT64_MAX;

bool intersects(const PackRect& a, const PackRect& b) {
  return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

bool contains(const PackRect& outer, const PackRect& inner) {
  return inner.x >= outer.x && inner.y >= outer.y &&
         inner.x + inner.width <= outer.x + outer.width &&
         inner.y + inner.height <= outer.y + outer.height;
}

struct Score {
  std::int64_t first = kWorst;
  std::int64_t second = kWorst;
  std::int32_t y = 0;
  std::int32_t x = 0;

  bool better_than(const Score& other) const {
    if (first != other.first)
      return first < other.first;
    if (second != other.second)
      return second < other.second;
    if (y != other.y)
      return y < other.y;
    return x < other.x;
  }
};

Score score_spot(const PackRect& spot, PackSize size, FitRule rule) {
  const std::int64_t left_w = spot.width - size.width;
  const std::int64_t left_h = spot.height - size.height;
  const std::int64_t short_side = std::min(left_w, left_h);
  const std::int64_t long_side = std::max(left_w, left_h);
  Score score;
  score.x = spot.x;
  score.y = spot.y;
  switch (rule) {
    case FitRule::BestShortSide:
      score.first = short_side;
      score.second = long_side;
      break;
    case FitRule::BestLongSide:
      score.first = long_side;
      score.second = short_side;
      break;
    case FitRule::BestArea:
      score.first = std::int64_t{spot.width} * spot.height - std::int64_t{size.width} * size.height;
      score.second = short_side;
      break;
    case FitRule::BottomLeft:
      score.first = std::int64_t{spot.y} + size.height;
      score.second = spot.x;
      break;
  }
  return score;
}

}  // namespace

void MaxRectsBin::reset(std::int32_t width, std::int32_t height,
                        std::span<const PackRect> blocked) {
  free_.clear();
  smallest_ = PackSize{};
  if (width <= 0 || height <= 0) {
    return;
  }
  free_.push_back(PackRect{0, 0, width, height});
  for (const PackRect& rect : blocked) {
    const std::int32_t left = std::max(rect.x, 0);
    const std::int32_t top = std::max(rect.y, 0);
    const std::int32_t right =
        static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t{rect.x} + rect.width, width));
    const std::int32_t bottom = static_cast<std::int32_t>(
        std::min<std::int64_t>(std::int64_t{rect.y} + rect.height, height));
    if (left < right && top < bottom) {
      place(PackRect{left, top, right - left, bottom - top});
    }
  }
}

bool MaxRectsBin::insert(PackSize size, FitRule rule, PackPoint& at) {
  Score best;
  for (const PackRect& spot : free_) {
    if (spot.width < size.width || spot.height < size.height) {
      continue;
    }
    const Score score = score_spot(spot, size, rule);
    if (score.better_than(best)) {
      best = score;
    }
  }
  if (best.first == kWorst) {
    return false;
  }
  at = PackPoint{best.x, best.y};
  if (size.width > 0 && size.height > 0) {
    place(PackRect{best.x, best.y, size.width, size.height});
  }
  return true;
}

// Splits every free rectangle that `used` cuts into the up to four maximal
// pieces around it, then drops pieces held by another free rectangle. Only
// the new pieces need that test: an untouched free rectangle was maximal
// before and lies in no piece of a rectangle it did not already lie in.
void MaxRectsBin::place(const PackRect& used) {
  pieces_.clear();
  std::size_t kept = 0;
  for (std::size_t i = 0; i < free_.size(); ++i) {
    const PackRect spot = free_[i];
    if (!intersects(spot, used)) {
      if (useful(spot)) {
        free_[kept++] = spot;
      }
      continue;
    }
    const std::int32_t spot_right = spot.x + spot.width;
    const std::int32_t spot_bottom = spot.y + spot.height;
    const std::int32_t used_right = used.x + used.width;
    const std::int32_t used_bottom = used.y + used.height;
    if (used.x > spot.x) {
      pieces_.push_back(PackRect{spot.x, spot.y, used.x - spot.x, spot.height});
    }
    if (used_right < spot_right) {
      pieces_.push_back(PackRect{used_right, spot.y, spot_right - used_right, spot.height});
    }
    if (used.y > spot.y) {
      pieces_.push_back(PackRect{spot.x, spot.y, spot.width, used.y - spot.y});
    }
    if (used_bottom < spot_bottom) {
      pieces_.push_back(PackRect{spot.x, used_bottom, spot.width, spot_bottom - used_bottom});
    }
  }
  free_.resize(kept);
  for (std::size_t i = 0; i < pieces_.size(); ++i) {
    const PackRect& piece = pieces_[i];
    bool held = false;
    for (std::size_t j = 0; j < pieces_.size() && !held; ++j) {
      // Of two equal pieces the first is kept.
      held = j != i && contains(pieces_[j], piece) && (j < i || !contains(piece, pieces_[j]));
    }
    for (std::size_t j = 0; j < kept && !held; ++j) {
      held = contains(free_[j], piece);
    }
    if (!held && useful(piece)) {
      free_.push_back(piece);
    }
  }
}

}  // namespace piconel
