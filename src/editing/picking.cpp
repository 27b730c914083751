#include "editing/picking.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "geometry/geometry.h"
#include "model/angles.h"
#include "view/previews.h"

namespace blok {
namespace {

// Pixels lost when a world point is truncated to the screen, with room to spare: a segment end
// moves by less than one pixel on each axis, a circle's centre and radius by less than three.
constexpr double kSegmentSlack = 3;
constexpr double kCircleSlack = 6;
// PointSegmentDistance gives up 10 pixels beyond a segment's box.
constexpr double kSegmentBoxMargin = 10;
// As TextLength counts a glyph's advance: world units per font unit of a text of width 1.
constexpr double kTextLengthPerAdvance = 0.0118;

float SegmentPixelDistance(const ViewTransform& view, double x1, double y1, double x2, double y2,
                           int x, int y) {
  return PointSegmentDistance(
      static_cast<float>(view.WorldToScreenX(x1)), static_cast<float>(view.WorldToScreenY(y1)),
      static_cast<float>(view.WorldToScreenX(x2)), static_cast<float>(view.WorldToScreenY(y2)),
      static_cast<float>(x), static_cast<float>(y));
}

float OutlinePixelDistance(const ViewTransform& view, double cx, double cy, double r, int x,
                           int y) {
  const int pcx = view.WorldToScreenX(cx);
  const int pcy = view.WorldToScreenY(cy);
  const double radius =
      PointDistance(pcx, pcy, view.WorldToScreenX(cx + r), view.WorldToScreenY(cy));
  return static_cast<float>(std::fabs(PointDistance(x, y, pcx, pcy) - radius));
}

}  // namespace

MouseWindow::MouseWindow(const ViewTransform& view, int x, int y, double pixels) {
  const double margin = pixels * view.scale() / 1000;
  const double wx = view.ScreenToWorldX(x);
  const double wy = view.ScreenToWorldY(y);
  left_ = wx - margin;
  right_ = wx + margin;
  bottom_ = wy - margin;
  top_ = wy + margin;
}

ReachTest::ReachTest(const ViewTransform& view, const StrokeFont& font, int x, int y, float reach)
    : segment_window_(view, x, y, kSegmentBoxMargin + kSegmentSlack),
      circle_window_(view, x, y, reach + kCircleSlack) {
  double widest = 0;
  for (const Glyph& glyph : font.glyphs) {
    widest = std::max(widest, std::fabs(double{glyph.advance}));
  }
  // A little over, so that rounding in TextLength never makes the bound too short.
  length_per_byte_ = widest * kTextLengthPerAdvance * 1.001;
}

// The pick segment lies within 0.2 x height plus its length of the insertion point; the length
// is bounded by the widest glyph, so TextLength runs only for texts near by.
bool ReachTest::TextMayReach(const ParsedEntity& entity) const {
  const auto& t = std::get<TextRecord>(entity.record);
  return segment_window_.Meets(entity.box,
                               0.2 * std::fabs(double{t.height}) +
                                   t.text.size() * length_per_byte_ * std::fabs(double{t.width}));
}

TextPickSegment PickSegmentOfText(const TextRecord& text, const StrokeFont& font) {
  const double a = text.angle * kRadiansPerDegree;
  const double h = text.height;
  const double length = TextLength(font, text.text, text.width);
  const double x1 = text.x - 0.2 * h * std::sin(a);
  const double y1 = text.y + 0.2 * h * std::cos(a);
  return {x1, y1, x1 + length * std::cos(a), y1 + length * std::sin(a)};
}

float EntityPixelDistance(const ParsedEntity& entity, const ViewTransform& view,
                          const StrokeFont& font, int x, int y) {
  if (!entity.valid()) return kNoDistance;
  switch (entity.kind) {
    case EntityKind::kLine: {
      const auto& s = std::get<SegmentRecord>(entity.record);
      return SegmentPixelDistance(view, s.x1, s.y1, s.x2, s.y2, x, y);
    }
    case EntityKind::kRectangle: {
      const auto& s = std::get<SegmentRecord>(entity.record);
      return std::min({SegmentPixelDistance(view, s.x1, s.y1, s.x1, s.y2, x, y),
                       SegmentPixelDistance(view, s.x1, s.y2, s.x2, s.y2, x, y),
                       SegmentPixelDistance(view, s.x2, s.y1, s.x2, s.y2, x, y),
                       SegmentPixelDistance(view, s.x1, s.y1, s.x2, s.y1, x, y)});
    }
    case EntityKind::kCircle: {
      const auto& c = std::get<CircleRecord>(entity.record);
      return OutlinePixelDistance(view, c.x, c.y, c.radius, x, y);
    }
    case EntityKind::kArc: {
      // Measured as its whole circle: the angles play no part.
      const auto& a = std::get<ArcRecord>(entity.record);
      return OutlinePixelDistance(view, a.x, a.y, a.radius, x, y);
    }
    case EntityKind::kText: {
      const TextPickSegment s = PickSegmentOfText(std::get<TextRecord>(entity.record), font);
      return SegmentPixelDistance(view, s.x1, s.y1, s.x2, s.y2, x, y);
    }
    default:
      return kNoDistance;
  }
}

int FindNearestEntity(std::span<const ParsedEntity> records, const ViewTransform& view,
                      const StrokeFont& font, int x, int y) {
  const ReachTest reach(view, font, x, y, kPickReach);
  float best = kNoDistance;
  int result = -1;
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (!reach.MayReach(records[i])) continue;
    const float d = EntityPixelDistance(records[i], view, font, x, y);
    if (d < best) {
      best = d;
      result = static_cast<int>(i);
    }
  }
  return best > kPickReach ? -1 : result;
}

NearestPair FindTwoNearestEntities(std::span<const ParsedEntity> records, const ViewTransform& view,
                                   const StrokeFont& font, int x, int y) {
  NearestPairSearch search(view, font, x, y);
  for (std::size_t i = 0; i < records.size(); ++i) search.Offer(records[i], static_cast<int>(i));
  return search.pair();
}

NearestPairSearch::NearestPairSearch(const ViewTransform& view, const StrokeFont& font, int x,
                                     int y)
    : view_(view), font_(font), x_(x), y_(y), reach_(view, font, x, y, kPairReach) {}

void NearestPairSearch::Offer(const ParsedEntity& entity, int index) {
  if (!reach_.MayReach(entity)) return;
  const float d = EntityPixelDistance(entity, view_, font_, x_, y_);
  if (d < best_) {
    second_ = best_;
    pair_.second = pair_.nearest;
    best_ = d;
    pair_.nearest = index;
  } else if (d < second_) {
    second_ = d;
    pair_.second = index;
  }
}

int PickAndHighlight(Canvas& overlay, std::span<const ParsedEntity> records,
                     const ViewTransform& view, const StrokeFont& font,
                     const ReadingDefaults& defaults, int x, int y) {
  const int index = FindNearestEntity(records, view, font, x, y);
  if (index >= 0) HighlightEntity(overlay, view, font, records[index], defaults);
  return index;
}

int PickAndShowThickness(Canvas& overlay, std::span<const ParsedEntity> records,
                         const ViewTransform& view, const StrokeFont& font,
                         const ReadingDefaults& defaults, int x, int y) {
  const int index = FindNearestEntity(records, view, font, x, y);
  if (index >= 0) HighlightEntityWithThickness(overlay, view, font, records[index], defaults);
  return index;
}

}  // namespace blok
