#include "packing/pack_search.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>

namespace piconel {
namespace {

// Widths spread evenly over the scanned range, besides the widths that suit
// the most common image width and the powers of two.
constexpr std::int32_t kEvenWidthSteps = 24;
// The scan's best layouts that the free-rectangle packer then redoes.
constexpr std::size_t kRefinedTrials = 16;

std::int32_t clamp_side(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, 0, kPackSheetLimit));
}

// Largest r with r * r <= value.
std::int64_t integer_sqrt(std::int64_t value) {
  if (value <= 0) {
    return 0;
  }
  std::int64_t root = 1;
  while ((root * 2) * (root * 2) <= value) {
    root *= 2;
  }
  for (std::int64_t step = root / 2; step > 0; step /= 2) {
    if ((root + step) * (root + step) <= value) {
      root += step;
    }
  }
  return root;
}

}  // namespace

bool PackSearch::Score::better_than(const Score& other) const {
  if (found != other.found)
    return found;
  if (aspect_ok != other.aspect_ok)
    return aspect_ok;
  if (sheet_area != other.sheet_area)
    return sheet_area < other.sheet_area;
  if (box_area != other.box_area)
    return box_area < other.box_area;
  if (sheet_skew != other.sheet_skew)
    return sheet_skew < other.sheet_skew;
  if (box_skew != other.box_skew)
    return box_skew < other.box_skew;
  // Of a layout and its mirror image, the wider one (sheets are wide screens).
  return box_width > other.box_width;
}

PackSearch::PackSearch(std::span<const PackSize> sizes, std::span<const PackRect> fixed,
                       const PackOptions& options)
    : options_(options) {
  options_.max_width = std::clamp(options.max_width, 1, kPackSheetLimit);
  options_.max_height = std::clamp(options.max_height, 1, kPackSheetLimit);
  padding_ = std::clamp(options.padding, 0, kPackSheetLimit);
  padded_.resize(sizes.size());
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    const std::int32_t width = std::max(sizes[i].width, 0);
    const std::int32_t height = std::max(sizes[i].height, 0);
    if (width == 0 || height == 0) {
      continue;
    }
    if (width > options_.max_width || height > options_.max_height) {
      too_large_.push_back(i);
      continue;
    }
    items_.push_back(static_cast<std::uint32_t>(i));
    padded_[i] = PackSize{width + padding_, height + padding_};
    image_area_ += std::int64_t{width} * height;
    padded_area_ += std::int64_t{width + padding_} * (height + padding_);
    widest_ = std::max(widest_, width);
    tallest_ = std::max(tallest_, height);
  }
  for (const PackRect& rect : fixed) {
    if (rect.width <= 0 || rect.height <= 0) {
      continue;
    }
    blocked_.push_back(PackRect{rect.x, rect.y, clamp_side(std::int64_t{rect.width} + padding_),
                                clamp_side(std::int64_t{rect.height} + padding_)});
    image_area_ += std::int64_t{rect.width} * rect.height;
    padded_area_ += std::int64_t{rect.width + padding_} * (rect.height + padding_);
    fixed_right_ = std::max(fixed_right_, clamp_side(std::int64_t{rect.x} + rect.width));
    fixed_bottom_ = std::max(fixed_bottom_, clamp_side(std::int64_t{rect.y} + rect.height));
  }
  trial_.resize(sizes.size());
  best_positions_.resize(sizes.size());
}

// Big first, in several senses of big: which one packs best depends on the
// mix. Every order ends on the input index, so it is total and the same on
// every standard library.
void PackSearch::sort_orders() {
  using Key = std::array<std::int64_t, 2>;
  const auto make = [&](auto key_of) {
    std::vector<std::uint32_t> order = items_;
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
      const Key ka = key_of(padded_[a]);
      const Key kb = key_of(padded_[b]);
      if (ka != kb)
        return ka > kb;
      return a < b;
    });
    std::vector<PackSize> smallest(order.size());
    PackSize running{INT32_MAX, INT32_MAX};
    for (std::size_t k = order.size(); k-- > 0;) {
      running.width = std::min(running.width, padded_[order[k]].width);
      running.height = std::min(running.height, padded_[order[k]].height);
      smallest[k] = running;
    }
    orders_.push_back(std::move(order));
    smallest_after_.push_back(std::move(smallest));
  };
  make([](PackSize s) { return Key{s.height, s.width}; });
  make([](PackSize s) { return Key{std::int64_t{s.width} * s.height, s.height}; });
  make([](PackSize s) { return Key{std::max(s.width, s.height), std::min(s.width, s.height)}; });
  make([](PackSize s) { return Key{s.width, s.height}; });
}

std::vector<std::int32_t> PackSearch::candidate_widths() const {
  const std::int64_t root = integer_sqrt(padded_area_);
  // A narrow manual sheet may leave no room for the square-ish widths.
  const std::int32_t low =
      std::max(widest_, std::min(options_.max_width, clamp_side(root * 6 / 10 - padding_)));
  const std::int32_t high =
      std::min(options_.max_width, std::max(low, clamp_side(root * 16 / 10 - padding_)));
  std::vector<std::int32_t> widths;
  for (std::int32_t step = 0; step <= kEvenWidthSteps; ++step) {
    widths.push_back(
        static_cast<std::int32_t>(low + std::int64_t{high - low} * step / kEvenWidthSteps));
  }
  // Whole columns of the most common image width (tiles, frames, glyphs).
  std::map<std::int32_t, std::int32_t> counts;
  for (const std::uint32_t i : items_) {
    ++counts[padded_[i].width];
  }
  std::int32_t common = 0;
  std::int32_t common_count = 0;
  for (const auto& [width, count] : counts) {
    if (count > common_count) {
      common = width;
      common_count = count;
    }
  }
  // Only when it is the width of at least a quarter of the images.
  if (common > 0 && common_count * 4 >= static_cast<std::int32_t>(items_.size())) {
    for (std::int64_t columns = 1; columns * common - padding_ <= high; ++columns) {
      const std::int64_t width = columns * common - padding_;
      if (width >= low) {
        widths.push_back(static_cast<std::int32_t>(width));
      }
    }
  }
  for (std::int64_t side = 1; side <= options_.max_width; side *= 2) {
    if (side >= low && (side <= high || options_.power_of_two)) {
      widths.push_back(static_cast<std::int32_t>(side));
      if (side > high) {
        break;
      }
    }
  }
  // A manual sheet's own width holds the most.
  if (options_.max_width < kPackSheetLimit) {
    widths.push_back(options_.max_width);
  }
  std::sort(widths.begin(), widths.end());
  widths.erase(std::unique(widths.begin(), widths.end()), widths.end());
  return widths;
}

PackSearch::Score PackSearch::score_box(std::int32_t box_width, std::int32_t box_height) const {
  Score score;
  score.found = true;
  score.box_width = box_width;
  score.box_height = box_height;
  std::int32_t sheet_width = box_width;
  std::int32_t sheet_height = box_height;
  if (options_.square) {
    sheet_width = sheet_height = std::max(box_width, box_height);
  }
  if (options_.power_of_two) {
    sheet_width = power_of_two_at_least(sheet_width);
    sheet_height = power_of_two_at_least(sheet_height);
  }
  score.sheet_width = sheet_width;
  score.sheet_height = sheet_height;
  score.sheet_area = std::int64_t{sheet_width} * sheet_height;
  score.box_area = std::int64_t{box_width} * box_height;
  score.sheet_skew = std::abs(sheet_width - sheet_height);
  score.box_skew = std::abs(box_width - box_height);
  // Longer than 2:1 only when one image alone is as wide (or as tall) as the box.
  const std::int64_t long_side = std::max(sheet_width, sheet_height);
  const std::int64_t short_side = std::min(sheet_width, sheet_height);
  score.aspect_ok = long_side <= 2 * short_side ||
                    (sheet_width > sheet_height && box_width <= std::max(widest_, fixed_right_)) ||
                    (sheet_height > sheet_width && box_height <= std::max(tallest_, fixed_bottom_));
  return score;
}

PackSearch::Score PackSearch::try_bin(std::uint32_t order, FitRule rule, std::int32_t box_width,
                                      std::int32_t box_height) {
  bin_.reset(box_width + padding_, box_height + padding_, blocked_);
  std::int32_t right = fixed_right_;
  std::int32_t bottom = fixed_bottom_;
  const std::vector<std::uint32_t>& items = orders_[order];
  for (std::size_t k = 0; k < items.size(); ++k) {
    const std::uint32_t i = items[k];
    bin_.set_smallest(smallest_after_[order][k]);
    PackPoint at;
    if (!bin_.insert(padded_[i], rule, at)) {
      return Score{};
    }
    trial_[i] = at;
    right = std::max(right, at.x + padded_[i].width - padding_);
    bottom = std::max(bottom, at.y + padded_[i].height - padding_);
  }
  return score_box(right, bottom);
}

PackSearch::Score PackSearch::try_skyline(std::uint32_t order, SkylineRule rule,
                                          std::int32_t box_width, std::int32_t box_height) {
  skyline_.reset(box_width + padding_, box_height + padding_);
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  for (const std::uint32_t i : orders_[order]) {
    PackPoint at;
    if (!skyline_.insert(padded_[i], rule, at)) {
      return Score{};
    }
    trial_[i] = at;
    right = std::max(right, at.x + padded_[i].width - padding_);
    bottom = std::max(bottom, at.y + padded_[i].height - padding_);
  }
  return score_box(right, bottom);
}

void PackSearch::consider(const Score& score) {
  if (score.better_than(best_)) {
    best_ = score;
    for (const std::uint32_t i : items_) {
      best_positions_[i] = trial_[i];
    }
  }
}

// Power-of-two sheets come in few sizes: every smaller one that could hold
// the images is tried outright with each order and rule.
void PackSearch::refine_power_of_two() {
  std::vector<std::pair<std::int32_t, std::int32_t>> sheets;
  for (std::int64_t width = 1; width <= options_.max_width; width *= 2) {
    for (std::int64_t height = 1; height <= options_.max_height; height *= 2) {
      const std::int64_t area = width * height;
      if (width < widest_ || height < tallest_ || area < image_area_ || area >= best_.sheet_area ||
          (options_.square && width != height)) {
        continue;
      }
      sheets.emplace_back(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height));
    }
  }
  std::sort(sheets.begin(), sheets.end(), [](const auto& a, const auto& b) {
    const std::int64_t area_a = std::int64_t{a.first} * a.second;
    const std::int64_t area_b = std::int64_t{b.first} * b.second;
    if (area_a != area_b)
      return area_a < area_b;
    if (std::abs(a.first - a.second) != std::abs(b.first - b.second)) {
      return std::abs(a.first - a.second) < std::abs(b.first - b.second);
    }
    return a.first > b.first;
  });
  for (const auto& [width, height] : sheets) {
    if (std::int64_t{width} * height >= best_.sheet_area) {
      break;
    }
    for (std::uint32_t order = 0; order < orders_.size(); ++order) {
      for (const FitRule rule : {FitRule::BestShortSide, FitRule::BottomLeft, FitRule::BestArea}) {
        consider(try_bin(order, rule, width, height));
      }
    }
  }
}

// The common packer's way, kept as one more candidate so the result is
// never worse than it: largest area first into the smallest square bin,
// grown by 1/64, that the best-short-side rule fills.
void PackSearch::try_square_bins() {
  std::vector<std::uint32_t> by_area = items_;
  std::sort(by_area.begin(), by_area.end(), [&](std::uint32_t a, std::uint32_t b) {
    const std::int64_t area_a = std::int64_t{padded_[a].width} * padded_[a].height;
    const std::int64_t area_b = std::int64_t{padded_[b].width} * padded_[b].height;
    if (area_a != area_b)
      return area_a > area_b;
    return a < b;
  });
  orders_.push_back(std::move(by_area));
  std::vector<PackSize> smallest(items_.size());
  PackSize running{INT32_MAX, INT32_MAX};
  for (std::size_t k = items_.size(); k-- > 0;) {
    running.width = std::min(running.width, padded_[orders_.back()[k]].width);
    running.height = std::min(running.height, padded_[orders_.back()[k]].height);
    smallest[k] = running;
  }
  smallest_after_.push_back(std::move(smallest));
  const std::uint32_t order = static_cast<std::uint32_t>(orders_.size() - 1);
  std::int64_t side =
      std::max<std::int64_t>({integer_sqrt(padded_area_) - padding_, widest_, tallest_});
  while (side <= options_.max_width || side <= options_.max_height) {
    const Score score = try_bin(order, FitRule::BestShortSide,
                                clamp_side(std::min<std::int64_t>(side, options_.max_width)),
                                clamp_side(std::min<std::int64_t>(side, options_.max_height)));
    if (score.found) {
      consider(score);
      return;
    }
    side += std::max<std::int64_t>(1, side / 64);
  }
}

PackLayout PackSearch::run() {
  PackLayout layout;
  layout.positions.assign(padded_.size(), PackPoint{});
  layout.too_large = too_large_;
  layout.image_area = image_area_;
  if (items_.empty()) {
    layout.packed = true;
    const Score score = score_box(fixed_right_, fixed_bottom_);
    layout.box_width = fixed_right_;
    layout.box_height = fixed_bottom_;
    layout.sheet_width = score.sheet_width;
    layout.sheet_height = score.sheet_height;
    return layout;
  }
  sort_orders();
  std::vector<Trial> trials;
  for (const std::int32_t width : candidate_widths()) {
    for (std::uint32_t order = 0; order < orders_.size(); ++order) {
      // The skyline cannot start around fixed rectangles; the free-rectangle
      // packer can, at a higher price.
      if (!blocked_.empty()) {
        const Score score = try_bin(order, FitRule::BottomLeft, width, options_.max_height);
        if (score.found) {
          trials.push_back(Trial{score, width, order});
          consider(score);
        }
        continue;
      }
      for (const SkylineRule rule : {SkylineRule::BottomLeft}) {
        const Score score = try_skyline(order, rule, width, options_.max_height);
        if (score.found) {
          trials.push_back(Trial{score, width, order});
          consider(score);
        }
      }
    }
  }
  if (!best_.found) {
    return layout;
  }
  std::stable_sort(trials.begin(), trials.end(),
                   [](const Trial& a, const Trial& b) { return a.score.better_than(b.score); });
  // The skyline ranks the widths cheaply; the free-rectangle packer, which
  // also fills the gaps the skyline leaves below its outline, redoes the
  // best of them (with fixed rectangles the scan already used it).
  for (std::size_t i = 0; blocked_.empty() && i < trials.size() && i < kRefinedTrials; ++i) {
    consider(
        try_bin(trials[i].order, FitRule::BottomLeft, trials[i].bin_width, options_.max_height));
  }
  try_square_bins();
  if (options_.power_of_two) {
    refine_power_of_two();
  }
  layout.packed = true;
  for (const std::uint32_t i : items_) {
    layout.positions[i] = best_positions_[i];
  }
  layout.box_width = best_.box_width;
  layout.box_height = best_.box_height;
  layout.sheet_width = best_.sheet_width;
  layout.sheet_height = best_.sheet_height;
  return layout;
}

}  // namespace piconel
