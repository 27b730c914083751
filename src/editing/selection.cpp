#include "editing/selection.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <variant>
#include <vector>

#include "editing/picking.h"
#include "geometry/geometry.h"
#include "model/angles.h"
#include "model/entity_visit.h"

namespace blok {
namespace {

// The kernel finds segment crossings up to 0.001 beyond both segments.
constexpr double kCrossingTolerance = 0.001;
// Arc angles are written and turned in single precision: a crossing this close to an end of the
// sweep is on the arc.
constexpr double kSweepSlack = 1e-6;

// A compact box as one vector of its four sides, for GCC and Clang to compare at once.
using Float4 = float __attribute__((vector_size(16)));
using Int4 = std::int32_t __attribute__((vector_size(16)));
static_assert(sizeof(CompactBox) == sizeof(Float4));

// The window's sides in the order the edges are tried: left, right, bottom, top.
struct WindowEdges {
  double x1[4], y1[4], x2[4], y2[4];
  explicit WindowEdges(const StretchWindow& w)
      : x1{w.left, w.right, w.left, w.left},
        y1{w.bottom, w.bottom, w.bottom, w.top},
        x2{w.left, w.right, w.right, w.right},
        y2{w.top, w.top, w.bottom, w.top} {}
};

class WindowTest {
 public:
  WindowTest(const StretchWindow& window, const StrokeFont& font)
      : w_(window), edges_(window), font_(font) {
    // An entity this far outside can meet no edge even with the kernel's tolerance and the
    // rounding of far coordinates.
    const double far = std::max(
        {std::fabs(w_.left), std::fabs(w_.right), std::fabs(w_.bottom), std::fabs(w_.top)});
    reach_ = 10 * kCrossingTolerance + 1e-6 * far;
    near_ = {w_.left - reach_, w_.right + reach_, w_.bottom - reach_, w_.top + reach_};
    well_inside_ = {w_.left + reach_, w_.right - reach_, w_.bottom + reach_, w_.top - reach_};
    // The near window rounded outwards and the inner one inwards: a compact box holds the
    // entity's box, so either test in single precision implies its own in double.
    const CompactBox compact_near{FloatAtOrBelow(near_.left), FloatAtOrAbove(near_.right),
                                  FloatAtOrBelow(near_.bottom), FloatAtOrAbove(near_.top)};
    // A box meets it where its left and bottom are at most these, and its right and top at
    // least those; the infinities leave the other sides free.
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    near_highs_ = Float4{compact_near.right, kInfinity, compact_near.top, kInfinity};
    near_lows_ = Float4{-kInfinity, compact_near.left, -kInfinity, compact_near.bottom};
    compact_inside_ = {FloatAtOrAbove(well_inside_.left), FloatAtOrBelow(well_inside_.right),
                       FloatAtOrAbove(well_inside_.bottom), FloatAtOrBelow(well_inside_.top)};
  }

  // By an entity's compact box: false only where MayCatch is false, true only where Catches
  // would find it well inside. An empty box is inside out and meets nothing. The first is run
  // on every entity of the drawing, so its four comparisons are made as one.
  bool MayCatch(const CompactBox& box) const {
    Float4 sides;
    std::memcpy(&sides, &box, sizeof sides);
    const Int4 meets = (sides <= near_highs_) & (sides >= near_lows_);
    std::int64_t halves[2];
    std::memcpy(halves, &meets, sizeof halves);
    return (halves[0] & halves[1]) == -1;
  }
  bool CatchesWellInside(const CompactBox& box) const {
    // An inside-out box would pass inside a window of infinite sides.
    return (compact_inside_.left < box.left) & (box.right < compact_inside_.right) &
           (compact_inside_.bottom < box.bottom) & (box.top < compact_inside_.top) &
           (box.left <= box.right);
  }

  // False only for entities the window cannot catch. A text's box is its insertion point
  // alone; every other entity lies within its box. The record's own kind is read, not
  // entity.kind: it shares a cache line with the box.
  bool MayCatch(const ParsedEntity& entity) const {
    return std::holds_alternative<TextRecord>(entity.record) | Near(entity.box);
  }

  // For an entity that MayCatch.
  bool Catches(const ParsedEntity& entity) const {
    // The first point of a line, every corner of a rectangle and the whole circle of a circle
    // or an arc lie inside, with room for single precision.
    if (!std::holds_alternative<TextRecord>(entity.record) && WellInside(entity.box)) return true;
    bool caught = false;
    const Overloaded test{
        [&](const LineEntity& line) {
          const SegmentRecord& r = line.segment;
          caught = SegmentCaught(r.x1, r.y1, r.x2, r.y2);
        },
        [&](const RectangleEntity& rectangle) {
          const SegmentRecord& r = rectangle.segment;
          caught = OnOrInside(r.x1, r.y1) || OnOrInside(r.x2, r.y1) || OnOrInside(r.x1, r.y2) ||
                   OnOrInside(r.x2, r.y2);
        },
        [&](const CircleRecord& c) { caught = CircleCaught(c); },
        [&](const ArcRecord& a) { caught = ArcCaught(a); },
        [&](const TextRecord& t) { caught = TextCaught(t); },
        [](const ColourRecord&) {},
        [](const ThicknessRecord&) {},
    };
    VisitEntity(entity, test);
    return caught;
  }

 private:
  // False for an empty box too: its left lies beyond its right.
  bool Near(const WorldBox& box) const {
    // No branches: most entities are decided here, and which way is anybody's guess.
    return (box.left <= near_.right) & (box.right >= near_.left) & (box.bottom <= near_.top) &
           (box.top >= near_.bottom) & (box.left <= box.right);
  }
  bool WellInside(const WorldBox& box) const {
    return (well_inside_.left < box.left) & (box.right < well_inside_.right) &
           (well_inside_.bottom < box.bottom) & (box.top < well_inside_.top);
  }
  // Whether edge e passes within reach of the box: the kernel finds no crossing, on a segment
  // or on a circle, with an edge that does not.
  bool EdgeNear(int e, const WorldBox& box) const {
    return std::min(edges_.x1[e], edges_.x2[e]) <= box.right + reach_ &&
           std::max(edges_.x1[e], edges_.x2[e]) >= box.left - reach_ &&
           std::min(edges_.y1[e], edges_.y2[e]) <= box.top + reach_ &&
           std::max(edges_.y1[e], edges_.y2[e]) >= box.bottom - reach_;
  }
  bool StrictlyInside(double x, double y) const {
    return w_.left < x && x < w_.right && w_.bottom < y && y < w_.top;
  }
  bool OnOrInside(double x, double y) const {
    return w_.left <= x && x <= w_.right && w_.bottom <= y && y <= w_.top;
  }

  bool SegmentCaught(double x1, double y1, double x2, double y2) const {
    if (StrictlyInside(x1, y1)) return true;
    const WorldBox box{std::min(x1, x2), std::max(x1, x2), std::min(y1, y2), std::max(y1, y2)};
    for (int e = 0; e < 4; ++e) {
      if (EdgeNear(e, box) && SegmentSegmentIntersection(x1, y1, x2, y2, edges_.x1[e], edges_.y1[e],
                                                         edges_.x2[e], edges_.y2[e])
                                  .ok) {
        return true;
      }
    }
    return false;
  }

  // A circle taken in single precision. A negative radius draws the same circle as its size.
  bool CircleInside(double cx, double cy, double r) const {
    return cx - r > w_.left && cx + r < w_.right && cy - r > w_.bottom && cy + r < w_.top;
  }

  bool CircleCaught(const CircleRecord& c) const {
    const double cx = ToSingle(c.x);
    const double cy = ToSingle(c.y);
    const double r = std::fabs(ToSingle(c.radius));
    if (CircleInside(cx, cy, r)) return true;
    const WorldBox box{cx - r, cx + r, cy - r, cy + r};
    for (int e = 0; e < 4; ++e) {
      if (!EdgeNear(e, box)) continue;
      const CircleHits hits =
          SegmentCircleCrossings(edges_.x1[e], edges_.y1[e], edges_.x2[e], edges_.y2[e], cx, cy, r);
      if (hits.found1 || hits.found2) return true;
    }
    return false;
  }

  // The arc as the renderer draws it: a negative radius puts every point on the far side of
  // the centre, which is the arc turned half a turn.
  bool ArcCaught(const ArcRecord& a) const {
    const double cx = ToSingle(a.x);
    const double cy = ToSingle(a.y);
    const double signed_r = ToSingle(a.radius);
    const double r = std::fabs(signed_r);
    const double turn = signed_r < 0 ? kPi : 0;
    const double start = a.start_angle + turn;
    const double end = a.end_angle + turn;
    if (CircleInside(cx, cy, r)) return true;
    // An arc that starts inside either stays there or crosses an edge on its way out; without
    // this an arc lying wholly inside would be missed when its unseen rest of circle leaves.
    // Tried before the crossings, which cost several times more.
    if (StrictlyInside(cx + r * std::cos(start), cy + r * std::sin(start))) return true;
    const WorldBox box{cx - r, cx + r, cy - r, cy + r};
    for (int e = 0; e < 4; ++e) {
      if (!EdgeNear(e, box)) continue;
      const CircleHits hits =
          SegmentCircleCrossings(edges_.x1[e], edges_.y1[e], edges_.x2[e], edges_.y2[e], cx, cy, r);
      if (hits.found1 && WithinSweep(std::atan2(hits.y1 - cy, hits.x1 - cx), start, end)) {
        return true;
      }
      if (hits.found2 && WithinSweep(std::atan2(hits.y2 - cy, hits.x2 - cx), start, end)) {
        return true;
      }
    }
    return false;
  }

  // The direction is taken exactly: the kernel's direction calls anything within 0.01 of the
  // centre's x straight up or down, which on a small arc is most of it.
  static bool WithinSweep(double angle, double start, double end) {
    return OnSweep(angle, start, end, kSweepSlack);
  }

  bool TextCaught(const TextRecord& t) const {
    const TextPickSegment low = PickSegmentOfText(t, font_);
    // The second segment 0.7 x height above the baseline: half a height above the first.
    const double a = t.angle * kRadiansPerDegree;
    const double up_x = -0.5 * t.height * std::sin(a);
    const double up_y = 0.5 * t.height * std::cos(a);
    const double hx1 = low.x1 + up_x, hy1 = low.y1 + up_y;
    const double hx2 = low.x2 + up_x, hy2 = low.y2 + up_y;
    const WorldBox box{std::min({low.x1, low.x2, hx1, hx2}), std::max({low.x1, low.x2, hx1, hx2}),
                       std::min({low.y1, low.y2, hy1, hy2}), std::max({low.y1, low.y2, hy1, hy2})};
    if (!Near(box)) return false;
    return SegmentCaught(low.x1, low.y1, low.x2, low.y2) || SegmentCaught(hx1, hy1, hx2, hy2);
  }

  StretchWindow w_;
  WindowEdges edges_;
  const StrokeFont& font_;
  double reach_ = 0;
  WorldBox near_;         // the window grown by reach_
  WorldBox well_inside_;  // and shrunk by it
  Float4 near_highs_{}, near_lows_{};
  CompactBox compact_inside_;
};

StretchWindow Normalised(double x1, double y1, double x2, double y2) {
  const double a = ToSingle(x1), b = ToSingle(x2), c = ToSingle(y1), d = ToSingle(y2);
  return {std::min(a, b), std::max(a, b), std::min(c, d), std::max(c, d)};
}

// boxes, when given, are the records' compact boxes: the records of entities far from the
// window are then never read.
bool SelectOverRecords(std::span<const ParsedEntity> records, std::span<const CompactBox> boxes,
                       const StrokeFont& font, Selection& s, const StretchWindow& window) {
  s.window = Normalised(window.left, window.bottom, window.right, window.top);
  ResetSelectionFlags(s, records.size());
  const WindowTest test(s.window, font);
  s.count = 0;
  const bool by_boxes = boxes.size() == records.size();
  // A block of records at a time: first the few near the window, without a branch per
  // entity, then those.
  constexpr std::size_t kBlock = 512;
  std::array<std::uint32_t, kBlock> near;
  for (std::size_t from = 0; from < records.size(); from += kBlock) {
    const std::size_t to = std::min(records.size(), from + kBlock);
    std::size_t near_count = 0;
    if (by_boxes) {
      for (std::size_t i = from; i < to; ++i) {
        near[near_count] = static_cast<std::uint32_t>(i - from);
        near_count += test.MayCatch(boxes[i]);
      }
    } else {
      for (std::size_t i = from; i < to; ++i) {
        near[near_count] = static_cast<std::uint32_t>(i - from);
        near_count += test.MayCatch(records[i]);
      }
    }
    for (std::size_t k = 0; k < near_count; ++k) {
      const std::size_t i = from + near[k];
      // Most caught entities lie well inside: their records need not be read.
      if (!(by_boxes && test.CatchesWellInside(boxes[i]))) {
        // The compact box is rounded outwards: the record itself decides.
        if (by_boxes && !test.MayCatch(records[i])) continue;
        if (!test.Catches(records[i])) continue;
      }
      s.flags[i] = 1;
      ++s.count;
    }
  }
  return !s.empty();
}

bool GestureOverRecords(Canvas& overlay, std::span<const ParsedEntity> records,
                        std::span<const CompactBox> boxes, const ViewTransform& view,
                        const StrokeFont& font, const ReadingDefaults& defaults, Selection& s,
                        int press_x, int press_y, int release_x, int release_y) {
  const StretchWindow window = WindowBetweenPixels(view, press_x, press_y, release_x, release_y);
  if (!IsClick(press_x, press_y, release_x, release_y)) {
    return SelectOverRecords(records, boxes, font, s, window);
  }
  s.window = window;
  const int x = static_cast<int>((std::int64_t{press_x} + release_x) / 2);
  const int y = static_cast<int>((std::int64_t{press_y} + release_y) / 2);
  return SelectByPoint(overlay, records, view, font, defaults, s, x, y);
}

}  // namespace

bool IsClick(int press_x, int press_y, int release_x, int release_y) {
  // Pixels are clamped to a billion either way, so their sums want more than an int.
  const std::int64_t dx = std::int64_t{release_x} - press_x;
  const std::int64_t dy = std::int64_t{release_y} - press_y;
  return std::llabs(dx) + std::llabs(dy) <= kClickTravel;
}

void ResetSelectionFlags(Selection& s, std::size_t line_count) { s.flags.assign(line_count, 0); }

StretchWindow WindowBetweenPixels(const ViewTransform& view, int x1, int y1, int x2, int y2) {
  // The screen's y runs down: the larger pixel y is the bottom.
  return Normalised(view.ScreenToWorldX(std::min(x1, x2)), view.ScreenToWorldY(std::max(y1, y2)),
                    view.ScreenToWorldX(std::max(x1, x2)), view.ScreenToWorldY(std::min(y1, y2)));
}

bool SelectByGesture(Canvas& overlay, std::span<const ParsedEntity> records,
                     const ViewTransform& view, const StrokeFont& font,
                     const ReadingDefaults& defaults, Selection& s, int press_x, int press_y,
                     int release_x, int release_y) {
  return GestureOverRecords(overlay, records, {}, view, font, defaults, s, press_x, press_y,
                            release_x, release_y);
}

bool SelectByGesture(Canvas& overlay, const Drawing& drawing, const ViewTransform& view,
                     const StrokeFont& font, const ReadingDefaults& defaults, Selection& s,
                     int press_x, int press_y, int release_x, int release_y) {
  return GestureOverRecords(overlay, drawing.records(), drawing.boxes(), view, font, defaults, s,
                            press_x, press_y, release_x, release_y);
}

void MergeSelection(Selection& into, const Selection& caught, std::size_t line_count, bool toggle) {
  // Flags left from a longer drawing say nothing of this one.
  into.flags.resize(line_count, 0);
  const std::size_t caught_count = std::min(caught.flags.size(), line_count);
  for (std::size_t i = 0; i < caught_count; ++i) {
    if (caught.flags[i] != 0) into.flags[i] = toggle && into.flags[i] != 0 ? 0 : 1;
  }
  into.window = caught.window;
  into.count = static_cast<std::size_t>(
      std::count_if(into.flags.begin(), into.flags.end(), [](std::uint8_t f) { return f != 0; }));
}

bool SelectByPoint(Canvas& overlay, std::span<const ParsedEntity> records,
                   const ViewTransform& view, const StrokeFont& font,
                   const ReadingDefaults& defaults, Selection& s, int x, int y) {
  ResetSelectionFlags(s, records.size());
  s.count = 0;
  const int index = PickAndHighlight(overlay, records, view, font, defaults, x, y);
  if (index >= 0) {
    s.flags[index] = 1;
    s.count = 1;
  }
  return !s.empty();
}

bool SelectByWindow(std::span<const ParsedEntity> records, const StrokeFont& font, Selection& s,
                    const StretchWindow& window) {
  return SelectOverRecords(records, {}, font, s, window);
}

bool SelectByWindow(const Drawing& drawing, const StrokeFont& font, Selection& s,
                    const StretchWindow& window) {
  return SelectOverRecords(drawing.records(), drawing.boxes(), font, s, window);
}

}  // namespace blok
