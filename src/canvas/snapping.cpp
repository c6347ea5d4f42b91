#include "canvas/snapping.h"

#include <array>
#include <cstdlib>

#include "canvas/sheet_geometry.h"

namespace piconel {

namespace {

enum class Edge { Left, Top, Right, Bottom };

// One snapping rule: our edge and theirs that meet on the gate axis, and our
// edge that is aligned on the other axis (with their low edge, their high
// edge, or inside them).
struct Rule {
  Edge ours;
  Edge theirs;
  Edge aligned;
};

// Beside (1, 3, 5, 7: left or right of it, tops or bottoms lined up) and
// above or below (2, 4, 6, 8: lefts or rights lined up).
constexpr std::array<Rule, 8> kRules = {{
    {Edge::Left, Edge::Right, Edge::Top},
    {Edge::Top, Edge::Bottom, Edge::Left},
    {Edge::Right, Edge::Left, Edge::Top},
    {Edge::Top, Edge::Bottom, Edge::Right},
    {Edge::Left, Edge::Right, Edge::Bottom},
    {Edge::Bottom, Edge::Top, Edge::Left},
    {Edge::Right, Edge::Left, Edge::Bottom},
    {Edge::Bottom, Edge::Top, Edge::Right},
}};

bool horizontal(Edge edge) {
  return edge == Edge::Left || edge == Edge::Right;
}

// Edges in 64 bits: sizes come from files and need not be small.
std::int64_t edge_of(const SheetRect& rect, Edge edge) {
  switch (edge) {
    case Edge::Left:
      return rect.x;
    case Edge::Top:
      return rect.y;
    case Edge::Right:
      return std::int64_t{rect.x} + rect.width;
    case Edge::Bottom:
      return std::int64_t{rect.y} + rect.height;
  }
  return 0;
}

// How far our edge lies from our top-left corner on its axis: a candidate
// placing our edge at e puts the corner at e - offset.
std::int64_t offset_of(const SheetRect& rect, Edge edge) {
  switch (edge) {
    case Edge::Right:
      return rect.width;
    case Edge::Bottom:
      return rect.height;
    default:
      return 0;
  }
}

std::int32_t clamp_to_int32(std::int64_t value) {
  if (value < INT32_MIN) {
    return INT32_MIN;
  }
  if (value > INT32_MAX) {
    return INT32_MAX;
  }
  return static_cast<std::int32_t>(value);
}

}  // namespace

SnapSearch::SnapSearch(const SheetRect& proposed, std::int32_t snap_width)
    : proposed_(proposed),
      snap_width_(snap_width),
      best_x_(snap_width),
      best_y_(snap_width),
      candidate_x_(proposed.x),
      candidate_y_(proposed.y) {}

void SnapSearch::consider(const SheetRect& other) {
  for (const Rule& rule : kRules) {
    const bool gate_on_x = horizontal(rule.ours);
    std::int64_t& gate_best = gate_on_x ? best_x_ : best_y_;
    std::int64_t& align_best = gate_on_x ? best_y_ : best_x_;
    std::int64_t& gate_candidate = gate_on_x ? candidate_x_ : candidate_y_;
    std::int64_t& align_candidate = gate_on_x ? candidate_y_ : candidate_x_;

    const std::int64_t gate_distance =
        std::llabs(edge_of(proposed_, rule.ours) - edge_of(other, rule.theirs));
    if (gate_distance > gate_best) {
      continue;
    }
    const std::int64_t gate_result = edge_of(other, rule.theirs) - offset_of(proposed_, rule.ours);

    const std::int64_t our_edge = edge_of(proposed_, rule.aligned);
    const std::int64_t low = edge_of(other, gate_on_x ? Edge::Top : Edge::Left);
    const std::int64_t high = edge_of(other, gate_on_x ? Edge::Bottom : Edge::Right);
    const std::int64_t aligned_offset = offset_of(proposed_, rule.aligned);
    // The first option that applies is taken.
    bool applied = false;
    for (const std::int64_t their_edge : {low, high}) {
      const std::int64_t distance = std::llabs(our_edge - their_edge);
      if (distance < align_best) {
        gate_best = gate_distance;
        align_best = distance;
        gate_candidate = gate_result;
        align_candidate = their_edge - aligned_offset;
        applied = true;
        break;
      }
    }
    if (!applied && low < our_edge && our_edge < high) {
      // Inside: the other axis keeps its best and its candidate.
      gate_best = gate_distance;
      gate_candidate = gate_result;
    }
  }
}

SheetRect SnapSearch::result() const {
  SheetRect rect = proposed_;
  if (snapped()) {
    rect.x = clamp_to_int32(candidate_x_);
    rect.y = clamp_to_int32(candidate_y_);
  }
  return rect;
}

SheetRect snap_to(const SheetRect& proposed, std::span<const SheetRect> others,
                  std::int32_t snap_width) {
  SnapSearch search(proposed, snap_width);
  for (const SheetRect& other : others) {
    search.consider(other);
  }
  return search.result();
}

SheetRect snap_to_entries(const SheetRect& proposed, const ImageEntryList& entries,
                          const ImageEntry* dragged, std::int32_t snap_width) {
  SnapSearch search(proposed, snap_width);
  for (const ImageEntry& entry : entries) {
    if (&entry != dragged) {
      search.consider(sheet_rect_of(entry));
    }
  }
  return search.result();
}

SheetRect limit_to_sheet(const SheetRect& rect) {
  std::int64_t x = rect.x;
  std::int64_t y = rect.y;
  if (x < 0) {
    x = 0;
  }
  if (y < 0) {
    y = 0;
  }
  if (x + rect.width > kSheetLimit) {
    x = std::int64_t{kSheetLimit} - rect.width;
  }
  if (y + rect.height > kSheetLimit) {
    y = std::int64_t{kSheetLimit} - rect.height;
  }
  return {clamp_to_int32(x), clamp_to_int32(y), rect.width, rect.height};
}

}  // namespace piconel
