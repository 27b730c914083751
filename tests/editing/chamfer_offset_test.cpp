#include "editing/chamfer_offset.h"

#include <gtest/gtest.h>

#include <optional>
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

struct ChamferCase {
  const char* name;
  Lines lines;  // the first line is line 0, the second line 1
  Point click_first, click_second;
  Lines changes;
  friend void PrintTo(const ChamferCase& c, std::ostream* os) { *os << c.name; }
};

class Chamfer : public ::testing::TestWithParam<ChamferCase> {};

TEST_P(Chamfer, BothLinesEndAtTheCorner) {
  const ChamferCase& c = GetParam();
  EXPECT_EQ(Described(ChamferLines(Parse(c.lines), 0, 1, c.click_second, c.click_first)),
            c.changes);
}

std::vector<ChamferCase> ChamferCases() {
  // clang-format off
  return {
      {"BothCutAtTheirCrossing", {"L(0,0)-(10,0)", "L(5,-5)-(5,3)"}, {8, 0}, {5, -4},
       {"zmien 0 L(5,0)-(10,0);K(0,0,0);GR(0.1)",
        "zmien 1 L(5,-5)-(5,0);K(0,0,0);GR(0.1)"}},
      {"ShortLineLengthenedFromItsNearerEnd", {"L(0,0)-(4,0)", "L(10,-5)-(11,5)"}, {2, 0},
       {10.75, 2.5},
       {"zmien 0 L(0,0)-(10.5,0);K(0,0,0);GR(0.1)",
        "zmien 1 L(10.5,0)-(11,5);K(0,0,0);GR(0.1)"}},
      {"VerticalFirstLineKeepsItsClickedPart", {"L(5,-5)-(5,3)", "L(0,0)-(10,0)"}, {5, 2}, {8, 0},
       {"zmien 0 L(5,0)-(5,3);K(0,0,0);GR(0.1)",
        "zmien 1 L(5,0)-(10,0);K(0,0,0);GR(0.1)"}},
      {"VerticalLineShortOfTheCornerLengthened", {"L(0,0)-(10,0)", "L(5,2)-(5,6)"}, {2, 0},
       {5, 2.5},
       {"zmien 0 L(0,0)-(5,0);K(0,0,0);GR(0.1)",
        "zmien 1 L(5,0)-(5,6);K(0,0,0);GR(0.1)"}},
      {"CrossingNearAnEndMovesThatEnd", {"L(0,0)-(10,0)", "L(0.005,-5)-(0.005,5)"}, {0.001, 0},
       {0.005, 3},
       {"zmien 0 L(0.005,0)-(10,0);K(0,0,0);GR(0.1)",
        "zmien 1 L(0.005,0)-(0.005,5);K(0,0,0);GR(0.1)"}},
      {"AlreadyMeetingRewritesBoth", {"L(0,0)-(5,0)", "L(5,0)-(5,5)"}, {1, 0}, {5, 4},
       {"zmien 0 L(0,0)-(5,0);K(0,0,0);GR(0.1)",
        "zmien 1 L(5,0)-(5,5);K(0,0,0);GR(0.1)"}},
      {"ColourAndThicknessInForceAtEachLine",
       {"L(0,0)-(10,0)", "L(5,-5)-(5,3)", "K(255,0,0)", "GR(3)"}, {8, 0}, {5, -4},
       {"zmien 0 L(5,0)-(10,0);K(255,0,0);GR(3)",
        "zmien 1 L(5,-5)-(5,0);K(255,0,0);GR(3)"}},
      {"Parallel", {"L(0,0)-(10,0)", "L(0,1)-(10,1)"}, {8, 0}, {8, 1}, {}},
      {"BothVertical", {"L(0,0)-(0,10)", "L(1,0)-(1,10)"}, {0, 8}, {1, 8}, {}},
      {"SecondRectangle", {"L(0,0)-(10,0)", "P(5,-5)-(6,3)"}, {8, 0}, {5, -4}, {}},
      {"FirstCircle", {"O(0,0,3)", "L(5,-5)-(5,3)"}, {3, 0}, {5, -4}, {}},
      {"FirstTooLargeToWrite", {"L(0,0)-(2000000000000000,0)", "L(5,-5)-(5,3)"}, {8, 0},
       {5, -4}, {}}
  };
  // clang-format on
}

INSTANTIATE_TEST_SUITE_P(Cases, Chamfer, ::testing::ValuesIn(ChamferCases()),
                         [](const auto& info) { return info.param.name; });

TEST(Chamfer, SameLineTwiceChangesNothing) {
  EXPECT_TRUE(ChamferLines(Parse({"L(0,0)-(10,0)"}), 0, 0, {8, 0}, {2, 0}).empty());
}

TEST(ChamferInDrawing, RecordsFirstLineThenSecond) {
  Drawing drawing;
  Journal journal(drawing);
  drawing.Load({"O(0,0,1)", "L(5,-5)-(5,3)", "L(0,0)-(10,0)"});
  Apply(journal, ChamferLines(drawing.records(), 2, 1, {5, -4}, {8, 0}));
  EXPECT_EQ(DrawingLines(drawing), (Lines{"O(0,0,1)", "L(5,-5)-(5,0);K(0,0,0);GR(0.1)",
                                          "L(5,0)-(10,0);K(0,0,0);GR(0.1)"}));
  EXPECT_EQ(JournalLines(journal),
            (Lines{"zmien", "1", "L(5,-5)-(5,0);K(0,0,0);GR(0.1)", "L(5,-5)-(5,3)", "---", "zmien",
                   "2", "L(5,0)-(10,0);K(0,0,0);GR(0.1)", "L(0,0)-(10,0)", "---"}));
  journal.Undo();
  journal.Undo();
  EXPECT_EQ(DrawingLines(drawing), (Lines{"O(0,0,1)", "L(5,-5)-(5,3)", "L(0,0)-(10,0)"}));
}

struct OffsetCase {
  const char* name;
  Lines lines;  // the entity offset is line 0
  double distance;
  Point side;
  std::optional<std::string> added;
  friend void PrintTo(const OffsetCase& c, std::ostream* os) { *os << c.name; }
};

class Offset : public ::testing::TestWithParam<OffsetCase> {};

TEST_P(Offset, AddsTheCopyThePreviewShows) {
  const OffsetCase& c = GetParam();
  const std::vector<ParsedEntity> records = Parse(c.lines);
  const EditChanges changes = OffsetEntity(records, 0, c.distance, c.side);
  EXPECT_EQ(Described(changes), c.added ? Lines{"dodaj " + *c.added} : Lines{});
  EXPECT_EQ(OffsetPreviewLine(records, 0, c.distance, c.side), c.added);
}

std::vector<OffsetCase> OffsetCases() {
  // clang-format off
  return {
      {"LineToItsLeft", {"L(0,0)-(10,0)"}, 2, {5, 3}, "L(0,2)-(10,2);K(0,0,0);GR(0.1)"},
      {"LineToItsRight", {"L(0,0)-(10,0)"}, 2, {5, -1}, "L(0,-2)-(10,-2);K(0,0,0);GR(0.1)"},
      {"SideOnTheLineGoesRight", {"L(0,0)-(10,0)"}, 2, {20, 0}, "L(0,-2)-(10,-2);K(0,0,0);GR(0.1)"},
      {"VerticalLine", {"L(0,0)-(0,10)"}, 2, {3, 5}, "L(2,0)-(2,10);K(0,0,0);GR(0.1)"},
      {"SlopingLine", {"L(0,0)-(10,10)"}, 1.41421356, {0, 5}, "L(-1,1)-(9,11);K(0,0,0);GR(0.1)"},
      {"ZeroDistanceCopies", {"L(0,0)-(10,0)"}, 0, {5, 3}, "L(0,0)-(10,0);K(0,0,0);GR(0.1)"},
      {"NegativeDistanceAsItsSize", {"L(0,0)-(10,0)"}, -2, {5, 3},
       "L(0,2)-(10,2);K(0,0,0);GR(0.1)"},
      {"ZeroLengthLine", {"L(3,3)-(3,3)"}, 1, {5, 3}, std::nullopt},
      {"RectangleInwards", {"P(0,0)-(10,10)"}, 1, {5, 5}, "P(1,1)-(9,9);K(0,0,0);GR(0.1)"},
      {"RectangleOutwards", {"P(0,0)-(10,10)"}, 1, {15, 5}, "P(-1,-1)-(11,11);K(0,0,0);GR(0.1)"},
      {"RectangleCornersOrdered", {"P(10,0)-(0,10)"}, 1, {5, 5}, "P(1,1)-(9,9);K(0,0,0);GR(0.1)"},
      {"SideOnRectangleEdgeGrows", {"P(0,0)-(10,10)"}, 1, {0, 5},
       "P(-1,-1)-(11,11);K(0,0,0);GR(0.1)"},
      {"RectangleInwardsJustUnderHalfItsHeight", {"P(0,0)-(10,4)"}, 1.9, {5, 2},
       "P(1.9,1.9)-(8.1,2.1);K(0,0,0);GR(0.1)"},
      {"RectangleInwardsByHalfItsHeight", {"P(0,0)-(10,4)"}, 2, {5, 2}, std::nullopt},
      {"RectangleInwardsPastHalfItsWidth", {"P(0,0)-(4,10)"}, 3, {2, 5}, std::nullopt},
      {"CircleOutwards", {"O(0,0,2)"}, 3, {4, 0}, "O(0,0,5);K(0,0,0);GR(0.1)"},
      {"CircleInwards", {"O(0,0,2)"}, 1.5, {1, 0}, "O(0,0,0.5);K(0,0,0);GR(0.1)"},
      {"CircleInwardsToNothing", {"O(0,0,2)"}, 2, {0, 0}, std::nullopt},
      {"CircleInwardsPastItsCentre", {"O(0,0,2)"}, 3, {0.5, 0.5}, std::nullopt},
      {"ArcKeepsItsAngles", {"LUK(1,1,2,30,120)"}, 1, {1, 5}, "LUK(1,1,3,30,120);K(0,0,0);GR(0.1)"},
      {"Text", {"T(0,0,'Ab',1,1,0)"}, 1, {5, 5}, std::nullopt},
      {"ColourCommand", {"K(255,0,0)"}, 1, {5, 5}, std::nullopt},
      {"DistanceInSinglePrecision", {"O(0,0,1)"}, 12345.678, {4, 0},
       "O(0,0,12346.6777);K(0,0,0);GR(0.1)"},
      {"DistanceBeyondSinglePrecision", {"O(0,0,2)"}, 1e39, {4, 0}, std::nullopt},
      {"TooLargeToWrite", {"O(0,0,2)"}, 1e16, {4, 0}, std::nullopt},
      {"CopyInColourAndThicknessOfItsLine",
       {"O(0,0,2)", "K(0,255,0)", "GR(0.5)", "K(0,0,255)"}, 3, {4, 0},
       "O(0,0,5);K(0,255,0);GR(0.5)"},
      {"OwnColourKept", {"O(0,0,2);K(1,2,3)", "K(0,255,0)"}, 3, {4, 0}, "O(0,0,5);K(1,2,3);GR(0.1)"}
  };
  // clang-format on
}

INSTANTIATE_TEST_SUITE_P(Cases, Offset, ::testing::ValuesIn(OffsetCases()),
                         [](const auto& info) { return info.param.name; });

TEST(Offset, IndexOutsideTheDrawingAddsNothing) {
  const std::vector<ParsedEntity> records = Parse({"L(0,0)-(10,0)"});
  EXPECT_TRUE(OffsetEntity(records, 1, 1, {5, 3}).empty());
  EXPECT_TRUE(OffsetEntity(records, -1, 1, {5, 3}).empty());
}

TEST(OffsetInDrawing, EachClickOffsetsTheNewestCopy) {
  Drawing drawing;
  Journal journal(drawing);
  drawing.Load({"L(0,0)-(10,0)", "K(255,0,0)"});
  Apply(journal, OffsetEntity(drawing.records(), 0, 2, {5, 1}));
  Apply(journal, OffsetEntity(drawing.records(), 0, 2, {5, 5}));
  EXPECT_EQ(DrawingLines(drawing),
            (Lines{"L(0,4)-(10,4);K(255,0,0);GR(0.1)", "L(0,2)-(10,2);K(255,0,0);GR(0.1)",
                   "L(0,0)-(10,0)", "K(255,0,0)"}));
  EXPECT_EQ(JournalLines(journal),
            (Lines{"dodaj", "L(0,4)-(10,4);K(255,0,0);GR(0.1)", "", "", "---", "dodaj",
                   "L(0,2)-(10,2);K(255,0,0);GR(0.1)", "", "", "---"}));
}

struct DeleteCase {
  const char* name;
  size_t drawing_size;
  std::vector<std::uint8_t> flags;
  size_t selected_lines;
  Lines changes;
  friend void PrintTo(const DeleteCase& c, std::ostream* os) { *os << c.name; }
};

class Delete : public ::testing::TestWithParam<DeleteCase> {};

TEST_P(Delete, HighestIndexFirst) {
  const DeleteCase& c = GetParam();
  const std::vector<ParsedEntity> records = Parse(Lines(c.drawing_size, "L(0,0)-(1,1)"));
  Selection selection;
  selection.flags = c.flags;
  selection.count = c.selected_lines;
  EXPECT_EQ(Described(DeleteSelection(records, selection)), c.changes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Delete,
    ::testing::Values(
        DeleteCase{"Three", 5, {0, 1, 0, 1, 1}, 3, {"usun 4", "usun 3", "usun 1"}},
        DeleteCase{"FirstAndLast", 4, {1, 0, 0, 1}, 2, {"usun 3", "usun 0"}},
        DeleteCase{"Nothing", 3, {0, 0, 0}, 0, {}},
        DeleteCase{"AsManyAsTheSelectionHoldsLines", 4, {1, 1, 1, 0}, 2, {"usun 2", "usun 1"}},
        DeleteCase{"FewerFlagsThanLines", 4, {0, 1, 0, 0}, 3, {"usun 1"}},
        DeleteCase{"FlagsBeyondTheDrawingIgnored", 2, {1, 0, 1, 1}, 3, {"usun 0"}}),
    [](const auto& info) { return info.param.name; });

TEST(DeleteInDrawing, WindowOfThreeRecordsThreeDeletionsAndComesBack) {
  Drawing drawing;
  Journal journal(drawing);
  const Lines lines{"L(0,0)-(1,0)", "O(0,0,1)", "K(255,0,0)", "T(0,0,'a',1,1,0)", "P(0,0)-(1,1)"};
  drawing.Load(lines);
  Selection selection;
  selection.flags = {1, 0, 0, 1, 1};
  selection.count = 3;
  Apply(journal, DeleteSelection(drawing.records(), selection));
  EXPECT_EQ(DrawingLines(drawing), (Lines{"O(0,0,1)", "K(255,0,0)"}));
  EXPECT_EQ(JournalLines(journal),
            (Lines{"usun", "0", "L(0,0)-(1,0)", "", "---", "usun", "3", "T(0,0,'a',1,1,0)", "",
                   "---", "usun", "4", "P(0,0)-(1,1)", "", "---"}));
  while (journal.Undo()) {
  }
  EXPECT_EQ(DrawingLines(drawing), lines);
}

}  // namespace
}  // namespace blok
