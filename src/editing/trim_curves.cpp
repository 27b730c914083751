#include "editing/trim_curves.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

#include "editing/canonical.h"
#include "editing/trim_extend.h"
#include "model/entity_visit.h"

namespace blok {
namespace {

// A crossing this close to an arc's end, in radians, is taken as lying on the arc: the kernel's
// point for an end drawn onto the edge is off by rounding only.
constexpr double kSweepSlack = 1e-9;
// The same along a segment, as a part of its length.
constexpr double kSideSlack = 1e-9;

// Radians in [0, 2 pi) counter-clockwise from 0.
double Turns(double angle) {
  const double m = std::fmod(angle, kTwoPi);
  return m < 0 ? m + kTwoPi : m;
}

// A circle, or the part of it drawn from start counter-clockwise through sweep.
struct Round {
  Point centre;
  double radius = 0;
  double start = 0;
  double sweep = kTwoPi;
  bool whole = true;

  // How far counter-clockwise from the start a point of the circle lies.
  double OffsetOf(Point p) const {
    return Turns(std::atan2(p.y - centre.y, p.x - centre.x) - start);
  }
  bool Holds(Point p) const {
    return whole ||
           OnSweep(std::atan2(p.y - centre.y, p.x - centre.x), start, start + sweep, kSweepSlack);
  }
};

Round RoundOf(const CircleRecord& c) { return {{c.x, c.y}, std::abs(c.radius)}; }

Round RoundOf(const ArcRecord& a) {
  // A negative radius draws the sweep on the far side of the centre.
  const double turn = a.radius < 0 ? kPi : 0;
  const double sweep =
      a.end_angle - a.start_angle >= kTwoPi ? kTwoPi : Turns(a.end_angle - a.start_angle);
  return {{a.x, a.y}, std::abs(a.radius), a.start_angle + turn, sweep, false};
}

// The edge as the pieces a crossing is looked for on: one side for a line, four for a
// rectangle, or a circle or an arc.
struct Edge {
  std::vector<SegmentRecord> sides;
  std::optional<Round> round;
};

std::optional<Edge> EdgeAt(std::span<const ParsedEntity> records, int index) {
  if (index < 0 || static_cast<size_t>(index) >= records.size()) return std::nullopt;
  std::optional<Edge> edge;
  const auto side = [](double x1, double y1, double x2, double y2) {
    return SegmentRecord{.x1 = x1, .y1 = y1, .x2 = x2, .y2 = y2, .valid = true};
  };
  VisitEntity(records[index],
              Overloaded{
                  [&](const LineEntity& l) {
                    edge = Edge{{l.segment}, std::nullopt};
                  },
                  [&](const RectangleEntity& r) {
                    const SegmentRecord& s = r.segment;
                    edge = Edge{{side(s.x1, s.y1, s.x1, s.y2), side(s.x1, s.y2, s.x2, s.y2),
                                 side(s.x2, s.y2, s.x2, s.y1), side(s.x2, s.y1, s.x1, s.y1)},
                                std::nullopt};
                  },
                  [&](const CircleRecord& c) {
                    edge = Edge{{}, RoundOf(c)};
                  },
                  [&](const ArcRecord& a) {
                    edge = Edge{{}, RoundOf(a)};
                  },
                  [](const TextRecord&) {},
                  [](const ColourRecord&) {},
                  [](const ThicknessRecord&) {},
              });
  return edge;
}

bool WithinSide(double u) { return -kSideSlack <= u && u <= 1 + kSideSlack; }

void KeepHits(const CircleHits& hits, const Round& on, std::vector<Point>& out) {
  if (hits.found1 && on.Holds({hits.x1, hits.y1})) out.push_back({hits.x1, hits.y1});
  if (hits.found2 && on.Holds({hits.x2, hits.y2})) out.push_back({hits.x2, hits.y2});
}

// Where the infinite line through a and b crosses the edge.
std::vector<Point> CrossingsOfLine(const Edge& edge, Point a, Point b) {
  std::vector<Point> out;
  for (const SegmentRecord& s : edge.sides) {
    const LineParameters at = LineCrossingParameters(a.x, a.y, b.x, b.y, s.x1, s.y1, s.x2, s.y2);
    if (at.found && WithinSide(at.u)) {
      out.push_back({a.x + at.t * (b.x - a.x), a.y + at.t * (b.y - a.y)});
    }
  }
  if (edge.round) {
    const Round& r = *edge.round;
    KeepHits(LineCircleCrossings(a.x, a.y, b.x, b.y, r.centre.x, r.centre.y, r.radius), r, out);
  }
  return out;
}

// Where the circle of the object crosses the edge.
std::vector<Point> CrossingsOfCircle(const Edge& edge, const Round& object) {
  std::vector<Point> out;
  const Round whole{object.centre, object.radius};
  for (const SegmentRecord& s : edge.sides) {
    const CircleHits hits = LineCircleCrossings(s.x1, s.y1, s.x2, s.y2, object.centre.x,
                                                object.centre.y, object.radius);
    const auto on_side = [&](double x, double y) {
      const double dx = s.x2 - s.x1, dy = s.y2 - s.y1;
      const double length2 = dx * dx + dy * dy;
      return length2 > 0 && WithinSide(((x - s.x1) * dx + (y - s.y1) * dy) / length2);
    };
    CircleHits kept = hits;
    kept.found1 = hits.found1 && on_side(hits.x1, hits.y1);
    kept.found2 = hits.found2 && on_side(hits.x2, hits.y2);
    KeepHits(kept, whole, out);
  }
  if (edge.round) {
    const Round& r = *edge.round;
    KeepHits(CircleCircleIntersection(object.centre.x, object.centre.y, object.radius, 0, 0,
                                      r.centre.x, r.centre.y, r.radius, 0, 0),
             r, out);
  }
  return out;
}

// The record at index with its colour and thickness in force, changed by change and written.
template <class Change>
EditChanges Rewritten(std::span<const ParsedEntity> records, int index, Change change) {
  ParsedEntity entity = Resolved(records[index], DefaultsAt(records, index));
  change(entity);
  std::optional<std::string> text = CanonicalText(entity);
  if (!text) return {};
  return {EditChange{EditChange::Kind::kReplace, index, std::move(*text)}};
}

// The arc's line with new angles, written as the other tools write arcs: the start within the
// first turn and the end past it by the sweep.
EditChanges ArcWithAngles(std::span<const ParsedEntity> records, int index, double start,
                          double end) {
  const double from = Turns(start);
  const double to = from + Turns(end - start);
  return Rewritten(records, index, [&](ParsedEntity& entity) {
    auto& arc = std::get<ArcRecord>(entity.record);
    arc.start_angle = from;
    arc.end_angle = to;
  });
}

EditChanges LineWithEndAt(std::span<const ParsedEntity> records, int index, SegmentRecord line,
                          bool first, Point at) {
  if (first) {
    line.x1 = at.x, line.y1 = at.y;
  } else {
    line.x2 = at.x, line.y2 = at.y;
  }
  return ReplacedLine(records, index, line);
}

// A line meets the edge: the crossing on it nearest the click cuts, the click's side goes.
TrimOutcome TrimLineAcross(std::span<const ParsedEntity> records, const Edge& edge, int object,
                           const SegmentRecord& line, Point click) {
  const Point a{line.x1, line.y1}, b{line.x2, line.y2};
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length2 = dx * dx + dy * dy;
  if (!(length2 > 0)) return {{}, false};
  const auto along = [&](Point p) { return ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2; };
  bool met = false;
  std::optional<Point> cut;
  const double click_at = along(click);
  for (const Point p : CrossingsOfLine(edge, a, b)) {
    if (!WithinSide(along(p))) continue;
    met = true;
    if (PointDistance(a.x, a.y, p.x, p.y) <= kTrimAtEnd ||
        PointDistance(b.x, b.y, p.x, p.y) <= kTrimAtEnd) {
      continue;
    }
    if (!cut || std::abs(along(p) - click_at) < std::abs(along(*cut) - click_at)) cut = p;
  }
  if (!cut) return {{}, met};
  return {LineWithEndAt(records, object, line,
                        DotAbout(cut->x, cut->y, click.x, click.y, a.x, a.y) > 0, *cut)};
}

// A circle cut at the crossings either side of the click: the arc from the one after the click
// round to the one before it stays.
TrimOutcome TrimCircle(std::span<const ParsedEntity> records, const Edge& edge, int object,
                       const CircleRecord& circle, Point click) {
  const Round round = RoundOf(circle);
  std::vector<double> angles;
  for (const Point p : CrossingsOfCircle(edge, round)) angles.push_back(round.OffsetOf(p));
  std::sort(angles.begin(), angles.end());
  angles.erase(std::unique(angles.begin(), angles.end(),
                           [](double x, double y) { return y - x <= kSweepSlack; }),
               angles.end());
  if (angles.size() > 1 && kTwoPi - angles.back() + angles.front() <= kSweepSlack) {
    angles.pop_back();
  }
  if (angles.size() < 2) return {{}, false};
  const double at = round.OffsetOf(click);
  const auto after = std::upper_bound(angles.begin(), angles.end(), at);
  const double from = after == angles.end() ? angles.front() : *after;
  const double to = after == angles.begin() ? angles.back() : *(after - 1);
  const double end = from + Turns(to - from);
  return {Rewritten(records, object, [&](ParsedEntity& entity) {
    const auto& c = std::get<CircleRecord>(entity.record);
    entity.kind = EntityKind::kArc;
    entity.record = ArcRecord{.x = c.x,
                              .y = c.y,
                              .radius = std::abs(c.radius),
                              .start_angle = from,
                              .end_angle = end,
                              .valid = true,
                              .colour = c.colour,
                              .thickness = c.thickness};
  })};
}

// Where the edge crosses an arc, as offsets from its start, ends included.
std::vector<double> OffsetsOnArc(const Edge& edge, const Round& arc) {
  std::vector<double> offsets;
  for (const Point p : CrossingsOfCircle(edge, arc)) {
    if (!arc.Holds(p)) continue;
    double offset = arc.OffsetOf(p);
    // Just past an end by rounding: at that end.
    if (offset > arc.sweep) offset = offset >= kTwoPi - kSweepSlack ? 0 : arc.sweep;
    offsets.push_back(offset);
  }
  return offsets;
}

TrimOutcome TrimArc(std::span<const ParsedEntity> records, const Edge& edge, int object,
                    const ArcRecord& record, Point click) {
  const Round arc = RoundOf(record);
  const std::vector<double> offsets = OffsetsOnArc(edge, arc);
  if (offsets.empty()) return {{}, false};
  // A click off the drawn part counts at the end it is nearer to round the circle.
  double at = arc.OffsetOf(click);
  if (at > arc.sweep) at = at - arc.sweep < kTwoPi - at ? arc.sweep : 0;
  std::optional<double> cut;
  for (const double s : offsets) {
    if (arc.radius * s <= kTrimAtEnd || arc.radius * (arc.sweep - s) <= kTrimAtEnd) continue;
    if (!cut || std::abs(s - at) < std::abs(*cut - at)) cut = s;
  }
  if (!cut) return {};
  if (at < *cut)
    return {ArcWithAngles(records, object, record.start_angle + *cut, record.end_angle)};
  return {ArcWithAngles(records, object, record.start_angle, record.start_angle + *cut)};
}

// A line's nearer end to the nearest crossing of its extension.
TrimOutcome ExtendLineTo(std::span<const ParsedEntity> records, const Edge& edge, int object,
                         const SegmentRecord& line) {
  const Point a{line.x1, line.y1}, b{line.x2, line.y2};
  const double length = PointDistance(a.x, a.y, b.x, b.y);
  if (!(length > 0)) return {{}, false};
  std::optional<Point> to;
  double nearest = 0;
  bool from_first = false;
  for (const Point p : CrossingsOfLine(edge, a, b)) {
    const double t = ((p.x - a.x) * (b.x - a.x) + (p.y - a.y) * (b.y - a.y)) / (length * length);
    const double from_a = PointDistance(a.x, a.y, p.x, p.y);
    const double from_b = PointDistance(b.x, b.y, p.x, p.y);
    // Between the ends is no extension, unless it is at an end: that end is there already.
    if (t > 0 && t < 1 && from_a > kTrimAtEnd && from_b > kTrimAtEnd) continue;
    const double distance = std::min(from_a, from_b);
    if (!to || distance < nearest) to = p, nearest = distance, from_first = from_a < from_b;
  }
  if (!to) return {{}, false};
  if (nearest <= kTrimAtEnd) return {};
  return {LineWithEndAt(records, object, line, from_first, *to)};
}

// An arc grown from its end nearer the click along its circle to the first crossing.
TrimOutcome ExtendArc(std::span<const ParsedEntity> records, const Edge& edge, int object,
                      const ArcRecord& record, Point click) {
  const Round arc = RoundOf(record);
  const Point start{arc.centre.x + arc.radius * std::cos(arc.start),
                    arc.centre.y + arc.radius * std::sin(arc.start)};
  const double end_angle = arc.start + arc.sweep;
  const Point end{arc.centre.x + arc.radius * std::cos(end_angle),
                  arc.centre.y + arc.radius * std::sin(end_angle)};
  const bool grow_end = PointDistance(click.x, click.y, end.x, end.y) <
                        PointDistance(click.x, click.y, start.x, start.y);
  const double gap = kTwoPi - arc.sweep;
  std::optional<double> nearest;  // how far past the grown end, in radians
  for (const Point p : CrossingsOfCircle(edge, Round{arc.centre, arc.radius})) {
    const double offset = arc.OffsetOf(p);
    const double past = grow_end ? Turns(offset - arc.sweep) : Turns(-offset);
    // One just behind the end lies on the arc by rounding: the end is there already.
    const double behind = kTwoPi - past;
    if (arc.radius * std::min(past, behind) <= kTrimAtEnd) return {};
    if (past < gap && (!nearest || past < *nearest)) nearest = past;
  }
  if (!nearest) return {{}, false};
  if (grow_end) {
    return {ArcWithAngles(records, object, record.start_angle, record.end_angle + *nearest)};
  }
  return {ArcWithAngles(records, object, record.start_angle - *nearest, record.end_angle)};
}

bool BothLines(std::span<const ParsedEntity> records, int edge, int object) {
  return records[edge].kind == EntityKind::kLine && records[object].kind == EntityKind::kLine;
}

bool InRange(std::span<const ParsedEntity> records, int index) {
  return index >= 0 && static_cast<size_t>(index) < records.size();
}

}  // namespace

bool TakesAsEdge(std::span<const ParsedEntity> records, int index) {
  return EdgeAt(records, index).has_value();
}

bool TakesAsObject(std::span<const ParsedEntity> records, int index, bool extend) {
  if (!InRange(records, index) || !records[index].valid()) return false;
  switch (records[index].kind) {
    case EntityKind::kLine:
    case EntityKind::kArc:
      return true;
    case EntityKind::kCircle:
      return !extend;
    default:
      return false;
  }
}

TrimOutcome TrimObject(std::span<const ParsedEntity> records, int edge, int object, Point click) {
  const std::optional<Edge> cutting = EdgeAt(records, edge);
  if (!cutting || !TakesAsObject(records, object, false)) return {};
  if (BothLines(records, edge, object)) {
    const SegmentRecord a = *LineRecordAt(records, edge);
    const SegmentRecord b = *LineRecordAt(records, object);
    const bool met = SegmentSegmentIntersection(a.x1, a.y1, a.x2, a.y2, b.x1, b.y1, b.x2, b.y2).ok;
    return {TrimLine(records, edge, object, click), met};
  }
  TrimOutcome outcome;
  VisitEntity(
      records[object],
      Overloaded{
          [&](const LineEntity& l) {
            outcome = TrimLineAcross(records, *cutting, object, l.segment, click);
          },
          [](const RectangleEntity&) {},
          [&](const CircleRecord& c) { outcome = TrimCircle(records, *cutting, object, c, click); },
          [&](const ArcRecord& a) { outcome = TrimArc(records, *cutting, object, a, click); },
          [](const TextRecord&) {},
          [](const ColourRecord&) {},
          [](const ThicknessRecord&) {},
      });
  return outcome;
}

TrimOutcome ExtendObject(std::span<const ParsedEntity> records, int edge, int object, Point click) {
  const std::optional<Edge> boundary = EdgeAt(records, edge);
  if (!boundary || !TakesAsObject(records, object, true)) return {};
  if (BothLines(records, edge, object)) {
    const SegmentRecord a = *LineRecordAt(records, edge);
    const SegmentRecord b = *LineRecordAt(records, object);
    const LineHit at = LineLineIntersection(a.x1, a.y1, a.x2, a.y2, b.x1, b.y1, b.x2, b.y2);
    const bool met = at.ok && std::isfinite(at.x) && std::isfinite(at.y);
    return {ExtendLine(records, edge, object, click), met};
  }
  TrimOutcome outcome;
  VisitEntity(records[object], Overloaded{
                                   [&](const LineEntity& l) {
                                     outcome = ExtendLineTo(records, *boundary, object, l.segment);
                                   },
                                   [](const RectangleEntity&) {},
                                   [](const CircleRecord&) {},
                                   [&](const ArcRecord& a) {
                                     outcome = ExtendArc(records, *boundary, object, a, click);
                                   },
                                   [](const TextRecord&) {},
                                   [](const ColourRecord&) {},
                                   [](const ThicknessRecord&) {},
                               });
  return outcome;
}

}  // namespace blok
