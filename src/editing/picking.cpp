#include "editing/picking.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "geometry/geometry.h"
#include "model/angles.h"
#include "model/cp1250.h"
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

// The longest a character of the font can make a text of width 1: TextLength of its widest
// glyph.
double LongestCharacterLength(const StrokeFont& font) {
  int widest = -1;
  double widest_advance = 0;
  for (int byte = 0; byte < kFontGlyphCount; ++byte) {
    const double advance = std::fabs(double{font.glyphs[byte].advance});
    if (advance > widest_advance) widest = byte, widest_advance = advance;
  }
  if (widest < 0) return 0;
  const std::string character = Cp1250ToUtf8(std::string(1, static_cast<char>(widest)));
  return std::fabs(TextLength(font, character, 1));
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
      circle_window_(view, x, y, reach + kCircleSlack),
      // A little over, so that rounding in TextLength never makes the bound too short.
      length_per_byte_(LongestCharacterLength(font) * 1.001) {}

// The pick segment lies within 0.2 x height plus its length of the insertion point; the length
// is bounded by the widest glyph, so TextLength runs only for texts near by.
bool ReachTest::TextMayReach(const WorldBox& box, const TextRecord& text) const {
  return segment_window_.Meets(
      box, 0.2 * std::fabs(double{text.height}) +
               text.text.size() * length_per_byte_ * std::fabs(double{text.width}));
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

float EntityPixelDistance(const ParsedEntity& entity, const ViewTransform& view,
                          const StrokeFont& font, int x, int y) {
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
      // Measured as its whole circle: the angles play no part.
      [&](const ArcRecord& a) { distance = OutlinePixelDistance(view, a.x, a.y, a.radius, x, y); },
      [&](const TextRecord& t) {
        const TextPickSegment s = PickSegmentOfText(t, font);
        distance = SegmentPixelDistance(view, s.x1, s.y1, s.x2, s.y2, x, y);
      },
      [](const ColourRecord&) {},
      [](const ThicknessRecord&) {},
  };
  VisitEntity(entity, measure);
  return distance;
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
