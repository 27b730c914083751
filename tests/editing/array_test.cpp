#include "editing/array.h"

#include <gtest/gtest.h>

#include <cstdint>
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
using ::blok::testing::DrawingLines;
using Lines = std::vector<std::string>;

Selection Select(const Lines& lines, const std::vector<int>& indices) {
  Selection selection;
  selection.flags.assign(lines.size(), 0);
  for (int i : indices) selection.flags[i] = 1;
  selection.count = indices.size();
  return selection;
}

struct ArrayCase {
  const char* name;
  Lines lines;
  std::vector<int> selected;
  int rows, columns;
  double row_spacing, column_spacing;
  Lines after;  // the drawing with the copies added
  friend void PrintTo(const ArrayCase& c, std::ostream* os) { *os << c.name; }
};

class Array : public ::testing::TestWithParam<ArrayCase> {};

TEST_P(Array, AddsACopyForEveryCellButTheFirst) {
  const ArrayCase& c = GetParam();
  Drawing drawing;
  drawing.Load(c.lines);
  Journal journal(drawing);
  const Selection selection = Select(c.lines, c.selected);
  const EditChanges changes = ArraySelection(drawing.records(), selection, c.rows, c.columns,
                                             c.row_spacing, c.column_spacing);
  Apply(journal, changes);
  EXPECT_EQ(DrawingLines(drawing), c.after);
  EXPECT_LE(changes.size(), ArrayLineCount(selection, c.rows, c.columns));
}

const Lines kTwo = {"O(0,0,1)", "K(1,2,3)", "L(0,0)-(1,0);K(0,0,255);GR(0.5)"};

std::vector<ArrayCase> ArrayCases() {
  // clang-format off
  return {
      {"TwoRowsThreeColumnsBackwards", kTwo, {0, 2}, 2, 3, -2, -5,
       {"L(-10,-2)-(-9,-2);K(0,0,255);GR(0.5)", "O(-10,-2,1);K(1,2,3);GR(0.1)",
        "L(-5,-2)-(-4,-2);K(0,0,255);GR(0.5)", "O(-5,-2,1);K(1,2,3);GR(0.1)",
        "L(0,-2)-(1,-2);K(0,0,255);GR(0.5)", "O(0,-2,1);K(1,2,3);GR(0.1)",
        "L(-10,0)-(-9,0);K(0,0,255);GR(0.5)", "O(-10,0,1);K(1,2,3);GR(0.1)",
        "L(-5,0)-(-4,0);K(0,0,255);GR(0.5)", "O(-5,0,1);K(1,2,3);GR(0.1)",
        kTwo[0], kTwo[1], kTwo[2]}},
      {"OneColumnUpwards", {"T(0,0,'a',1,1,0)"}, {0}, 3, 1, 1.5, 100,
       {"T(0,3,'a',1,1,0);K(0,0,0);GR(0.1)", "T(0,1.5,'a',1,1,0);K(0,0,0);GR(0.1)",
        "T(0,0,'a',1,1,0)"}},
      {"SpacingInSinglePrecision", {"L(0,0)-(0,1)"}, {0}, 1, 2, 0, 12345.678,
       {"L(12345.6777,0)-(12345.6777,1);K(0,0,0);GR(0.1)", "L(0,0)-(0,1)"}},
      {"OneCellAddsNothing", {"O(0,0,1)"}, {0}, 1, 1, 5, 5, {"O(0,0,1)"}},
      {"NoRows", {"O(0,0,1)"}, {0}, 0, 3, 5, 5, {"O(0,0,1)"}},
      {"NegativeColumns", {"O(0,0,1)"}, {0}, 2, -3, 5, 5, {"O(0,0,1)"}},
  };
  // clang-format on
}

INSTANTIATE_TEST_SUITE_P(Cases, Array, ::testing::ValuesIn(ArrayCases()),
                         [](const auto& info) { return info.param.name; });

struct CountCase {
  const char* name;
  int selected_lines, rows, columns;
  std::uint64_t count;
};

TEST(ArrayLineCount, CellsButTheFirstTimesTheSelection) {
  constexpr std::uint64_t kMost = std::numeric_limits<std::uint64_t>::max();
  constexpr int kMostInt = std::numeric_limits<int>::max();
  const CountCase cases[] = {
      {"TwoByThree", 4, 2, 3, 20},
      {"OneByOne", 4, 1, 1, 0},
      {"JustOverTenThousand", 1, 100, 101, 10099},
      {"NoRows", 4, 0, 3, 0},
      {"NegativeColumns", 4, 3, -2, 0},
      {"EmptySelection", 0, 50, 50, 0},
      {"LargestRowsAndColumnsDoNotWrap", 3, kMostInt, kMostInt,
       (std::uint64_t{kMostInt} * kMostInt - 1) * 3},
  };
  for (const CountCase& c : cases) {
    Selection selection;
    selection.count = c.selected_lines;
    selection.flags.assign(c.selected_lines, 1);
    EXPECT_EQ(ArrayLineCount(selection, c.rows, c.columns), c.count) << c.name;
  }
  Selection five;
  five.count = 5;
  EXPECT_EQ(ArrayLineCount(five, kMostInt, kMostInt), kMost) << "saturated, not wrapped";
}

}  // namespace
}  // namespace blok
