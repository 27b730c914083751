#pragma once

// Plane geometry for picking, selection, snaps and the editing tools. Pure functions: no state,
// no allocation. The tolerances, the handling of (nearly) vertical lines and the single-precision
// results are what the tools write into entity commands, so they are fixed, not tunable.
//
// x runs to the right, y upwards; angles are radians counter-clockwise from the positive x axis.
// Picking calls these with screen pixels, everything else with block units.

#include "model/angles.h"

namespace blok {

struct Point {
  double x = 0;
  double y = 0;
};

struct SlopeIntercept {
  double slope = 0;
  double intercept = 0;
};

struct QuadraticRoots {
  bool found1 = false;
  bool found2 = false;
  double root1 = 0;
  double root2 = 0;
};

// A point's coordinates mean something only when its found flag is set. The angles and the arc
// flags are filled by SegmentCircleIntersection only.
struct CircleHits {
  bool found1 = false;
  bool found2 = false;
  double x1 = 0;
  double y1 = 0;
  double x2 = 0;
  double y2 = 0;
  float angle1 = 0;
  float angle2 = 0;
  bool inArc1 = false;
  bool inArc2 = false;
};

// The point is single precision on purpose: the tools write exactly this value.
struct LineHit {
  float x = 0;
  float y = 0;
  bool ok = false;
};

double PointDistance(double x1, double y1, double x2, double y2) noexcept;

// Direction from point 1 to point 2 in [0, 2pi). A direction with |dx| < 0.01 counts as straight
// up or down whatever its length. Two equal points give 0.
double DirectionAngle(double x1, double y1, double x2, double y2) noexcept;

// Direction from point 1 to point 2 by exact quadrant rules in single precision; equal points
// give 0.
float VectorAngle(float x1, float y1, float x2, float y2) noexcept;

// Turns (x, y) counter-clockwise about (cx, cy). The direction comes from DirectionAngle, so a
// point within 0.01 of the centre's x turns as if it lay straight above or below it.
Point RotatePoint(double cx, double cy, double x, double y, double angle) noexcept;

// (P1 - P0) . (P2 - P0)
constexpr double DotAbout(double x0, double y0, double x1, double y1, double x2,
                          double y2) noexcept {
  return (x1 - x0) * (x2 - x0) + (y1 - y0) * (y2 - y0);
}

// Positive when Q lies counter-clockwise of P seen from C (within half a turn), negative when
// clockwise, zero when in line. Computed as the dot product with Q - C turned by -90 degrees,
// not as the cross product written out: for points almost in line the two forms can round to
// different signs, and the side tests that call it rely on the sign of this one.
constexpr double CrossAbout(double px, double py, double cx, double cy, double qx,
                            double qy) noexcept {
  const double rx = cx + (qy - cy);
  const double ry = cy - (qx - cx);
  return DotAbout(cx, cy, px, py, rx, ry);
}

// Real roots of a·x² + b·x + c = 0, smaller first when a > 0. A zero a is solved as the linear
// equation it is.
QuadraticRoots SolveQuadratic(double a, double b, double c) noexcept;

// Slope and intercept of the line through both points; a vertical line (x1 == x2) gives the
// fixed stand-in slope 1000000 and intercept 0.
constexpr SlopeIntercept LineCoefficients(double x1, double y1, double x2, double y2) noexcept {
  if (x1 == x2) return {1000000, 0};
  const double m = (y1 - y2) / (x1 - x2);
  return {m, y1 - m * x1};
}

// Distance for picking: 10000 when (px, py) is more than 10 outside the segment's bounding box,
// otherwise the perpendicular distance to the infinite line through the segment.
float PointSegmentDistance(float x1, float y1, float x2, float y2, float px, float py) noexcept;

// Crossing of the infinite lines (x1,y1)-(x2,y2) and (x3,y3)-(x4,y4). Lines with an x extent
// under 0.001 are vertical; two vertical lines give ok = false at (1000000000, 100000000), slopes
// closer than 0.00001 count as parallel.
LineHit LineLineIntersection(double x1, double y1, double x2, double y2, double x3, double y3,
                             double x4, double y4) noexcept;

// As LineLineIntersection, kept only when the point lies within both segments' bounding boxes
// grown by 0.001, so touching ends count.
LineHit SegmentSegmentIntersection(double x1, double y1, double x2, double y2, double x3, double y3,
                                   double x4, double y4) noexcept;

// Crossings of a segment with a circle, the points alone. A crossing exactly at an end of a
// non-vertical segment is not found; on a vertical segment the ends count.
CircleHits SegmentCircleCrossings(double x1, double y1, double x2, double y2, double cx, double cy,
                                  double r) noexcept;

// The crossings of the infinite line through both points with a circle, by the same vertical
// rule as SegmentCircleCrossings (a line under 0.001 wide in x is x = x1), without its end test.
CircleHits LineCircleCrossings(double x1, double y1, double x2, double y2, double cx, double cy,
                               double r) noexcept;

// Where the infinite lines (x1,y1)-(x2,y2) and (x3,y3)-(x4,y4) cross, in double precision and
// without the vertical rule, as a parameter along each: the point is P1 + t (P2 - P1) =
// P3 + u (P4 - P3). Not found for parallel lines and a line of no length.
struct LineParameters {
  double t = 0;
  double u = 0;
  bool found = false;
};
LineParameters LineCrossingParameters(double x1, double y1, double x2, double y2, double x3,
                                      double y3, double x4, double y4) noexcept;

// The same crossings, with their directions from the centre and whether they
// fall in [start_angle, end_angle] (no wrap past 0). A crossing exactly at an end of a non-vertical
// segment is not found; on a vertical segment the ends count.
CircleHits SegmentCircleIntersection(double x1, double y1, double x2, double y2, double cx,
                                     double cy, double r, double start_angle,
                                     double end_angle) noexcept;

// Whether direction `angle` (radians) lies on the sweep counter-clockwise from start to end,
// modulo a turn, as an arc is drawn: 300 to 30 degrees and angles past 360 after a rotation mean
// what they draw, and a sweep of a whole turn or more holds every direction. `slack` radians
// past either end still count, for points computed onto an end that rounding moved off it.
bool OnSweep(double angle, double start, double end, double slack = 0) noexcept;

// Crossings of two circles. The arc angles are accepted for the callers' convenience and not
// used; circles that only touch from outside, concentric circles and a circle inside the other
// give no point.
CircleHits CircleCircleIntersection(double x1, double y1, double r1, double start1, double end1,
                                    double x2, double y2, double r2, double start2,
                                    double end2) noexcept;

}  // namespace blok
