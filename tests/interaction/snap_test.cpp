#include "interaction/snap.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "support/editing_support.h"
#include "support/recording_canvas.h"

namespace blok {
namespace {

using ::blok::testing::MakeView;
using ::blok::testing::Parse;

using ::blok::testing::CanvasCall;
using ::blok::testing::PenState;
using ::blok::testing::RecordingCanvas;
using ::testing::IsEmpty;
using Kind = CanvasCall::Kind;

// A pixel a unit, origin at pixel (100, 100): (x, y) is at (100 + x, 100 - y), exactly.
ViewTransform PixelView() { return MakeView(1000); }
// 100 pixels a unit: pixel (px, py) is the world point ((px - 100) / 100, (100 - py) / 100).
ViewTransform HundredPixelView() { return MakeView(10); }

constexpr SnapSettings kEnd{.end = true};
constexpr SnapSettings kMiddle{.middle = true};
constexpr SnapSettings kCentre{.centre = true};
constexpr SnapSettings kCrossing{.intersection = true};
constexpr SnapSettings kEndAndCentre{.end = true, .centre = true};
constexpr SnapSettings kAllObjects{
    .end = true, .middle = true, .centre = true, .intersection = true};

struct SnapCase {
  const char* name;
  std::vector<std::string> lines;
  SnapSettings settings;
  int x, y;          // the cursor, in world units of PixelView() (pixel (100 + x, 100 - y))
  const char* kind;  // empty: nothing found
  double px = 0, py = 0;
};

class Search : public ::testing::TestWithParam<SnapCase> {};

// The kinds under the names the cases give them.
std::string_view Named(Snap kind) {
  switch (kind) {
    case Snap::kEnd:
      return "Koniec";
    case Snap::kMiddle:
      return "Środek";
    case Snap::kCentre:
      return "Center";
    case Snap::kIntersection:
      return "Przeciecie";
    case Snap::kPerpendicular:
      return "Prostopadły";
    case Snap::kTangent:
      return "Styczny";
    case Snap::kNearest:
      return "Najbliższy";
    case Snap::kQuadrant:
      return "Kwadrant";
  }
  return "?";
}

TEST_P(Search, FindsTheNearestCandidateBelowTenPixels) {
  const SnapCase& c = GetParam();
  const WynikSnapu snap =
      SzukajSnapu(Parse(c.lines), PixelView(), StrokeFont{}, c.settings, 100 + c.x, 100 - c.y);
  if (*c.kind == '\0') {
    EXPECT_FALSE(snap.found) << Named(snap.kind) << " at " << snap.point.x << "," << snap.point.y;
    return;
  }
  ASSERT_TRUE(snap.found);
  EXPECT_EQ(Named(snap.kind), c.kind);
  EXPECT_NEAR(snap.point.x, c.px, 1e-4);
  EXPECT_NEAR(snap.point.y, c.py, 1e-4);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Search,
    ::testing::Values(
        SnapCase{
            "NearerEndWins", {"L(-4,0)-(-50,0)", "L(3,0)-(50,30)"}, kEnd, 0, 0, "Koniec", 3, 0},
        SnapCase{"NinePixels", {"L(9,0)-(50,0)"}, kEnd, 0, 0, "Koniec", 9, 0},
        SnapCase{"TenPixelsIsOutOfReach", {"L(10,0)-(50,0)"}, kEnd, 0, 0, ""},
        SnapCase{
            "EqualEndsFirstWins", {"L(5,0)-(50,0)", "L(-5,0)-(-50,0)"}, kEnd, 0, 0, "Koniec", 5, 0},
        SnapCase{"EndOfTheLineItself", {"L(50,0)-(-3,-4)"}, kEnd, 0, 0, "Koniec", -3, -4},
        // Corners are offered (x1,y1), (x2,y2), (x1,y2), (x2,y1): all four are 5 away.
        SnapCase{"RectangleCornerOrder", {"P(-3,-4)-(3,4)"}, kEnd, 0, 0, "Koniec", -3, -4},
        SnapCase{"RectangleCornerOrderSecond", {"P(3,4)-(-3,-4)"}, kEnd, 0, 0, "Koniec", 3, 4},
        // Side midpoints are offered (xm,y1), (xm,y2), (x1,ym), (x2,ym).
        SnapCase{"RectangleSideOrder", {"P(-4,-4)-(4,4)"}, kMiddle, 0, 0, "Środek", 0, -4},
        SnapCase{"RectangleSideNearest", {"P(-4,-4)-(4,4)"}, kMiddle, 3, 0, "Środek", 4, 0},
        SnapCase{"LineMidpoint", {"L(-20,2)-(20,2)"}, kAllObjects, 0, 0, "Środek", 0, 2},
        SnapCase{"MidpointNeedsItsSwitch", {"L(-20,2)-(20,2)"}, kEnd, 0, 0, ""},
        SnapCase{"CircleCaughtAtItsOutline", {"O(30,0,25)"}, kCentre, 0, 0, "Center", 30, 0},
        SnapCase{"CircleNotAtItsCentre", {"O(30,0,25)"}, kCentre, 30, 0, ""},
        SnapCase{"CircleNeedsCentrum", {"O(30,0,25)"}, kEnd, 0, 0, ""},
        SnapCase{"ArcWithoutKoniecOffersNothing", {"LUK(30,0,25,90,270)"}, kCentre, 0, 0, ""},
        SnapCase{
            "ArcCentreAtItsOutline", {"LUK(30,0,25,90,270)"}, kEndAndCentre, 0, 0, "Center", 30, 0},
        // On the arc's start the end and the outline are both 0 away; the end comes first.
        SnapCase{
            "ArcEndBeforeItsCentre", {"LUK(-20,0,20,0,90)"}, kEndAndCentre, 0, 0, "Koniec", 0, 0},
        SnapCase{"ArcStart", {"LUK(-20,3,20,0,90)"}, kEnd, 0, 0, "Koniec", 0, 3},
        SnapCase{"TextsOfferNothing", {"T(0,0,'A',1,1,0)"}, kAllObjects, 0, 0, ""},
        SnapCase{"SwitchesOff", {"L(0,0)-(50,0)", "O(0,0,1)"}, SnapSettings{}, 0, 0, ""},
        SnapCase{"UnreadableSkipped",
                 {"L(0,0)-(5", "K(0,0,0)", "L(1,0)-(50,0)"},
                 kAllObjects,
                 0,
                 0,
                 "Koniec",
                 1,
                 0},
        // A line crosses the circle at (-30, 0) and (30, 0): the crossing nearer the cursor.
        SnapCase{"NearerCrossing",
                 {"L(-50,0)-(50,0)", "O(0,0,30)"},
                 kCrossing,
                 27,
                 -3,
                 "Przeciecie",
                 30,
                 0},
        SnapCase{"CrossingEightPixelsAway",
                 {"L(-50,0)-(50,0)", "O(0,0,30)"},
                 kCrossing,
                 22,
                 0,
                 "Przeciecie",
                 30,
                 0},
        SnapCase{
            "CrossingTwelvePixelsAway", {"L(-50,0)-(50,0)", "O(0,0,30)"}, kCrossing, 18, 0, ""},
        // The circle is nearer than the line here; the pair is still tried as line and circle.
        SnapCase{"CircleFirstIsSwapped",
                 {"O(0,0,30)", "L(-50,1)-(50,1)"},
                 kCrossing,
                 -30,
                 2,
                 "Przeciecie",
                 -29.9833,
                 1},
        // The same with an arc nearest: it crosses as its whole circle.
        SnapCase{"ArcFirstIsSwapped",
                 {"LUK(0,0,30,0,90)", "L(-50,1)-(50,1)"},
                 kCrossing,
                 -30,
                 2,
                 "Przeciecie",
                 -29.9833,
                 1},
        // A circle nearest with an arc second: only whole circles cross each other.
        SnapCase{
            "CircleAndArcDoNotCross", {"O(0,0,20)", "LUK(30,0,20,0,180)"}, kCrossing, 15, 12, ""},
        SnapCase{"TextDoesNotCross", {"T(0,0,'A',1,1,0)", "L(-50,0)-(50,0)"}, kCrossing, 0, 0, ""},
        SnapCase{"LinesCross",
                 {"L(-50,-50)-(50,50)", "L(-50,50)-(50,-50)"},
                 kCrossing,
                 3,
                 4,
                 "Przeciecie",
                 0,
                 0},
        SnapCase{
            "SegmentsThatDoNotReach", {"L(-50,0)-(50,0)", "L(3,2)-(3,50)"}, kCrossing, 3, 0, ""},
        SnapCase{"CirclesCross",
                 {"O(0,0,20)", "O(30,0,20)"},
                 kCrossing,
                 15,
                 12,
                 "Przeciecie",
                 15,
                 13.2288},
        SnapCase{"ArcAsItsWholeCircle",
                 {"L(-50,0)-(50,0)", "LUK(0,0,30,0,90)"},
                 kCrossing,
                 -28,
                 0,
                 "Przeciecie",
                 -30,
                 0},
        SnapCase{
            "ArcAndCircleDoNotCross", {"LUK(0,0,20,0,180)", "O(30,0,20)"}, kCrossing, 15, 12, ""},
        SnapCase{"RectangleDoesNotCross",
                 {"P(-20,-20)-(20,20)", "L(-50,0)-(50,0)"},
                 kCrossing,
                 20,
                 0,
                 ""},
        // The crossing is tried first, so it keeps an end point at the same distance...
        SnapCase{"CrossingBeforeEqualEnd",
                 {"L(-50,0)-(5,0)", "L(5,-50)-(5,50)"},
                 kAllObjects,
                 0,
                 0,
                 "Przeciecie",
                 5,
                 0},
        // ...and loses to a nearer one. The two lines nearest the cursor cross at (5, 0); the
        // third line is further from the cursor than either but ends 3 pixels from it.
        SnapCase{"NearerEndBeatsCrossing",
                 {"L(-50,0)-(50,0)", "L(-45,-1)-(55,1)", "L(3,0)-(3,60)"},
                 SnapSettings{.end = true, .intersection = true},
                 0,
                 0,
                 "Koniec",
                 3,
                 0}),
    [](const auto& info) { return info.param.name; });

struct GridCase {
  int px, py;
  float step;
  double x, y;
};

TEST(SnapSiatki, NearestGridPointHalvesToEven) {
  for (const GridCase& c : {GridCase{226, 174, 0.5f, 1.5, -0.5},
                            GridCase{125, 75, 0.5f, 0, 0},    // 0.25: half of a step, to 0
                            GridCase{175, 25, 0.5f, 1, 1},    // 0.75: to 1.0, the even two
                            GridCase{75, 125, 0.5f, 0, 0},    // -0.25
                            GridCase{25, 175, 0.5f, -1, -1},  // -0.75
                            GridCase{137, 50, 0.25f, 0.25, 0.5}, GridCase{150, 50, 1, 0, 0},
                            GridCase{250, 100, 1, 2, 0}}) {
    const Point p = SnapSiatki(HundredPixelView(), c.px, c.py, c.step);
    EXPECT_DOUBLE_EQ(p.x, c.x) << c.px << "," << c.py << " step " << c.step;
    EXPECT_DOUBLE_EQ(p.y, c.y) << c.px << "," << c.py << " step " << c.step;
  }
}

TEST(SnapSiatki, FarGridPointsStayRound) {
  // 0.1 as a single is 0.100000001; a million steps of that would be off in the fourth decimal.
  const Point p = SnapSiatki(PixelView(), 100 + 123456, 100 + 654321, 0.1f);
  EXPECT_NEAR(p.x, 123456, 1e-7);
  EXPECT_NEAR(p.y, -654321, 1e-7);
}

TEST(SnapSiatki, StepBelowTheDrawnGridUsesTheDrawnOne) {
  for (const float step : {0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN()}) {
    const Point p = SnapSiatki(HundredPixelView(), 226, 174, step);
    EXPECT_NEAR(p.x, 1.26, 1e-9) << step;
    EXPECT_NEAR(p.y, -0.74, 1e-9) << step;
  }
}

TEST(SnapOrto, LevelOrPlumbWithTheReferenceTieGoesPlumb) {
  struct Case {
    Point reference;
    int x, y;  // world units of PixelView()
    double rx, ry;
  };
  for (const Case& c :
       {Case{{0, 0}, 5, 5, 0, 5}, Case{{0, 0}, 5, 3, 5, 0}, Case{{0, 0}, -5, 3, -5, 0},
        Case{{0, 0}, 3, -5, 0, -5}, Case{{0, 0}, -5, -5, 0, -5}, Case{{10, 10}, 15, 12, 15, 10},
        Case{{10, 10}, 12, 15, 10, 15}}) {
    const Point p = SnapOrto(PixelView(), 100 + c.x, 100 - c.y, c.reference);
    EXPECT_EQ(p.x, c.rx) << c.x << "," << c.y;
    EXPECT_EQ(p.y, c.ry) << c.x << "," << c.y;
  }
}

std::vector<CanvasCall> Drawn(const RecordingCanvas& canvas) {
  std::vector<CanvasCall> found;
  for (const CanvasCall& call : canvas.calls()) {
    if (call.kind >= Kind::kLine) found.push_back(call);
  }
  return found;
}

struct MarkerCase {
  const char* kind;
  std::vector<std::string> lines;
  SnapSettings settings;
  std::vector<std::vector<int>> lines_drawn;  // marker Line calls
  Kind shape;                                 // kLine when the marker is only lines
};

TEST(DrawSnapMarker, EachKindItsMarkerAndTheLabelBelow) {
  // Every snap lands on (3, 4), pixel (103, 96).
  const std::vector<MarkerCase> cases = {
      {"Koniec", {"L(3,4)-(50,50)"}, kEnd, {}, Kind::kRectangle},
      {"Przeciecie",
       {"L(-47,4)-(53,4)", "L(3,-46)-(3,54)"},
       kCrossing,
       {{96, 89, 110, 103}, {96, 103, 110, 89}},
       Kind::kLine},
      {"Środek",
       {"L(-17,4)-(23,4)"},
       kMiddle,
       {{96, 103, 103, 89}, {110, 103, 103, 89}, {96, 103, 110, 103}},
       Kind::kLine},
      {"Center", {"O(3,4,5)"}, kCentre, {}, Kind::kEllipse},
  };
  for (const MarkerCase& c : cases) {
    RecordingCanvas canvas;
    const Point p =
        PunktWskazany(canvas, Parse(c.lines), PixelView(), StrokeFont{}, c.settings, {}, 100, 100);
    EXPECT_NEAR(p.x, 3, 1e-6) << c.kind;
    EXPECT_NEAR(p.y, 4, 1e-6) << c.kind;
    std::vector<CanvasCall> drawn = Drawn(canvas);
    ASSERT_FALSE(drawn.empty()) << c.kind;
    const CanvasCall label = drawn.back();
    drawn.pop_back();
    EXPECT_EQ(label.kind, Kind::kText) << c.kind;
    EXPECT_EQ(label.text, " X=3,000 Y=4,000") << c.kind;
    EXPECT_EQ(label.ints[0], 103) << c.kind;
    EXPECT_EQ(label.ints[1], 116) << c.kind;
    EXPECT_EQ(label.background, 0x00FFFFu) << c.kind;
    for (const CanvasCall& call : drawn) {
      EXPECT_EQ(call.pen, (PenState{0x00FFFF, 2, PenStyle::kSolid})) << c.kind << " " << call;
    }
    if (c.shape == Kind::kLine) {
      std::vector<std::vector<int>> lines;
      for (const CanvasCall& call : drawn) lines.push_back(call.ints);
      EXPECT_EQ(lines, c.lines_drawn) << c.kind;
    } else {
      ASSERT_EQ(drawn.size(), 1u) << c.kind;
      EXPECT_EQ(drawn[0].kind, c.shape) << c.kind;
      EXPECT_EQ(drawn[0].ints, (std::vector<int>{96, 89, 110, 103})) << c.kind;
      EXPECT_EQ(drawn[0].brush.style, BrushStyle::kClear) << c.kind;
    }
  }
}

struct InputCase {
  const char* name;
  std::vector<std::string> lines;
  SnapSettings settings;
  OrthoReference ortho;
  bool without_ortho;
  double x, y;        // the point taken
  const char* label;  // the text at the cursor, 20 pixels up
};

class PointInputTest : public ::testing::TestWithParam<InputCase> {};

// The cursor at pixel (226, 174) of HundredPixelView(), the world point (1.26, -0.74).
TEST_P(PointInputTest, ObjectSnapThenGridThenOrtho) {
  const InputCase& c = GetParam();
  RecordingCanvas canvas;
  const std::vector<ParsedEntity> records = Parse(c.lines);
  const Point p = c.without_ortho ? PunktBezOrto(canvas, records, HundredPixelView(), StrokeFont{},
                                                 c.settings, 226, 174)
                                  : PunktWskazany(canvas, records, HundredPixelView(), StrokeFont{},
                                                  c.settings, c.ortho, 226, 174);
  EXPECT_NEAR(p.x, c.x, 1e-9);
  EXPECT_NEAR(p.y, c.y, 1e-9);
  const std::vector<CanvasCall> texts = canvas.CallsOf(Kind::kText);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, c.label);
  if (texts[0].text.starts_with(" ")) return;  // a snap's label stands below its point
  EXPECT_EQ(texts[0].ints[0], 226);
  EXPECT_EQ(texts[0].ints[1], 154);
}

constexpr SnapSettings kGridAndOrtho{.grid = true, .ortho = true, .grid_step = 0.5f};
constexpr SnapSettings kOrtho{.ortho = true};
constexpr OrthoReference kAtOrigin{{0, 0}, true};

INSTANTIATE_TEST_SUITE_P(
    Cases, PointInputTest,
    ::testing::Values(
        InputCase{"Cursor", {}, SnapSettings{}, kAtOrigin, false, 1.26, -0.74, "X=1,260 Y=-0,740"},
        InputCase{"GridBeatsOrtho",
                  {},
                  kGridAndOrtho,
                  kAtOrigin,
                  false,
                  1.5,
                  -0.5,
                  "SIATKA X=1,500 Y=-0,500"},
        InputCase{"Ortho", {}, kOrtho, kAtOrigin, false, 1.26, 0, "ORTO X=1,260 Y=0,000"},
        InputCase{"OrthoNeedsAReference",
                  {},
                  kOrtho,
                  {{0, 0}, false},
                  false,
                  1.26,
                  -0.74,
                  "X=1,260 Y=-0,740"},
        InputCase{"WithoutOrtho", {}, kOrtho, kAtOrigin, true, 1.26, -0.74, "X=1,260 Y=-0,740"},
        InputCase{"WithoutOrthoKeepsTheGrid",
                  {},
                  kGridAndOrtho,
                  kAtOrigin,
                  true,
                  1.5,
                  -0.5,
                  "SIATKA X=1,500 Y=-0,500"},
        InputCase{"SnapBeatsGrid",
                  {"L(1.3,-0.75)-(5,5)"},
                  SnapSettings{.grid = true, .end = true, .grid_step = 0.5f},
                  kAtOrigin,
                  false,
                  1.3,
                  -0.75,
                  " X=1,300 Y=-0,750"}),
    [](const auto& info) { return info.param.name; });

TEST(PointInput, GridMarkerAroundTheGridPoint) {
  RecordingCanvas canvas;
  PunktWskazany(canvas, Drawing{}, HundredPixelView(), StrokeFont{}, kGridAndOrtho, kAtOrigin, 226,
                174);
  const std::vector<CanvasCall> squares = canvas.CallsOf(Kind::kRectangle);
  ASSERT_EQ(squares.size(), 1u);
  EXPECT_EQ(squares[0].ints, (std::vector<int>{245, 145, 255, 155}));
  EXPECT_EQ(squares[0].pen, (PenState{0x00FFFF, 2, PenStyle::kSolid}));
  EXPECT_EQ(squares[0].brush.style, BrushStyle::kClear);
}

TEST(PointInput, NoMarkerWithoutASnapOrGrid) {
  RecordingCanvas canvas;
  PunktWskazany(canvas, Drawing{}, HundredPixelView(), StrokeFont{}, kOrtho, kAtOrigin, 226, 174);
  for (const CanvasCall& call : Drawn(canvas)) EXPECT_EQ(call.kind, Kind::kText) << call;
  EXPECT_THAT(canvas.CallsOf(Kind::kRectangle), IsEmpty());
}

}  // namespace
}  // namespace blok
