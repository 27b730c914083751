#include "document/dxf_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

namespace blok::dxf {
namespace {

constexpr double kPi = std::numbers::pi;

TEST(DxfGeometry, TransformsComposeRightToLeft) {
  const Point turned_then_moved = (Translation(1, 0) * Rotation(kPi / 2))({1, 0});
  EXPECT_NEAR(turned_then_moved.x, 1, 1e-12);
  EXPECT_NEAR(turned_then_moved.y, 1, 1e-12);
  const Point moved_then_turned = (Rotation(kPi / 2) * Translation(1, 0))({1, 0});
  EXPECT_NEAR(moved_then_turned.x, 0, 1e-12);
  EXPECT_NEAR(moved_then_turned.y, 2, 1e-12);
}

TEST(DxfGeometry, SimilarOnlyWhereCirclesStayCircles) {
  struct Case {
    std::string name;
    Affine m;
    bool similar;
  };
  const std::vector<Case> cases = {
      {"turned and scaled", Translation(5, -3) * Rotation(0.7) * Scaling(2.5, 2.5), true},
      {"mirrored", Scaling(-3, 3), true},
      {"mirrored and turned", Rotation(2) * Scaling(1, -1), true},
      {"stretched", Rotation(0.3) * Scaling(2, 1), false},
      {"sheared", Affine{1, 0, 0.5, 1, 0, 0}, false},
  };
  for (const Case& c : cases) EXPECT_EQ(c.m.Similar(), c.similar) << c.name;
}

TEST(DxfGeometry, Degrees360StaysBelow360) {
  struct Case {
    double radians;
    double degrees;
  };
  const std::vector<Case> cases = {
      {0, 0},        {kPi / 2, 90}, {-kPi / 2, 270}, {2 * kPi, 0}, {5 * kPi / 2, 90},
      {-6 * kPi, 0}, {-1e-17, 0},   {7 * kPi, 180},
  };
  for (const Case& c : cases) {
    const double d = Degrees360(c.radians);
    EXPECT_GE(d, 0) << c.radians;
    EXPECT_LT(d, 360) << c.radians;
    EXPECT_NEAR(d, c.degrees, 1e-9) << c.radians;
  }
}

TEST(DxfGeometry, ArcOfBulge) {
  const double quarter = std::tan(kPi / 8);
  struct Case {
    std::string name;
    Point p, q;
    double bulge;
    BulgeArc arc;
  };
  const std::vector<Case> cases = {
      {"half circle counter-clockwise, below", {0, 0}, {2, 0}, 1, {{1, 0}, 1, kPi, 0}},
      {"half circle clockwise, above", {0, 0}, {2, 0}, -1, {{1, 0}, 1, 0, kPi}},
      {"quarter counter-clockwise", {1, 0}, {0, 1}, quarter, {{0, 0}, 1, 0, kPi / 2}},
      {"quarter clockwise", {1, 0}, {0, 1}, -quarter, {{1, 1}, 1, kPi, -kPi / 2}},
  };
  for (const Case& c : cases) {
    const BulgeArc arc = ArcOfBulge(c.p, c.q, c.bulge);
    EXPECT_NEAR(arc.centre.x, c.arc.centre.x, 1e-12) << c.name;
    EXPECT_NEAR(arc.centre.y, c.arc.centre.y, 1e-12) << c.name;
    EXPECT_NEAR(arc.radius, c.arc.radius, 1e-12) << c.name;
    EXPECT_NEAR(arc.start, c.arc.start, 1e-12) << c.name;
    EXPECT_NEAR(arc.end, c.arc.end, 1e-12) << c.name;
  }
}

TEST(DxfGeometry, FlattenEllipseStepsWithinTheFlatness) {
  struct Case {
    std::string name;
    double start, end;
    size_t least, most;  // points
  };
  const std::vector<Case> cases = {
      {"full turn", 0, 2 * kPi, 50, 200},
      {"a sliver is one chord", 1, 1 + 1e-9, 2, 2},
      {"backwards", kPi, 0, 25, 100},
      {"endless turns end at the cap", 0, 1e9, kMaxCurvePoints + 1, kMaxCurvePoints + 1},
  };
  // A circle of radius 3 about (1, 2), stretched to an ellipse by the transform.
  const Affine m = Translation(10, 0) * Scaling(2, 1);
  for (const Case& c : cases) {
    const auto points = FlattenEllipse(m, {1, 2}, {3, 0}, {0, 3}, c.start, c.end);
    EXPECT_GE(points.size(), c.least) << c.name;
    EXPECT_LE(points.size(), c.most) << c.name;
    ASSERT_GE(points.size(), 2u) << c.name;
    const auto on = [&](double t) { return m({1 + 3 * std::cos(t), 2 + 3 * std::sin(t)}); };
    EXPECT_NEAR(points.front().x, on(c.start).x, 1e-9) << c.name;
    EXPECT_NEAR(points.back().y, on(c.end).y, 1e-9) << c.name;
    if (c.end - c.start > 1e6) continue;
    // Back through the transform every chord's middle is on the circle within the flatness.
    for (size_t i = 1; i < points.size(); ++i) {
      const double x = ((points[i - 1].x + points[i].x) / 2 - 10) / 2;
      const double y = (points[i - 1].y + points[i].y) / 2;
      EXPECT_LE(3 - std::hypot(x - 1, y - 2), 3 * kFlatness) << c.name << " chord " << i;
    }
  }
}

TEST(DxfGeometry, FlattenSplineRefusesWhatIsNoCurve) {
  const std::vector<Point> four = {{0, 0}, {1, 2}, {3, 2}, {4, 0}};
  struct Case {
    std::string name;
    SplineCurve spline;
    bool curve;
  };
  const std::vector<Case> cases = {
      {"cubic", {3, {0, 0, 0, 0, 1, 1, 1, 1}, {}, four}, true},
      {"weighted", {3, {0, 0, 0, 0, 1, 1, 1, 1}, {1, 2, 2, 1}, four}, true},
      {"degree 0", {0, {0, 0, 0, 0, 1}, {}, four}, false},
      {"degree beyond 25", {26, {}, {}, four}, false},
      {"no more control points than the degree", {4, {0, 0, 0, 0, 0, 1, 1, 1, 1}, {}, four}, false},
      {"a knot short", {3, {0, 0, 0, 0, 1, 1, 1}, {}, four}, false},
      {"a knot over", {3, {0, 0, 0, 0, 1, 1, 1, 1, 1}, {}, four}, false},
      {"knots out of order", {3, {0, 0, 0, 1, 0, 1, 1, 1}, {}, four}, false},
      {"knots spanning nothing", {3, {0, 0, 0, 0, 0, 0, 0, 0}, {}, four}, false},
      {"a weight short", {3, {0, 0, 0, 0, 1, 1, 1, 1}, {1, 1, 1}, four}, false},
      {"no control points", {3, {0, 0, 0, 0}, {}, {}}, false},
  };
  for (const Case& c : cases) {
    const auto points = FlattenSpline(c.spline, Affine{});
    EXPECT_EQ(points.has_value(), c.curve) << c.name;
    if (points) {
      ASSERT_GE(points->size(), 2u) << c.name;
      // Clamped knots: the curve runs from the first control point to the last.
      EXPECT_NEAR(points->front().x, 0, 1e-12) << c.name;
      EXPECT_NEAR(points->back().x, 4, 1e-12) << c.name;
    }
  }
}

TEST(DxfGeometry, FlattenSplineHoldsRationalCurvesThroughTheTransform) {
  // A quarter of the unit circle as a rational quadratic, and a half circle of two such spans.
  // The transform scales by 2 and moves to (5, 5): a circle of radius 2 there, its control
  // polygon as wide as the tolerance says.
  const double w = std::sqrt(0.5);
  struct Case {
    std::string name;
    SplineCurve spline;
    double start, end;  // of the arc, radians
    double tolerance;
  };
  const std::vector<Case> cases = {
      {"quarter",
       {2, {0, 0, 0, 1, 1, 1}, {1, w, 1}, {{1, 0}, {1, 1}, {0, 1}}},
       0,
       kPi / 2,
       kFlatness * std::hypot(2, 2)},
      {"half in two spans",
       {2, {0, 0, 0, 1, 1, 2, 2, 2}, {1, w, 1, w, 1}, {{1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}}},
       0,
       kPi,
       kFlatness * std::hypot(4, 2)},
  };
  const Affine m = Translation(5, 5) * Scaling(2, 2);
  for (const Case& c : cases) {
    const auto points = FlattenSpline(c.spline, m);
    ASSERT_TRUE(points) << c.name;
    ASSERT_GE(points->size(), 3u) << c.name;
    EXPECT_NEAR(points->front().x, 5 + 2 * std::cos(c.start), 1e-12) << c.name;
    EXPECT_NEAR(points->front().y, 5 + 2 * std::sin(c.start), 1e-12) << c.name;
    EXPECT_NEAR(points->back().x, 5 + 2 * std::cos(c.end), 1e-12) << c.name;
    EXPECT_NEAR(points->back().y, 5 + 2 * std::sin(c.end), 1e-12) << c.name;
    for (size_t i = 0; i < points->size(); ++i) {
      const Point& p = (*points)[i];
      EXPECT_NEAR(std::hypot(p.x - 5, p.y - 5), 2, 1e-12) << c.name << " point " << i;
      if (i == 0) continue;
      const Point& o = (*points)[i - 1];
      const double sagitta = 2 - std::hypot((p.x + o.x) / 2 - 5, (p.y + o.y) / 2 - 5);
      EXPECT_LE(sagitta, c.tolerance) << c.name << " chord " << i;
      // Each point on from the last, counter-clockwise.
      EXPECT_GT((o.x - 5) * (p.y - 5) - (o.y - 5) * (p.x - 5), 0) << c.name << " at " << i;
    }
  }
}

}  // namespace
}  // namespace blok::dxf
