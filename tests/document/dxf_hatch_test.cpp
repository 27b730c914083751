#include "document/dxf_hatch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

namespace blok::dxf {
namespace {

constexpr double kPi = std::numbers::pi;

using Loop = std::vector<Point>;

Loop Square(double x, double y, double side) {
  return {{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}};
}

// The length of fill within each level line of the family, by its y.
double FilledAt(const std::vector<FillSegment>& fill, double y) {
  double length = 0;
  for (const FillSegment& s : fill) {
    if (std::fabs(s.p.y - y) < 1e-9) length += std::fabs(s.q.x - s.p.x);
  }
  return length;
}

Loop Circle(double r) {
  HatchPath path;
  HatchEdge edge;
  edge.kind = HatchEdge::Kind::kArc;
  edge.radius = r;
  edge.start = 0;
  edge.end = 2 * kPi;
  path.edges = {edge};
  return *Outline(path, Affine{}, kMaxOutlinePoints);
}

// A HATCH entity of the groups given after its type.
struct HatchGroups {
  std::vector<Group> groups;
  HatchData Read() const {
    const Entity e{groups.data(), groups.data() + groups.size(), {}};
    return ReadHatch(e);
  }
};

HatchGroups Groups(std::vector<Group> after) {
  after.insert(after.begin(), {0, "HATCH"});
  return {after};
}

TEST(DxfHatch, ReadsPathsEdgesAndPatternAsTheGroupsFollow) {
  // The elevation point is no vertex; a clockwise arc gives complements of its angles.
  const HatchData arcs =
      Groups({{10, "0"},   {20, "0"}, {2, "SOLID"}, {70, "1"}, {91, "1"}, {92, "1"},   {93, "2"},
              {72, "2"},   {10, "1"}, {20, "2"},    {40, "3"}, {50, "0"}, {51, "90"},  {73, "0"},
              {72, "3"},   {10, "0"}, {20, "0"},    {11, "2"}, {21, "0"}, {40, "0.5"}, {50, "45"},
              {51, "360"}, {73, "1"}, {97, "0"},    {75, "0"}})
          .Read();
  EXPECT_TRUE(arcs.solid);
  ASSERT_EQ(arcs.paths.size(), 1u);
  ASSERT_EQ(arcs.paths[0].edges.size(), 2u);
  const HatchEdge& arc = arcs.paths[0].edges[0];
  EXPECT_EQ(arc.kind, HatchEdge::Kind::kArc);
  EXPECT_EQ(arc.a.x, 1);
  EXPECT_EQ(arc.radius, 3);
  EXPECT_NEAR(arc.start, 1.5 * kPi, 1e-12);
  EXPECT_NEAR(arc.end, 2 * kPi, 1e-12);
  // An ellipse's angles from its centre become its parameters.
  const HatchEdge& ellipse = arcs.paths[0].edges[1];
  EXPECT_EQ(ellipse.ratio, 0.5);
  EXPECT_NEAR(ellipse.start, std::atan2(2 * std::sin(kPi / 4), std::cos(kPi / 4)), 1e-12);
  EXPECT_NEAR(ellipse.end, 2 * kPi, 1e-9);

  // A spline's fit points follow their own count 97; without them (older files) the 97 is the
  // path's count of source objects. Either way the next path is read.
  const HatchData splines =
      Groups({{70, "0"}, {91, "3"}, {92, "0"}, {93, "1"}, {72, "4"}, {94, "3"}, {95, "0"},
              {96, "0"}, {97, "2"}, {11, "0"}, {21, "0"}, {11, "5"}, {21, "5"}, {97, "0"},
              {92, "0"}, {93, "1"}, {72, "4"}, {94, "1"}, {40, "0"}, {40, "0"}, {40, "1"},
              {40, "1"}, {10, "0"}, {20, "0"}, {10, "1"}, {20, "1"}, {97, "1"}, {330, "AB"},
              {92, "2"}, {72, "1"}, {73, "1"}, {93, "2"}, {10, "4"}, {20, "5"}, {42, "0.5"},
              {10, "6"}, {20, "7"}, {97, "0"}, {75, "1"}, {76, "1"}, {78, "1"}, {53, "45"},
              {43, "1"}, {44, "2"}, {45, "3"}, {46, "4"}, {79, "2"}, {49, "1"}, {49, "-0.5"},
              {98, "1"}, {10, "5"}, {20, "5"}})
          .Read();
  EXPECT_FALSE(splines.solid);
  ASSERT_EQ(splines.paths.size(), 3u);
  ASSERT_EQ(splines.paths[0].edges.size(), 1u);
  EXPECT_EQ(splines.paths[0].edges[0].fit.size(), 2u);
  ASSERT_EQ(splines.paths[1].edges.size(), 1u);
  EXPECT_EQ(splines.paths[1].edges[0].spline.control.size(), 2u);
  EXPECT_EQ(splines.paths[1].edges[0].spline.knots.size(), 4u);
  ASSERT_TRUE(splines.paths[2].polyline);
  ASSERT_EQ(splines.paths[2].vertices.size(), 2u);
  EXPECT_EQ(splines.paths[2].vertices[0].bulge, 0.5);
  EXPECT_EQ(splines.paths[2].vertices[1].p.y, 7);
  ASSERT_EQ(splines.pattern.size(), 1u);
  const PatternLine& line = splines.pattern[0];
  EXPECT_NEAR(line.angle, kPi / 4, 1e-12);
  EXPECT_EQ(line.base.y, 2);
  EXPECT_EQ(line.offset.x, 3);
  EXPECT_EQ(line.dashes, (std::vector<double>{1, -0.5}));
}

TEST(DxfHatch, SolidFillFollowsTheAreaByEvenOdd) {
  struct Case {
    std::string name;
    std::vector<Loop> loops;
    double y;       // a level line
    double filled;  // length of fill on it
  };
  const std::vector<Case> cases = {
      {"square", {Square(0, 0, 10)}, 5, 10},
      {"square at its bottom edge", {Square(0, 0, 10)}, 0, 10},
      {"square above its top edge", {Square(0, 0, 10)}, 10, 0},
      {"island stays empty", {Square(0, 0, 10), Square(3, 3, 4)}, 5, 6},
      {"below the island", {Square(0, 0, 10), Square(3, 3, 4)}, 2, 10},
      {"island in the island filled", {Square(0, 0, 10), Square(2, 2, 6), Square(4, 4, 2)}, 5, 6},
      {"triangle halfway up", {{{0, 0}, {10, 0}, {5, 10}}}, 5, 5},
      {"triangle near its apex", {{{0, 0}, {10, 0}, {5, 10}}}, 9, 1},
      {"circle through its centre", {Circle(2)}, 0, 4},
  };
  for (const Case& c : cases) {
    const auto fill = FillLines(c.loops, {SolidFamily(0.5)});
    ASSERT_TRUE(fill.has_value()) << c.name;
    EXPECT_NEAR(FilledAt(*fill, c.y), c.filled, 0.01) << c.name;
  }
}

TEST(DxfHatch, SolidLinesLieAtThePenWidth) {
  const auto fill = FillLines({Square(0, 0, 1)}, {SolidFamily(0.1)});
  ASSERT_TRUE(fill.has_value());
  ASSERT_EQ(fill->size(), 10u);  // y = 0, 0.1 … 0.9: the top edge is the boundary's
  for (size_t i = 0; i < fill->size(); ++i) {
    EXPECT_NEAR((*fill)[i].p.y, 0.1 * static_cast<double>(i), 1e-12);
    EXPECT_NEAR(std::fabs((*fill)[i].q.x - (*fill)[i].p.x), 1, 1e-12);
  }
}

TEST(DxfHatch, RefusedFills) {
  struct Case {
    std::string name;
    std::vector<Loop> loops;
    FillFamily family;
    size_t cap;
    std::optional<FillRefusal> refusal;
  };
  const FillFamily flat{{0, 0}, {1, 0}, {5, 0}, {}};
  const std::vector<Case> cases = {
      {"exactly the cap", {Square(0, 0, 10)}, SolidFamily(0.002), 5000, std::nullopt},
      {"one over the cap", {Square(0, 0, 10.001)}, SolidFamily(0.002), 5000, FillRefusal::kTooMany},
      {"huge extents", {Square(0, 0, 1e12)}, SolidFamily(0.1), 5000, FillRefusal::kTooMany},
      {"beyond reckoning",
       {Square(0, 0, 1e300)},
       SolidFamily(1e-10),
       5000,
       FillRefusal::kOutOfRange},
      {"lines on one another", {Square(0, 0, 10)}, flat, 5000, FillRefusal::kNoSpacing},
      {"zero spacing", {Square(0, 0, 10)}, SolidFamily(0), 5000, FillRefusal::kNoSpacing},
      {"dashes past the cap",
       {Square(0, 0, 10)},
       {{0, 0}, {1, 0}, {0, 1}, {1e-6, -1e-6}},
       5000,
       FillRefusal::kTooMany},
  };
  for (const Case& c : cases) {
    const auto fill = FillLines(c.loops, {c.family}, c.cap);
    if (c.refusal) {
      EXPECT_FALSE(fill.has_value()) << c.name;
      if (!fill) {
        EXPECT_EQ(fill.error(), *c.refusal) << c.name;
      }
    } else {
      ASSERT_TRUE(fill.has_value()) << c.name;
      EXPECT_EQ(fill->size(), c.cap) << c.name;
    }
  }
}

TEST(DxfHatch, PatternLinesTurnedAndDashed) {
  // Lines at 45° one unit apart, dashes 1 on and 1 off from the base point.
  PatternLine line{kPi / 4, {0, 0}, {-std::sqrt(0.5), std::sqrt(0.5)}, {1, -1}};
  const FillFamily f = PatternFamily(line, Scaling(2, 2));
  EXPECT_NEAR(f.direction.x, std::sqrt(0.5), 1e-12);
  EXPECT_NEAR(f.dashes[0], 2, 1e-12);
  const auto fill = FillLines({Square(-20, -20, 40)}, {f});
  ASSERT_TRUE(fill.has_value());
  double drawn = 0;
  for (const FillSegment& s : *fill) {
    const double length = std::hypot(s.q.x - s.p.x, s.q.y - s.p.y);
    EXPECT_LE(length, 2 + 1e-9);
    // Every line through a multiple of the step across the direction, two units apart.
    const double across = (-s.p.x + s.p.y) * std::sqrt(0.5);
    EXPECT_NEAR(across / 2, std::round(across / 2), 1e-9);
    drawn += length;
  }
  // Half of the lines' length inside the square, each line 2 apart: 1600 / 2 / 2.
  EXPECT_NEAR(drawn, 400, 8);
}

TEST(DxfHatch, OutlinesOfPaths) {
  struct Case {
    std::string name;
    HatchPath path;
    double area;  // of the outline, by the shoelace
  };
  HatchPath bulged{true, {{{0, 0}, 0}, {{2, 0}, 1}, {{2, 2}, 0}, {{0, 2}, 0}}, {}};
  HatchEdge bottom, arc, top, left;
  bottom.b = {2, 0};
  arc.kind = HatchEdge::Kind::kArc;
  arc.a = {2, 1};
  arc.radius = 1;
  arc.start = -kPi / 2;
  arc.end = kPi / 2;
  top.a = {0, 2};  // written the other way round
  top.b = {2, 2};
  left.a = {0, 2};
  HatchEdge ellipse;
  ellipse.kind = HatchEdge::Kind::kEllipse;
  ellipse.b = {3, 0};
  ellipse.ratio = 0.5;
  ellipse.end = 2 * kPi;
  const std::vector<Case> cases = {
      // The half circle on the right side of the 2×2 square (bulge 1 is a half turn).
      {"bulged polyline", bulged, 4 + kPi / 2},
      {"lines and an arc", {false, {}, {bottom, arc, top, left}}, 4 + kPi / 2},
      {"ellipse", {false, {}, {ellipse}}, kPi * 3 * 1.5},
  };
  for (const Case& c : cases) {
    const Loop o = *Outline(c.path, Affine{}, kMaxOutlinePoints);
    double twice = 0;
    for (size_t i = 0; i < o.size(); ++i) {
      const Point a = o[i], b = o[(i + 1) % o.size()];
      twice += a.x * b.y - b.x * a.y;
    }
    EXPECT_NEAR(std::fabs(twice) / 2, c.area, c.area * 0.003) << c.name;
  }
  EXPECT_FALSE(Outline(bulged, Affine{}, 10).has_value()) << "past its points' limit";
  // Corners where edges meet, and where the loop closes, once each.
  const HatchPath square{true, {{{0, 0}, 0}, {{2, 0}, 0}, {{2, 2}, 0}, {{0, 2}, 0}}, {}};
  const auto corners = Outline(square, Affine{}, kMaxOutlinePoints);
  ASSERT_TRUE(corners.has_value());
  EXPECT_EQ(corners->size(), 4u);
}

}  // namespace
}  // namespace blok::dxf
