#include "editing/picking.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "editing/canonical.h"
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

float PixelSegmentDistance(int px1, int py1, int px2, int py2, int x, int y) {
  return PointSegmentDistance(static_cast<float>(px1), static_cast<float>(py1),
                              static_cast<float>(px2), static_cast<float>(py2),
                              static_cast<float>(x), static_cast<float>(y));
}

float SegmentPixelDistance(const ViewTransform& view, double x1, double y1, double x2, double y2,
                           int x, int y) {
  return PixelSegmentDistance(view.WorldToScreenX(x1), view.WorldToScreenY(y1),
                              view.WorldToScreenX(x2), view.WorldToScreenY(y2), x, y);
}

// The widest advance of the font in font units.
double WidestAdvance(const StrokeFont& font) {
  double widest = 0;
  for (const Glyph& glyph : font.glyphs)
    widest = std::max(widest, std::fabs(double{glyph.advance}));
  return widest;
}

// World units per font unit of a text of size 1, as the letters are drawn.
constexpr double kWorldPerFontUnit = 0.012;
// The most a glyph's stroke reaches from its pen, in font units: they are stored as bytes.
constexpr double kLargestStrokeEnd = 255;

// The pixel distance of (x, y) from the box the text's letters occupy; 0 inside.
float TextBoxPixelDistance(const TextRecord& t, const ViewTransform& view, const StrokeFont& font,
                           int x, int y) {
  const int px = view.WorldToScreenX(t.x);
  const int py = view.WorldToScreenY(t.y);
  const TextSpan span = TextStrokeSpan(font, t.text, t.height, t.width, t.angle, px, view.scale());
  const double dx = x - px;
  const double dy = py - y;  // up
  // A text without strokes keeps its insertion point, so that it can still be found.
  if (span.empty()) return static_cast<float>(std::hypot(dx, dy));
  const double alpha = t.angle * kTextDegreesToRadians;
  const double cos_a = std::cos(alpha);
  const double sin_a = std::sin(alpha);
  const double u = dx * cos_a + dy * sin_a;
  const double v = dy * cos_a - dx * sin_a;
  const double out_u = std::max({span.u_low - u, u - span.u_high, 0.0});
  const double out_v = std::max({span.v_low - v, v - span.v_high, 0.0});
  return static_cast<float>(std::hypot(out_u, out_v));
}

}  // namespace

MouseWindow::MouseWindow(const ViewTransform& view, int x, int y, double pixels)
    : MouseWindow(Point{view.ScreenToWorldX(x), view.ScreenToWorldY(y)},
                  pixels * view.scale() / 1000) {}

ReachTest::ReachTest(const ViewTransform& view, const StrokeFont& font, int x, int y, float reach)
    : mouse_{view.ScreenToWorldX(x), view.ScreenToWorldY(y)},
      world_per_pixel_(view.scale() / 1000),
      segment_window_(mouse_, (kSegmentBoxMargin + kSegmentSlack) * world_per_pixel_),
      circle_window_(mouse_, (reach + kCircleSlack) * world_per_pixel_),
      widest_window_(mouse_, std::max(kSegmentBoxMargin + kSegmentSlack, reach + kCircleSlack) *
                                 world_per_pixel_),
      widest_advance_(WidestAdvance(font)) {}

// A segment measures the distance to its line anywhere within the margin beyond its box, so
// only a circle's window can shrink with the reach.
void ReachTest::Narrow(float reach) {
  circle_window_ = MouseWindow(mouse_, (reach + kCircleSlack) * world_per_pixel_);
  widest_window_ = MouseWindow(
      mouse_, std::max(kSegmentBoxMargin + kSegmentSlack, reach + kCircleSlack) * world_per_pixel_);
}

// The letters lie within their widest advance a byte, a stroke's reach and a pixel of the pen's
// truncation a character of the insertion point, so the strokes are looked at only for texts
// near by.
bool ReachTest::TextMayReach(const WorldBox& box, const TextRecord& text) const {
  const double bytes = static_cast<double>(text.text.size());
  const double font_units =
      std::fabs(double{text.width}) * (bytes * widest_advance_ + kLargestStrokeEnd) +
      std::fabs(double{text.height}) * kLargestStrokeEnd;
  return segment_window_.Meets(
      box, font_units * kWorldPerFontUnit * 1.001 + (bytes + 2) * world_per_pixel_);
}

TextPickSegment PickSegmentOfText(const TextRecord& text, const StrokeFont& font) {
  const double a = text.angle * kRadiansPerDegree;
  const double h = text.height;
  const double length = TextLength(font, text.text, text.width);
  const double x1 = text.x - 0.2 * h * std::sin(a);
  const double y1 = text.y + 0.2 * h * std::cos(a);
  return {x1, y1, x1 + length * std::cos(a), y1 + length * std::sin(a)};
}

float OutlinePixelDistance(const ViewTransform& view, double cx, double cy, double r, int x,
                           int y) {
  const int pcx = view.WorldToScreenX(cx);
  const int pcy = view.WorldToScreenY(cy);
  const double radius = PointDistance(pcx, pcy, view.WorldToScreenX(cx + r), pcy);
  return static_cast<float>(std::fabs(PointDistance(x, y, pcx, pcy) - radius));
}

float ArcPixelDistance(const ViewTransform& view, const ArcRecord& arc, int x, int y,
                       float beyond) {
  const int pcx = view.WorldToScreenX(arc.x);
  const int pcy = view.WorldToScreenY(arc.y);
  const double radius = PointDistance(pcx, pcy, view.WorldToScreenX(arc.x + arc.radius), pcy);
  // A negative radius draws the sweep on the far side of the centre.
  const double turn = arc.radius < 0 ? kPi : 0;
  const double start = arc.start_angle + turn;
  const double end = arc.end_angle + turn;
  const double dx = x - pcx;
  const double dy = pcy - y;  // up
  const double from_centre = std::hypot(dx, dy);
  // The sweep is never nearer than its circle.
  const double from_circle = std::fabs(from_centre - radius);
  if (from_circle >= beyond) return static_cast<float>(from_circle);
  if (from_centre != 0 && OnSweep(std::atan2(dy, dx), start, end)) {
    return static_cast<float>(from_circle);
  }
  const auto from_end = [&](double a) {
    return std::hypot(dx - radius * std::cos(a), dy - radius * std::sin(a));
  };
  return static_cast<float>(std::min(from_end(start), from_end(end)));
}

float EntityPixelDistance(const ParsedEntity& entity, const ViewTransform& view,
                          const StrokeFont& font, int x, int y, float beyond) {
  float distance = kNoDistance;
  const Overloaded measure{
      [&](const LineEntity& line) {
        const SegmentRecord& s = line.segment;
        distance = SegmentPixelDistance(view, s.x1, s.y1, s.x2, s.y2, x, y);
      },
      [&](const RectangleEntity& rectangle) {
        // The four edges share their corners' pixels.
        const SegmentRecord& s = rectangle.segment;
        const int px1 = view.WorldToScreenX(s.x1);
        const int py1 = view.WorldToScreenY(s.y1);
        const int px2 = view.WorldToScreenX(s.x2);
        const int py2 = view.WorldToScreenY(s.y2);
        distance = std::min({PixelSegmentDistance(px1, py1, px1, py2, x, y),
                             PixelSegmentDistance(px1, py2, px2, py2, x, y),
                             PixelSegmentDistance(px2, py1, px2, py2, x, y),
                             PixelSegmentDistance(px1, py1, px2, py1, x, y)});
      },
      [&](const CircleRecord& c) {
        distance = OutlinePixelDistance(view, c.x, c.y, c.radius, x, y);
      },
      [&](const ArcRecord& a) { distance = ArcPixelDistance(view, a, x, y, beyond); },
      [&](const TextRecord& t) {
        const float outside = TextBoxPixelDistance(t, view, font, x, y);
        // Given up beyond the margin, as a segment is, so the box pre-test holds for any reach.
        distance = outside > kSegmentBoxMargin ? 10000 : std::max(outside, kOnTextLetters);
      },
      [](const ColourRecord&) {},
      [](const ThicknessRecord&) {},
  };
  VisitEntity(entity, measure);
  return distance;
}

namespace {

// boxes, when given, are the records' compact boxes: the records of entities far from the
// mouse are then never read.
int NearestOver(std::span<const ParsedEntity> records, std::span<const CompactBox> boxes,
                const ViewTransform& view, const StrokeFont& font, int x, int y) {
  ReachTest reach(view, font, x, y, kPickReach);
  float best = kNoDistance;
  int result = -1;
  const bool by_boxes = boxes.size() == records.size();
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (by_boxes && !reach.MayReach(boxes[i])) continue;
    if (!reach.MayReach(records[i])) continue;
    // Anything twice the reach away loses either way.
    const float d =
        EntityPixelDistance(records[i], view, font, x, y, std::min(best, 2 * kPickReach));
    if (d < best) {
      best = d;
      result = static_cast<int>(i);
      if (best < kPickReach) reach.Narrow(best);
    }
  }
  return best > kPickReach ? -1 : result;
}

}  // namespace

int FindNearestEntity(std::span<const ParsedEntity> records, const ViewTransform& view,
                      const StrokeFont& font, int x, int y) {
  return NearestOver(records, {}, view, font, x, y);
}

int FindNearestEntity(const Drawing& drawing, const ViewTransform& view, const StrokeFont& font,
                      int x, int y) {
  return NearestOver(drawing.records(), drawing.boxes(), view, font, x, y);
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
  const float d = EntityPixelDistance(entity, view_, font_, x_, y_, second_);
  if (d < best_) {
    second_ = best_;
    pair_.second = pair_.nearest;
    best_ = d;
    pair_.nearest = index;
  } else if (d < second_) {
    second_ = d;
    pair_.second = index;
  } else {
    return;
  }
  if (second_ < kPairReach) reach_.Narrow(second_);
}

namespace {

// The colour and thickness the pass drew the entity with, from the commands below it: what the
// last redraw left is that of the drawing's top, not of the entity. The separator is the pass's.
ReadingDefaults InForceAt(std::span<const ParsedEntity> records, int index,
                          const ReadingDefaults& pass) {
  ReadingDefaults defaults = DefaultsAt(records, static_cast<size_t>(index));
  defaults.decimal_separator = pass.decimal_separator;
  return defaults;
}

// The entity found at index, if any, highlighted with the colour and thickness in force at it.
int Highlighted(Canvas& overlay, std::span<const ParsedEntity> records, const ViewTransform& view,
                const StrokeFont& font, const ReadingDefaults& defaults, int index,
                bool with_thickness) {
  if (index < 0) return index;
  const ReadingDefaults in_force = InForceAt(records, index, defaults);
  if (with_thickness) {
    HighlightEntityWithThickness(overlay, view, font, records[index], in_force);
  } else {
    HighlightEntity(overlay, view, font, records[index], in_force);
  }
  return index;
}

}  // namespace

int PickAndHighlight(Canvas& overlay, std::span<const ParsedEntity> records,
                     const ViewTransform& view, const StrokeFont& font,
                     const ReadingDefaults& defaults, int x, int y) {
  return Highlighted(overlay, records, view, font, defaults,
                     FindNearestEntity(records, view, font, x, y), false);
}

int PickAndHighlight(Canvas& overlay, const Drawing& drawing, const ViewTransform& view,
                     const StrokeFont& font, const ReadingDefaults& defaults, int x, int y) {
  return Highlighted(overlay, drawing.records(), view, font, defaults,
                     FindNearestEntity(drawing, view, font, x, y), false);
}

int PickAndShowThickness(Canvas& overlay, const Drawing& drawing, const ViewTransform& view,
                         const StrokeFont& font, const ReadingDefaults& defaults, int x, int y) {
  return Highlighted(overlay, drawing.records(), view, font, defaults,
                     FindNearestEntity(drawing, view, font, x, y), true);
}

}  // namespace blok
