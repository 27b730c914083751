#include "geometry/geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace blok {
namespace {

constexpr double kEps = 1e-9;
constexpr double kRoot3By2 = 0.8660254037844386;
constexpr double kQuarterPi = 0.7853981633974483;

TEST(DirectionAngleTest, QuadrantsAndVerticalTolerance) {
  const struct {
    double x1, y1, x2, y2, expected;
  } cases[] = {
      {0, 0, -1, 0, 3.141592654},
      {0, 0, 1, -1, 6.283185308 - kQuarterPi},
      // Under 0.01 of x extent is straight up or down, however short the direction.
      {0, 0, 0.005, 1, 1.570796327},
      {10, 10, 9.991, 9.999, 4.712388981},
      {0, 0, 0.01, 0.01, kQuarterPi},
      {0, 0, -0.005, 0, 3.141592654},  // no y extent: the slope rule
      {3, 4, 3, 4, 0},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(DirectionAngle(c.x1, c.y1, c.x2, c.y2), c.expected, kEps) << c.x2 << "," << c.y2;
  }
  EXPECT_FALSE(std::signbit(DirectionAngle(0, 0, 1, -0.0)));
}

TEST(VectorAngleTest, QuadrantRulesInSinglePrecision) {
  const struct {
    float x2, y2, radians;
  } cases[] = {
      {0, 0, 0},
      {0, 1, 1.570796327f},
      {-1, 0, 3.141592654f},
      {0, -1, 4.712388981f},
      {1, -1, 5.49778714f},
      {0.001f, 1, 1.5697963f},  // no tolerance here
  };
  for (const auto& c : cases) {
    EXPECT_FLOAT_EQ(VectorAngle(0, 0, c.x2, c.y2), c.radians) << c.x2 << "," << c.y2;
  }
  EXPECT_EQ(VectorAngle(0, 0, std::numeric_limits<float>::quiet_NaN(), 1), 100000000.0f);
}

TEST(RotatePointTest, TurnsAboutCentre) {
  const struct {
    double x, y, angle, expected_x, expected_y;
  } cases[] = {
      {1, 2, 1.0, 1, 2},
      {1, 4, -1.570796327, 3, 2},
      {1.005, 3, 0, 1, 3.0000125},  // first taken as straight up
  };
  for (const auto& c : cases) {
    const Point p = RotatePoint(1, 2, c.x, c.y, c.angle);
    EXPECT_NEAR(p.x, c.expected_x, 1e-8) << c.x << "," << c.y;
    EXPECT_NEAR(p.y, c.expected_y, 1e-8) << c.x << "," << c.y;
  }
  const Point next_to_centre = RotatePoint(1, 2, 1 + 1e-10, 2, 1.0);
  EXPECT_EQ(next_to_centre.x, 1);
  EXPECT_EQ(next_to_centre.y, 2);
}

TEST(CrossAboutTest, SignTellsTheTurn) {
  // P - C = (1, 0)
  EXPECT_DOUBLE_EQ(CrossAbout(2, 1, 1, 1, 0, 2), 1);
  EXPECT_DOUBLE_EQ(CrossAbout(2, 1, 1, 1, 4, -5), -6);
  EXPECT_DOUBLE_EQ(CrossAbout(2, 1, 1, 1, 0, 1), 0);
}

TEST(SolveQuadraticTest, Roots) {
  const struct {
    double a, b, c;
    QuadraticRoots expected;
  } cases[] = {
      {1, -3, 2, {true, true, 1, 2}},  {-1, 3, -2, {true, true, 2, 1}},
      {1, -2, 1, {true, false, 1, 0}}, {1, 0, 1, {false, false, 0, 0}},
      {0, 2, -4, {true, false, 2, 0}},  // linear
      {0, 0, 1, {false, false, 0, 0}},
  };
  for (const auto& c : cases) {
    const QuadraticRoots r = SolveQuadratic(c.a, c.b, c.c);
    EXPECT_EQ(r.found1, c.expected.found1) << c.a << " " << c.b << " " << c.c;
    EXPECT_EQ(r.found2, c.expected.found2) << c.a << " " << c.b << " " << c.c;
    EXPECT_DOUBLE_EQ(r.found1 ? r.root1 : 0, c.expected.root1);
    EXPECT_DOUBLE_EQ(r.found2 ? r.root2 : 0, c.expected.root2);
  }
  // Only an exact vertical gets the stand-in slope.
  EXPECT_EQ(LineCoefficients(1, 0, 1, 5).slope, 1000000);
  EXPECT_NEAR(LineCoefficients(0, 0, 0.0001, 5).slope, 50000, 1e-6);
}

TEST(PointSegmentDistanceTest, BoxThenInfiniteLine) {
  const struct {
    float x1, y1, x2, y2, px, py, expected;
  } cases[] = {
      {0, 0, 100, 0, 105, 3, 3},  // past the end: measured to the extension
      {0, 0, 100, 0, 111, 3, 10000},
      {0, 0, 100, 0, -10, 0, 0},  // exactly 10 outside still counts
      {100, 0, 0, 0, 50, -10.5f, 10000},
      {5, 100, 5, 0, 7, 109, 2},
      {5, 0, 5.0005f, 100, 7, 50, 1.99975f},  // nearly vertical: from the middle line
      {0, 0, 100, 0.0005f, 50, 3, 2.99975f},
      {0, 0, 10, 10, 0, 10, 7.0710678f},
  };
  for (const auto& c : cases) {
    EXPECT_FLOAT_EQ(PointSegmentDistance(c.x1, c.y1, c.x2, c.y2, c.px, c.py), c.expected)
        << c.x1 << "," << c.y1 << " - " << c.x2 << "," << c.y2 << " to " << c.px << "," << c.py;
  }
}

// Each pair as infinite lines and as segments.
TEST(LineIntersectionTest, LinesAndSegments) {
  const LineHit no{0, 0, false};
  const struct {
    const char* name;
    double x1, y1, x2, y2, x3, y3, x4, y4;
    LineHit line, segment;
  } cases[] = {
      // clang-format off
      {"crossing beyond the ends", 0, 0, 1, 1, 5, 0, 6, -1, {2.5, 2.5, true}, no},
      {"shared end", 0, 0, 1, 0, 1, 0, 1, 1, {1, 0, true}, {1, 0, true}},
      {"0.0005 past an end", 0, 0, 1, 0, 1.0005, -1, 1.0005, 1, {1.0005f, 0, true},
       {1.0005f, 0, true}},
      {"0.002 past an end", 0, 0, 1, 0, 1.002, -1, 1.002, 1, {1.002f, 0, true}, no},
      // The tolerance holds below each segment's least x and y too, for either segment.
      {"0.0005 before a start", 0, 0, 1, 0, -0.0005, -1, -0.0005, 1, {-0.0005f, 0, true},
       {-0.0005f, 0, true}},
      {"0.0005 before the second's start", -0.0005, -1, -0.0005, 1, 0, 0, 1, 0,
       {-0.0005f, 0, true}, {-0.0005f, 0, true}},
      {"first y 0.0009 below its start", 5, 0.0009, 5, 3, 0, 0, 10, 0, {5, 0, true},
       {5, 0, true}},
      {"y 0.0009 past an end", 0, 0, 10, 0, 5, 0.0009, 5, 3, {5, 0, true}, {5, 0, true}},
      {"y 0.0011 past an end", 0, 0, 10, 0, 5, 0.0011, 5, 3, {5, 0, true}, no},
      {"first vertical", 3, -1, 3, 5, 0, 1, 4, 5, {3, 4, true}, {3, 4, true}},
      {"nearly vertical, at its first x", 2, 0, 2.0005, 10, 0, 0, 3, 3, {2, 2, true},
       {2, 2, true}},
      {"slopes 1 and 1.000005", 0, 0, 1, 1, 0, 5, 1, 6.000005, no, no},
      {"slopes 1 and 1.00002", 0, 0, 1, 1, 0, 5, 1, 6.00002, {-250000, -250000, true}, no},
      {"both vertical", 0, 0, 0, 1, 0, 0.5, 0, 2, no, no},
      // Only the infinite line takes an x extent of exactly 0.001 as vertical...
      {"0.001 wide", 0, 0, 0.001, 1, -5, 1, 5, 1, {0, 1, true}, {0.001f, 1, true}},
      // ...but not against a truly vertical line, where its slope of 1000 is usable.
      {"0.001 wide against vertical", 0, 0, 0.001, 1, 5, 0, 5, 1, {5, 5000, true}, no},
      // clang-format on
  };
  for (const auto& c : cases) {
    const LineHit got[] = {
        LineLineIntersection(c.x1, c.y1, c.x2, c.y2, c.x3, c.y3, c.x4, c.y4),
        SegmentSegmentIntersection(c.x1, c.y1, c.x2, c.y2, c.x3, c.y3, c.x4, c.y4)};
    const LineHit* want[] = {&c.line, &c.segment};
    for (int i = 0; i < 2; ++i) {
      SCOPED_TRACE(::testing::Message() << c.name << (i == 0 ? " (lines)" : " (segments)"));
      EXPECT_EQ(got[i].ok, want[i]->ok);
      if (!want[i]->ok) continue;
      EXPECT_FLOAT_EQ(got[i].x, want[i]->x);
      EXPECT_FLOAT_EQ(got[i].y, want[i]->y);
    }
  }
  const LineHit vertical = LineLineIntersection(0, 0, 0, 1, 5, 0, 5.0009, 1);
  EXPECT_EQ(vertical.x, 1000000000.0f);
  EXPECT_EQ(vertical.y, 100000000.0f);
}

TEST(LineIntersectionTest, PointIsStoredInSinglePrecision) {
  // y = 0 against a line through x = 12345.678: y is taken from the stored x, so it lands
  // slope × (12345.677734375 − 12345.678) off the axis.
  const LineHit line = LineLineIntersection(0, 0, 1, 0, 12345.678, 0, 12346.678, 1000);
  EXPECT_TRUE(line.ok);
  EXPECT_EQ(line.x, 12345.677734375f);
  EXPECT_NEAR(line.y, -0.265625, 1e-4);

  const LineHit segment = SegmentSegmentIntersection(0, 0, 20000, 0, 12344.678, -1, 12346.678, 1);
  EXPECT_TRUE(segment.ok);
  EXPECT_EQ(segment.x, 12345.677734375f);
  EXPECT_NEAR(segment.y, -0.000265625, 1e-7);
}

struct CircleHit {
  bool found = false;
  double x = 0, y = 0;
  float angle = 0;
  bool in_arc = false;
};

// Against the unit circle at the origin.
TEST(SegmentCircleIntersectionTest, Crossings) {
  const float full = static_cast<float>(kTwoPi);
  const float a30 = 0.5235987756f;
  const CircleHit no;
  const struct {
    const char* name;
    double x1, y1, x2, y2, start, end;
    CircleHit first, second;
  } cases[] = {
      // clang-format off
      {"through", -2, 0, 2, 0, 0, full, {true, -1, 0, 3.1415927f, true}, {true, 1, 0, 0, true}},
      {"end on the circle is none", -2, 0, 1, 0, 0, full, {true, -1, 0, 3.1415927f, true}, no},
      {"inside", -0.5, 0, 0.5, 0, 0, full, no, no},
      {"tangent", -2, 1, 2, 1, 0, full, {true, 0, 1, 1.5707964f, true}, no},
      {"missing", -2, 3, 2, 3, 0, full, no, no},
      {"first quadrant arc", -2, 0.5, 2, 0.5, 0, 1.570796327,
       {true, -kRoot3By2, 0.5, 5 * a30, false}, {true, kRoot3By2, 0.5, a30, true}},
      {"arc range does not wrap past 0", -2, 0.5, 2, 0.5, 5, 1,
       {true, -kRoot3By2, 0.5, 5 * a30, false}, {true, kRoot3By2, 0.5, a30, false}},
      {"vertical touching", 1, -2, 1, 2, 0, full, no, no},
      {"vertical, end on the circle counts", 0, 1, 0, -2, 0, full,
       {true, 0, 1, 1.5707964f, true}, {true, 0, -1, 4.712389f, true}},
      {"vertical, lower half", 0.5, -2, 0.5, 0, 0, full,
       no, {true, 0.5, -kRoot3By2, 10 * a30, true}},
      {"nearly vertical, at its first x", 0, -2, 0.0005, 2, 0, full,
       {true, 0, 1, 1.5707964f, true}, {true, 0, -1, 4.712389f, true}},
      // clang-format on
  };
  for (const auto& c : cases) {
    const CircleHits h = SegmentCircleIntersection(c.x1, c.y1, c.x2, c.y2, 0, 0, 1, c.start, c.end);
    const CircleHit got[] = {{h.found1, h.x1, h.y1, h.angle1, h.inArc1},
                             {h.found2, h.x2, h.y2, h.angle2, h.inArc2}};
    const CircleHit* want[] = {&c.first, &c.second};
    for (int i = 0; i < 2; ++i) {
      SCOPED_TRACE(::testing::Message() << c.name << ", point " << i + 1);
      EXPECT_EQ(got[i].found, want[i]->found);
      EXPECT_EQ(got[i].in_arc, want[i]->in_arc);
      if (!want[i]->found) continue;
      EXPECT_NEAR(got[i].x, want[i]->x, kEps);
      EXPECT_NEAR(got[i].y, want[i]->y, kEps);
      EXPECT_FLOAT_EQ(got[i].angle, want[i]->angle);
    }
  }
}

TEST(CircleCircleIntersectionTest, Crossings) {
  const struct {
    const char* name;
    double x1, y1, r1, x2, y2, r2;
    bool found;
    Point first, second;
  } cases[] = {
      // clang-format off
      {"side by side", 0, 0, 1, 1, 0, 1, true, {0.5, kRoot3By2}, {0.5, -kRoot3By2}},
      {"nearly level", 0, 0, 1, 1, 0.0005, 1, true,
       {0.5, 0.00025 + kRoot3By2}, {0.5, 0.00025 - kRoot3By2}},
      {"one above the other", 0, 0, 1, 0, 1, 1, true, {-kRoot3By2, 0.5}, {kRoot3By2, 0.5}},
      {"diagonal", 0, 0, 1, 1, 1, 1, true, {0, 1}, {1, 0}},
      {"touching from inside", 0, 0, 2, 1, 0, 1, true, {2, 0}, {2, 0}},
      {"touching from outside", 0, 0, 1, 2, 0, 1, false, {}, {}},
      {"concentric", 0, 0, 1, 0.0005, 0, 2, false, {}, {}},
      {"inside, level", 0, 0, 5, 1, 0, 1, false, {}, {}},
      {"inside, above", 0, 0, 5, 0, 1, 1, false, {}, {}},
      {"inside, diagonal", 0, 0, 5, 1, 1, 1, false, {}, {}},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    // The arc angles are passed and ignored.
    const CircleHits h = CircleCircleIntersection(c.x1, c.y1, c.r1, 1, 0, c.x2, c.y2, c.r2, 5, 2);
    EXPECT_EQ(h.found1, c.found);
    EXPECT_EQ(h.found2, c.found);
    EXPECT_FALSE(h.inArc1 || h.inArc2);
    if (!c.found) continue;
    EXPECT_NEAR(h.x1, c.first.x, kEps);
    EXPECT_NEAR(h.y1, c.first.y, kEps);
    EXPECT_NEAR(h.x2, c.second.x, kEps);
    EXPECT_NEAR(h.y2, c.second.y, kEps);
  }
}

}  // namespace
}  // namespace blok
