#include "editing/picking.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "support/editing_support.h"
#include "support/random_drawing.h"
#include "support/recording_canvas.h"
#include "view/font_file.h"

namespace blok {
namespace {

using ::blok::testing::MakeView;
using ::blok::testing::Parse;

using ::blok::testing::CanvasCall;
using ::blok::testing::RecordingCanvas;
using ::testing::IsEmpty;
using Kind = CanvasCall::Kind;

// 100 pixels a unit, origin at pixel (100, 100): (x, y) is at (100 + 100x, 100 - 100y).
ViewTransform HundredPixelView() { return MakeView(10); }

// "A" advances 20 font units: a text of width 1 is 0.236 long per letter.
const StrokeFont& TestFont() {
  static const StrokeFont font =
      DecodeStrokeFont(blok::testing::FontFileBytes(
                           std::vector{blok::testing::MakeGlyph('A', 20, {{0, 0, 20, 10}}),
                                       blok::testing::MakeGlyph('i', 5, {{0, 0, 0, 10}})}))
          .value();
  return font;
}

struct PickCase {
  const char* name;
  std::vector<std::string> lines;
  int x, y;
  int picked;
};

class FindNearest : public ::testing::TestWithParam<PickCase> {};

TEST_P(FindNearest, PicksWithinTenPixels) {
  const PickCase& c = GetParam();
  EXPECT_EQ(FindNearestEntity(Parse(c.lines), HundredPixelView(), TestFont(), c.x, c.y), c.picked);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FindNearest,
    ::testing::Values(
        PickCase{"EqualDistanceLowerIndex",
                 {"L(-1,0.05)-(1,0.05)", "L(-1,-0.05)-(1,-0.05)"},
                 100,
                 100,
                 0},
        PickCase{"EqualDistanceLowerIndexEitherWay",
                 {"L(-1,-0.05)-(1,-0.05)", "L(-1,0.05)-(1,0.05)"},
                 100,
                 100,
                 0},
        PickCase{"NearerLaterLine",
                 {"L(-1,0.08)-(1,0.08)", "O(0,0,0.5)", "L(-1,0.02)-(1,0.02)"},
                 100,
                 100,
                 2},
        PickCase{"TenPixelsPicks", {"L(-1,0)-(1,0)"}, 100, 110, 0},
        PickCase{"ElevenPixelsDoNot", {"L(-1,0)-(1,0)"}, 100, 111, -1},
        // Through pixels (0, 100) and (200, 99): 9.5 and 10.5 pixels below it.
        PickCase{"NineAndAHalfPixels", {"L(-1,0)-(1,0.01)"}, 100, 109, 0},
        PickCase{"TenAndAHalfPixels", {"L(-1,0)-(1,0.01)"}, 100, 110, -1},
        PickCase{"BeyondTheEndOfALine", {"L(-1,0)-(0,0)"}, 111, 100, -1},
        PickCase{"AlongTheLineBeyondItsEnd", {"L(-1,0)-(0,0)"}, 110, 100, 0},
        // An arc is picked only along its drawn sweep: 0 to 90 degrees, 50 pixels round the
        // origin's pixel.
        PickCase{"ArcAlongItsUndrawnPart", {"LUK(0,0,0.5,0,90)"}, 100, 150, -1},
        PickCase{"ArcOppositeItsSweep", {"LUK(0,0,0.5,0,90)"}, 50, 100, -1},
        PickCase{"ArcInItsSweep", {"LUK(0,0,0.5,0,90)"}, 135, 65, 0},
        PickCase{"ArcAtItsEnd", {"LUK(0,0,0.5,0,90)"}, 100, 50, 0},
        // Past the ends the distance is to the nearer end point: 5 and 12 pixels.
        PickCase{"ArcNearItsEnd", {"LUK(0,0,0.5,0,90)"}, 95, 50, 0},
        PickCase{"ArcTooFarPastItsEnd", {"LUK(0,0,0.5,0,90)"}, 88, 50, -1},
        PickCase{"ArcNearItsStartFromBelow", {"LUK(0,0,0.5,0,90)"}, 150, 106, 0},
        // From 300 through 0 to 30 degrees.
        PickCase{"ArcAcrossZeroAtZero", {"LUK(0,0,0.5,300,30)"}, 150, 100, 0},
        PickCase{"ArcAcrossZeroAtItsStart", {"LUK(0,0,0.5,300,30)"}, 125, 143, 0},
        PickCase{"ArcAcrossZeroNotAtNinety", {"LUK(0,0,0.5,300,30)"}, 100, 50, -1},
        PickCase{"ArcAcrossZeroNotAtTwoSeventy", {"LUK(0,0,0.5,300,30)"}, 100, 150, -1},
        // A negative radius draws the sweep opposite, from 180 to 270 degrees.
        PickCase{"ArcOfNegativeRadius", {"LUK(0,0,-0.5,0,90)"}, 50, 100, 0},
        PickCase{"ArcOfNegativeRadiusNotAtItsAngles", {"LUK(0,0,-0.5,0,90)"}, 150, 100, -1},
        // The undrawn part of a later arc no longer hides an earlier line.
        PickCase{"LineUnderAnArcsUndrawnPart",
                 {"L(-1,-0.53)-(1,-0.53)", "LUK(0,0,0.5,0,90)"},
                 100,
                 150,
                 0},
        PickCase{"ArcNotAtItsCentre", {"LUK(0,0,0.5,0,90)"}, 100, 100, -1},
        PickCase{"CircleFromInside", {"O(0,0,0.5)"}, 100, 58, 0},
        PickCase{"RectangleNotInItsMiddle", {"P(-0.5,-0.5)-(0.5,0.5)"}, 100, 100, -1},
        PickCase{"RectangleByAnEdge", {"P(-0.5,-0.5)-(0.5,0.5)"}, 55, 100, 0},
        PickCase{"RectangleByItsLastEdge", {"P(-0.5,-0.5)-(0.5,0.5)"}, 100, 145, 0},
        // The letters of T(0,0,'AA',0.5,1,0) fill pixels 100..148 across and 94..100 down.
        PickCase{"TextOnItsPickSegment", {"T(0,0,'AA',0.5,1,0)"}, 145, 90, 0},
        PickCase{"TextAtItsInsertionPoint", {"T(0,0,'AA',0.5,1,0)"}, 100, 100, 0},
        PickCase{"TextTenPixelsBelowItsLetters", {"T(0,0,'AA',0.5,1,0)"}, 100, 110, 0},
        PickCase{"TextElevenPixelsBelowItsLetters", {"T(0,0,'AA',0.5,1,0)"}, 100, 111, -1},
        PickCase{"TextBeyondItsEnd", {"T(0,0,'AA',0.5,1,0)"}, 158, 90, -1},
        // Upright: the segment runs up on the left of the insertion point, 10 pixels off.
        PickCase{"UprightText", {"T(0,0,'AA',0.5,1,90)"}, 92, 55, 0},
        PickCase{"UprightTextNotFarOnTheRight", {"T(0,0,'AA',0.5,1,90)"}, 111, 55, -1},
        // Far from the insertion point, near the end of a long text: a bound on the length
        // that was too short would skip it.
        PickCase{"LongTextAtItsFarEnd", {"T(-1,0,'AAAAAAAAAAAA',0.5,1,0)"}, 280, 90, 0},
        PickCase{"NarrowLettersShorten", {"T(0,0,'Aiiii',0.5,1,0)"}, 148, 90, 0},
        PickCase{"NarrowLettersShortenBeyond", {"T(0,0,'Aiiii',0.5,1,0)"}, 159, 90, -1},
        PickCase{"OnlyEntitiesTakePart",
                 {"K(0,0,0)", "GR(1)", "L(0,0)-(1", "// L(0,0)-(1,0)", "L(-1,0)-(1,0)"},
                 100,
                 100,
                 4},
        PickCase{"LeadingBlanks", {"   L(-1,0)-(1,0)"}, 100, 100, 0},
        PickCase{"EmptyDrawing", {}, 100, 100, -1}),
    [](const auto& info) { return info.param.name; });

// "a" advances 10 font units, "ą" (CP1250 0xB9) 40: the widest glyph lies outside ASCII and
// takes two bytes in UTF-8.
const StrokeFont& WideLetterFont() {
  static const StrokeFont font =
      DecodeStrokeFont(blok::testing::FontFileBytes(
                           std::vector{blok::testing::MakeGlyph('a', 10, {{0, 0, 10, 10}}),
                                       blok::testing::MakeGlyph(0xB9, 40, {{0, 0, 40, 10}})}))
          .value();
  return font;
}

class FindNearestInWideLetters : public ::testing::TestWithParam<PickCase> {};

// The box pre-test bounds a text's length by its widest glyph: a bound taken from the wrong
// glyph would skip the far end of a long text.
TEST_P(FindNearestInWideLetters, PicksAlongTheWholeText) {
  const PickCase& c = GetParam();
  EXPECT_EQ(FindNearestEntity(Parse(c.lines), HundredPixelView(), WideLetterFont(), c.x, c.y),
            c.picked);
}

// Ten "ą" of width 1 are 4.72 long: the pick segment of T(-1,0,...,0.5,1,0) runs from pixel
// (0, 90) to about (472, 90).
INSTANTIATE_TEST_SUITE_P(
    Cases, FindNearestInWideLetters,
    ::testing::Values(PickCase{"FarEnd", {"T(-1,0,'ąąąąąąąąąą',0.5,1,0)"}, 465, 90, 0},
                      PickCase{"BeyondTheFarEnd", {"T(-1,0,'ąąąąąąąąąą',0.5,1,0)"}, 490, 90, -1},
                      // Five "a" and five "ą": 2.95 long, to about pixel 295.
                      PickCase{"MixedFarEnd", {"T(-1,0,'aąaąaąaąaą',0.5,1,0)"}, 290, 90, 0},
                      PickCase{"MixedBeyond", {"T(-1,0,'aąaąaąaąaą',0.5,1,0)"}, 310, 90, -1},
                      // Upright, the segment runs up 10 pixels left of the insertion point.
                      PickCase{"UprightFarEnd", {"T(0,-4,'ąąąąąąąąąą',0.5,1,90)"}, 90, 40, 0}),
    [](const auto& info) { return info.param.name; });

// 100 pixels a unit, the origin at pixel (500, 500): (x, y) is at (500 + 100x, 500 - 100y).
ViewTransform WideHundredPixelView() {
  ViewTransform view;
  view.SetViewSize(1000, 1000);
  view.SetScale(10);
  return view;
}

// Letters of height 1.2 stand 14.4 pixels high and advance 24 a character: those of
// T(-1,0,'AAAAAAAAAA',1.2,1,0) cover pixels 400..640 across and 485.6..500 down, most of them
// far from the insertion point.
class FindNearestOnLetters : public ::testing::TestWithParam<PickCase> {};

TEST_P(FindNearestOnLetters, PicksAnywhereWithinTheDrawnBox) {
  const PickCase& c = GetParam();
  EXPECT_EQ(FindNearestEntity(Parse(c.lines), WideHundredPixelView(), TestFont(), c.x, c.y),
            c.picked);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FindNearestOnLetters,
    ::testing::Values(
        PickCase{"MiddleOfTheLetters", {"T(-1,0,'AAAAAAAAAA',1.2,1,0)"}, 520, 492, 0},
        PickCase{"FarEndOfTheLetters", {"T(-1,0,'AAAAAAAAAA',1.2,1,0)"}, 638, 488, 0},
        PickCase{"AboveTheLetters", {"T(-1,0,'AAAAAAAAAA',1.2,1,0)"}, 520, 470, -1},
        // Turned by 90 degrees the letters run up from pixel (500, 500), 14 pixels to its left.
        PickCase{"TurnedLetters", {"T(0,0,'AAAAAAAAAA',1.2,1,90)"}, 492, 300, 0},
        PickCase{"NotWhereTheyWouldBeUnturned", {"T(0,0,'AAAAAAAAAA',1.2,1,90)"}, 620, 492, -1},
        // Turned by 180 degrees they hang left and down.
        PickCase{"UpsideDownLetters", {"T(0,0,'AAAAAAAAAA',1.2,1,180)"}, 400, 508, 0},
        PickCase{"NegativeWidthRunsLeft", {"T(0,0,'AAAAAAAAAA',1.2,-1,0)"}, 400, 492, 0},
        PickCase{"NegativeHeightHangsDown", {"T(0,0,'AAAAAAAAAA',-1.2,1,0)"}, 600, 508, 0},
        // Over the letters the text wins against an outline 3 pixels off...
        PickCase{"OverAnEarlierCircle",
                 {"O(0.2,-0.05,0.16)", "T(-1,0,'AAAAAAAAAA',1.2,1,0)"},
                 520,
                 492,
                 1},
        // ...but a line drawn across them is still picked on its own pixels, before or after.
        PickCase{"LineAcrossTheLetters",
                 {"T(-1,0,'AAAAAAAAAA',1.2,1,0)", "L(-2,0.08)-(2,0.08)"},
                 520,
                 492,
                 1},
        PickCase{"EarlierLineAcrossTheLetters",
                 {"L(-2,0.08)-(2,0.08)", "T(-1,0,'AAAAAAAAAA',1.2,1,0)"},
                 520,
                 493,
                 0},
        // Blanks draw nothing: such a text is found at its insertion point.
        PickCase{"BlanksAtTheInsertionPoint", {"T(0,0,'   ',1.2,1,0)"}, 505, 500, 0},
        PickCase{"BlanksBeyondTheInsertionPoint", {"T(0,0,'   ',1.2,1,0)"}, 512, 500, -1}),
    [](const auto& info) { return info.param.name; });

struct PairCase {
  const char* name;
  std::vector<std::string> lines;
  NearestPair pair;
};

class TwoNearest : public ::testing::TestWithParam<PairCase> {};

TEST_P(TwoNearest, WithinAHundredPixelsOfTheOrigin) {
  const PairCase& c = GetParam();
  EXPECT_EQ(FindTwoNearestEntities(Parse(c.lines), HundredPixelView(), TestFont(), 100, 100),
            c.pair);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TwoNearest,
    ::testing::Values(
        PairCase{"Ordered", {"O(0,0,0.3)", "L(-1,0.05)-(1,0.05)", "O(0,0,0.5)"}, {1, 0}},
        PairCase{
            "EqualKeepsDrawingOrder", {"L(-1,0.05)-(1,0.05)", "L(-1,-0.05)-(1,-0.05)"}, {0, 1}},
        PairCase{"ThirdEqualToSecondIsLeftOut",
                 {"O(0,0,0.2)", "L(-1,0.05)-(1,0.05)", "O(0,0,0.2)"},
                 {1, 0}},
        PairCase{"NewNearestPushesTheOldOneSecond",
                 {"O(0,0,0.5)", "O(0,0,0.3)", "O(0,0,0.4)", "L(-1,0.05)-(1,0.05)"},
                 {3, 1}},
        PairCase{"CircleSixtyPixelsAway", {"O(0,0,0.6)", "L(-1,0.05)-(1,0.05)"}, {1, 0}},
        PairCase{"NinetyNinePixels", {"L(-1,0.05)-(1,0.05)", "O(0,0,0.99)"}, {0, 1}},
        PairCase{"AHundredPixelsIsOut", {"L(-1,0.05)-(1,0.05)", "O(0,0,1)"}, {0, -1}},
        // A segment gives up 10 pixels beyond its box, however short of 100 it is.
        PairCase{"SegmentFarBeyondItsBox", {"L(0.5,0)-(1,0)"}, {-1, -1}},
        PairCase{"NothingNear", {"O(5,5,1)", "K(0,0,0)"}, {-1, -1}},
        PairCase{"EmptyDrawing", {}, {-1, -1}}),
    [](const auto& info) { return info.param.name; });

// The box pre-tests only save work: every search must find what measuring every entity finds.
TEST(PickingPreTests, AgreeWithMeasuringEveryEntity) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> pixel(-20, 1020);
  const std::vector<std::string> lines = blok::testing::RandomLines(random, 400);
  const std::vector<ParsedEntity> records = Parse(lines);
  Drawing drawing;
  drawing.Load(lines);
  for (const double scale : {1.0, 24.0, 60.0}) {
    ViewTransform view;
    view.SetViewSize(1000, 1000);
    view.SetScale(scale);
    for (int probe = 0; probe < 300; ++probe) {
      const int x = pixel(random), y = pixel(random);
      std::vector<float> d;
      for (const ParsedEntity& e : records)
        d.push_back(EntityPixelDistance(e, view, TestFont(), x, y));
      int nearest = -1, first = -1, second = -1;
      for (int i = 0; i < static_cast<int>(d.size()); ++i) {
        if (d[i] <= kPickReach && (nearest < 0 || d[i] < d[nearest])) nearest = i;
        if (d[i] >= kPairReach) continue;
        if (first < 0 || d[i] < d[first]) {
          second = first;
          first = i;
        } else if (second < 0 || d[i] < d[second]) {
          second = i;
        }
      }
      ASSERT_EQ(FindNearestEntity(records, view, TestFont(), x, y), nearest)
          << "scale " << scale << " at " << x << "," << y;
      ASSERT_EQ(FindNearestEntity(drawing, view, TestFont(), x, y), nearest)
          << "by the drawing's boxes, scale " << scale << " at " << x << "," << y;
      ASSERT_EQ(FindTwoNearestEntities(records, view, TestFont(), x, y),
                (NearestPair{first, second}))
          << "scale " << scale << " at " << x << "," << y;
    }
  }
}

TEST(PickAndHighlight, HighlightsOnlyWhatItFinds) {
  const std::vector<ParsedEntity> records = Parse({"O(5,5,1)", "L(-1,0)-(1,0);GR(2)"});
  ReadingDefaults defaults;
  RecordingCanvas canvas;
  EXPECT_EQ(PickAndHighlight(canvas, records, HundredPixelView(), TestFont(), defaults, 100, 105),
            1);
  const std::vector<CanvasCall> lines = canvas.CallsOf(Kind::kLine);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].ints, (std::vector<int>{0, 100, 200, 100}));
  EXPECT_EQ(lines[0].pen, (blok::testing::PenState{0x0000FF, 0, PenStyle::kDotted}));
  EXPECT_THAT(canvas.CallsOf(Kind::kText), IsEmpty());

  RecordingCanvas missed;
  EXPECT_EQ(PickAndHighlight(missed, records, HundredPixelView(), TestFont(), defaults, 100, 150),
            -1);
  EXPECT_THAT(missed.calls(), IsEmpty());
}

TEST(PickAndShowThickness, LabelsTheEntityFound) {
  Drawing drawing;
  drawing.Load({"L(-1,0)-(1,0)"});
  ReadingDefaults defaults;
  defaults.thickness = 0.35f;
  RecordingCanvas canvas;
  EXPECT_EQ(
      PickAndShowThickness(canvas, drawing, HundredPixelView(), TestFont(), defaults, 30, 104), 0);
  const std::vector<CanvasCall> texts = canvas.CallsOf(Kind::kText);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, "gr = 0,1");
  EXPECT_EQ(texts[0].ints[0], 100);
  EXPECT_EQ(texts[0].ints[1], 100);
}

}  // namespace
}  // namespace blok
