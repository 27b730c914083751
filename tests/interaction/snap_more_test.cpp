// The snaps after end, middle, centre and intersection: perpendicular and tangent from the last
// point, nearest and quadrant; how they stand against the others at equal distances, and their
// markers; and the search over a drawing's compact boxes against the records alone.
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "document/drawing.h"
#include "interaction/snap.h"
#include "support/editing_support.h"
#include "support/random_drawing.h"
#include "support/recording_canvas.h"

namespace blok {
namespace {

using ::blok::testing::CanvasCall;
using ::blok::testing::MakeView;
using ::blok::testing::Parse;
using ::blok::testing::PenState;
using ::blok::testing::RecordingCanvas;
using Kind = CanvasCall::Kind;

// A pixel a unit, origin at pixel (100, 100): (x, y) is at (100 + x, 100 - y), exactly.
ViewTransform PixelView() { return MakeView(1000); }

constexpr SnapSettings kPerpendicular{.perpendicular = true};
constexpr SnapSettings kTangent{.tangent = true};
constexpr SnapSettings kNearest{.nearest = true};
constexpr SnapSettings kQuadrant{.quadrant = true};
constexpr SnapSettings kEndAndNearest{.end = true, .nearest = true};
constexpr SnapSettings kEndAndQuadrant{.end = true, .quadrant = true};
constexpr SnapSettings kCrossingAndQuadrant{.intersection = true, .quadrant = true};
constexpr SnapSettings kPerpendicularAndTangent{.perpendicular = true, .tangent = true};
constexpr SnapSettings kEveryOne{.end = true,
                                 .middle = true,
                                 .centre = true,
                                 .intersection = true,
                                 .perpendicular = true,
                                 .tangent = true,
                                 .nearest = true,
                                 .quadrant = true};

// The circle's outline would catch its centre, a crossing comes before the walk.
constexpr SnapSettings kAllButCentreAndCrossing{.end = true,
                                                .middle = true,
                                                .perpendicular = true,
                                                .tangent = true,
                                                .nearest = true,
                                                .quadrant = true};

constexpr OrthoReference kNone{};
OrthoReference From(double x, double y) { return {{x, y}, true}; }

// A snap search and what it catches: nothing, or the kind at the point.
struct SnapCase {
  const char* name;
  std::vector<std::string> lines;
  SnapSettings settings;
  OrthoReference last;
  int x, y;  // the cursor, in world units of PixelView()
  std::optional<Snap> kind;
  double px = 0, py = 0;
};
constexpr std::optional<Snap> kNothing;

void ExpectCaught(const SnapCase& c) {
  const WynikSnapu snap = SzukajSnapu(Parse(c.lines), PixelView(), StrokeFont{}, c.settings,
                                      100 + c.x, 100 - c.y, c.last);
  ASSERT_EQ(snap.found, c.kind.has_value()) << c.name << ": " << static_cast<int>(snap.kind)
                                            << " at " << snap.point.x << "," << snap.point.y;
  if (!snap.found) return;
  EXPECT_EQ(snap.kind, *c.kind) << c.name;
  EXPECT_NEAR(snap.point.x, c.px, 1e-6) << c.name;
  EXPECT_NEAR(snap.point.y, c.py, 1e-6) << c.name;
}

TEST(FurtherSnaps, EachKindWhereItIsAndOnlyThere) {
  const SnapCase cases[] = {
      {"FootOnALine",
       {"L(-50,0)-(50,0)"},
       kPerpendicular,
       From(20, 30),
       18,
       3,
       Snap::kPerpendicular,
       20,
       0},
      {"FootNeedsTheLastPoint", {"L(-50,0)-(50,0)"}, kPerpendicular, kNone, 18, 3, kNothing},
      {"FootOffTheSegment", {"L(0,0)-(50,0)"}, kPerpendicular, From(-20, 30), -20, 2, kNothing},
      {"FootOutOfReach", {"L(-50,0)-(50,0)"}, kPerpendicular, From(20, 30), 5, 0, kNothing},
      {"FootOnARectangleSide",
       {"P(-10,-10)-(10,10)"},
       kPerpendicular,
       From(3, 40),
       3,
       8,
       Snap::kPerpendicular,
       3,
       10},
      {"FootOnACircle",
       {"O(0,0,20)"},
       kPerpendicular,
       From(40, 30),
       15,
       13,
       Snap::kPerpendicular,
       16,
       12},
      {"FootOffAnArc", {"LUK(0,0,20,90,180)"}, kPerpendicular, From(40, 30), 16, 12, kNothing},
      {"FootFromTheCentre", {"O(0,0,20)"}, kPerpendicular, From(0, 0), 20, 0, kNothing},
      {"TangentTheNearerOfTwo",
       {"O(0,0,10)"},
       kTangent,
       From(20, 0),
       5,
       -8,
       Snap::kTangent,
       5,
       -8.660254},
      {"TangentTheOther", {"O(0,0,10)"}, kTangent, From(20, 0), 5, 8, Snap::kTangent, 5, 8.660254},
      {"TangentFromInside", {"O(0,0,10)"}, kTangent, From(3, 0), 5, 8, kNothing},
      {"TangentNeedsTheLastPoint", {"O(0,0,10)"}, kTangent, kNone, 5, -8, kNothing},
      // The lower point is off the arc and the upper one is out of reach.
      {"TangentOnlyOnTheArc", {"LUK(0,0,10,0,90)"}, kTangent, From(20, 0), 5, -8, kNothing},
      {"QuadrantOfACircle", {"O(0,0,20)"}, kQuadrant, kNone, 3, 18, Snap::kQuadrant, 0, 20},
      {"QuadrantOfAnArc", {"LUK(0,0,20,0,90)"}, kQuadrant, kNone, 18, 1, Snap::kQuadrant, 20, 0},
      {"NoQuadrantOffTheArc", {"LUK(0,0,20,10,80)"}, kQuadrant, kNone, 0, 18, kNothing},
      {"LinesHaveNoQuadrants", {"L(0,20)-(50,20)"}, kQuadrant, kNone, 0, 18, kNothing},
      {"NearestOnALine", {"L(-50,0)-(50,0)"}, kNearest, kNone, 7, 4, Snap::kNearest, 7, 0},
      {"NearestOnARectangle",
       {"P(-10,-10)-(10,10)"},
       kNearest,
       kNone,
       12,
       3,
       Snap::kNearest,
       10,
       3},
      {"NearestOnACircle", {"O(0,0,20)"}, kNearest, kNone, 15, 20, Snap::kNearest, 12, 16},
      {"NearestEndOffAnArc", {"LUK(0,0,20,0,90)"}, kNearest, kNone, -3, 18, Snap::kNearest, 0, 20},
      {"TextsOfferNothing", {"T(0,0,'A',1,1,0)"}, kEveryOne, From(5, 5), 0, 0, kNothing},
  };
  for (const SnapCase& c : cases) ExpectCaught(c);
}

TEST(FurtherSnaps, AtEqualDistancesTheEarlierKindWins) {
  const SnapCase cases[] = {
      // The circle's quadrant and the line's end are the same pixel, in either drawing order.
      {"EndBeforeQuadrant",
       {"O(0,0,20)", "L(20,0)-(50,0)"},
       kEndAndQuadrant,
       kNone,
       18,
       2,
       Snap::kEnd,
       20,
       0},
      {"EndBeforeQuadrantDrawnFirst",
       {"L(20,0)-(50,0)", "O(0,0,20)"},
       kEndAndQuadrant,
       kNone,
       18,
       2,
       Snap::kEnd,
       20,
       0},
      {"QuadrantStrictlyNearer",
       {"O(0,0,20)", "L(23,0)-(50,0)"},
       kEndAndQuadrant,
       kNone,
       21,
       0,
       Snap::kQuadrant,
       20,
       0},
      {"CrossingBeforeQuadrant",
       {"L(-50,0)-(50,0)", "O(0,0,20)"},
       kCrossingAndQuadrant,
       kNone,
       18,
       2,
       Snap::kIntersection,
       20,
       0},
      // (0, 10) is both the foot on the plumb line and where y = 10 touches the circle.
      {"PerpendicularBeforeTangent",
       {"O(0,0,10)", "L(0,0)-(0,30)"},
       kPerpendicularAndTangent,
       From(20, 10),
       2,
       12,
       Snap::kPerpendicular,
       0,
       10},
      // The nearest point is nearer than the end, yet the end is caught.
      {"EndBeforeNearest", {"L(0,0)-(50,0)"}, kEndAndNearest, kNone, 3, 2, Snap::kEnd, 0, 0},
      {"NearestWhenTheEndIsOutOfReach",
       {"L(0,0)-(50,0)"},
       kEndAndNearest,
       kNone,
       15,
       2,
       Snap::kNearest,
       15,
       0},
      // (0, 0) is also the foot from (0, 30), where x = 0 touches the circle, and its quadrant.
      {"EndBeforeEveryFurtherOne",
       {"L(0,0)-(50,0)", "O(-20,0,20)"},
       kAllButCentreAndCrossing,
       From(0, 30),
       3,
       2,
       Snap::kEnd,
       0,
       0},
  };
  for (const SnapCase& c : cases) ExpectCaught(c);
}

// The first point of a command has no last point: perpendicular and tangent stay out of it, and
// the point input takes the cursor.
TEST(FurtherSnaps, WithoutALastPointThePointInputTakesTheCursor) {
  const std::vector<ParsedEntity> records = Parse({"L(-50,0)-(50,0)", "O(0,-20,10)"});
  for (const SnapSettings& settings : {kPerpendicular, kTangent, kPerpendicularAndTangent}) {
    RecordingCanvas first;
    const Point p = PunktBezOrto(first, records, PixelView(), StrokeFont{}, settings, 103, 102);
    EXPECT_EQ(p.x, 3);
    EXPECT_EQ(p.y, -2);
    RecordingCanvas later;
    const Point q =
        PunktWskazany(later, records, PixelView(), StrokeFont{}, settings, kNone, 103, 102);
    EXPECT_EQ(q.x, 3);
    EXPECT_EQ(q.y, -2);
  }
  // With one, the same move is caught.
  RecordingCanvas canvas;
  const Point p = PunktWskazany(canvas, records, PixelView(), StrokeFont{}, kPerpendicular,
                                From(4, 30), 103, 102);
  EXPECT_EQ(p.x, 4);
  EXPECT_EQ(p.y, 0);
}

TEST(FurtherSnaps, EachKindItsMarkerAndTheLabelBelow) {
  // Every snap lands on (3, 4), pixel (103, 96), the cursor at (0, 0).
  const struct {
    const char* kind;
    std::vector<std::string> lines;
    SnapSettings settings;
    OrthoReference last;
    std::vector<std::vector<int>> lines_drawn;
    bool circle;  // an unfilled circle of the marker's size before the lines
  } cases[] = {
      {"Prostopadły",
       {"L(-47,4)-(53,4)"},
       kPerpendicular,
       From(3, 40),
       {{96, 103, 96, 89}, {96, 89, 110, 89}, {96, 96, 103, 96}, {103, 96, 103, 89}},
       false},
      // y = 4 touches the circle's top, seen from (23, 4).
      {"Styczny", {"O(3,-6,10)"}, kTangent, From(23, 4), {{96, 89, 110, 89}}, true},
      {"Najbliższy",
       {"L(-1,7)-(7,1)"},
       kNearest,
       kNone,
       {{96, 89, 110, 89}, {110, 89, 96, 103}, {96, 103, 110, 103}, {110, 103, 96, 89}},
       false},
      {"Kwadrant",
       {"O(3,-6,10)"},
       kQuadrant,
       kNone,
       {{103, 89, 110, 96}, {110, 96, 103, 103}, {103, 103, 96, 96}, {96, 96, 103, 89}},
       false},
  };
  for (const auto& c : cases) {
    RecordingCanvas canvas;
    const Point p = PunktWskazany(canvas, Parse(c.lines), PixelView(), StrokeFont{}, c.settings,
                                  c.last, 100, 100);
    EXPECT_NEAR(p.x, 3, 1e-9) << c.kind;
    EXPECT_NEAR(p.y, 4, 1e-9) << c.kind;
    std::vector<CanvasCall> drawn;
    for (const CanvasCall& call : canvas.calls()) {
      if (call.kind >= Kind::kLine) drawn.push_back(call);
    }
    ASSERT_FALSE(drawn.empty()) << c.kind;
    const CanvasCall label = drawn.back();
    drawn.pop_back();
    EXPECT_EQ(label.kind, Kind::kText) << c.kind;
    EXPECT_EQ(label.text, " X=3,000 Y=4,000") << c.kind;
    ASSERT_GE(label.ints.size(), 2u) << c.kind;
    EXPECT_EQ(label.ints[0], 103) << c.kind;
    EXPECT_EQ(label.ints[1], 116) << c.kind;
    for (const CanvasCall& call : drawn) {
      EXPECT_EQ(call.pen, (PenState{0x00FFFF, 2, PenStyle::kSolid})) << c.kind << " " << call;
    }
    if (c.circle) {
      ASSERT_FALSE(drawn.empty()) << c.kind;
      EXPECT_EQ(drawn.front().kind, Kind::kEllipse) << c.kind;
      EXPECT_EQ(drawn.front().ints, (std::vector<int>{96, 89, 110, 103})) << c.kind;
      EXPECT_EQ(drawn.front().brush.style, BrushStyle::kClear) << c.kind;
      drawn.erase(drawn.begin());
    }
    std::vector<std::vector<int>> lines;
    for (const CanvasCall& call : drawn) {
      EXPECT_EQ(call.kind, Kind::kLine) << c.kind;
      lines.push_back(call.ints);
    }
    EXPECT_EQ(lines, c.lines_drawn) << c.kind;
  }
}

struct SwitchCase {
  const char* name;
  SnapSettings settings;
};

const SwitchCase kSwitches[] = {
    {"Crossing", {.intersection = true}},
    {"EndsAndCentres", {.end = true, .centre = true}},
    {"CrossingAndQuadrant", kCrossingAndQuadrant},
    {"EveryOne", kEveryOne},
};

// The drawing's compact boxes only spare the records of far entities: the snap and the point
// taken are those of the records alone, at every zoom and for every set of switches.
TEST(SnapOverDrawing, CatchesWhatTheRecordsAloneCatch) {
  std::mt19937 random(41);
  Drawing drawing;
  drawing.Load(blok::testing::RandomLines(random, 400, /*with_commands=*/true));
  const auto records = drawing.records();
  std::uniform_int_distribution<int> pixel(-20, 1020);
  const OrthoReference last{{1.5, -2.5}, true};
  int caught = 0;
  for (const double scale : {1.0, 24.0, 60.0}) {
    ViewTransform view;
    view.SetViewSize(1000, 1000);
    view.SetScale(scale);
    for (int probe = 0; probe < 500; ++probe) {
      const int x = pixel(random), y = pixel(random);
      for (const SwitchCase& c : kSwitches) {
        const WynikSnapu alone = SzukajSnapu(records, view, StrokeFont{}, c.settings, x, y, last);
        const WynikSnapu boxed = SzukajSnapu(drawing, view, StrokeFont{}, c.settings, x, y, last);
        const auto where = [&] {
          return std::string(c.name) + " scale " + std::to_string(scale) + " at " +
                 std::to_string(x) + "," + std::to_string(y);
        };
        ASSERT_EQ(boxed.found, alone.found) << where();
        caught += alone.found ? 1 : 0;
        if (!alone.found) continue;
        ASSERT_EQ(boxed.kind, alone.kind) << where();
        ASSERT_EQ(boxed.point.x, alone.point.x) << where();
        ASSERT_EQ(boxed.point.y, alone.point.y) << where();
        RecordingCanvas first, second;
        const Point p = PunktWskazany(first, records, view, StrokeFont{}, c.settings, last, x, y);
        const Point q = PunktWskazany(second, drawing, view, StrokeFont{}, c.settings, last, x, y);
        ASSERT_EQ(p.x, q.x) << where();
        ASSERT_EQ(p.y, q.y) << where();
      }
    }
  }
  // The drawing is crowded enough that many comparisons are of snaps caught.
  EXPECT_GT(caught, 400);
}

}  // namespace
}  // namespace blok
