#include "interaction/typed_input.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace blok {
namespace {

TEST(ParsujLiczbeTest, NumberBetweenTheBrackets) {
  const struct {
    const char* typed;
    std::optional<double> value;
  } cases[] = {
      {"(2,5)", 2.5},
      {"(2.5)", 2.5},
      {"( - 1 2 )", -12},  // blanks go before anything is read
      {"x(3)y", 3},
      {"(-3e38)", -3e38},
      {"3", std::nullopt},  // the interpreter wraps the entry; bare text has no brackets
      {"(3", std::nullopt},
      {"()", std::nullopt},
      {"(abc)", std::nullopt},
      {"(1,2,3)", std::nullopt},
      {"(4e38)", std::nullopt},  // beyond the single range
      {"(inf)", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParsujLiczbe(c.typed), c.value) << c.typed;
}

TEST(ParsujPunktTest, CommaSeparatesTheCoordinates) {
  const struct {
    const char* typed;
    bool read;
    double x, y;
    const char* rest;
  } cases[] = {
      {"(10,5)", true, 10, 5, ""},
      {"( 10 , -5 )", true, 10, -5, ""},
      {"(1.5,2,5)", true, 1.5, 2.5, ""},  // y ends at ")" and may carry a comma
      {"T(1,2)_Opis bloku", true, 1, 2, "Opis bloku"},
      {"T( 1 ,2 )  a  b ", true, 1, 2, " a  b "},  // one character after ")" is dropped
      {"T(1,2)ąść", true, 1, 2, "ść"},             // a whole character, not a byte
      {"(10.5)", false, 0, 0, ""},
      {"(10,5", false, 0, 0, ""},
      {"(a,5)", false, 0, 0, ""},
      {"(1)-(2,3)", false, 0, 0, ""},
      {"(1e39,0)", false, 0, 0, ""},
  };
  for (const auto& c : cases) {
    const std::optional<TypedPoint> p = ParsujPunkt(c.typed);
    ASSERT_EQ(p.has_value(), c.read) << c.typed;
    if (!p) continue;
    EXPECT_EQ(p->point.x, c.x) << c.typed;
    EXPECT_EQ(p->point.y, c.y) << c.typed;
    EXPECT_EQ(p->rest, c.rest) << c.typed;
  }
}

TEST(ParsujPunktTest, RestKeeps255Characters) {
  std::string long_text;
  for (int i = 0; i < 300; ++i) long_text += "ą";
  const std::optional<TypedPoint> p = ParsujPunkt("T(0,0)_" + long_text);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->rest, long_text.substr(0, 2 * 255));
}

TEST(ParsujOdcinekTest, TwoPointsMissingOnesZero) {
  const struct {
    const char* typed;
    bool read;
    double x1, y1, x2, y2;
  } cases[] = {
      {"L(1,2)-(3,4)", true, 1, 2, 3, 4},     {"l ( 1 , 2 ) - ( 3.5 , -4 )", true, 1, 2, 3.5, -4},
      {"L(1,2,5)-(3,4)", true, 1, 2.5, 3, 4}, {"L(1,2)", true, 1, 2, 0, 0},
      {"L(1,2)(3,4)", true, 1, 2, 0, 0},  // the "(" was taken for the "-"
      {"L(1,2)-(3", false, 0, 0, 0, 0},       {"L(1,2)-(3,4", false, 0, 0, 0, 0},
      {"L(a,2)-(3,4)", false, 0, 0, 0, 0},    {"L(1,2)-(3,1e39)", false, 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    const std::optional<TypedSegment> s = ParsujOdcinek(c.typed);
    ASSERT_EQ(s.has_value(), c.read) << c.typed;
    if (!s) continue;
    EXPECT_EQ(s->p1.x, c.x1) << c.typed;
    EXPECT_EQ(s->p1.y, c.y1) << c.typed;
    EXPECT_EQ(s->p2.x, c.x2) << c.typed;
    EXPECT_EQ(s->p2.y, c.y2) << c.typed;
  }
}

TEST(LiczbaZDomyslnaTest, FallbackAndMinimum) {
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"0,10", 0.1},  {"0.60", 0.6}, {"abc", 0.18},  {"", 0.18},
      {"0,01", 0.05}, {"-1", 0.05},  {"1e39", 0.18},
  };
  for (const auto& c : cases) EXPECT_EQ(LiczbaZDomyslna(c.text, 0.05, 0.18), c.value) << c.text;
}

TEST(FormatTest, PointForTheMessagesWithTheWorkingComma) {
  EXPECT_EQ(FormatXY(1, -2.5), "X=1,00 Y=-2,50");
  EXPECT_EQ(FormatXY(1234.567, -0.004), "X=1234,57 Y=0,00");
}

}  // namespace
}  // namespace blok
