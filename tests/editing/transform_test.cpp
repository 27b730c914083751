#include "editing/transform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include "document/drawing.h"
#include "document/journal.h"
#include "support/editing_support.h"

namespace blok {
namespace {

using ::blok::testing::Apply;
using Lines = std::vector<std::string>;
using Operation = std::function<EditChanges(std::span<const ParsedEntity>, Selection&)>;

// An angle typed in degrees, as the command line turns it into radians.
float Degrees(double degrees) { return static_cast<float>(degrees * 3.141592654 / 180); }

Selection Select(const Drawing& drawing, const std::vector<int>& indices,
                 StretchWindow window = {}) {
  Selection selection;
  selection.flags.assign(drawing.size(), 0);
  for (int i : indices) selection.flags[i] = 1;
  selection.count = indices.size();
  selection.window = window;
  return selection;
}

Lines LinesOf(const Drawing& drawing) {
  return Lines(drawing.lines().begin(), drawing.lines().end());
}

// The kinds of the changes in order: R replace, A add, D delete.
std::string Kinds(const EditChanges& changes) {
  std::string kinds;
  for (const EditChange& change : changes) {
    kinds += change.kind == EditChange::Kind::kReplace ? 'R'
             : change.kind == EditChange::Kind::kAdd   ? 'A'
                                                       : 'D';
  }
  return kinds;
}

Operation Move(float dx, float dy) {
  return [=](std::span<const ParsedEntity> records, Selection& selection) {
    return MoveSelection(records, selection, dx, dy);
  };
}
Operation Copy(float dx, float dy) {
  return [=](std::span<const ParsedEntity> records, Selection& selection) {
    return CopySelection(records, selection, dx, dy);
  };
}
Operation Stretch(float dx, float dy) {
  return [=](std::span<const ParsedEntity> records, Selection& selection) {
    return StretchSelection(records, selection, dx, dy);
  };
}
Operation Rotate(double cx, double cy, float angle) {
  return [=](std::span<const ParsedEntity> records, Selection& selection) {
    return RotateSelection(records, selection, cx, cy, angle);
  };
}
Operation Scale(double bx, double by, float factor) {
  return [=](std::span<const ParsedEntity> records, Selection& selection) {
    return ScaleSelection(records, selection, bx, by, factor);
  };
}
Operation Properties(PropertyChange change) {
  return [=](std::span<const ParsedEntity> records, Selection& selection) {
    return ChangeSelectionProperties(records, selection, change);
  };
}

PropertyChange ColourOnly(Colour colour) {
  PropertyChange change;
  change.colour = true;
  change.colour_value = colour;
  return change;
}
PropertyChange WidthOnly(float width) {
  PropertyChange change;
  change.width = true;
  change.width_value = width;
  return change;
}
PropertyChange All(Colour colour, float thickness, float height, float width) {
  return {true, true, true, true, colour, thickness, height, width};
}

struct Case {
  const char* name;
  Lines lines;
  std::vector<int> selected;
  Operation run;
  Lines after;
  std::string kinds;  // of the changes, in order
  StretchWindow window = {};
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class Transform : public ::testing::TestWithParam<Case> {};

TEST_P(Transform, WritesTheDrawingAndUndoesIt) {
  const Case& c = GetParam();
  Drawing drawing;
  drawing.Load(c.lines);
  Journal journal(drawing);
  Selection selection = Select(drawing, c.selected, c.window);
  const EditChanges changes = c.run(drawing.records(), selection);
  EXPECT_EQ(Kinds(changes), c.kinds);
  Apply(journal, changes);
  EXPECT_EQ(LinesOf(drawing), c.after);
  // One journal record for each change.
  EXPECT_EQ(journal.lines().size(), 5 * changes.size());
  while (journal.Undo()) {
  }
  EXPECT_EQ(LinesOf(drawing), c.lines);
}

const Lines kThree = {"L(0,0)-(1,0);K(255,0,0);GR(0.5)", "O(5,5,1);K(0,255,0);GR(0.2)", "K(1,2,3)",
                      "T(0,0,'ab',2,1,0);K(0,0,255);GR(0.3)"};

INSTANTIATE_TEST_SUITE_P(
    MoveAndCopy, Transform,
    ::testing::Values(
        Case{"MoveLineTwo",
             {"O(0,0,1)", "K(9,9,9)", "L(0,0)-(1,0);K(0,0,0);GR(0.1)", "GR(3)"},
             {2},
             Move(1, 2),
             {"O(0,0,1)", "K(9,9,9)", "L(1,2)-(2,2);K(0,0,0);GR(0.1)", "GR(3)"},
             "R"},
        Case{"MoveEveryKind",
             {"P(0,0)-(2,1);K(1,1,1);GR(0.1)", "LUK(0,0,1,10,20);K(0,0,0);GR(0.1)",
              "T(1,1,'a b',2,1,45);K(0,0,0);GR(0.1)", "O(0,0,1);K(0,0,0);GR(0.1)"},
             {0, 1, 2, 3},
             Move(-1, 0.5f),
             {"P(-1,0.5)-(1,1.5);K(1,1,1);GR(0.1)", "LUK(-1,0.5,1,10,20);K(0,0,0);GR(0.1)",
              "T(0,1.5,'a b',2,1,45);K(0,0,0);GR(0.1)", "O(-1,0.5,1);K(0,0,0);GR(0.1)"},
             "RRRR"},
        Case{"DisplacementInSinglePrecision",
             {"L(0,0)-(1,0);K(0,0,0);GR(0.1)"},
             {0},
             Move(12345.678f, 0),
             {"L(12345.6777,0)-(12346.6777,0);K(0,0,0);GR(0.1)"},
             "R"},
        Case{"TailsCanonical",
             {"  L(0,0)-(1,0)", "L(0,0)-(1,0);K(x)", "L(0,0)-(1,0);K(1,2,3);GR(0,5)",
              "O(0,0,1.50000);K(1,2,3)", "LUK( 0 , 0 , 1 , 0 , 90 )"},
             {0, 1, 2, 3, 4},
             Move(0, 0),
             {"L(0,0)-(1,0);K(0,0,0);GR(0.1)", "L(0,0)-(1,0);K(0,0,0);GR(0.1)",
              "L(0,0)-(1,0);K(1,2,3);GR(0.5)", "O(0,0,1.5);K(1,2,3);GR(0.1)",
              "LUK(0,0,1,0,90);K(0,0,0);GR(0.1)"},
             "RRRRR"},
        Case{"TailFromTheCommandsBelowEachLine",
             {"K(7,7,7)", "L(0,0)-(1,0)", "K(1,0,0)", "GR(0.7)", "O(0,0,1)", "K(2,0,0)",
              "T(0,0,'t',1,1,0)", "GR(0.2)", "K(3,0,0)"},
             {1, 4, 6},
             Move(1, 0),
             {"K(7,7,7)", "L(1,0)-(2,0);K(1,0,0);GR(0.7)", "K(1,0,0)", "GR(0.7)",
              "O(1,0,1);K(2,0,0);GR(0.2)", "K(2,0,0)", "T(1,0,'t',1,1,0);K(3,0,0);GR(0.2)",
              "GR(0.2)", "K(3,0,0)"},
             "RRR"},
        Case{"UnreadableLineSkipped",
             {"L(0,0)-(x,0)", "O(0,0,1)", "// note"},
             {0, 1, 2},
             Move(1, 1),
             {"L(0,0)-(x,0)", "O(1,1,1);K(0,0,0);GR(0.1)", "// note"},
             "R"},
        Case{"CopyOfThreeAddedLastFirst",
             kThree,
             {0, 1, 3},
             Copy(1, 1),
             {"T(1,1,'ab',2,1,0);K(0,0,255);GR(0.3)", "O(6,6,1);K(0,255,0);GR(0.2)",
              "L(1,1)-(2,1);K(255,0,0);GR(0.5)", kThree[0], kThree[1], kThree[2], kThree[3]},
             "AAA"},
        Case{"CopyKeepsTheColourOfTheOriginalsLine",
             {"GR(0.4)", "O(0,0,1)", "K(1,2,3)"},
             {1},
             Copy(0, 1),
             {"O(0,1,1);K(1,2,3);GR(0.1)", "GR(0.4)", "O(0,0,1)", "K(1,2,3)"},
             "A"}),
    [](const auto& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    Stretch, Transform,
    ::testing::Values(Case{"SecondEndOnly",
                           {"L(0,0)-(2,0);K(0,0,0);GR(0.1)"},
                           {0},
                           Stretch(1, 1),
                           {"L(0,0)-(3,1);K(0,0,0);GR(0.1)"},
                           "R",
                           {1.5, 2.5, -0.5, 0.5}},
                      Case{"EndOnTheWindowEdgeStays",
                           {"L(0,0)-(2,0);K(0,0,0);GR(0.1)"},
                           {0},
                           Stretch(1, 1),
                           {"L(0,0)-(2,0);K(0,0,0);GR(0.1)"},
                           "R",
                           {2, 3, -1, 1}},
                      Case{"RectangleWithNoCornerInsideStillRewritten",
                           {"P(0,0)-(2,1)"},
                           {0},
                           Stretch(1, 1),
                           {"P(0,0)-(2,1);K(0,0,0);GR(0.1)"},
                           "R",
                           {0.5, 1.5, -1, 2}},
                      Case{"RectangleStoredCorner",
                           {"P(0,0)-(2,1);K(0,0,0);GR(0.1)"},
                           {0},
                           Stretch(1, 1),
                           {"P(0,0)-(3,2);K(0,0,0);GR(0.1)"},
                           "R",
                           {1.5, 2.5, 0.5, 1.5}},
                      Case{"RectangleOtherWritingSameCorner",
                           {"P(0,1)-(2,0);K(0,0,0);GR(0.1)"},
                           {0},
                           Stretch(1, 1),
                           {"P(0,2)-(3,0);K(0,0,0);GR(0.1)"},
                           "R",
                           {1.5, 2.5, 0.5, 1.5}},
                      Case{"RectangleLowerLeftCornerOfOtherWriting",
                           {"P(0,1)-(2,0);K(0,0,0);GR(0.1)"},
                           {0},
                           Stretch(-1, -1),
                           {"P(-1,1)-(2,-1);K(0,0,0);GR(0.1)"},
                           "R",
                           {-0.5, 0.5, -0.5, 0.5}},
                      Case{"RectangleRightEdge",
                           {"P(0,0)-(2,1);K(0,0,0);GR(0.1)"},
                           {0},
                           Stretch(1, 0),
                           {"P(0,0)-(3,1);K(0,0,0);GR(0.1)"},
                           "R",
                           {1.5, 2.5, -0.5, 1.5}},
                      Case{"CircleArcAndTextByTheirOnePoint",
                           {"O(0,0,5)", "LUK(10,0,1,0,90)", "T(0.5,0.5,'x',1,1,0)"},
                           {0, 1, 2},
                           Stretch(2, 0),
                           {"O(2,0,5);K(0,0,0);GR(0.1)", "LUK(10,0,1,0,90);K(0,0,0);GR(0.1)",
                            "T(2.5,0.5,'x',1,1,0);K(0,0,0);GR(0.1)"},
                           "RRR",
                           {-1, 1, -1, 1}}),
    [](const auto& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    Rotate, Transform,
    ::testing::Values(
        Case{"TextAngleWrapsPast360",
             {"T(1,0,'a',2,1,300);K(0,0,0);GR(0.1)"},
             {0},
             Rotate(0, 0, Degrees(90)),
             {"T(0,1,'a',2,1,30);K(0,0,0);GR(0.1)"},
             "R"},
        Case{"TextAngleBelowZeroKept",
             {"T(0,0,'a',2,1,10);K(0,0,0);GR(0.1)"},
             {0},
             Rotate(0, 0, Degrees(-90)),
             {"T(0,0,'a',2,1,-80);K(0,0,0);GR(0.1)"},
             "R"},
        Case{"ArcAnglesWrap",
             {"LUK(2,0,1,300,350);K(0,0,0);GR(0.1)"},
             {0},
             Rotate(0, 0, Degrees(90)),
             {"LUK(0,2,1,30,80);K(0,0,0);GR(0.1)"},
             "R"},
        Case{"ArcEndPast360Kept",
             {"LUK(0,0,1,200,300);K(0,0,0);GR(0.1)"},
             {0},
             Rotate(0, 0, Degrees(90)),
             {"LUK(0,0,1,290,390);K(0,0,0);GR(0.1)"},
             "R"},
        Case{"NearVerticalPointTurnsAsIfAbove",
             {"L(0.005,1)-(0,0);K(0,0,0);GR(0.1)"},
             {0},
             Rotate(0, 0, Degrees(90)),
             {"L(-1,0)-(0,0);K(0,0,0);GR(0.1)"},
             "R"},
        Case{"RectangleByRightAngleStaysRectangle",
             {"P(0,0)-(2,1);K(1,2,3);GR(0.4)"},
             {0},
             Rotate(0, 0, Degrees(90)),
             {"P(0,0)-(-1,2);K(1,2,3);GR(0.4)"},
             "R"},
        Case{"RectangleByHalfTurnStaysRectangle",
             {"P(1,1)-(2,3);K(1,2,3);GR(0.4)"},
             {0},
             Rotate(0, 0, Degrees(180)),
             {"P(-1,-1)-(-2,-3);K(1,2,3);GR(0.4)"},
             "R"},
        Case{"RectangleBy45DegreesBecomesItsEdges",
             {"O(0,0,1)", "P(0,0)-(1,1);K(1,2,3);GR(0.4)"},
             {1},
             Rotate(0, 0, Degrees(45)),
             {"L(0.7071,0.7071)-(0,0);K(1,2,3);GR(0.4)",
              "L(0,1.4142)-(0.7071,0.7071);K(1,2,3);GR(0.4)",
              "L(-0.7071,0.7071)-(0,1.4142);K(1,2,3);GR(0.4)", "O(0,0,1)",
              "L(0,0)-(-0.7071,0.7071);K(1,2,3);GR(0.4)"},
             "RAAA"},
        Case{"EdgesOfTwoRectanglesAddedAfterAllReplacements",
             {"P(0,0)-(1,1)", "O(0,0,1)", "P(0,0)-(0,2);K(0,0,255)"},
             {0, 1, 2},
             Rotate(0, 0, Degrees(30)),
             {"L(0.866,0.5)-(0,0);K(0,0,0);GR(0.1)", "L(0.366,1.366)-(0.866,0.5);K(0,0,0);GR(0.1)",
              "L(-0.5,0.866)-(0.366,1.366);K(0,0,0);GR(0.1)", "L(0,0)-(0,0);K(0,0,255);GR(0.1)",
              "L(-1,1.7321)-(0,0);K(0,0,255);GR(0.1)",
              "L(-1,1.7321)-(-1,1.7321);K(0,0,255);GR(0.1)", "L(0,0)-(-0.5,0.866);K(0,0,0);GR(0.1)",
              "O(0,0,1);K(0,0,0);GR(0.1)", "L(0,0)-(-1,1.7321);K(0,0,255);GR(0.1)"},
             "RRRAAAAAA"}),
    [](const auto& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    Scale, Transform,
    ::testing::Values(
        Case{"CircleAboutItsCentre",
             {"O(3,4,2);K(0,0,0);GR(0.1)"},
             {0},
             Scale(3, 4, 0.5f),
             {"O(3,4,1);K(0,0,0);GR(0.1)"},
             "R"},
        Case{"TextSizeHalvedThicknessKept",
             {"T(2,2,'a',2,1,30);K(0,0,0);GR(0.3)"},
             {0},
             Scale(0, 0, 0.5f),
             {"T(1,1,'a',1,0.5,30);K(0,0,0);GR(0.3)"},
             "R"},
        Case{"LineThicknessNotScaled",
             {"L(1,1)-(2,3);K(0,0,0);GR(0.5)"},
             {0},
             Scale(1, 1, 2),
             {"L(1,1)-(3,5);K(0,0,0);GR(0.5)"},
             "R"},
        Case{"NegativeFactorKeepsRadiiPositive",
             {"O(1,0,2)", "LUK(1,0,2,0,90)", "LUK(0,0,1,270,300)"},
             {0, 1, 2},
             Scale(0, 0, -2),
             {"O(-2,0,4);K(0,0,0);GR(0.1)", "LUK(-2,0,4,180,270);K(0,0,0);GR(0.1)",
              "LUK(0,0,2,90,120);K(0,0,0);GR(0.1)"},
             "RRR"},
        Case{"NegativeFactorMirrorsTextSize",
             {"T(1,1,'a',2,1,30)", "P(1,1)-(2,3)"},
             {0, 1},
             Scale(0, 0, -1),
             {"T(-1,-1,'a',-2,-1,30);K(0,0,0);GR(0.1)", "P(-1,-1)-(-2,-3);K(0,0,0);GR(0.1)"},
             "RR"},
        Case{"TinyFactorDoesNothing", {"O(0,0,1)"}, {0}, Scale(0, 0, 0.0000005f), {"O(0,0,1)"}, ""},
        Case{"InfiniteFactorWritesNothing",
             {"O(1,1,1)", "L(1,0)-(2,0)"},
             {0, 1},
             Scale(0, 0, std::numeric_limits<float>::infinity()),
             {"O(1,1,1)", "L(1,0)-(2,0)"},
             ""}),
    [](const auto& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    Properties, Transform,
    ::testing::Values(
        Case{"WidthOnlyOfAText",
             {"T(0,0,'a',2,1,0);K(1,2,3);GR(0.3)"},
             {0},
             Properties(WidthOnly(5)),
             {"T(0,0,'a',2,5,0);K(1,2,3);GR(0.3)"},
             "R"},
        Case{"ColourOnlyKeepsThickness",
             {"L(0,0)-(1,0);K(1,2,3);GR(0.7)", "O(0,0,1)", "GR(0.3)"},
             {0, 1},
             Properties(ColourOnly(RgbColour(4, 5, 6))),
             {"L(0,0)-(1,0);K(4,5,6);GR(0.7)", "O(0,0,1);K(4,5,6);GR(0.3)", "GR(0.3)"},
             "RR"},
        Case{"TextSizeOnlyOnTexts",
             {"L(0,0)-(1,0)", "T(0,0,'a',2,1,0)", "LUK(0,0,1,0,90)"},
             {0, 1, 2},
             Properties(All(RgbColour(0, 0, 255), 0.25f, 3, 4)),
             {"L(0,0)-(1,0);K(0,0,255);GR(0.25)", "T(0,0,'a',3,4,0);K(0,0,255);GR(0.25)",
              "LUK(0,0,1,0,90);K(0,0,255);GR(0.25)"},
             "RRR"}),
    [](const auto& info) { return info.param.name; });

// The selection list holds a line as it was when selected; an edit since then (a dialog during
// the command) must survive the operation.
struct StaleCase {
  const char* name;
  Operation run;
  Lines after;
};

void PrintTo(const StaleCase& c, std::ostream* os) { *os << c.name; }

class TransformStale : public ::testing::TestWithParam<StaleCase> {};

TEST_P(TransformStale, WorksFromTheCurrentLine) {
  const StaleCase& c = GetParam();
  Drawing drawing;
  drawing.Load({"L(0,0)-(1,0);K(0,0,0);GR(0.1)", "O(0,0,1)"});
  Selection selection = Select(drawing, {0});
  Journal journal(drawing);
  journal.ZmienObiekt(0, "L(0,0)-(5,0);K(9,9,9);GR(0.2)");
  Apply(journal, c.run(drawing.records(), selection));
  EXPECT_EQ(LinesOf(drawing), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Operations, TransformStale,
    ::testing::Values(
        StaleCase{"Move", Move(1, 0), {"L(1,0)-(6,0);K(9,9,9);GR(0.2)", "O(0,0,1)"}},
        StaleCase{"Copy",
                  Copy(0, 1),
                  {"L(0,1)-(5,1);K(9,9,9);GR(0.2)", "L(0,0)-(5,0);K(9,9,9);GR(0.2)", "O(0,0,1)"}},
        StaleCase{"Scale", Scale(0, 0, 2), {"L(0,0)-(10,0);K(9,9,9);GR(0.2)", "O(0,0,1)"}},
        StaleCase{
            "Properties", Properties(WidthOnly(1)), {"L(0,0)-(5,0);K(9,9,9);GR(0.2)", "O(0,0,1)"}}),
    [](const auto& info) { return info.param.name; });

struct FlagCase {
  const char* name;
  Operation run;
  std::vector<std::uint8_t> flags_after;
};

void PrintTo(const FlagCase& c, std::ostream* os) { *os << c.name; }

class TransformFlags : public ::testing::TestWithParam<FlagCase> {};

TEST_P(TransformFlags, ClearedByTheTransformLoopOnly) {
  const FlagCase& c = GetParam();
  Drawing drawing;
  drawing.Load({"O(0,0,1)", "L(0,0)-(x,0)", "T(0,0,'a',1,1,0)", "O(1,1,1)"});
  Selection selection = Select(drawing, {1, 2, 3});
  c.run(drawing.records(), selection);
  EXPECT_EQ(selection.flags, c.flags_after);
  EXPECT_EQ(selection.count, 3u);
}

INSTANTIATE_TEST_SUITE_P(
    Operations, TransformFlags,
    ::testing::Values(FlagCase{"MoveClearsEvenTheUnreadable", Move(1, 1), {0, 0, 0, 0}},
                      FlagCase{"CopyLeavesThem", Copy(1, 1), {0, 1, 1, 1}},
                      FlagCase{"StretchClears", Stretch(1, 1), {0, 0, 0, 0}},
                      FlagCase{"RotateClears", Rotate(0, 0, 1), {0, 0, 0, 0}},
                      FlagCase{"TinyScaleLeavesThem", Scale(0, 0, 1e-7f), {0, 1, 1, 1}},
                      FlagCase{"PropertiesClear", Properties({}), {0, 0, 0, 0}}),
    [](const auto& info) { return info.param.name; });

TEST(TransformLoop, ChangesGoFromTheLastSelectedLineUp) {
  Drawing drawing;
  drawing.Load({"O(0,0,1)", "O(1,1,1)", "O(2,2,1)"});
  Selection selection = Select(drawing, {0, 2});
  const EditChanges changes = MoveSelection(drawing.records(), selection, 1, 0);
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_EQ(changes[0].index, 2);
  EXPECT_EQ(changes[1].index, 0);
}

// A large selection in a large drawing: each entity keeps the colour and thickness ruling its own
// line, found without walking the drawing once per entity.
TEST(TransformLoop, ManyEntitiesEachWithTheCommandsBelowIt) {
  constexpr int kGroups = 5000;
  std::vector<std::string> lines;
  for (int g = 0; g < kGroups; ++g) {
    lines.push_back("L(" + std::to_string(g) + ",0)-(0,1)");
    lines.push_back("K(" + std::to_string(g % 256) + ",0,0)");
  }
  Drawing drawing;
  drawing.Load(lines);
  std::vector<int> selected;
  for (int g = 0; g < kGroups; ++g) selected.push_back(2 * g);
  Selection selection = Select(drawing, selected);
  const EditChanges changes = MoveSelection(drawing.records(), selection, 0, 0);
  ASSERT_EQ(changes.size(), static_cast<size_t>(kGroups));
  for (const EditChange& change : changes) {
    const int g = change.index / 2;
    ASSERT_EQ(change.line, "L(" + std::to_string(g) + ",0)-(0,1);K(" + std::to_string(g % 256) +
                               ",0,0);GR(0.1)");
  }
}

}  // namespace
}  // namespace blok
