#pragma once

// The points the object snaps catch on a segment, a circle or an arc, besides its ends and
// middle: the foot of a perpendicular, the tangent points from a point, the nearest point and
// the quadrant points. Pure functions over world coordinates.

#include <optional>

#include "geometry/geometry.h"

namespace blok {

// A circle, or the arc swept counter-clockwise from start to end (radians, modulo a turn). A
// negative radius puts each angle's point on the far side of the centre, as the arc is drawn.
struct CircleArc {
  Point centre;
  double radius = 0;
  double start = 0;
  double end = kTwoPi;
};

// Up to four points, in the order the function gives them.
struct SnapPoints {
  Point points[4];
  int count = 0;
  void Add(Point p) { points[count++] = p; }
};

// Whether the point lies in the arc's sweep as seen from its centre (the centre itself does not).
bool OnArc(const CircleArc& arc, Point p) noexcept;

// Whether p lies within reach of the segment a-b, or of the circle whatever the arc's sweep.
// Squares, not roots: the snaps ask this of every entity near the cursor on every move.
bool NearSegment(Point a, Point b, Point p, double reach) noexcept;
bool NearCircle(const CircleArc& arc, Point p, double reach) noexcept;

// The foot of the perpendicular from `from` to the segment a-b; none when it falls outside the
// segment or the segment has no length.
std::optional<Point> PerpendicularFoot(Point a, Point b, Point from) noexcept;

// The point of the segment a-b nearest p: its projection, held to the segment.
Point NearestOnSegment(Point a, Point b, Point p) noexcept;

// Where the ray from the centre through `from` meets the circle: there the line from `from`
// stands square to it. None at the centre itself or off the arc's sweep.
std::optional<Point> PerpendicularFootOnArc(const CircleArc& arc, Point from) noexcept;

// The points where the lines from `from` touch the circle, those in the arc's sweep; none from
// inside the circle or on it.
SnapPoints TangentPoints(const CircleArc& arc, Point from) noexcept;

// The point of the circle or arc nearest p: the one on its radius through p when that lies in
// the sweep, else the nearer end. From the centre, where every radius is as near, the point at
// the start angle.
Point NearestOnArc(const CircleArc& arc, Point p) noexcept;

// The points at 0, 90, 180 and 270 degrees round the centre that lie on the arc, in that
// order of the arc's own angles; exact, whatever the rounding of the angles.
SnapPoints QuadrantPoints(const CircleArc& arc) noexcept;

}  // namespace blok
