#include "interaction/snap.h"

#include <cmath>
#include <optional>
#include <string>

#include "editing/picking.h"
#include "geometry/snap_points.h"
#include "model/angles.h"
#include "model/entity_visit.h"
#include "model/numbers.h"
#include "view/previews.h"
#include "view/renderer.h"

namespace blok {
namespace {

// Truncation puts a candidate's pixel up to a pixel off its exact place, and a circle's drawn
// outline under five; an entity whose world box lies further than this from the cursor offers
// nothing within reach.
constexpr double kWalkMargin = kSnapReach + 6;

constexpr int kMarkerPen = 2;
constexpr int kGridMarkerSize = 5;
constexpr int kCursorLabelOffset = -20;

// The circle of the centre and tangent markers, unfilled.
std::string Fixed3(double value) { return FormatPattern(value, kFixed3Pattern, kWorkingSeparator); }

// The best candidate so far. Distances are compared as singles (float): a candidate replaces
// the best only when it is nearer in single precision, so of two that tie there the first
// offered stays.
class Search {
 public:
  Search(const ViewTransform& view, int x, int y) : view_(view), x_(x), y_(y) {}

  float PixelDistance(double wx, double wy) const {
    return PixelDistance(view_.WorldToScreenX(wx), view_.WorldToScreenY(wy));
  }
  float PixelDistance(int px, int py) const {
    return static_cast<float>(PointDistance(x_, y_, px, py));
  }

  void Offer(double wx, double wy, Snap kind) { OfferAt(PixelDistance(wx, wy), wx, wy, kind); }
  // For a caller that has the candidate's pixel already.
  void OfferAtPixel(int px, int py, double wx, double wy, Snap kind) {
    OfferAt(PixelDistance(px, py), wx, wy, kind);
  }
  // A centre is caught by its outline: the distance is the pick distance of the whole circle.
  void OfferCentre(double cx, double cy, double r) {
    OfferAt(OutlinePixelDistance(view_, cx, cy, r, x_, y_), cx, cy, Snap::kCentre);
  }

  void OfferAt(float d, double wx, double wy, Snap kind) {
    if (d < kSnapReach && d < best_) {
      best_ = d;
      found_ = true;
      point_ = {wx, wy};
      kind_ = kind;
    }
  }

  bool found() const { return found_; }
  float best() const { return best_; }

  WynikSnapu Result() const {
    WynikSnapu result;
    result.found = found_;
    if (found_) {
      result.point = point_;
      result.kind = kind_;
    }
    return result;
  }

 private:
  const ViewTransform& view_;
  int x_;
  int y_;
  float best_ = 10000;
  bool found_ = false;
  Point point_;
  Snap kind_ = Snap::kEnd;
};

// Of the crossings found, the one nearer the cursor on screen (the first of equals).
void OfferNearerHit(Search& search, const CircleHits& hits) {
  if (!hits.found1 && !hits.found2) return;
  double wx = hits.x1, wy = hits.y1;
  float d = hits.found1 ? search.PixelDistance(hits.x1, hits.y1) : 0;
  if (hits.found2) {
    const float d2 = search.PixelDistance(hits.x2, hits.y2);
    if (!hits.found1 || d2 < d) wx = hits.x2, wy = hits.y2, d = d2;
  }
  search.OfferAt(d, wx, wy, Snap::kIntersection);
}

// A line against the other entity of the pair: another line, or a circle or an arc's whole
// circle.
void OfferLineCrossing(Search& search, const SegmentRecord& s, const ParsedEntity& other) {
  const auto circle = [&](double cx, double cy, double r) {
    OfferNearerHit(search, SegmentCircleIntersection(s.x1, s.y1, s.x2, s.y2, cx, cy, r, 0, kTwoPi));
  };
  const Overloaded cross{
      [&](const LineEntity& line) {
        const SegmentRecord& t = line.segment;
        const LineHit hit =
            SegmentSegmentIntersection(s.x1, s.y1, s.x2, s.y2, t.x1, t.y1, t.x2, t.y2);
        if (hit.ok) search.Offer(hit.x, hit.y, Snap::kIntersection);
      },
      [&](const CircleRecord& c) { circle(c.x, c.y, c.radius); },
      [&](const ArcRecord& a) { circle(a.x, a.y, a.radius); },
      [](const RectangleEntity&) {},
      [](const TextRecord&) {},
      [](const ColourRecord&) {},
      [](const ThicknessRecord&) {},
  };
  VisitEntity(other, cross);
}

// The crossing of the two entities nearest the cursor, the nearest first: line with line, line
// with a circle or an arc's whole circle (whichever of the two is the line), circle with circle.
// Other pairs do not cross for the snap.
void OfferIntersection(Search& search, const ParsedEntity& a, const ParsedEntity& b) {
  const auto line_b_with_a = [&](const LineEntity& line) {
    OfferLineCrossing(search, line.segment, a);
  };
  // Any other a crosses only a line b.
  const auto only_line_b = [&] {
    VisitEntity(b, Overloaded{
                       line_b_with_a,
                       [](const RectangleEntity&) {},
                       [](const CircleRecord&) {},
                       [](const ArcRecord&) {},
                       [](const TextRecord&) {},
                       [](const ColourRecord&) {},
                       [](const ThicknessRecord&) {},
                   });
  };
  const Overloaded cross{
      [&](const LineEntity& line) { OfferLineCrossing(search, line.segment, b); },
      [&](const CircleRecord& c) {
        const Overloaded with_circle{
            line_b_with_a,
            [&](const CircleRecord& d) {
              OfferNearerHit(search, CircleCircleIntersection(c.x, c.y, c.radius, 0, kTwoPi, d.x,
                                                              d.y, d.radius, 0, kTwoPi));
            },
            [](const RectangleEntity&) {},
            [](const ArcRecord&) {},
            [](const TextRecord&) {},
            [](const ColourRecord&) {},
            [](const ThicknessRecord&) {},
        };
        VisitEntity(b, with_circle);
      },
      [&](const RectangleEntity&) { only_line_b(); },
      [&](const ArcRecord&) { only_line_b(); },
      [&](const TextRecord&) { only_line_b(); },
      [&](const ColourRecord&) { only_line_b(); },
      [&](const ThicknessRecord&) { only_line_b(); },
  };
  VisitEntity(a, cross);
}

// The points an entity offers as the switches allow.
void OfferPointsOf(Search& search, const ParsedEntity& entity, const ViewTransform& view,
                   const SnapSettings& settings) {
  const Overloaded offer{
      [&](const LineEntity& line) {
        const SegmentRecord& s = line.segment;
        if (settings.end) {
          search.Offer(s.x1, s.y1, Snap::kEnd);
          search.Offer(s.x2, s.y2, Snap::kEnd);
        }
        if (settings.middle) search.Offer((s.x1 + s.x2) / 2, (s.y1 + s.y2) / 2, Snap::kMiddle);
      },
      [&](const RectangleEntity& rectangle) {
        // Corners and side midpoints share their pixel columns and rows.
        const SegmentRecord& s = rectangle.segment;
        const int px1 = view.WorldToScreenX(s.x1);
        const int px2 = view.WorldToScreenX(s.x2);
        const int py1 = view.WorldToScreenY(s.y1);
        const int py2 = view.WorldToScreenY(s.y2);
        if (settings.end) {
          search.OfferAtPixel(px1, py1, s.x1, s.y1, Snap::kEnd);
          search.OfferAtPixel(px2, py2, s.x2, s.y2, Snap::kEnd);
          search.OfferAtPixel(px1, py2, s.x1, s.y2, Snap::kEnd);
          search.OfferAtPixel(px2, py1, s.x2, s.y1, Snap::kEnd);
        }
        if (settings.middle) {
          const double xm = (s.x1 + s.x2) / 2;
          const double ym = (s.y1 + s.y2) / 2;
          const int pxm = view.WorldToScreenX(xm);
          const int pym = view.WorldToScreenY(ym);
          search.OfferAtPixel(pxm, py1, xm, s.y1, Snap::kMiddle);
          search.OfferAtPixel(pxm, py2, xm, s.y2, Snap::kMiddle);
          search.OfferAtPixel(px1, pym, s.x1, ym, Snap::kMiddle);
          search.OfferAtPixel(px2, pym, s.x2, ym, Snap::kMiddle);
        }
      },
      [&](const CircleRecord& c) {
        if (settings.centre) search.OfferCentre(c.x, c.y, c.radius);
      },
      [&](const ArcRecord& a) {
        // An arc offers its centre only together with its ends.
        if (!settings.end) return;
        search.Offer(a.x + a.radius * std::cos(a.start_angle),
                     a.y + a.radius * std::sin(a.start_angle), Snap::kEnd);
        search.Offer(a.x + a.radius * std::cos(a.end_angle), a.y + a.radius * std::sin(a.end_angle),
                     Snap::kEnd);
        if (settings.centre) search.OfferCentre(a.x, a.y, a.radius);
      },
      [](const TextRecord&) {},
      [](const ColourRecord&) {},
      [](const ThicknessRecord&) {},
  };
  VisitEntity(entity, offer);
}

// The further snaps, one search a kind: of equal candidates the kind met first wins, whatever
// the order of the entities.
struct FurtherSearch {
  Search perpendicular;
  Search tangent;
  Search quadrant;
};

// An entity's outline as segments (a line; a rectangle's sides in the order its side
// midpoints are offered) and circles or arcs; a text has none.
template <class Side, class Round>
void VisitOutline(const ParsedEntity& entity, Side side, Round round) {
  const Overloaded visit{
      [&](const LineEntity& line) {
        const SegmentRecord& s = line.segment;
        side(Point{s.x1, s.y1}, Point{s.x2, s.y2});
      },
      [&](const RectangleEntity& rectangle) {
        const SegmentRecord& s = rectangle.segment;
        side(Point{s.x1, s.y1}, Point{s.x2, s.y1});
        side(Point{s.x1, s.y2}, Point{s.x2, s.y2});
        side(Point{s.x1, s.y1}, Point{s.x1, s.y2});
        side(Point{s.x2, s.y1}, Point{s.x2, s.y2});
      },
      [&](const CircleRecord& c) {
        round(CircleArc{{c.x, c.y}, c.radius});
      },
      [&](const ArcRecord& a) {
        round(CircleArc{{a.x, a.y}, a.radius, a.start_angle, a.end_angle});
      },
      [](const TextRecord&) {},
      [](const ColourRecord&) {},
      [](const ThicknessRecord&) {},
  };
  VisitEntity(entity, visit);
}

// The cursor's world point and how far from it, in world units, a point can be and still be
// caught. The further snaps and the nearest point lie on the entity's outline: an outline
// farther off offers none of them, which spares most entities near the cursor the arithmetic.
struct Cursor {
  Point point;
  double reach;
  bool Meets(Point a, Point b) const { return NearSegment(a, b, point, reach); }
  bool Meets(const CircleArc& arc) const { return NearCircle(arc, point, reach); }
};

// The points of the further snaps an entity offers as the switches allow: square to it and
// touching it from the last point, and its quadrants.
void OfferFurtherPointsOf(FurtherSearch& search, const ParsedEntity& entity,
                          const SnapSettings& settings, const OrthoReference& last,
                          const Cursor& cursor) {
  const bool perpendicular = settings.perpendicular && last.valid;
  const bool tangent = settings.tangent && last.valid;
  const auto offer = [](Search& to, Point p, Snap kind) { to.Offer(p.x, p.y, kind); };
  const auto side = [&](Point a, Point b) {
    if (!perpendicular || !cursor.Meets(a, b)) return;
    if (const auto foot = PerpendicularFoot(a, b, last.point)) {
      offer(search.perpendicular, *foot, Snap::kPerpendicular);
    }
  };
  const auto round = [&](const CircleArc& arc) {
    if (!cursor.Meets(arc)) return;
    if (perpendicular) {
      if (const auto foot = PerpendicularFootOnArc(arc, last.point)) {
        offer(search.perpendicular, *foot, Snap::kPerpendicular);
      }
    }
    if (tangent) {
      const SnapPoints touching = TangentPoints(arc, last.point);
      for (int i = 0; i < touching.count; ++i) {
        offer(search.tangent, touching.points[i], Snap::kTangent);
      }
    }
    if (settings.quadrant) {
      const SnapPoints quadrants = QuadrantPoints(arc);
      for (int i = 0; i < quadrants.count; ++i) {
        offer(search.quadrant, quadrants.points[i], Snap::kQuadrant);
      }
    }
  };
  VisitOutline(entity, side, round);
}

// The point of the entity nearest the cursor's world point.
void OfferNearestOf(Search& search, const ParsedEntity& entity, const Cursor& cursor) {
  const auto offer = [&](Point p) { search.Offer(p.x, p.y, Snap::kNearest); };
  const auto side = [&](Point a, Point b) {
    if (cursor.Meets(a, b)) offer(NearestOnSegment(a, b, cursor.point));
  };
  const auto round = [&](const CircleArc& arc) {
    if (cursor.Meets(arc)) offer(NearestOnArc(arc, cursor.point));
  };
  VisitOutline(entity, side, round);
}

// Of two searches, the later one only when it caught something strictly nearer.
const Search& Nearer(const Search& first, const Search& later) {
  return later.found() && (!first.found() || later.best() < first.best()) ? later : first;
}

// The records with their compact boxes, when the caller keeps them: one a record, or none.
struct BoxedRecords {
  std::span<const ParsedEntity> records;
  std::span<const CompactBox> boxes;
};

WynikSnapu FindSnap(const BoxedRecords& drawing, const ViewTransform& view, const StrokeFont& font,
                    const SnapSettings& settings, int x, int y, const OrthoReference& last) {
  const std::span<const ParsedEntity> records = drawing.records;
  const std::span<const CompactBox> boxes = drawing.boxes;
  const bool by_boxes = boxes.size() == records.size();
  const bool points = settings.end || settings.middle || settings.centre;
  const bool further =
      settings.quadrant || (last.valid && (settings.perpendicular || settings.tangent));
  const bool walking = points || further || settings.nearest;
  Search crossing(view, x, y);
  Search walk(view, x, y);
  FurtherSearch more{Search(view, x, y), Search(view, x, y), Search(view, x, y)};
  Search nearest(view, x, y);
  if (!walking && !settings.intersection) return walk.Result();
  const Cursor cursor{{view.ScreenToWorldX(x), view.ScreenToWorldY(y)},
                      kWalkMargin * view.scale() / 1000};
  // One pass over the records serves both the two-nearest search and the walk: on a large
  // drawing the pass, not the arithmetic, is the cost.
  std::optional<NearestPairSearch> pairs;
  if (settings.intersection) pairs.emplace(view, font, x, y);
  const MouseWindow near(cursor.point, cursor.reach);
  for (std::size_t i = 0; i < records.size(); ++i) {
    // Most entities lie far from the cursor: their compact boxes say so without their records.
    if (by_boxes && !(pairs && pairs->Wants(boxes[i])) && !(walking && near.Meets(boxes[i]))) {
      continue;
    }
    const ParsedEntity& entity = records[i];
    if (pairs) pairs->Offer(entity, static_cast<int>(i));
    if (walking && near.Meets(entity.box)) {
      if (points) OfferPointsOf(walk, entity, view, settings);
      if (further) OfferFurtherPointsOf(more, entity, settings, last, cursor);
      if (settings.nearest) OfferNearestOf(nearest, entity, cursor);
    }
  }
  if (pairs) {
    const NearestPair& pair = pairs->pair();
    if (pair.nearest >= 0 && pair.second >= 0) {
      OfferIntersection(crossing, records[pair.nearest], records[pair.second]);
    }
  }
  // The crossing is tried before the walk, so a point of the walk wins only when nearer; the
  // further kinds come after both.
  const Search& caught = Nearer(
      Nearer(Nearer(Nearer(crossing, walk), more.perpendicular), more.tangent), more.quadrant);
  // The nearest point of an entity is never farther from the cursor than any other of its
  // points: taking part with the others it would always beat them, ends and all.
  return caught.found() ? caught.Result() : nearest.Result();
}

Point PointInput(Canvas& overlay, const BoxedRecords& drawing, const ViewTransform& view,
                 const StrokeFont& font, const SnapSettings& settings, const OrthoReference* ortho,
                 int x, int y) {
  const WynikSnapu snap =
      FindSnap(drawing, view, font, settings, x, y, ortho != nullptr ? *ortho : OrthoReference{});
  if (snap.found) {
    DrawSnapMarker(overlay, view, snap);
    return snap.point;
  }
  if (settings.grid) {
    const Point p = SnapSiatki(view, x, y, settings.grid_step);
    const int sx = view.WorldToScreenX(p.x);
    const int sy = view.WorldToScreenY(p.y);
    MarkerRectangle(overlay, sx - kGridMarkerSize, sy - kGridMarkerSize, sx + kGridMarkerSize,
                    sy + kGridMarkerSize, kMarkerColour, kMarkerPen, kMarkerColour, false);
    LabelAtPixel(overlay, x, y + kCursorLabelOffset, "SIATKA " + Coordinates(p));
    return p;
  }
  if (ortho != nullptr && settings.ortho && ortho->valid) {
    const Point p = SnapOrto(view, x, y, ortho->point);
    LabelAtPixel(overlay, x, y + kCursorLabelOffset, "ORTO " + Coordinates(p));
    return p;
  }
  const Point p{view.ScreenToWorldX(x), view.ScreenToWorldY(y)};
  LabelAtPixel(overlay, x, y + kCursorLabelOffset, Coordinates(p));
  return p;
}

}  // namespace

std::string Coordinates(Point p) { return "X=" + Fixed3(p.x) + " Y=" + Fixed3(p.y); }

WynikSnapu SzukajSnapu(std::span<const ParsedEntity> records, const ViewTransform& view,
                       const StrokeFont& font, const SnapSettings& settings, int x, int y,
                       const OrthoReference& last) {
  return FindSnap({records, {}}, view, font, settings, x, y, last);
}

WynikSnapu SzukajSnapu(const Drawing& drawing, const ViewTransform& view, const StrokeFont& font,
                       const SnapSettings& settings, int x, int y, const OrthoReference& last) {
  return FindSnap({drawing.records(), drawing.boxes()}, view, font, settings, x, y, last);
}

Point PunktWskazany(Canvas& overlay, std::span<const ParsedEntity> records,
                    const ViewTransform& view, const StrokeFont& font, const SnapSettings& settings,
                    const OrthoReference& ortho, int x, int y) {
  return PointInput(overlay, {records, {}}, view, font, settings, &ortho, x, y);
}

Point PunktBezOrto(Canvas& overlay, std::span<const ParsedEntity> records,
                   const ViewTransform& view, const StrokeFont& font, const SnapSettings& settings,
                   int x, int y) {
  return PointInput(overlay, {records, {}}, view, font, settings, nullptr, x, y);
}

Point PunktWskazany(Canvas& overlay, const Drawing& drawing, const ViewTransform& view,
                    const StrokeFont& font, const SnapSettings& settings,
                    const OrthoReference& ortho, int x, int y) {
  return PointInput(overlay, {drawing.records(), drawing.boxes()}, view, font, settings, &ortho, x,
                    y);
}

Point PunktBezOrto(Canvas& overlay, const Drawing& drawing, const ViewTransform& view,
                   const StrokeFont& font, const SnapSettings& settings, int x, int y) {
  return PointInput(overlay, {drawing.records(), drawing.boxes()}, view, font, settings, nullptr, x,
                    y);
}

}  // namespace blok
