#include "editing/trim_extend.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "document/journal.h"
#include "support/editing_support.h"

namespace blok {
namespace {

using ::blok::testing::Apply;
using ::blok::testing::Described;
using ::blok::testing::DrawingLines;
using ::blok::testing::JournalLines;
using ::blok::testing::Parse;

using Lines = std::vector<std::string>;

struct LineEditCase {
  const char* name;
  Lines lines;
  int edge, object;
  Point click;
  Lines changes;
  friend void PrintTo(const LineEditCase& c, std::ostream* os) { *os << c.name; }
};

class Trim : public ::testing::TestWithParam<LineEditCase> {};

TEST_P(Trim, CutsTheClickedSideOff) {
  const LineEditCase& c = GetParam();
  EXPECT_EQ(Described(TrimLine(Parse(c.lines), c.edge, c.object, c.click)), c.changes);
}

std::vector<LineEditCase> TrimCases() {
  // clang-format off
  return {
      {"ClickBeyondCrossingKeepsFirstPart", {"L(0,0)-(10,0)", "L(5,-1)-(5,1)"}, 1, 0,
       {8, 0.2}, {"zmien 0 L(0,0)-(5,0);K(0,0,0);GR(0.1)"}},
      {"ClickBeforeCrossingKeepsSecondPart", {"L(0,0)-(10,0)", "L(5,-1)-(5,1)"}, 1, 0,
       {2, 0.1}, {"zmien 0 L(5,0)-(10,0);K(0,0,0);GR(0.1)"}},
      {"VerticalObject", {"L(-1,3)-(1,3)", "L(0,0)-(0,10)"}, 0, 1,
       {0, 9}, {"zmien 1 L(0,0)-(0,3);K(0,0,0);GR(0.1)"}},
      {"CrossingNearAnEnd", {"L(0,0)-(10,0)", "L(9.995,-1)-(9.995,1)"}, 1, 0, {2, 0}, {}},
      {"EdgeShortOfObject", {"L(0,0)-(10,0)", "L(5,0.002)-(5,3)"}, 1, 0, {8, 0}, {}},
      {"EdgeWithinToleranceOfObject", {"L(0,0)-(10,0)", "L(5,0.0005)-(5,3)"}, 1, 0,
       {8, 0}, {"zmien 0 L(0,0)-(5,0);K(0,0,0);GR(0.1)"}},
      {"ObjectCircle", {"O(5,0,2)", "L(5,-3)-(5,3)"}, 1, 0, {6, 0}, {}},
      {"ObjectRectangle", {"P(0,-1)-(10,1)", "L(5,-3)-(5,3)"}, 1, 0, {8, 1}, {}},
      {"EdgeRectangle", {"L(0,0)-(10,0)", "P(4,-1)-(6,1)"}, 1, 0, {8, 0}, {}},
      {"EdgePickedAsObject", {"L(0,0)-(10,0)"}, 0, 0, {8, 0}, {}},
      {"NoLineAtIndex", {"L(0,0)-(10,0)", "L(5,-1)-(5,1)"}, 2, 0, {8, 0}, {}},
      {"CutWrittenInSinglePrecision",
       {"L(12000,0)-(13000,0)", "L(12345.678,-1)-(12345.678,1)"}, 1, 0,
       {12900, 0}, {"zmien 0 L(12000,0)-(12345.6777,0);K(0,0,0);GR(0.1)"}},
      {"ColourAndThicknessInForceAtItsLine",
       {"L(0,0)-(10,0)", "L(5,-1)-(5,1)", "K(255,0,0)", "GR(2)", "K(0,0,255)"}, 1, 0,
       {8, 0}, {"zmien 0 L(0,0)-(5,0);K(255,0,0);GR(2)"}},
      {"OwnColourAndThicknessKept",
       {"L(0,0)-(10,0);K(0,128,0);GR(0.5)", "L(5,-1)-(5,1)", "K(255,0,0)"}, 1, 0,
       {8, 0}, {"zmien 0 L(0,0)-(5,0);K(0,128,0);GR(0.5)"}},
      {"KeptPartTooLargeToWrite", {"L(0,0)-(2000000000000000,0)", "L(5,-1)-(5,1)"},
       1, 0, {2, 0}, {}}
  };
  // clang-format on
}

INSTANTIATE_TEST_SUITE_P(Cases, Trim, ::testing::ValuesIn(TrimCases()),
                         [](const auto& info) { return info.param.name; });

class Extend : public ::testing::TestWithParam<LineEditCase> {};

TEST_P(Extend, MovesTheNearerEndOntoTheBoundary) {
  const LineEditCase& c = GetParam();
  EXPECT_EQ(Described(ExtendLine(Parse(c.lines), c.edge, c.object, c.click)), c.changes);
}

std::vector<LineEditCase> ExtendCases() {
  // clang-format off
  return {
      {"SecondEndNearer", {"L(0,0)-(4,0)", "L(10,-5)-(11,5)"}, 1, 0, {},
       {"zmien 0 L(0,0)-(10.5,0);K(0,0,0);GR(0.1)"}},
      {"FirstEndNearer", {"L(4,0)-(0,0)", "L(10,-5)-(11,5)"}, 1, 0, {},
       {"zmien 0 L(10.5,0)-(0,0);K(0,0,0);GR(0.1)"}},
      {"ClickPlaysNoPart", {"L(0,0)-(4,0)", "L(10,-5)-(11,5)"}, 1, 0, {-100, 7},
       {"zmien 0 L(0,0)-(10.5,0);K(0,0,0);GR(0.1)"}},
      {"ToVerticalBoundary", {"L(0,0)-(4,0)", "L(10,-5)-(10,5)"}, 1, 0, {},
       {"zmien 0 L(0,0)-(10,0);K(0,0,0);GR(0.1)"}},
      {"VerticalObject", {"L(0,0)-(0,4)", "L(-5,10)-(5,11)"}, 1, 0, {},
       {"zmien 0 L(0,0)-(0,10.5);K(0,0,0);GR(0.1)"}},
      {"VerticalObjectAlreadyCrossingRewrittenAsItIs",
       {"L(0,0)-(0,20)", "L(-5,10)-(5,11)"}, 1, 0, {}, {"zmien 0 L(0,0)-(0,20);K(0,0,0);GR(0.1)"}},
      {"AlreadyCrossingRewrittenAsItIs", {"L(0,0)-(20,0)", "L(10,-5)-(11,5)"}, 1, 0,
       {}, {"zmien 0 L(0,0)-(20,0);K(0,0,0);GR(0.1)"}},
      {"CrossingBeyondBoundaryRewrittenAsItIs", {"L(0,0)-(4,0)", "L(10,1)-(11,5)"},
       1, 0, {}, {"zmien 0 L(0,0)-(4,0);K(0,0,0);GR(0.1)"}},
      {"CrossingAtBoundaryEndRewrittenAsItIs", {"L(0,0)-(4,0)", "L(10.5,0)-(11,5)"},
       1, 0, {}, {"zmien 0 L(0,0)-(4,0);K(0,0,0);GR(0.1)"}},
      {"Parallel", {"L(0,0)-(4,0)", "L(0,1)-(4,1)"}, 1, 0, {}, {}},
      {"CrossingNearAnEnd", {"L(0,0)-(10.495,0)", "L(10,-5)-(11,5)"}, 1, 0, {}, {}},
      {"BoundaryCircle", {"L(0,0)-(4,0)", "O(10,0,1)"}, 1, 0, {}, {}},
      {"ObjectRectangle", {"P(0,0)-(4,1)", "L(10,-5)-(11,5)"}, 1, 0, {}, {}},
      {"CrossingOutOfRange", {"L(0,0)-(4,0)", "L(0,1E+40)-(1E+35,1.00001E+40)"}, 1, 0, {}, {}},
      {"ColourAndThicknessInForceAtItsLine",
       {"L(10,-5)-(11,5)", "GR(0.7)", "L(0,0)-(4,0)", "K(0,0,255)"}, 0, 2, {},
       {"zmien 2 L(0,0)-(10.5,0);K(0,0,255);GR(0.1)"}}
  };
  // clang-format on
}

INSTANTIATE_TEST_SUITE_P(Cases, Extend, ::testing::ValuesIn(ExtendCases()),
                         [](const auto& info) { return info.param.name; });

TEST(TrimInDrawing, SecondPickOfTheTrimmedLineChangesNothing) {
  Drawing drawing;
  Journal journal(drawing);
  drawing.Load({"L(0,0)-(10,0)", "L(5,-1)-(5,1)", "K(255,0,0)", "L(0,-5)-(10,5)"});
  Apply(journal, TrimLine(drawing.records(), 1, 0, {8, 0.2}));
  Apply(journal, TrimLine(drawing.records(), 1, 0, {2, 0}));
  Apply(journal, TrimLine(drawing.records(), 1, 3, {9, 4}));
  EXPECT_EQ(DrawingLines(drawing), (Lines{"L(0,0)-(5,0);K(255,0,0);GR(0.1)", "L(5,-1)-(5,1)",
                                          "K(255,0,0)", "L(0,-5)-(5,0);K(0,0,0);GR(0.1)"}));
  EXPECT_EQ(JournalLines(journal),
            (Lines{"zmien", "3", "L(0,-5)-(5,0);K(0,0,0);GR(0.1)", "L(0,-5)-(10,5)", "---", "zmien",
                   "0", "L(0,0)-(5,0);K(255,0,0);GR(0.1)", "L(0,0)-(10,0)", "---"}));
  ASSERT_TRUE(journal.Undo());
  ASSERT_TRUE(journal.Undo());
  EXPECT_EQ(DrawingLines(drawing),
            (Lines{"L(0,0)-(10,0)", "L(5,-1)-(5,1)", "K(255,0,0)", "L(0,-5)-(10,5)"}));
}

TEST(ExtendInDrawing, APickThatExtendsNothingIsStillRecorded) {
  Drawing drawing;
  Journal journal(drawing);
  drawing.Load({"L(0,0)-(4,0)", "L(10,-5)-(11,5)"});
  Apply(journal, ExtendLine(drawing.records(), 1, 0, {}));
  Apply(journal, ExtendLine(drawing.records(), 1, 0, {}));
  EXPECT_EQ(DrawingLines(drawing), (Lines{"L(0,0)-(10.5,0);K(0,0,0);GR(0.1)", "L(10,-5)-(11,5)"}));
  EXPECT_EQ(JournalLines(journal).size(), 5u) << "the second pick ends at the boundary already";
  drawing.Load({"L(0,0)-(20,0)", "L(10,-5)-(11,5)"});
  journal.Clear();
  Apply(journal, ExtendLine(drawing.records(), 1, 0, {}));
  EXPECT_EQ(JournalLines(journal),
            (Lines{"zmien", "0", "L(0,0)-(20,0);K(0,0,0);GR(0.1)", "L(0,0)-(20,0)", "---"}));
}

}  // namespace
}  // namespace blok
