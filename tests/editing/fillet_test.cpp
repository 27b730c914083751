#include "editing/fillet.h"

#include <gtest/gtest.h>

#include <numbers>
#include <optional>
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

constexpr double kDegrees = 180 / std::numbers::pi;
// The lines at 60 degrees are written to seven places.
constexpr double kClose = 1e-6;

struct Arc {
  double x, y, radius, start_degrees, end_degrees;
};

struct FilletCase {
  const char* name;
  Lines lines;  // the first line is line 0, the second line 1
  Point click_first, click_second;
  double radius;
  Lines changes;  // empty: refused
  std::optional<Arc> arc;
  std::string refusal = {};
  friend void PrintTo(const FilletCase& c, std::ostream* os) { *os << c.name; }
};

class Fillet : public ::testing::TestWithParam<FilletCase> {};

TEST_P(Fillet, RoundsTheCornerOrSaysWhyNot) {
  const FilletCase& c = GetParam();
  const std::vector<ParsedEntity> records = Parse(c.lines);
  const auto result = FilletLines(records, 0, 1, c.click_first, c.click_second, c.radius);
  if (!c.refusal.empty()) {
    ASSERT_FALSE(result.has_value()) << Described(result->changes)[0];
    EXPECT_EQ(result.error(), c.refusal);
    return;
  }
  ASSERT_TRUE(result.has_value()) << result.error();
  EXPECT_EQ(Described(result->changes), c.changes);
  if (!c.arc) {
    EXPECT_EQ(result->radius, 0);
    EXPECT_EQ(result->changes, ChamferLines(records, 0, 1, c.click_second, c.click_first));
    return;
  }
  EXPECT_NEAR(result->centre.x, c.arc->x, kClose);
  EXPECT_NEAR(result->centre.y, c.arc->y, kClose);
  EXPECT_EQ(result->radius, c.arc->radius);
  EXPECT_NEAR(result->start * kDegrees, c.arc->start_degrees, kClose);
  EXPECT_NEAR(result->end * kDegrees, c.arc->end_degrees, kClose);
}

const Lines kCross = {"L(0,0)-(10,0)", "L(5,-5)-(5,5)"};
const char* const kParallel = "Linie są równoległe.";
const char* const kDoesNotFit = "Promień nie mieści się na liniach.";

std::vector<FilletCase> FilletCases() {
  // clang-format off
  return {
      {"PerpendicularCrossing", kCross, {8, 0}, {5, 4}, 2,
       {"zmien 0 L(7,0)-(10,0);K(0,0,0);GR(0.1)", "zmien 1 L(5,2)-(5,5);K(0,0,0);GR(0.1)"},
       Arc{7, 2, 2, 180, 270}},
      {"ClicksOnTheOtherSides", kCross, {2, 0}, {5, -4}, 1,
       {"zmien 0 L(0,0)-(4,0);K(0,0,0);GR(0.1)", "zmien 1 L(5,-5)-(5,-1);K(0,0,0);GR(0.1)"},
       Arc{4, -1, 1, 0, 90}},
      {"LinesWrittenTowardsTheCorner", {"L(10,0)-(0,0)", "L(5,5)-(5,-5)"}, {8, 0}, {5, 4}, 2,
       {"zmien 0 L(10,0)-(7,0);K(0,0,0);GR(0.1)", "zmien 1 L(5,5)-(5,2);K(0,0,0);GR(0.1)"},
       Arc{7, 2, 2, 180, 270}},
      {"LinesShortOfTheCornerLengthenedArcPastZero", {"L(0,0)-(4,0)", "L(10,2)-(10,8)"},
       {2, 0}, {10, 5}, 3,
       {"zmien 0 L(0,0)-(7,0);K(0,0,0);GR(0.1)", "zmien 1 L(10,3)-(10,8);K(0,0,0);GR(0.1)"},
       Arc{7, 3, 3, 270, 360}},
      {"LinesAt60Degrees", {"L(0,0)-(10,0)", "L(0,0)-(5,8.660254)"}, {5, 0}, {2.5, 4.33}, 1,
       {"zmien 0 L(1.7321,0)-(10,0);K(0,0,0);GR(0.1)",
        "zmien 1 L(0.866,1.5)-(5,8.6603);K(0,0,0);GR(0.1)"},
       Arc{1.7320508075688772, 1, 1, 150, 270}},
      {"ClickedPartsAt60DegreesArcPastZero", {"L(-10,0)-(10,0)", "L(-4,-6.9282032)-(4,6.9282032)"},
       {-3, 0}, {-2, -3.4641016}, 1,
       {"zmien 0 L(-10,0)-(-1.7321,0);K(0,0,0);GR(0.1)",
        "zmien 1 L(-4,-6.9282)-(-0.866,-1.5);K(0,0,0);GR(0.1)"},
       Arc{-1.7320508075688772, -1, 1, 330, 450}},
      {"ObtuseAngle", {"L(0,0)-(10,0)", "L(0,0)-(-5,5)"}, {5, 0}, {-2, 2}, 1,
       {"zmien 0 L(0.4142,0)-(10,0);K(0,0,0);GR(0.1)",
        "zmien 1 L(-0.2929,0.2929)-(-5,5);K(0,0,0);GR(0.1)"},
       Arc{0.41421356237309503, 1, 1, 225, 270}},
      {"RadiusReachingTheFarEndExactly", kCross, {8, 0}, {5, 4}, 5,
       {"zmien 0 L(10,0)-(10,0);K(0,0,0);GR(0.1)", "zmien 1 L(5,5)-(5,5);K(0,0,0);GR(0.1)"},
       Arc{10, 5, 5, 180, 270}},
      {"ColourAndThicknessOfEachLine",
       {"L(0,0)-(10,0);K(0,255,0)", "L(5,-5)-(5,5)", "K(255,0,0)", "GR(3)"}, {8, 0}, {5, 4}, 2,
       {"zmien 0 L(7,0)-(10,0);K(0,255,0);GR(3)", "zmien 1 L(5,2)-(5,5);K(255,0,0);GR(3)"},
       Arc{7, 2, 2, 180, 270}},
      {"RadiusZeroIsTheChamfer", kCross, {8, 0}, {5, -4}, 0,
       {"zmien 0 L(5,0)-(10,0);K(0,0,0);GR(0.1)", "zmien 1 L(5,-5)-(5,0);K(0,0,0);GR(0.1)"},
       std::nullopt},
      {"RadiusZeroLengthensLikeTheChamfer", {"L(0,0)-(4,0)", "L(10,-5)-(11,5)"}, {2, 0},
       {10.75, 2.5}, 0,
       {"zmien 0 L(0,0)-(10.5,0);K(0,0,0);GR(0.1)", "zmien 1 L(10.5,0)-(11,5);K(0,0,0);GR(0.1)"},
       std::nullopt},
      {"RadiusPastTheFirstLine", kCross, {8, 0}, {5, 4}, 5.001, {}, std::nullopt, kDoesNotFit},
      {"RadiusPastTheSecondLine", {"L(0,0)-(10,0)", "L(5,-5)-(5,3)"}, {2, 0}, {5, 2}, 3.5, {},
       std::nullopt, kDoesNotFit},
      {"Parallel", {"L(0,0)-(10,0)", "L(0,1)-(10,1)"}, {8, 0}, {8, 1}, 1, {}, std::nullopt,
       kParallel},
      {"Collinear", {"L(0,0)-(10,0)", "L(12,0)-(20,0)"}, {8, 0}, {15, 0}, 1, {}, std::nullopt,
       kParallel},
      {"BothVertical", {"L(0,0)-(0,10)", "L(1,0)-(1,10)"}, {0, 8}, {1, 8}, 1, {}, std::nullopt,
       kParallel},
      {"ParallelWithRadiusZero", {"L(0,0)-(10,0)", "L(0,1)-(10,1)"}, {8, 0}, {8, 1}, 0, {},
       std::nullopt, kParallel},
      {"SecondIsARectangle", {"L(0,0)-(10,0)", "P(5,-5)-(6,3)"}, {8, 0}, {5, -4}, 1, {},
       std::nullopt, "Zaokrąglić można tylko dwie linie."},
      {"FirstIsACircle", {"O(0,0,3)", "L(5,-5)-(5,3)"}, {3, 0}, {5, -4}, 1, {}, std::nullopt,
       "Zaokrąglić można tylko dwie linie."},
      {"NegativeRadius", kCross, {8, 0}, {5, 4}, -1, {}, std::nullopt,
       "Promień nie może być ujemny."},
      {"TooLargeToWrite", {"L(0,0)-(2000000000000000,0)", "L(5,-5)-(5,3)"}, {8, 0}, {5, 4}, 1,
       {}, std::nullopt, "Zaokrąglenia nie da się zapisać."},
  };
  // clang-format on
}

INSTANTIATE_TEST_SUITE_P(Cases, Fillet, ::testing::ValuesIn(FilletCases()),
                         [](const auto& info) { return info.param.name; });

TEST(Fillet, SameLineTwiceIsParallel) {
  const auto result = FilletLines(Parse({"L(0,0)-(10,0)"}), 0, 0, {8, 0}, {2, 0}, 1);
  ASSERT_FALSE(result.has_value());
  EXPECT_EQ(result.error(), kParallel);
}

}  // namespace
}  // namespace blok
