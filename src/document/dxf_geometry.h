#pragma once

// Plane geometry of the DXF import: the transforms of nested inserts and the flattening of the
// curves that entity lines cannot hold (ellipses, arcs under unequal scales, splines).

#include <cmath>
#include <cstddef>
#include <numbers>
#include <optional>
#include <vector>

namespace blok::dxf {

inline constexpr double kPiD = std::numbers::pi;
// Curves are flattened so that no point is further than this share of their size from them.
inline constexpr double kFlatness = 0.001;
// Points of one flattened curve.
inline constexpr size_t kMaxCurvePoints = 100'000;

struct Point {
  double x = 0, y = 0;
};

// x' = a x + c y + e, y' = b x + d y + f.
struct Affine {
  double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;

  Point operator()(Point p) const { return {a * p.x + c * p.y + e, b * p.x + d * p.y + f}; }
  Point Vector(Point v) const { return {a * v.x + c * v.y, b * v.x + d * v.y}; }
  Affine operator*(const Affine& o) const {  // this after o
    return {a * o.a + c * o.b, b * o.a + d * o.b,     a * o.c + c * o.d,
            b * o.c + d * o.d, a * o.e + c * o.f + e, b * o.e + d * o.f + f};
  }
  double Det() const { return a * d - b * c; }
  // Equal scales on perpendicular axes: circles stay circles.
  bool Similar() const;
  double Scale() const { return std::hypot(a, b); }
  double Rotation() const { return std::atan2(b, a); }
};

Affine Translation(double x, double y);
Affine Rotation(double radians);
Affine Scaling(double x, double y);

// An angle in radians as degrees in [0, 360).
double Degrees360(double radians);

// Parameter steps of a circle flattened within kFlatness of its radius.
double FlatStep();

// Points c + cos t·u + sin t·v for t from start to end (radians), through the transform, in
// steps of FlatStep (at least one, at most kMaxCurvePoints). An affine image of a circle stays
// within the flatness for the same steps of t.
std::vector<Point> FlattenEllipse(const Affine& m, Point c, Point u, Point v, double start,
                                  double end);

// The circular arc of a bulged polyline segment from p to q (p and q apart, bulge not zero):
// counter-clockwise from start to end (radians).
struct BulgeArc {
  Point centre;
  double radius = 0;
  double start = 0, end = 0;
};

// bulge is the tangent of a quarter of the segment's angle, positive counter-clockwise.
BulgeArc ArcOfBulge(Point p, Point q, double bulge);

// A B-spline as DXF gives it: degree, knots, control points and, when rational, a weight for
// each control point.
struct SplineCurve {
  long long degree = 3;
  std::vector<double> knots, weights;
  std::vector<Point> control;
};

// The spline's points through the transform, from its first knot of the curve to its last:
// each knot span in four equal steps, halved again where the curve strays from its chord by
// more than kFlatness of the transformed control polygon's extent (at most 20 times, and no
// more once kMaxCurvePoints are made). Nothing when degree, knots and weights do not make a
// curve: a degree from 1 to 25, more control points than the degree, as many knots as control
// points and degree and one, in order, spanning a length, and a weight for every control point
// or none.
std::optional<std::vector<Point>> FlattenSpline(const SplineCurve& spline, const Affine& m);

}  // namespace blok::dxf
