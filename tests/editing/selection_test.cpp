#include "editing/selection.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "document/drawing.h"
#include "document/journal.h"
#include "model/numbers.h"
#include "support/editing_support.h"
#include "support/recording_canvas.h"
#include "view/font_file.h"

namespace blok {
namespace {

using ::blok::testing::HundredPixelView;
using ::blok::testing::Parse;

using ::blok::testing::RecordingCanvas;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using ::testing::Not;
using Lines = std::vector<std::string>;

// 100 pixels a unit, origin at pixel (100, 100): (x, y) is at (100 + 100x, 100 - 100y).

// "A" advances 20 font units: a text of width 1 is 0.236 long per letter.
const StrokeFont& TestFont() {
  static const StrokeFont font =
      DecodeStrokeFont(blok::testing::FontFileBytes(
                           std::vector{blok::testing::MakeGlyph('A', 20, {{0, 0, 20, 10}})}))
          .value();
  return font;
}

// The flags and the count a selection of these indices must leave.
void ExpectSelected(const Selection& s, const Lines& lines, const std::vector<int>& picked) {
  std::vector<std::uint8_t> flags(lines.size(), 0);
  for (int i : picked) flags[i] = 1;
  EXPECT_THAT(s.flags, ElementsAreArray(flags));
  EXPECT_EQ(s.count, picked.size());
}

constexpr StretchWindow kUnitWindow{-1, 1, -1, 1};

struct WindowCase {
  const char* name;
  Lines lines;
  StretchWindow window;
  std::vector<int> selected;
};

class WindowSelection : public ::testing::TestWithParam<WindowCase> {};

TEST_P(WindowSelection, CatchesByKind) {
  const WindowCase& c = GetParam();
  Selection s;
  s.count = 7;  // left over from the last selection
  const bool any = SelectByWindow(Parse(c.lines), TestFont(), s, c.window);
  EXPECT_EQ(any, !c.selected.empty());
  ExpectSelected(s, c.lines, c.selected);
}

// Over a drawing the compact boxes are read first; nothing may change by it.
TEST_P(WindowSelection, TheSameOverADrawing) {
  const WindowCase& c = GetParam();
  Drawing drawing;
  drawing.Load(c.lines);
  Selection s;
  s.count = 7;  // left over from the last selection
  const bool any = SelectByWindow(drawing, TestFont(), s, c.window);
  EXPECT_EQ(any, !c.selected.empty());
  ExpectSelected(s, c.lines, c.selected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WindowSelection,
    ::testing::Values(
        WindowCase{"LineInside", {"L(-0.5,-0.5)-(0.5,0.3)"}, kUnitWindow, {0}},
        WindowCase{"LineCrossingFromOutside", {"L(-2,0)-(0,0)"}, kUnitWindow, {0}},
        WindowCase{"LineThroughWithBothEndsOutside", {"L(-2,-0.5)-(2,0.5)"}, kUnitWindow, {0}},
        // The kernel lets a crossing fall 0.001 beyond a segment's end.
        WindowCase{"LineEndingJustShortOfASide", {"L(-2,0)-(-1.0005,0)"}, kUnitWindow, {0}},
        WindowCase{"LineEndingShortOfASide", {"L(-2,0)-(-1.002,0)"}, kUnitWindow, {}},
        WindowCase{"LineOutside", {"L(1.5,-2)-(1.5,2)"}, kUnitWindow, {}},
        WindowCase{"LineWithLeadingBlanks", {"   L(-0.5,-0.5)-(0.5,0.3)"}, kUnitWindow, {0}},
        WindowCase{"RectangleCornerInside", {"P(0.5,0.5)-(5,5)"}, kUnitWindow, {0}},
        WindowCase{"RectangleCornerOnTheEdge", {"P(1,1)-(5,5)"}, kUnitWindow, {0}},
        WindowCase{"RectangleLastCornerInside", {"P(5,5)-(0.5,0.5)"}, kUnitWindow, {0}},
        WindowCase{"RectangleEnclosingTheWindow", {"P(-5,-5)-(5,5)"}, kUnitWindow, {}},
        WindowCase{"RectangleOnlyCrossing", {"P(-5,-0.5)-(5,0.5)"}, kUnitWindow, {}},
        WindowCase{"CircleCrossingOneEdge", {"O(1,0,0.5)"}, kUnitWindow, {0}},
        WindowCase{"CircleCrossingTheTop", {"O(0,1.2,0.5)"}, kUnitWindow, {0}},
        WindowCase{"CircleInside", {"O(0,0,0.5)"}, kUnitWindow, {0}},
        WindowCase{"CircleEnclosingTheWindow", {"O(0,0,5)"}, kUnitWindow, {}},
        WindowCase{"CircleOutside", {"O(3,0,0.5)"}, kUnitWindow, {}},
        // Its box overlaps the window's corner, the circle does not.
        WindowCase{"CircleNearACorner", {"O(1.4,1.4,0.5)"}, kUnitWindow, {}},
        // A negative radius draws the same circle as its size.
        WindowCase{"NegativeRadiusEnclosing", {"O(0,0,-5)"}, kUnitWindow, {}},
        WindowCase{"NegativeRadiusNearACorner", {"O(1.4,1.4,-0.5)"}, kUnitWindow, {}},
        WindowCase{"NegativeRadiusCrossingASide", {"O(1,0,-0.5)"}, kUnitWindow, {0}},
        WindowCase{"ArcCircleInside", {"LUK(0,0,0.5,0,10)"}, kUnitWindow, {0}},
        // The circle crosses the right side at 90 and 270 degrees; the arc lies beyond it.
        WindowCase{"ArcOutsideItsAngles", {"LUK(1,0,0.5,300,60)"}, kUnitWindow, {}},
        WindowCase{"ArcWithinItsAngles", {"LUK(1,0,0.5,60,120)"}, kUnitWindow, {0}},
        // Centred 0.3 left of the window: its circle crosses the left side at -53.13 and 53.13
        // degrees. These arcs start outside and come in across the lower crossing.
        WindowCase{"ArcAcrossZero", {"LUK(-1.3,0,0.5,300,30)"}, kUnitWindow, {0}},
        WindowCase{"ArcPastAFullTurn", {"LUK(-1.3,0,0.5,660,670)"}, kUnitWindow, {0}},
        WindowCase{"ArcBelowZero", {"LUK(-1.3,0,0.5,-60,-50)"}, kUnitWindow, {0}},
        // Across zero on the right of a circle whose crossings lie on its left: taken the other
        // way round, 60 to 300 degrees, it would come in.
        WindowCase{"ArcAcrossZeroStayingOut", {"LUK(1.3,0,0.5,300,60)"}, kUnitWindow, {}},
        WindowCase{"ArcShortOfTheCrossing", {"LUK(-1.3,0,0.5,200,300)"}, kUnitWindow, {}},
        WindowCase{"ArcAfterTheCrossing", {"LUK(-1.3,0,0.5,60,200)"}, kUnitWindow, {}},
        WindowCase{"ArcFullTurnFromAnywhere", {"LUK(-1.3,0,0.5,100,460)"}, kUnitWindow, {0}},
        // Drawn on the far side of its centre: 300 to 310 degrees.
        WindowCase{"ArcWithNegativeRadius", {"LUK(-1.3,0,-0.5,120,130)"}, kUnitWindow, {0}},
        WindowCase{"ArcWithNegativeRadiusAway", {"LUK(-1.3,0,-0.5,300,310)"}, kUnitWindow, {}},
        // All of the arc inside while the rest of its circle leaves across the right side.
        WindowCase{"ArcWhollyInside", {"LUK(0.8,0,0.5,120,240)"}, kUnitWindow, {0}},
        // The circle crosses the left side at -36.87 degrees, 0.004 right of its centre.
        WindowCase{"SmallArcComingIn", {"LUK(-1.004,0,0.005,320,330)"}, kUnitWindow, {0}},
        WindowCase{"SmallArcStayingOut", {"LUK(-1.004,0,0.005,100,260)"}, kUnitWindow, {}},
        // T(0,0,'AA',0.5,1,0): segments at y = 0.1 and y = 0.35, x from 0 to 0.472.
        WindowCase{"TextInside", {"T(0,0,'AA',0.5,1,0)"}, kUnitWindow, {0}},
        WindowCase{"TextByItsUpperSegment", {"T(0,0,'AA',0.5,1,0)"}, {-1, 1, 0.3, 1}, {0}},
        WindowCase{"TextAboveBoth", {"T(0,0,'AA',0.5,1,0)"}, {-1, 1, 0.4, 1}, {}},
        WindowCase{"TextCrossingASide", {"T(-1,0,'AA',0.5,1,0)"}, {-0.8, 1, -1, 1}, {0}},
        WindowCase{"TextOutside", {"T(3,0,'AA',0.5,1,0)"}, kUnitWindow, {}},
        // Inserted outside the window, its segments reach in at 45 degrees.
        WindowCase{"TurnedTextReachingIn", {"T(-1.5,-1.5,'AAAAAAAA',0.5,1,45)"}, kUnitWindow, {0}},
        WindowCase{"UprightTextBeside", {"T(-1.2,-0.5,'AAAA',0.5,1,90)"}, kUnitWindow, {}},
        WindowCase{"OnlyReadableEntities",
                   {"K(0,0,0)", "GR(1)", "L(0,0)-(1", "// L(0,0)-(1,0)", "O(0,0,0.5)"},
                   kUnitWindow,
                   {4}},
        WindowCase{
            "InDrawingOrder",
            {"L(-0.5,0)-(0.5,0)", "O(9,9,1)", "P(0,0)-(0.5,0.5)", "K(1,2,3)", "LUK(0,0,0.5,0,90)"},
            kUnitWindow,
            {0, 2, 4}},
        WindowCase{"DraggedTheOtherWay", {"O(0,0,0.5)", "O(3,0,0.5)"}, {1, -1, 1, -1}, {0}},
        WindowCase{"EmptyDrawing", {}, kUnitWindow, {}}),
    [](const auto& info) { return info.param.name; });

// Selections over the drawing and over its records alone, for windows on the drawing's edges.
void ExpectTheSameOverTheDrawing(const Drawing& drawing, const std::vector<StretchWindow>& windows,
                                 const std::string& step) {
  const Lines lines(drawing.lines().begin(), drawing.lines().end());
  for (const StretchWindow& w : windows) {
    Selection by_records;
    Selection by_drawing;
    SelectByWindow(drawing.records(), TestFont(), by_records, w);
    SelectByWindow(drawing, TestFont(), by_drawing, w);
    EXPECT_EQ(by_drawing.flags, by_records.flags)
        << step << ", window " << w.left << " " << w.right << " " << w.bottom << " " << w.top;
    EXPECT_EQ(by_drawing.count, by_records.count) << step;
  }
}

// Entities on and about the sides of the unit window, closer to them than single precision
// tells apart, and some beyond its range: the compact boxes must never decide otherwise.
TEST(SelectByWindow, CompactBoxesDecideNothingOtherwise) {
  std::mt19937 random(5);
  // A side of the window, or a little off it, by steps from a double's to a float's rounding.
  const auto near_side = [&](double side) {
    static constexpr double kSteps[] = {0,     1e-15, -1e-15, 6e-8,  -6e-8, 1e-7,
                                        -1e-7, 0.001, -0.001, 0.011, -0.011};
    return side + kSteps[random() % std::size(kSteps)];
  };
  const auto coordinate = [&] {
    switch (random() % 6) {
      case 0:
        return near_side(-1);
      case 1:
        return near_side(1);
      case 2:
        return near_side(-0.99);  // about the inner margin of well inside
      case 3:
        return near_side(0.99);
      case 4:
        return std::uniform_real_distribution<double>(-1.5, 1.5)(random);
      default:
        return (random() % 2 ? 1 : -1) * (random() % 2 ? 1e39 : 3.4028234e38);
    }
  };
  const auto n = [](double v) { return FormatPattern(v, "0.#################"); };
  Lines lines;
  for (int i = 0; i < 3000; ++i) {
    const double x = coordinate(), y = coordinate(), u = coordinate(), v = coordinate();
    const double r = std::fabs(u - x) / 2 * (random() % 4 ? 1 : -1);
    switch (i % 6) {
      case 0:
        lines.push_back("L(" + n(x) + "," + n(y) + ")-(" + n(u) + "," + n(v) + ")");
        break;
      case 1:
        lines.push_back("P(" + n(x) + "," + n(y) + ")-(" + n(u) + "," + n(v) + ")");
        break;
      case 2:
        lines.push_back("O(" + n(x) + "," + n(y) + "," + n(r) + ")");
        break;
      case 3:
        lines.push_back("LUK(" + n(x) + "," + n(y) + "," + n(r) + "," +
                        std::to_string(random() % 720) + "," + std::to_string(random() % 720) +
                        ")");
        break;
      case 4:
        lines.push_back("T(" + n(x) + "," + n(y) + ",'AA',0.5,1," + std::to_string(random() % 360) +
                        ")");
        break;
      default:
        lines.push_back(random() % 2 ? "K(1,2,3)" : "L(0,0)-(1");
        break;
    }
  }
  Drawing drawing;
  drawing.Load(lines);
  ExpectTheSameOverTheDrawing(drawing,
                              {kUnitWindow,
                               {-0.99, 0.99, -0.99, 0.99},
                               {-1e39, 1e39, -1e39, 1e39},
                               {1, 1, -1, 1},
                               {0.5, 3.4e38, -3.4e38, 0.5}},
                              "loaded");
}

// The compact boxes follow every change the journal makes, and its undo and redo.
TEST(SelectByWindow, TheDrawingsBoxesFollowItsChanges) {
  Drawing drawing;
  drawing.Load(
      {"L(-0.5,0)-(0.5,0)", "O(3,0,0.5)", "K(1,2,3)", "T(0,0,'AA',0.5,1,0)", "P(0,0)-(0.5,0.5)"});
  Journal journal(drawing);
  const std::vector<StretchWindow> windows{kUnitWindow, {2, 4, -1, 1}, {-1, 4, -1, 1}};
  const auto check = [&](const std::string& step) {
    ASSERT_EQ(drawing.boxes().size(), drawing.size()) << step;
    for (size_t i = 0; i < drawing.size(); ++i) {
      const CompactBox expected = CompactBoxOf(drawing.records()[i]);
      const CompactBox& box = drawing.boxes()[i];
      EXPECT_TRUE(box.left == expected.left && box.right == expected.right &&
                  box.bottom == expected.bottom && box.top == expected.top)
          << step << ", line " << i;
    }
    ExpectTheSameOverTheDrawing(drawing, windows, step);
  };
  check("loaded");
  // Enough adds at line 0 to make the drawing grow room in front of it.
  for (int i = 0; i < 20; ++i) journal.DodajObiekt("O(" + std::to_string(i % 5) + ",0,0.5)");
  check("added");
  journal.UsunObiekt(3);
  journal.UsunObiekt(22);  // beyond the middle: the back of the drawing moves
  check("deleted");
  journal.ZmienObiekt(0, "O(3,0,0.5)");
  journal.ZmienObiekt(20, "T(0,0,'AA',0.5,1,0)");
  journal.ZmienObiekt(21, "GR(1)");
  check("replaced");
  while (journal.Undo()) {
  }
  check("undone");
  while (journal.Redo()) {
  }
  check("redone");
  drawing.Clear();
  check("cleared");
}

TEST(SelectByWindow, KeepsTheWindowNormalisedInSinglePrecision) {
  Selection s;
  SelectByWindow(std::span<const ParsedEntity>(), TestFont(), s, {0.1, -0.3, 2.7, -1.9});
  EXPECT_EQ(s.window.left, double{-0.3f});
  EXPECT_EQ(s.window.right, double{0.1f});
  EXPECT_EQ(s.window.bottom, double{-1.9f});
  EXPECT_EQ(s.window.top, double{2.7f});
}

// Lines on the screen: y = 0.05 is pixel row 95, x = 0.1 pixel column 110.
struct GestureCase {
  const char* name;
  Lines lines;
  int press_x, press_y, release_x, release_y;
  std::vector<int> selected;
  bool highlighted;  // a pick by point shows the entity on the overlay
};

class Gesture : public ::testing::TestWithParam<GestureCase> {};

TEST_P(Gesture, ClickOrWindow) {
  const GestureCase& c = GetParam();
  RecordingCanvas overlay;
  Selection s;
  const bool any =
      SelectByGesture(overlay, Parse(c.lines), HundredPixelView(), TestFont(), ReadingDefaults{}, s,
                      c.press_x, c.press_y, c.release_x, c.release_y);
  EXPECT_EQ(any, !c.selected.empty());
  ExpectSelected(s, c.lines, c.selected);
  EXPECT_EQ(overlay.calls().empty(), !c.highlighted);
}

TEST_P(Gesture, TheSameOverADrawing) {
  const GestureCase& c = GetParam();
  Drawing drawing;
  drawing.Load(c.lines);
  RecordingCanvas overlay;
  Selection s;
  const bool any =
      SelectByGesture(overlay, drawing, HundredPixelView(), TestFont(), ReadingDefaults{}, s,
                      c.press_x, c.press_y, c.release_x, c.release_y);
  EXPECT_EQ(any, !c.selected.empty());
  ExpectSelected(s, c.lines, c.selected);
  EXPECT_EQ(overlay.calls().empty(), !c.highlighted);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Gesture,
    ::testing::Values(
        // 3 right and 1 down is a click at (101, 100), 5 pixels from the line; 3 and 2 is a
        // window that the line misses.
        GestureCase{"FourPixelsIsAClick", {"L(-1,0.05)-(1,0.05)"}, 100, 100, 103, 101, {0}, true},
        GestureCase{"FivePixelsIsAWindow", {"L(-1,0.05)-(1,0.05)"}, 100, 100, 103, 102, {}, false},
        GestureCase{"UpAndLeftToo", {"L(-1,0.05)-(1,0.05)"}, 103, 101, 100, 100, {0}, true},
        // (99 + 100) / 2 truncates to 99, 11 pixels from the line.
        GestureCase{"MidpointTruncated", {"L(0.1,-1)-(0.1,1)"}, 99, 100, 100, 100, {}, false},
        GestureCase{"MidpointOnTheReach", {"L(0.1,-1)-(0.1,1)"}, 100, 100, 100, 100, {0}, true},
        GestureCase{"ClickOnNothing", {"O(5,5,1)"}, 100, 100, 100, 100, {}, false},
        // The nearest of two, the earlier of equals.
        GestureCase{"ClickTakesOne",
                    {"L(-1,0.05)-(1,0.05)", "L(-1,-0.05)-(1,-0.05)", "L(-1,0.02)-(1,0.02)"},
                    100,
                    100,
                    100,
                    100,
                    {2},
                    true},
        GestureCase{"WindowTakesAll",
                    {"L(-1,0.05)-(1,0.05)", "L(-1,-0.05)-(1,-0.05)", "O(5,5,1)"},
                    90,
                    90,
                    110,
                    110,
                    {0, 1},
                    false}),
    [](const auto& info) { return info.param.name; });

TEST(SelectByGesture, DragDirectionMakesNoDifference) {
  const Lines lines{"L(0.1,-0.1)-(0.2,-0.2)", "O(0.25,-0.25,0.1)", "P(0.6,0)-(1,1)", "O(5,5,1)"};
  const auto records = Parse(lines);
  struct Drag {
    int x1, y1, x2, y2;
  };
  Selection first;
  for (const Drag d : {Drag{100, 100, 150, 150}, Drag{150, 150, 100, 100}, Drag{150, 100, 100, 150},
                       Drag{100, 150, 150, 100}}) {
    RecordingCanvas overlay;
    Selection s;
    SelectByGesture(overlay, records, HundredPixelView(), TestFont(), ReadingDefaults{}, s, d.x1,
                    d.y1, d.x2, d.y2);
    ExpectSelected(s, lines, {0, 1});
    EXPECT_EQ(s.window.left, 0);
    EXPECT_EQ(s.window.right, 0.5);
    EXPECT_EQ(s.window.bottom, -0.5);
    EXPECT_EQ(s.window.top, 0);
  }
}

TEST(SelectByGesture, AClickKeepsTheRectangleBetweenItsPixels) {
  const Lines lines{"L(-1,0)-(1,0)"};
  RecordingCanvas overlay;
  Selection s;
  ASSERT_TRUE(SelectByGesture(overlay, Parse(lines), HundredPixelView(), TestFont(),
                              ReadingDefaults{}, s, 103, 101, 100, 100));
  EXPECT_EQ(s.window.left, 0);
  EXPECT_EQ(s.window.right, double{0.03f});
  EXPECT_EQ(s.window.bottom, double{-0.01f});
  EXPECT_EQ(s.window.top, 0);
}

TEST(SelectByGesture, FarPixelsDoNotOverflow) {
  const Lines lines{"L(-1,0)-(1,0)"};
  RecordingCanvas overlay;
  Selection s;
  // Their difference is beyond an int: a window, not a click at a wrapped-round midpoint.
  constexpr int kFar = ViewTransform::kMaxPixel;
  EXPECT_TRUE(SelectByGesture(overlay, Parse(lines), HundredPixelView(), TestFont(),
                              ReadingDefaults{}, s, -kFar, -kFar, kFar, kFar));
  EXPECT_THAT(overlay.calls(), IsEmpty());
}

TEST(SelectByPoint, StartsAfresh) {
  const Lines lines{"L(-1,0)-(1,0)", "O(0,0,0.5)"};
  const auto records = Parse(lines);
  Selection s;
  ASSERT_TRUE(SelectByWindow(records, TestFont(), s, kUnitWindow));
  RecordingCanvas overlay;
  EXPECT_FALSE(SelectByPoint(overlay, records, HundredPixelView(), TestFont(), ReadingDefaults{}, s,
                             190, 190));
  ExpectSelected(s, lines, {});
  EXPECT_TRUE(SelectByPoint(overlay, records, HundredPixelView(), TestFont(), ReadingDefaults{}, s,
                            100, 150));
  ExpectSelected(s, lines, {1});
  EXPECT_THAT(overlay.calls(), Not(IsEmpty()));
}

TEST(ResetSelectionFlags, OneClearFlagPerLine) {
  Selection s;
  s.flags = {1, 1};
  s.count = 2;
  ResetSelectionFlags(s, 3);
  EXPECT_THAT(s.flags, ElementsAreArray({0, 0, 0}));
  EXPECT_EQ(s.count, 2u);
}

}  // namespace
}  // namespace blok
