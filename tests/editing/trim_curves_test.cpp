#include "editing/trim_curves.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <ostream>
#include <string>
#include <variant>
#include <vector>

#include "document/journal.h"
#include "editing/trim_extend.h"
#include "support/editing_support.h"

namespace blok {
namespace {

using ::blok::testing::Apply;
using ::blok::testing::Described;
using ::blok::testing::DrawingLines;
using ::blok::testing::JournalLines;
using ::blok::testing::Parse;

using Lines = std::vector<std::string>;

// Every case has the edge at 0 and the object at 1; no record comes with met = false.
struct CurveCase {
  const char* name;
  Lines lines;
  Point click;
  Lines changes;
  bool met = true;
  friend void PrintTo(const CurveCase& c, std::ostream* os) { *os << c.name; }
};

void ExpectOutcome(const CurveCase& c, const TrimOutcome& outcome) {
  EXPECT_EQ(Described(outcome.changes), c.changes);
  EXPECT_EQ(outcome.met, c.met);
}

class TrimCurves : public ::testing::TestWithParam<CurveCase> {};

TEST_P(TrimCurves, CutsAtTheCrossingNearTheClick) {
  const CurveCase& c = GetParam();
  ExpectOutcome(c, TrimObject(Parse(c.lines), 0, 1, c.click));
}

// A circle of radius 5 about the origin meets y = 3 at x = -4 and 4, and the circle about (8, 0)
// at (4, 3) and (4, -3): 36.8699 and 323.1301 degrees.
std::vector<CurveCase> TrimCases() {
  // clang-format off
  return {
      {"LineByCircleClickOutside", {"O(0,0,5)", "L(0,3)-(10,3)"}, {8, 3},
       {"zmien 1 L(0,3)-(4,3);K(0,0,0);GR(0.1)"}},
      {"LineByCircleClickInside", {"O(0,0,5)", "L(0,3)-(10,3)"}, {2, 3},
       {"zmien 1 L(4,3)-(10,3);K(0,0,0);GR(0.1)"}},
      {"LineByCircleNearerCrossingRight", {"O(0,0,5)", "L(-10,3)-(10,3)"}, {5, 3},
       {"zmien 1 L(-10,3)-(4,3);K(0,0,0);GR(0.1)"}},
      {"LineByCircleNearerCrossingLeft", {"O(0,0,5)", "L(-10,3)-(10,3)"}, {-6, 3},
       {"zmien 1 L(-4,3)-(10,3);K(0,0,0);GR(0.1)"}},
      {"LineByArcOnlyWhereDrawn", {"LUK(0,0,5,0,90)", "L(-10,3)-(10,3)"}, {-6, 3},
       {"zmien 1 L(4,3)-(10,3);K(0,0,0);GR(0.1)"}},
      {"LineByRectangleSide", {"P(2,-1)-(6,1)", "L(0,0)-(10,0)"}, {9, 0},
       {"zmien 1 L(0,0)-(6,0);K(0,0,0);GR(0.1)"}},
      {"LineByCircleWrittenUnrounded", {"O(0,0,5)", "L(0,1.2345)-(10,1.2345)"}, {8, 1.2345},
       {"zmien 1 L(0,1.2345)-(4.8452,1.2345);K(0,0,0);GR(0.1)"}},
      {"LineMissingCircle", {"O(0,0,5)", "L(6,0)-(10,0)"}, {8, 0}, {}, false},
      {"LineEndingOnCircle", {"O(0,0,5)", "L(4,3)-(10,3)"}, {8, 3}, {}},
      {"CircleByLineClickAbove", {"L(-6,0)-(6,0)", "O(0,0,5)"}, {0, 5},
       {"zmien 1 LUK(0,0,5,180,360);K(0,0,0);GR(0.1)"}},
      {"CircleByLineClickBelow", {"L(-6,0)-(6,0)", "O(0,0,5)"}, {0, -5},
       {"zmien 1 LUK(0,0,5,0,180);K(0,0,0);GR(0.1)"}},
      {"CircleByRectangle", {"P(0,-6)-(6,6)", "O(0,0,5)"}, {5, 0},
       {"zmien 1 LUK(0,0,5,90,270);K(0,0,0);GR(0.1)"}},
      {"CircleByCircle", {"O(8,0,5)", "O(0,0,5)"}, {5, 0},
       {"zmien 1 LUK(0,0,5,36.8699,323.1301);K(0,0,0);GR(0.1)"}},
      {"CircleByCircleClickAway", {"O(8,0,5)", "O(0,0,5)"}, {-5, 0},
       {"zmien 1 LUK(0,0,5,323.1301,396.8699);K(0,0,0);GR(0.1)"}},
      {"CircleOnceByArc", {"LUK(8,0,5,90,180)", "O(0,0,5)"}, {5, 0}, {}, false},
      {"CircleOnceByLine", {"L(0,0)-(6,0)", "O(0,0,5)"}, {0, 5}, {}, false},
      {"CircleInColourInForce", {"L(-6,0)-(6,0)", "O(0,0,5)", "K(255,0,0)", "GR(2)"}, {0, 5},
       {"zmien 1 LUK(0,0,5,180,360);K(255,0,0);GR(2)"}},
      {"ArcStartSideGoes", {"L(0,-6)-(0,6)", "LUK(0,0,5,0,180)"}, {4, 3},
       {"zmien 1 LUK(0,0,5,90,180);K(0,0,0);GR(0.1)"}},
      {"ArcEndSideGoes", {"L(0,-6)-(0,6)", "LUK(0,0,5,0,180);K(0,128,0);GR(0.5)"}, {-4, 3},
       {"zmien 1 LUK(0,0,5,0,90);K(0,128,0);GR(0.5)"}},
      {"ArcAtTheNearerCrossing", {"P(-4,0)-(4,6)", "LUK(0,0,5,0,180)"}, {1, 5},
       {"zmien 1 LUK(0,0,5,0,36.8699);K(0,0,0);GR(0.1)"}},
      {"ArcPastZero", {"L(0,0)-(6,0)", "LUK(0,0,5,300,60)"}, {4.33, -2.5},
       {"zmien 1 LUK(0,0,5,0,60);K(0,0,0);GR(0.1)"}},
      {"ArcClickedOffItsEnd", {"L(0,0)-(6,0)", "LUK(0,0,5,300,60)"}, {0, 5},
       {"zmien 1 LUK(0,0,5,300,360);K(0,0,0);GR(0.1)"}},
      {"ArcOfNegativeRadius", {"L(-6,3)-(6,3)", "LUK(0,0,-5,180,270)"}, {5, 0},
       {"zmien 1 LUK(0,0,-5,216.8699,270);K(0,0,0);GR(0.1)"}},
      {"ArcCrossedAtItsEnd", {"L(-6,0)-(6,0)", "LUK(0,0,5,0,90)"}, {0, 5}, {}},
      {"ArcMissingCircle", {"O(20,0,1)", "LUK(0,0,5,0,90)"}, {0, 5}, {}, false},
      {"LinesCrossing", {"L(5,-1)-(5,1)", "L(0,0)-(10,0)"}, {8, 0.2},
       {"zmien 1 L(0,0)-(5,0);K(0,0,0);GR(0.1)"}},
      {"LinesMissing", {"L(5,1)-(5,2)", "L(0,0)-(10,0)"}, {8, 0}, {}, false},
      {"RectangleObject", {"L(5,-3)-(5,3)", "P(0,-1)-(10,1)"}, {8, 1}, {}},
      {"TextEdge", {"T(0,0,'A',1,1,0)", "L(0,0)-(10,0)"}, {8, 0}, {}},
  };
  // clang-format on
}

INSTANTIATE_TEST_SUITE_P(Cases, TrimCurves, ::testing::ValuesIn(TrimCases()),
                         [](const auto& info) { return info.param.name; });

class ExtendCurves : public ::testing::TestWithParam<CurveCase> {};

TEST_P(ExtendCurves, GrowsToTheFirstCrossing) {
  const CurveCase& c = GetParam();
  ExpectOutcome(c, ExtendObject(Parse(c.lines), 0, 1, c.click));
}

std::vector<CurveCase> ExtendCases() {
  // clang-format off
  return {
      {"LineToCircle", {"O(0,0,5)", "L(-10,3)-(-8,3)"}, {},
       {"zmien 1 L(-10,3)-(-4,3);K(0,0,0);GR(0.1)"}},
      {"LineFromInsideCircle", {"O(0,0,5)", "L(-1,3)-(2,3)"}, {},
       {"zmien 1 L(-1,3)-(4,3);K(0,0,0);GR(0.1)"}},
      {"LinePastACrossingBetweenItsEnds", {"O(0,0,5)", "L(-10,3)-(0,3)"}, {},
       {"zmien 1 L(-10,3)-(4,3);K(0,0,0);GR(0.1)"}},
      {"LineToArcOnlyWhereDrawn", {"LUK(0,0,5,90,180)", "L(6,3)-(8,3)"}, {},
       {"zmien 1 L(-4,3)-(8,3);K(0,0,0);GR(0.1)"}},
      {"LineToRectangle", {"P(3,-1)-(5,1)", "L(0,0)-(1,0)"}, {},
       {"zmien 1 L(0,0)-(3,0);K(0,0,0);GR(0.1)"}},
      {"LineMissingCircle", {"O(0,0,5)", "L(0,6)-(1,6)"}, {}, {}, false},
      {"LineEndingOnCircle", {"O(0,0,5)", "L(4,3)-(10,3)"}, {}, {}},
      {"ArcEndToLine", {"L(0,-6)-(0,6)", "LUK(0,0,5,0,45)"}, {3.5, 3.5},
       {"zmien 1 LUK(0,0,5,0,90);K(0,0,0);GR(0.1)"}},
      {"ArcStartToLine", {"L(0,-6)-(0,6)", "LUK(0,0,5,0,45)"}, {5, -0.5},
       {"zmien 1 LUK(0,0,5,270,405);K(0,0,0);GR(0.1)"}},
      {"ArcStartToCircle", {"O(8,0,5)", "LUK(0,0,5,90,180)"}, {0, 5},
       {"zmien 1 LUK(0,0,5,36.8699,180);K(0,0,0);GR(0.1)"}},
      {"ArcEndToCircle", {"O(8,0,5)", "LUK(0,0,5,90,180)"}, {-5, 0},
       {"zmien 1 LUK(0,0,5,90,323.1301);K(0,0,0);GR(0.1)"}},
      {"ArcEndToArcOnlyWhereDrawn", {"LUK(8,0,5,90,180)", "LUK(0,0,5,90,180)"}, {-5, 0},
       {"zmien 1 LUK(0,0,5,90,396.8699);K(0,0,0);GR(0.1)"}},
      {"ArcEndToRectangle", {"P(3,-6)-(6,6)", "LUK(0,0,5,90,180)"}, {-5, 0},
       {"zmien 1 LUK(0,0,5,90,306.8699);K(0,0,0);GR(0.1)"}},
      {"ArcOfNegativeRadius", {"L(-6,3)-(6,3)", "LUK(0,0,-5,270,360)"}, {0, 5},
       {"zmien 1 LUK(0,0,-5,216.8699,360);K(0,0,0);GR(0.1)"}},
      {"ArcMissing", {"O(20,0,1)", "LUK(0,0,5,90,180)"}, {-5, 0}, {}, false},
      {"ArcEndingOnLine", {"L(0,-6)-(0,6)", "LUK(0,0,5,0,90)"}, {0, 5}, {}},
      {"ArcCrossedOnlyAlongItself", {"L(-6,3)-(6,3)", "LUK(0,0,5,0,180)"}, {5, 0}, {}, false},
      {"LinesRewrittenAsTheyAre", {"L(10,1)-(11,5)", "L(0,0)-(4,0)"}, {},
       {"zmien 1 L(0,0)-(4,0);K(0,0,0);GR(0.1)"}},
      {"LinesParallel", {"L(0,1)-(4,1)", "L(0,0)-(4,0)"}, {}, {}, false},
      {"CircleObject", {"L(-6,0)-(6,0)", "O(0,0,5)"}, {}, {}},
  };
  // clang-format on
}

INSTANTIATE_TEST_SUITE_P(Cases, ExtendCurves, ::testing::ValuesIn(ExtendCases()),
                         [](const auto& info) { return info.param.name; });

// The point written against the kernel's own crossing. The geometry is chosen so that the
// writer's four decimals hold the crossing whole, and what remains is the computation.
struct KernelCase {
  const char* name;
  Lines lines;
  Point click;
  bool extend;
  std::function<Point(const ParsedEntity& written)> moved;
  std::function<Point()> kernel;
  friend void PrintTo(const KernelCase& c, std::ostream* os) { *os << c.name; }
};

Point SecondEnd(const ParsedEntity& e) {
  const auto& s = std::get<SegmentRecord>(e.record);
  return {s.x2, s.y2};
}
Point OnArc(const ParsedEntity& e, bool end) {
  const auto& a = std::get<ArcRecord>(e.record);
  const double angle = end ? a.end_angle : a.start_angle;
  return {a.x + a.radius * std::cos(angle), a.y + a.radius * std::sin(angle)};
}

class AgainstTheKernel : public ::testing::TestWithParam<KernelCase> {};

TEST_P(AgainstTheKernel, WritesTheKernelsCrossing) {
  const KernelCase& c = GetParam();
  const std::vector<ParsedEntity> records = Parse(c.lines);
  const TrimOutcome outcome =
      c.extend ? ExtendObject(records, 0, 1, c.click) : TrimObject(records, 0, 1, c.click);
  ASSERT_EQ(outcome.changes.size(), 1u);
  const Point written = c.moved(ParseEntity(outcome.changes[0].line));
  const Point expected = c.kernel();
  EXPECT_NEAR(written.x, expected.x, 1e-9);
  EXPECT_NEAR(written.y, expected.y, 1e-9);
}

std::vector<KernelCase> KernelCases() {
  return {
      {"TrimLineByCircle",
       {"O(0,0,5)", "L(0,3)-(10,3)"},
       {8, 3},
       false,
       SecondEnd,
       [] {
         const CircleHits h = SegmentCircleCrossings(0, 3, 10, 3, 0, 0, 5);
         return Point{h.x2, h.y2};
       }},
      {"ExtendLineToCircle",
       {"O(0,0,5)", "L(-10,3)-(-8,3)"},
       {},
       true,
       SecondEnd,
       [] {
         const CircleHits h = LineCircleCrossings(-10, 3, -8, 3, 0, 0, 5);
         return Point{h.x1, h.y1};
       }},
      {"ExtendLineToRectangle",
       {"P(3,-1)-(5,1)", "L(0,0.5)-(1,0.5)"},
       {},
       true,
       SecondEnd,
       [] {
         const LineHit h = LineLineIntersection(0, 0.5, 1, 0.5, 3, -1, 3, 1);
         return Point{h.x, h.y};
       }},
      {"TrimLineByArc",
       {"LUK(0,0,5,90,180)", "L(-10,3)-(10,3)"},
       {8, 3},
       false,
       SecondEnd,
       [] {
         const CircleHits h = LineCircleCrossings(-10, 3, 10, 3, 0, 0, 5);
         return Point{h.x1, h.y1};
       }},
      {"TrimCircleByVerticalLine",
       {"L(0,-6)-(0,6)", "O(0,0,5)"},
       {5, 0},
       false,
       [](const ParsedEntity& e) { return OnArc(e, false); },
       [] {
         const CircleHits h = SegmentCircleCrossings(0, -6, 0, 6, 0, 0, 5);
         return Point{h.x1, h.y1};
       }},
      {"ExtendArcToCircle",
       {"O(5,5,5)", "LUK(0,0,5,180,270)"},
       {0, -5},
       true,
       [](const ParsedEntity& e) { return OnArc(e, true); },
       [] {
         const CircleHits h = CircleCircleIntersection(0, 0, 5, 0, 0, 5, 5, 5, 0, 0);
         return Point{h.x2, h.y2};
       }},
  };
}

INSTANTIATE_TEST_SUITE_P(Cases, AgainstTheKernel, ::testing::ValuesIn(KernelCases()),
                         [](const auto& info) { return info.param.name; });

TEST(TrimCurvesKinds, WhatEachStepTakes) {
  const std::vector<ParsedEntity> records =
      Parse({"L(0,0)-(1,0)", "P(0,0)-(1,1)", "O(0,0,1)", "LUK(0,0,1,0,90)", "T(0,0,'A',1,1,0)",
             "K(255,0,0)", "L(0,0"});
  const struct {
    int index;
    bool edge, trimmed, extended;
  } kinds[] = {
      {0, true, true, true},    {1, true, false, false},  {2, true, true, false},
      {3, true, true, true},    {4, false, false, false}, {5, false, false, false},
      {6, false, false, false}, {7, false, false, false},
  };
  for (const auto& k : kinds) {
    SCOPED_TRACE(k.index);
    EXPECT_EQ(TakesAsEdge(records, k.index), k.edge);
    EXPECT_EQ(TakesAsObject(records, k.index, false), k.trimmed);
    EXPECT_EQ(TakesAsObject(records, k.index, true), k.extended);
  }
}

// A circle trimmed and its arc trimmed again are a record each, undone one at a time.
TEST(TrimCurvesInDrawing, EachPickIsItsOwnRecord) {
  Drawing drawing;
  Journal journal(drawing);
  drawing.Load({"L(-6,0)-(6,0)", "O(0,0,5)", "L(0,-6)-(0,6)"});
  Apply(journal, TrimObject(drawing.records(), 0, 1, {0, 5}).changes);
  Apply(journal, TrimObject(drawing.records(), 2, 1, {4, -3}).changes);
  EXPECT_EQ(DrawingLines(drawing)[1], "LUK(0,0,5,180,270);K(0,0,0);GR(0.1)");
  ASSERT_TRUE(journal.Undo());
  EXPECT_EQ(DrawingLines(drawing)[1], "LUK(0,0,5,180,360);K(0,0,0);GR(0.1)");
  ASSERT_TRUE(journal.Undo());
  EXPECT_EQ(DrawingLines(drawing)[1], "O(0,0,5)");
  const size_t recorded = JournalLines(journal).size();
  Apply(journal, TrimObject(drawing.records(), 0, 0, {0, 5}).changes);
  EXPECT_EQ(JournalLines(journal).size(), recorded) << "a line cut by itself meets nothing";
}

}  // namespace
}  // namespace blok
