#include "geometry/snap_points.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace blok {
namespace {

constexpr double kEps = 1e-9;
constexpr double kRoot3By2 = 0.8660254037844386;

double Deg(double degrees) { return degrees * kDegreesToRadians; }

// An arc as a block file gives it, in degrees.
CircleArc Arc(double x, double y, double r, double start, double end) {
  return {{x, y}, r, Deg(start), Deg(end)};
}
CircleArc Circle(double x, double y, double r) { return {{x, y}, r}; }

std::vector<Point> Listed(const SnapPoints& points) {
  return {points.points, points.points + points.count};
}

void ExpectPoints(const std::vector<Point>& got, const std::vector<Point>& expected,
                  const char* name) {
  ASSERT_EQ(got.size(), expected.size()) << name;
  for (size_t i = 0; i < got.size(); ++i) {
    EXPECT_NEAR(got[i].x, expected[i].x, kEps) << name << " #" << i;
    EXPECT_NEAR(got[i].y, expected[i].y, kEps) << name << " #" << i;
  }
}

TEST(OnSweepTest, CounterClockwiseModuloATurn) {
  const struct {
    double angle, start, end;
    bool on;
  } cases[] = {
      {Deg(45), Deg(0), Deg(90), true},
      {Deg(135), Deg(0), Deg(90), false},
      {Deg(-45), Deg(0), Deg(90), false},
      // Past 0 degrees: from 300 to 30 holds 0 and 350 and not 180.
      {Deg(0), Deg(300), Deg(30), true},
      {Deg(350), Deg(300), Deg(30), true},
      {Deg(180), Deg(300), Deg(30), false},
      // Ends belong to the sweep, however the degrees and kTwoPi round.
      {0, Deg(270), Deg(360), true},
      {Deg(90), Deg(0), Deg(90), true},
      {Deg(90) + 1e-4, Deg(0), Deg(90), false},
      // Turned past a whole turn by a rotation.
      {Deg(45), Deg(360), Deg(450), true},
      {Deg(200), 0, kTwoPi, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(OnSweep(c.angle, c.start, c.end, 1e-6), c.on)
        << c.angle / kDegreesToRadians << " in " << c.start / kDegreesToRadians << ".."
        << c.end / kDegreesToRadians;
  }
}

// The slack lets a point rounded just past an end count, and nothing more.
TEST(OnSweepTest, SlackReachesJustPastTheEnds) {
  EXPECT_FALSE(OnSweep(Deg(90) + 1e-7, 0, Deg(90)));
  EXPECT_TRUE(OnSweep(Deg(90) + 1e-7, 0, Deg(90), 1e-6));
  EXPECT_FALSE(OnSweep(-1e-7, 0, Deg(90)));
  EXPECT_TRUE(OnSweep(-1e-7, 0, Deg(90), 1e-6));
  EXPECT_FALSE(OnSweep(Deg(90) + 1e-5, 0, Deg(90), 1e-6));
}

TEST(OnArcTest, SeenFromTheCentreAndTheFarSideForANegativeRadius) {
  const struct {
    CircleArc arc;
    Point p;
    bool on;
  } cases[] = {
      {Arc(1, 1, 2, 0, 90), {2, 2}, true},  {Arc(1, 1, 2, 0, 90), {0, 2}, false},
      {Arc(1, 1, -2, 0, 90), {0, 0}, true}, {Arc(1, 1, -2, 0, 90), {2, 2}, false},
      {Arc(1, 1, 2, 0, 90), {1, 1}, false},  // the centre has no direction
      {Circle(0, 0, 1), {-3, -1}, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(OnArc(c.arc, c.p), c.on) << c.p.x << "," << c.p.y << " r=" << c.arc.radius;
  }
}

TEST(SegmentPointsTest, FootOnTheSegmentAndNearestHeldToIt) {
  const struct {
    const char* name;
    Point a, b, p;
    bool has_foot;
    Point foot;  // also the nearest point when there is a foot
    Point nearest;
  } cases[] = {
      {"Level", {0, 0}, {10, 0}, {3, 5}, true, {3, 0}, {3, 0}},
      {"Plumb", {2, -1}, {2, 7}, {-4, 0.3}, true, {2, 0.3}, {2, 0.3}},
      {"Oblique", {0, 0}, {4, 4}, {0, 2}, true, {1, 1}, {1, 1}},
      {"AtAnEnd", {0, 0}, {4, 4}, {4, 4}, true, {4, 4}, {4, 4}},
      {"BeforeTheStart", {0, 0}, {10, 0}, {-1, 3}, false, {}, {0, 0}},
      {"PastTheEnd", {0, 0}, {4, 4}, {6, 5}, false, {}, {4, 4}},
      {"NoLength", {1, 1}, {1, 1}, {3, 3}, false, {}, {1, 1}},
  };
  for (const auto& c : cases) {
    const auto foot = PerpendicularFoot(c.a, c.b, c.p);
    ASSERT_EQ(foot.has_value(), c.has_foot) << c.name;
    if (foot) {
      EXPECT_NEAR(foot->x, c.foot.x, kEps) << c.name;
      EXPECT_NEAR(foot->y, c.foot.y, kEps) << c.name;
    }
    const Point nearest = NearestOnSegment(c.a, c.b, c.p);
    EXPECT_NEAR(nearest.x, c.nearest.x, kEps) << c.name;
    EXPECT_NEAR(nearest.y, c.nearest.y, kEps) << c.name;
  }
  // A level side gives the foot's coordinates exactly, as a rectangle's side is written.
  const auto foot = PerpendicularFoot({0.1, 0.7}, {5.3, 0.7}, {0.3, 9});
  ASSERT_TRUE(foot.has_value());
  EXPECT_EQ(foot->x, 0.3);
  EXPECT_EQ(foot->y, 0.7);
}

TEST(NearTest, WithinReachOfTheSegmentOrTheWholeCircle) {
  const struct {
    const char* name;
    bool near;
    bool expected;
  } cases[] = {
      {"BesideTheSegment", NearSegment({0, 0}, {10, 0}, {5, 1.5}, 2), true},
      {"TooFarBeside", NearSegment({0, 0}, {10, 0}, {5, 2.5}, 2), false},
      // Past the end the distance is to the end, not to the line.
      {"PastTheEnd", NearSegment({0, 0}, {10, 0}, {11.5, 1.5}, 2), false},
      {"NoLength", NearSegment({1, 1}, {1, 1}, {2, 2}, 2), true},
      {"OutsideTheCircle", NearCircle(Circle(0, 0, 5), {6.5, 0}, 2), true},
      {"InsideTheCircle", NearCircle(Circle(0, 0, 5), {0, -3.5}, 2), true},
      {"TooFarInside", NearCircle(Circle(0, 0, 5), {2.5, 0}, 2), false},
      {"TooFarOutside", NearCircle(Circle(0, 0, 5), {0, 7.5}, 2), false},
      {"ASmallCircleFromItsCentre", NearCircle(Circle(0, 0, 1), {0, 0}, 2), true},
      {"NegativeRadius", NearCircle(Arc(0, 0, -5, 0, 90), {-6, 0}, 2), true},
      {"TheArcAsItsWholeCircle", NearCircle(Arc(0, 0, 5, 0, 90), {-6, 0}, 2), true},
  };
  for (const auto& c : cases) EXPECT_EQ(c.near, c.expected) << c.name;
}

TEST(ArcPointsTest, FootOnTheRayFromTheCentreAndTheNearestPoint) {
  const struct {
    const char* name;
    CircleArc arc;
    Point p;
    bool has_foot;
    Point foot;
    Point nearest;
  } cases[] = {
      {"CircleFromOutside", Circle(1, 1, 2), {7, 1}, true, {3, 1}, {3, 1}},
      {"CircleFromInside", Circle(0, 0, 5), {0, -1}, true, {0, -5}, {0, -5}},
      {"ArcOnItsSweep",
       Arc(0, 0, 2, 0, 90),
       {3, 3},
       true,
       {std::sqrt(2.0), std::sqrt(2.0)},
       {std::sqrt(2.0), std::sqrt(2.0)}},
      // Off the sweep: no foot, the nearer end is the nearest point.
      {"ArcOffItsSweep", Arc(0, 0, 2, 0, 90), {-3, 0.5}, false, {}, {0, 2}},
      {"ArcOffNearerTheStart", Arc(0, 0, 2, 0, 90), {1, -3}, false, {}, {2, 0}},
      {"NegativeRadiusFarSide",
       Arc(0, 0, -2, 0, 90),
       {-3, -3},
       true,
       {-std::sqrt(2.0), -std::sqrt(2.0)},
       {-std::sqrt(2.0), -std::sqrt(2.0)}},
      {"NegativeRadiusOff", Arc(0, 0, -2, 0, 90), {3, 2}, false, {}, {0, -2}},
      // From the centre there is no ray; the nearest is taken at the start.
      {"FromTheCentre", Arc(1, 1, 2, 90, 180), {1, 1}, false, {}, {1, 3}},
  };
  for (const auto& c : cases) {
    const auto foot = PerpendicularFootOnArc(c.arc, c.p);
    ASSERT_EQ(foot.has_value(), c.has_foot) << c.name;
    if (foot) {
      EXPECT_NEAR(foot->x, c.foot.x, kEps) << c.name;
      EXPECT_NEAR(foot->y, c.foot.y, kEps) << c.name;
    }
    const Point nearest = NearestOnArc(c.arc, c.p);
    EXPECT_NEAR(nearest.x, c.nearest.x, kEps) << c.name;
    EXPECT_NEAR(nearest.y, c.nearest.y, kEps) << c.name;
  }
}

TEST(TangentPointsTest, BothTouchingPointsCounterClockwiseFirstAndOnlyThoseOnTheArc) {
  const struct {
    const char* name;
    CircleArc arc;
    Point from;
    std::vector<Point> expected;
  } cases[] = {
      {"Circle", Circle(0, 0, 1), {2, 0}, {{0.5, kRoot3By2}, {0.5, -kRoot3By2}}},
      {"Moved", Circle(3, -1, 1), {3, 1}, {{3 - kRoot3By2, -0.5}, {3 + kRoot3By2, -0.5}}},
      {"ArcKeepsItsOwn", Arc(0, 0, 1, 0, 90), {2, 0}, {{0.5, kRoot3By2}}},
      // Swept over 180 to 270 degrees: of the two seen from (-2, 0) only the lower.
      {"NegativeRadius", Arc(0, 0, -1, 0, 90), {-2, 0}, {{-0.5, -kRoot3By2}}},
      {"Inside", Circle(0, 0, 1), {0.5, 0}, {}},
      {"OnTheCircle", Circle(0, 0, 1), {0, 1}, {}},
      {"AtTheCentre", Circle(0, 0, 1), {0, 0}, {}},
  };
  for (const auto& c : cases) {
    ExpectPoints(Listed(TangentPoints(c.arc, c.from)), c.expected, c.name);
  }
}

TEST(QuadrantPointsTest, TheFourOfACircleAndThoseOnAnArcExactly) {
  const struct {
    const char* name;
    CircleArc arc;
    std::vector<Point> expected;
  } cases[] = {
      {"Circle", Circle(1, 2, 3), {{4, 2}, {1, 5}, {-2, 2}, {1, -1}}},
      {"QuarterEndsAtBoth", Arc(0, 0, 2, 0, 90), {{2, 0}, {0, 2}}},
      {"InsideNone", Arc(0, 0, 2, 10, 80), {}},
      {"PastZero", Arc(0, 0, 2, 300, 30), {{2, 0}}},
      {"EndingAtAWholeTurn", Arc(0, 0, 2, 270, 360), {{2, 0}, {0, -2}}},
      {"NegativeRadius", Arc(0, 0, -2, 0, 90), {{-2, 0}, {0, -2}}},
  };
  for (const auto& c : cases) {
    const std::vector<Point> got = Listed(QuadrantPoints(c.arc));
    ExpectPoints(got, c.expected, c.name);
    // Exactly, not merely near: these become the numbers of the line written.
    for (size_t i = 0; i < got.size() && i < c.expected.size(); ++i) {
      EXPECT_EQ(got[i].x, c.expected[i].x) << c.name;
      EXPECT_EQ(got[i].y, c.expected[i].y) << c.name;
    }
  }
}

}  // namespace
}  // namespace blok
