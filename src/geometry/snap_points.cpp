#include "geometry/snap_points.h"

#include <algorithm>
#include <cmath>

namespace blok {
namespace {

// Angles read as degrees and a turn of kTwoPi differ in the last digits: an arc from 270 to 360
// degrees would otherwise lose its own end.
constexpr double kSweepSlack = 1e-6;

Point PointAtAngle(const CircleArc& arc, double angle) {
  return {arc.centre.x + arc.radius * std::cos(angle), arc.centre.y + arc.radius * std::sin(angle)};
}

// The point of the circle on the radius through p, which is not the centre.
Point Radial(const CircleArc& arc, Point p, double distance) {
  const double k = std::fabs(arc.radius) / distance;
  return {arc.centre.x + k * (p.x - arc.centre.x), arc.centre.y + k * (p.y - arc.centre.y)};
}

// Where on the infinite line through a and b the perpendicular from p falls, as the part of
// the way from a to b. The segment has length.
double Projection(Point a, Point b, Point p) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  return ((p.x - a.x) * dx + (p.y - a.y) * dy) / (dx * dx + dy * dy);
}

// The point that far along a-b, p's foot; on a level or plumb segment the foot shares one
// coordinate with p exactly, so that a rectangle's side gives round numbers.
Point Along(Point a, Point b, double t, Point p) {
  if (a.y == b.y) return {p.x, a.y};
  if (a.x == b.x) return {a.x, p.y};
  return {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
}

}  // namespace

bool OnArc(const CircleArc& arc, Point p) noexcept {
  const double dx = p.x - arc.centre.x;
  const double dy = p.y - arc.centre.y;
  if (dx == 0 && dy == 0) return false;
  if (arc.end - arc.start >= kTwoPi) return true;  // a circle: spare the direction
  const double direction = std::atan2(dy, dx) + (arc.radius < 0 ? kPi : 0);
  return OnSweep(direction, arc.start, arc.end, kSweepSlack);
}

bool NearSegment(Point a, Point b, Point p, double reach) noexcept {
  const Point q = NearestOnSegment(a, b, p);
  return (q.x - p.x) * (q.x - p.x) + (q.y - p.y) * (q.y - p.y) <= reach * reach;
}

bool NearCircle(const CircleArc& arc, Point p, double reach) noexcept {
  const double dx = p.x - arc.centre.x;
  const double dy = p.y - arc.centre.y;
  const double d2 = dx * dx + dy * dy;
  const double r = std::fabs(arc.radius);
  const double inner = std::max(0.0, r - reach);
  return inner * inner <= d2 && d2 <= (r + reach) * (r + reach);
}

std::optional<Point> PerpendicularFoot(Point a, Point b, Point from) noexcept {
  if (a.x == b.x && a.y == b.y) return std::nullopt;
  const double t = Projection(a, b, from);
  if (!(t >= 0 && t <= 1)) return std::nullopt;
  return Along(a, b, t, from);
}

Point NearestOnSegment(Point a, Point b, Point p) noexcept {
  if (a.x == b.x && a.y == b.y) return a;
  const double t = Projection(a, b, p);
  if (!(t > 0)) return a;
  if (t >= 1) return b;
  return Along(a, b, t, p);
}

std::optional<Point> PerpendicularFootOnArc(const CircleArc& arc, Point from) noexcept {
  const double d = PointDistance(arc.centre.x, arc.centre.y, from.x, from.y);
  if (d == 0) return std::nullopt;
  const Point p = Radial(arc, from, d);
  if (!OnArc(arc, p)) return std::nullopt;
  return p;
}

SnapPoints TangentPoints(const CircleArc& arc, Point from) noexcept {
  SnapPoints found;
  const double r = std::fabs(arc.radius);
  const double vx = from.x - arc.centre.x;
  const double vy = from.y - arc.centre.y;
  const double d2 = vx * vx + vy * vy;
  if (!(d2 > r * r)) return found;
  // Along the centre line by r²/d, across it by r·√(d² − r²)/d, over d to make them of v.
  const double along = r * r / d2;
  const double across = r * std::sqrt(d2 - r * r) / d2;
  for (const double side : {1.0, -1.0}) {
    const Point p{arc.centre.x + along * vx - side * across * vy,
                  arc.centre.y + along * vy + side * across * vx};
    if (OnArc(arc, p)) found.Add(p);
  }
  return found;
}

Point NearestOnArc(const CircleArc& arc, Point p) noexcept {
  const double d = PointDistance(arc.centre.x, arc.centre.y, p.x, p.y);
  const Point start = PointAtAngle(arc, arc.start);
  if (d == 0) return start;
  const Point radial = Radial(arc, p, d);
  if (OnArc(arc, radial)) return radial;
  const Point end = PointAtAngle(arc, arc.end);
  return PointDistance(end.x, end.y, p.x, p.y) < PointDistance(start.x, start.y, p.x, p.y) ? end
                                                                                           : start;
}

SnapPoints QuadrantPoints(const CircleArc& arc) noexcept {
  // The angles as an arc's degrees read, so that an arc ending at 90 degrees has its point there.
  constexpr struct {
    double degrees, cos, sin;
  } kQuadrants[] = {{0, 1, 0}, {90, 0, 1}, {180, -1, 0}, {270, 0, -1}};
  SnapPoints found;
  for (const auto& q : kQuadrants) {
    if (!OnSweep(q.degrees * kDegreesToRadians, arc.start, arc.end, kSweepSlack)) continue;
    found.Add({arc.centre.x + arc.radius * q.cos, arc.centre.y + arc.radius * q.sin});
  }
  return found;
}

}  // namespace blok
