#include "document/dxf_geometry.h"

#include <algorithm>

namespace blok::dxf {

bool Affine::Similar() const {
  const double sx = std::hypot(a, b), sy = std::hypot(c, d);
  const double tol = 1e-9 * std::max(sx, sy);
  return std::fabs(sx - sy) <= tol && std::fabs(a * c + b * d) <= tol * std::max(sx, sy);
}

Affine Translation(double x, double y) { return {1, 0, 0, 1, x, y}; }

Affine Rotation(double radians) {
  const double c = std::cos(radians), s = std::sin(radians);
  return {c, s, -s, c, 0, 0};
}

Affine Scaling(double x, double y) { return {x, 0, 0, y, 0, 0}; }

double Degrees360(double radians) {
  double d = std::fmod(radians * 180 / kPiD, 360.0);
  if (d < 0) d += 360;
  if (d >= 360) d -= 360;
  return d;
}

double FlatStep() {
  static const double step = 2 * std::acos(1 - kFlatness);
  return step;
}

std::vector<Point> FlattenEllipse(const Affine& m, Point c, Point u, Point v, double start,
                                  double end) {
  const double span = end - start;
  const size_t steps = static_cast<size_t>(
      std::clamp(std::ceil(std::fabs(span) / FlatStep()), 1.0, double{kMaxCurvePoints}));
  std::vector<Point> points;
  points.reserve(steps + 1);
  for (size_t i = 0; i <= steps; ++i) {
    const double t = start + span * static_cast<double>(i) / static_cast<double>(steps);
    points.push_back(m({c.x + std::cos(t) * u.x + std::sin(t) * v.x,
                        c.y + std::cos(t) * u.y + std::sin(t) * v.y}));
  }
  return points;
}

BulgeArc ArcOfBulge(Point p, Point q, double bulge) {
  const double k = (1 - bulge * bulge) / (4 * bulge);
  const Point centre{(p.x + q.x) / 2 - k * (q.y - p.y), (p.y + q.y) / 2 + k * (q.x - p.x)};
  const double radius = std::hypot(p.x - centre.x, p.y - centre.y);
  double a1 = std::atan2(p.y - centre.y, p.x - centre.x);
  double a2 = std::atan2(q.y - centre.y, q.x - centre.x);
  if (bulge < 0) std::swap(a1, a2);
  return {centre, radius, a1, a2};
}

std::optional<std::vector<Point>> FlattenSpline(const SplineCurve& spline, const Affine& m) {
  const std::vector<double>& knots = spline.knots;
  const std::vector<double>& weights = spline.weights;
  const std::vector<Point>& control = spline.control;
  const long long degree = spline.degree;
  const size_t n = control.size();
  const bool valid =
      degree >= 1 && degree <= 25 && n > static_cast<size_t>(degree) &&
      knots.size() == n + static_cast<size_t>(degree) + 1 && std::ranges::is_sorted(knots) &&
      knots[n] > knots[static_cast<size_t>(degree)] && (weights.empty() || weights.size() == n);
  if (!valid) return std::nullopt;
  const auto p = static_cast<size_t>(degree);
  std::vector<Point> work(p + 1);
  std::vector<double> work_w(p + 1);
  // The point at t by de Boor's algorithm on the homogeneous control points.
  const auto at = [&](double t) {
    size_t k = p;
    while (k + 1 < n && knots[k + 1] <= t) ++k;
    for (size_t j = 0; j <= p; ++j) {
      const double w = weights.empty() ? 1 : weights[k - p + j];
      work[j] = {control[k - p + j].x * w, control[k - p + j].y * w};
      work_w[j] = w;
    }
    for (size_t r = 1; r <= p; ++r) {
      for (size_t j = p; j >= r; --j) {
        const size_t i = k - p + j;
        const double den = knots[i + p - r + 1] - knots[i];
        const double a = den > 0 ? (t - knots[i]) / den : 0;
        work[j] = {(1 - a) * work[j - 1].x + a * work[j].x,
                   (1 - a) * work[j - 1].y + a * work[j].y};
        work_w[j] = (1 - a) * work_w[j - 1] + a * work_w[j];
      }
    }
    const double w = work_w[p] != 0 ? work_w[p] : 1;
    return m({work[p].x / w, work[p].y / w});
  };
  // The size that the flatness is a share of: the transformed control polygon's extent.
  double xmin = 1e300, xmax = -1e300, ymin = 1e300, ymax = -1e300;
  for (const Point& c : control) {
    const Point q = m(c);
    xmin = std::min(xmin, q.x);
    xmax = std::max(xmax, q.x);
    ymin = std::min(ymin, q.y);
    ymax = std::max(ymax, q.y);
  }
  const double tolerance = kFlatness * std::hypot(xmax - xmin, ymax - ymin);
  std::vector<Point> points;
  points.push_back(at(knots[p]));
  // Each knot span in equal steps, halved again where the curve strays from its chord.
  std::vector<double> breaks;
  for (size_t i = p; i <= n; ++i) {
    if (breaks.empty() || knots[i] > breaks.back()) breaks.push_back(knots[i]);
  }
  const auto refine = [&](auto&& self, double a, Point pa, double b, Point pb, int level) -> void {
    const double mid = (a + b) / 2;
    const Point pm = at(mid);
    const double dx = pb.x - pa.x, dy = pb.y - pa.y;
    const double chord = std::hypot(dx, dy);
    const double off = chord > 0 ? std::fabs((pm.x - pa.x) * dy - (pm.y - pa.y) * dx) / chord
                                 : std::hypot(pm.x - pa.x, pm.y - pa.y);
    if (level < 20 && off > tolerance && points.size() < kMaxCurvePoints) {
      self(self, a, pa, mid, pm, level + 1);
      self(self, mid, pm, b, pb, level + 1);
    } else {
      points.push_back(pb);
    }
  };
  for (size_t i = 1; i < breaks.size(); ++i) {
    constexpr int kStart = 4;
    for (int s = 0; s < kStart; ++s) {
      const double a = breaks[i - 1] + (breaks[i] - breaks[i - 1]) * s / kStart;
      const double b = breaks[i - 1] + (breaks[i] - breaks[i - 1]) * (s + 1) / kStart;
      refine(refine, a, points.back(), b, at(s + 1 == kStart ? breaks[i] : b), 0);
    }
  }
  return points;
}

}  // namespace blok::dxf
