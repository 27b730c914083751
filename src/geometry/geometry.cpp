#include "geometry/geometry.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace blok {

namespace {

// A line whose x extent is below this is vertical (the direction angle uses 0.01 instead).
constexpr double kVerticalTolerance = 0.001;
// Slopes closer than this are parallel.
constexpr double kParallelTolerance = 0.01 * kVerticalTolerance;

// The point reported, with ok = false, for two vertical lines.
constexpr float kNoHitX = 1000000000.0f;
constexpr float kNoHitY = 100000000.0f;

// The first line's vertical test differs between the infinite-line and the segment crossing.
enum class FirstVertical { kAtMostTolerance, kBelowTolerance };

LineHit Intersect(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                  double y4, FirstVertical first_vertical) {
  const double t = kVerticalTolerance;
  const double dx1 = std::abs(x1 - x2);
  const double dx2 = std::abs(x3 - x4);
  if (dx1 < t && dx2 < t) return {kNoHitX, kNoHitY, false};
  auto slope1 = [&] { return (y1 - y2) / (x1 - x2); };
  auto slope2 = [&] { return (y3 - y4) / (x3 - x4); };
  LineHit hit;
  if (dx1 > t && dx2 > t) {
    const double m1 = slope1();
    const double m2 = slope2();
    if (std::abs(m1 - m2) < kParallelTolerance) return hit;
    hit.ok = true;
    const double b1 = y1 - m1 * x1;
    const double b2 = y3 - m2 * x3;
    hit.x = static_cast<float>((b2 - b1) / (m1 - m2));
    // y follows the stored x, so the point lies on the second line in single precision.
    hit.y = static_cast<float>(m2 * hit.x + b2);
    return hit;
  }
  hit.ok = true;

  // A line exactly 0.001 wide is vertical for the infinite-line crossing, but a strictly vertical
  // second line must win over it: its slope cannot be taken.
  const bool first_is_vertical =
      dx1 < t || (first_vertical == FirstVertical::kAtMostTolerance && dx1 <= t && !(dx2 < t));
  const bool second_is_vertical = !first_is_vertical && dx2 <= t;
  if (first_is_vertical) {
    const double m2 = slope2();
    const double b2 = y3 - m2 * x3;
    hit.x = static_cast<float>(x1);
    hit.y = static_cast<float>(m2 * x1 + b2);
  } else if (second_is_vertical) {
    const double m1 = slope1();
    const double b1 = y1 - m1 * x1;
    hit.x = static_cast<float>(x3);
    hit.y = static_cast<float>(m1 * x3 + b1);
  } else {
    // Only the segment crossing gets here, with a first line exactly 0.001 wide.
    const double m1 = slope1();
    const double m2 = slope2();
    const double b1 = y1 - m1 * x1;
    const double b2 = y3 - m2 * x3;
    hit.x = static_cast<float>((b2 - b1) / (m1 - m2));
    hit.y = static_cast<float>(m2 * hit.x + b2);
  }
  return hit;
}

}  // namespace

double PointDistance(double x1, double y1, double x2, double y2) noexcept {
  const double dx = x2 - x1;
  const double dy = y2 - y1;
  return std::sqrt(dx * dx + dy * dy);
}

double DirectionAngle(double x1, double y1, double x2, double y2) noexcept {
  const double dx = x2 - x1;
  const double dy = y2 - y1;
  if (std::abs(dx) < 0.01 && dy > 0) return kHalfPi;
  if (std::abs(dx) < 0.01 && dy < 0) return kThreeHalfPi;
  if (dx == 0) return 0;  // equal points; dy/dx would be 0/0
  double angle = std::atan(dy / dx);
  if (dx < 0) angle += kPi;
  if (dx > 0 && dy < 0) angle += kTwoPi;
  return angle + 0.0;  // no -0 for a direction just below the x axis
}

float VectorAngle(float x1, float y1, float x2, float y2) noexcept {
  constexpr float kHalfPiF = static_cast<float>(kHalfPi);
  constexpr float kPiF = static_cast<float>(kPi);
  constexpr float kThreeHalfPiF = static_cast<float>(kThreeHalfPi);
  if (x2 == x1 && y2 == y1) return 0;
  if (x2 > x1 && y2 >= y1) return std::atan((y2 - y1) / (x2 - x1));
  if (x2 <= x1 && y2 > y1) return std::atan((x1 - x2) / (y2 - y1)) + kHalfPiF;
  if (x2 < x1 && y2 <= y1) return std::atan((y1 - y2) / (x1 - x2)) + kPiF;
  if (x2 >= x1 && y2 < y1) return std::atan((x2 - x1) / (y1 - y2)) + kThreeHalfPiF;
  return 100000000;  // only NaN gets here
}

Point RotatePoint(double cx, double cy, double x, double y, double angle) noexcept {
  const double r = PointDistance(cx, cy, x, y);
  if (r <= 0.000000001) return {cx, cy};
  const double a = DirectionAngle(cx, cy, x, y) + angle;
  return {cx + r * std::cos(a), cy + r * std::sin(a)};
}

QuadraticRoots SolveQuadratic(double a, double b, double c) noexcept {
  QuadraticRoots roots;
  if (a == 0) {
    // Not a quadratic: dividing by 2a would report infinities as roots.
    if (b != 0) {
      roots.found1 = true;
      roots.root1 = -c / b;
    }
    return roots;
  }
  const double d = b * b - 4 * a * c;
  if (d > 0) {
    const double s = std::sqrt(d);
    roots.found1 = roots.found2 = true;
    roots.root1 = (-b - s) / (2 * a);
    roots.root2 = (-b + s) / (2 * a);
  } else if (d == 0) {
    roots.found1 = true;
    roots.root1 = -b / (2 * a);
  }
  return roots;
}

float PointSegmentDistance(float x1, float y1, float x2, float y2, float px, float py) noexcept {
  constexpr float kFar = 10000;
  constexpr double kMargin = 10;
  const double mx = (double{x1} + x2) / 2;
  const double my = (double{y1} + y2) / 2;
  const double hx = std::abs(mx - x1);
  const double hy = std::abs(my - y1);
  if (px < mx - hx - kMargin || px > mx + hx + kMargin || py < my - hy - kMargin ||
      py > my + hy + kMargin) {
    return kFar;
  }
  if (std::abs(double{x1} - x2) < kVerticalTolerance) return static_cast<float>(std::abs(mx - px));
  if (std::abs(double{y1} - y2) < kVerticalTolerance) return static_cast<float>(std::abs(my - py));
  const auto [m, b] = LineCoefficients(x1, y1, x2, y2);
  return static_cast<float>(std::abs(py - m * px - b) / std::sqrt(m * m + 1));
}

LineHit LineLineIntersection(double x1, double y1, double x2, double y2, double x3, double y3,
                             double x4, double y4) noexcept {
  return Intersect(x1, y1, x2, y2, x3, y3, x4, y4, FirstVertical::kAtMostTolerance);
}

LineHit SegmentSegmentIntersection(double x1, double y1, double x2, double y2, double x3, double y3,
                                   double x4, double y4) noexcept {
  LineHit hit = Intersect(x1, y1, x2, y2, x3, y3, x4, y4, FirstVertical::kBelowTolerance);
  if (!hit.ok) return hit;
  const double t = kVerticalTolerance;
  const double x = hit.x;
  const double y = hit.y;
  hit.ok = x + t >= std::min(x1, x2) && x - t <= std::max(x1, x2) && x + t >= std::min(x3, x4) &&
           x - t <= std::max(x3, x4) && y + t >= std::min(y1, y2) && y - t <= std::max(y1, y2) &&
           y + t >= std::min(y3, y4) && y - t <= std::max(y3, y4);
  return hit;
}

CircleHits LineCircleCrossings(double x1, double y1, double x2, double y2, double cx, double cy,
                               double r) noexcept {
  CircleHits hits;
  if (std::abs(x1 - x2) < kVerticalTolerance) {
    if (!(cx - r < x1 && x1 < cx + r)) return hits;
    const double h2 = r * r - (cx - x1) * (cx - x1);
    if (h2 < 0) return hits;  // rounding at the very edge of the range test
    const double h = std::sqrt(h2);
    hits.x1 = hits.x2 = x1;
    hits.y1 = cy + h;
    hits.y2 = cy - h;
    hits.found1 = hits.found2 = true;
    return hits;
  }
  const double m = (y1 - y2) / (x1 - x2);
  const double b = y1 - m * x1;
  const double qa = m * m + 1;
  const double qb = -2 * cx + 2 * m * b - 2 * cy * m;
  const double qc = cx * cx + b * b - 2 * cy * b + cy * cy - r * r;
  const double d = qb * qb - 4 * qa * qc;
  if (d > 0) {
    const double s = std::sqrt(d);
    hits.x1 = (-qb - s) / (2 * qa);
    hits.x2 = (-qb + s) / (2 * qa);
    hits.y1 = m * hits.x1 + b;
    hits.y2 = m * hits.x2 + b;
    hits.found1 = hits.found2 = true;
  } else if (d == 0) {
    hits.x1 = -qb / (2 * qa);
    hits.y1 = m * hits.x1 + b;
    hits.found1 = true;
  }
  return hits;
}

CircleHits SegmentCircleCrossings(double x1, double y1, double x2, double y2, double cx, double cy,
                                  double r) noexcept {
  CircleHits hits = LineCircleCrossings(x1, y1, x2, y2, cx, cy, r);
  if (std::abs(x1 - x2) < kVerticalTolerance) {
    const double low = std::min(y1, y2);
    const double high = std::max(y1, y2);
    hits.found1 = hits.found1 && low <= hits.y1 && hits.y1 <= high;
    hits.found2 = hits.found2 && low <= hits.y2 && hits.y2 <= high;
    return hits;
  }
  // Strictly inside the x range, so a crossing exactly at an end is not found here.
  constexpr double kEndMargin = 0.0000001;
  const double x_min = std::min(x1, x2) + kEndMargin;
  const double x_max = std::max(x1, x2) - kEndMargin;
  hits.found1 = hits.found1 && x_min < hits.x1 && hits.x1 < x_max;
  hits.found2 = hits.found2 && x_min < hits.x2 && hits.x2 < x_max;
  return hits;
}

LineParameters LineCrossingParameters(double x1, double y1, double x2, double y2, double x3,
                                      double y3, double x4, double y4) noexcept {
  const double ax = x2 - x1, ay = y2 - y1;
  const double bx = x4 - x3, by = y4 - y3;
  const double denominator = ax * by - ay * bx;
  if (denominator == 0) return {};
  const double dx = x3 - x1, dy = y3 - y1;
  return {(dx * by - dy * bx) / denominator, (dx * ay - dy * ax) / denominator, true};
}

CircleHits SegmentCircleIntersection(double x1, double y1, double x2, double y2, double cx,
                                     double cy, double r, double start_angle,
                                     double end_angle) noexcept {
  CircleHits hits = SegmentCircleCrossings(x1, y1, x2, y2, cx, cy, r);
  auto direction = [&](double x, double y) {
    return static_cast<float>(DirectionAngle(cx, cy, x, y));
  };
  if (hits.found1) hits.angle1 = direction(hits.x1, hits.y1);
  if (hits.found2) hits.angle2 = direction(hits.x2, hits.y2);
  hits.inArc1 = hits.found1 && start_angle <= hits.angle1 && hits.angle1 <= end_angle;
  hits.inArc2 = hits.found2 && start_angle <= hits.angle2 && hits.angle2 <= end_angle;
  return hits;
}

CircleHits CircleCircleIntersection(double x1, double y1, double r1, double /*start1*/,
                                    double /*end1*/, double x2, double y2, double r2,
                                    double /*start2*/, double /*end2*/) noexcept {
  CircleHits hits;
  const double t = kVerticalTolerance;
  if (std::abs(x1 - x2) < t && std::abs(y1 - y2) < t) return hits;
  if (r1 + r2 < PointDistance(x1, y1, x2, y2) + 0.000001) return hits;

  if (std::abs(y1 - y2) < t) {
    const double x = (r1 * r1 - r2 * r2 + x2 * x2 - x1 * x1) / (2 * x2 - 2 * x1);
    const double h2 = r1 * r1 - (x - x1) * (x - x1);
    if (h2 < 0) return hits;  // one circle inside the other
    const double h = std::sqrt(h2);
    const double ym = (y1 + y2) / 2;
    hits.x1 = hits.x2 = x;
    hits.y1 = ym + h;
    hits.y2 = ym - h;
    hits.found1 = hits.found2 = true;
    return hits;
  }

  // The common chord y = A·x + B, put into the first circle.
  const double a = (2 * x1 - 2 * x2) / (2 * y2 - 2 * y1);
  const double b = (x2 * x2 - x1 * x1 + y2 * y2 - y1 * y1 + r1 * r1 - r2 * r2) / (2 * y2 - 2 * y1);
  const QuadraticRoots roots = SolveQuadratic(1 + a * a, 2 * a * b - 2 * x1 - 2 * y1 * a,
                                              x1 * x1 + b * b - 2 * y1 * b + y1 * y1 - r1 * r1);
  hits.found1 = roots.found1;
  hits.found2 = roots.found2;
  if (roots.found1) {
    hits.x1 = roots.root1;
    hits.y1 = a * roots.root1 + b;
  }
  if (roots.found2) {
    hits.x2 = roots.root2;
    hits.y2 = a * roots.root2 + b;
  }
  return hits;
}

bool OnSweep(double angle, double start, double end, double slack) noexcept {
  if (end - start >= kTwoPi) return true;
  // floor rather than fmod: picking and snapping ask this of every arc near the mouse.
  const auto turns = [](double v) { return v - kTwoPi * std::floor(v / kTwoPi); };
  const double offset = turns(angle - start);
  return offset <= turns(end - start) + slack || offset >= kTwoPi - slack;
}

}  // namespace blok
