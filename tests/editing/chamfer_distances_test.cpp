#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "editing/chamfer_offset.h"
#include "support/editing_support.h"

namespace blok {
namespace {

using ::blok::testing::Described;
using ::blok::testing::Parse;

using Lines = std::vector<std::string>;

const Lines kCross = {"L(0,0)-(10,0)", "L(5,-5)-(5,3)"};   // crossing at (5,0) on both
const Lines kShort = {"L(0,0)-(4,0)", "L(10,2)-(10,6)"};   // crossing at (10,0) beyond both
const Lines kMeeting = {"L(0,0)-(8,6)", "L(0,0)-(10,0)"};  // meeting at the origin

struct DistanceCase {
  const char* name;
  Lines lines;  // line 0 is the first line, line 1 the second
  Point click_first, click_second;
  double d1, d2;
  Lines changes;  // empty: refused with `refusal`
  Point first_end, second_end;
  std::string refusal;
  friend void PrintTo(const DistanceCase& c, std::ostream* os) { *os << c.name; }
};

class ChamferDistances : public ::testing::TestWithParam<DistanceCase> {};

TEST_P(ChamferDistances, CutBackFromTheCornerOnTheClickedSides) {
  const DistanceCase& c = GetParam();
  const auto result =
      ChamferByDistances(Parse(c.lines), 0, 1, c.click_first, c.click_second, c.d1, c.d2);
  if (c.changes.empty()) {
    ASSERT_FALSE(result.has_value());
    EXPECT_EQ(result.error(), c.refusal);
    return;
  }
  ASSERT_TRUE(result.has_value()) << result.error();
  EXPECT_EQ(Described(result->changes), c.changes);
  EXPECT_NEAR(result->first_end.x, c.first_end.x, 1e-6);
  EXPECT_NEAR(result->first_end.y, c.first_end.y, 1e-6);
  EXPECT_NEAR(result->second_end.x, c.second_end.x, 1e-6);
  EXPECT_NEAR(result->second_end.y, c.second_end.y, 1e-6);
}

std::vector<DistanceCase> DistanceCases() {
  // clang-format off
  return {
      {"CrossingKeepsTheFarSidesClicked", kCross, {8, 0}, {5, -4}, 1, 2,
       {"zmien 0 L(6,0)-(10,0);K(0,0,0);GR(0.1)", "zmien 1 L(5,-5)-(5,-2);K(0,0,0);GR(0.1)"},
       {6, 0}, {5, -2}, ""},
      {"CrossingKeepsTheNearSidesClicked", kCross, {2, 0}, {5, 2}, 1, 2,
       {"zmien 0 L(0,0)-(4,0);K(0,0,0);GR(0.1)", "zmien 1 L(5,2)-(5,3);K(0,0,0);GR(0.1)"},
       {4, 0}, {5, 2}, ""},
      {"ShortLinesLengthenedFirstThenCut", kShort, {2, 0}, {10, 4}, 2, 1,
       {"zmien 0 L(0,0)-(8,0);K(0,0,0);GR(0.1)", "zmien 1 L(10,1)-(10,6);K(0,0,0);GR(0.1)"},
       {8, 0}, {10, 1}, ""},
      {"MeetingLinesCutAlongTheirSlant", kMeeting, {4, 3}, {5, 0}, 5, 5,
       {"zmien 0 L(4,3)-(8,6);K(0,0,0);GR(0.1)", "zmien 1 L(5,0)-(10,0);K(0,0,0);GR(0.1)"},
       {4, 3}, {5, 0}, ""},
      {"ZeroOnOneLineLeavesItAtTheCorner", kCross, {8, 0}, {5, -4}, 0, 2,
       {"zmien 0 L(5,0)-(10,0);K(0,0,0);GR(0.1)", "zmien 1 L(5,-5)-(5,-2);K(0,0,0);GR(0.1)"},
       {5, 0}, {5, -2}, ""},
      {"BothZeroIsTheSharpCorner", kCross, {8, 0}, {5, -4}, 0, 0,
       {"zmien 0 L(5,0)-(10,0);K(0,0,0);GR(0.1)", "zmien 1 L(5,-5)-(5,0);K(0,0,0);GR(0.1)"},
       {5, 0}, {5, 0}, ""},
      {"ColourAndThicknessInForceAtEachLine",
       {"L(0,0)-(10,0)", "L(5,-5)-(5,3)", "K(255,0,0)", "GR(3)"}, {8, 0}, {5, -4}, 1, 1,
       {"zmien 0 L(6,0)-(10,0);K(255,0,0);GR(3)", "zmien 1 L(5,-5)-(5,-1);K(255,0,0);GR(3)"},
       {6, 0}, {5, -1}, ""},
      {"NegativeDistance", kCross, {8, 0}, {5, -4}, -1, 1, {}, {}, {},
       "Odległość nie może być ujemna."},
      {"Parallel", {"L(0,0)-(10,0)", "L(0,1)-(10,1)"}, {8, 0}, {8, 1}, 1, 1, {}, {}, {},
       "Linie są równoległe."},
      {"FirstDistanceLongerThanItsKeptPart", kCross, {8, 0}, {5, -4}, 5.5, 1, {}, {}, {},
       "Odległość d1 nie mieści się na pierwszej linii."},
      {"SecondDistanceTakingAllOfItsKeptPart", kCross, {8, 0}, {5, 2}, 1, 3, {}, {}, {},
       "Odległość d2 nie mieści się na drugiej linii."},
      {"LengthenedPartCountsForTheDistance", kShort, {2, 0}, {10, 4}, 9.5, 5.5,
       {"zmien 0 L(0,0)-(0.5,0);K(0,0,0);GR(0.1)", "zmien 1 L(10,5.5)-(10,6);K(0,0,0);GR(0.1)"},
       {0.5, 0}, {10, 5.5}, ""},
      {"SecondRectangle", {"L(0,0)-(10,0)", "P(5,-5)-(6,3)"}, {8, 0}, {5, -4}, 1, 1, {}, {}, {},
       "Fazować można tylko dwie linie."},
      {"FirstCircle", {"O(0,0,3)", "L(5,-5)-(5,3)"}, {3, 0}, {5, -4}, 1, 1, {}, {}, {},
       "Fazować można tylko dwie linie."},
  };
  // clang-format on
}

INSTANTIATE_TEST_SUITE_P(Cases, ChamferDistances, ::testing::ValuesIn(DistanceCases()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace blok
