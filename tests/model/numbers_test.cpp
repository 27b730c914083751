#include "model/numbers.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <random>
#include <string>

namespace blok {
namespace {

struct FormatCase {
  double value;
  std::string_view pattern;
  const char* expected;
};

TEST(FormatPatternTest, PatternsOfTheWriters) {
  const FormatCase cases[] = {
      {2, kCoordinatePattern, "2.0"},
      {1.0 / 3, kCoordinatePattern, "0.3333"},
      {12.5, kCoordinatePattern, "12.5"},
      {-0.00004, kCoordinatePattern, "0.0"},  // never "-0"
      {-2.5, kCoordinatePattern, "-2.5"},
      {2, kValuePattern, "2"},
      {2.5, kValuePattern, "2.5"},
      {0.00005, kValuePattern, "0.0001"},  // half away from zero
      {-0.00005, kValuePattern, "-0.0001"},
      {0.00004999, kValuePattern, "0"},
      {99999.99995, kValuePattern, "100000"},  // the carry runs into the integer part
      {12345.677734375, kValuePattern, "12345.6777"},
      {1e15, kValuePattern, "1000000000000000"},  // integer digits are never cut
      {0.35, kThicknessPattern, "0.35"},
      {1, kThicknessPattern, "1.0"},
      {0.1f, kThicknessPattern, "0.1"},  // a float thickness reads as its decimal
      {2.675, kReadoutPattern, "2.68"},  // rounds the shortest form, not the binary value
      {1.005, kFixed2Pattern10, "1.01"},
      {3, kFixed2Pattern6, "3.00"},
      {-1.25, kAxisLabelPattern, "-1.25"},
      {2.5, kAxisLabelPattern, "2.5"},
      {0.0005, kFixed3Pattern, "0.001"},
      {7, kFixed3Pattern, "7.000"},
      {std::numeric_limits<double>::quiet_NaN(), kValuePattern, "0"},
      {0.99996, kValuePattern, "1"},            // a carry out of "0" makes a new digit
      {-9.99996, kCoordinatePattern, "-10.0"},  // and keeps the sign and the least decimals
      {5e-324, kFixed3Pattern, "0.000"},        // the longest fixed form there is
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatPattern(c.value, c.pattern), c.expected) << c.value << " " << c.pattern;
  }
}

TEST(FormatPatternTest, AppendsBehindWhatIsThere) {
  std::string line = "O(";
  AppendPattern(line, -2.5, kValuePattern);
  line.push_back(',');
  AppendPattern(line, 0.99996, kValuePattern, ',');
  EXPECT_EQ(line, "O(-2.5,1");
}

TEST(FormatPatternTest, DecimalComma) {
  EXPECT_EQ(FormatPattern(2.5, kAxisLabelPattern, ','), "2,5");
  EXPECT_EQ(FormatPattern(0.18, kThicknessPattern, ','), "0,18");
}

TEST(ToLocalDecimalTest, ReplacesBothSeparators) {
  EXPECT_EQ(ToLocalDecimal("1.234,5", ','), "1,234,5");
  EXPECT_EQ(ToLocalDecimal("1,5", '.'), "1.5");
}

struct ParseCase {
  std::string field;
  std::optional<double> expected;
};

TEST(ParseNumberTest, FieldsWithEitherSeparator) {
  const ParseCase cases[] = {
      {"1.5", 1.5},
      {"1,5", 1.5},
      {"-2", -2},
      {"+3", 3},
      {".5", 0.5},
      {"5.", 5},
      {"1e3", 1000},
      {"1.5E-1", 0.15},
      {"1.234,5", {}},
      {"", {}},
      {"-", {}},
      {"abc", {}},
      {"1 ", 1},
      {" 1", 1},
      {"1 2", {}},
      {"1e", {}},
      {"inf", {}},
      {"nan", {}},
      {"1e999", {}},
      {"0x10", {}},
      {"--1", {}},
      // Longer than any number the program writes: read all the same.
      {"0," + std::string(80, '0') + "5e81", 5},
      {std::string(70, '1') + "x", {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseNumber(c.field, ','), c.expected) << '"' << c.field << '"';
  }
}

TEST(ParseIntegerTest, ColourComponents) {
  EXPECT_EQ(ParseInteger("255"), 255);
  EXPECT_EQ(ParseInteger("-1"), -1);
  EXPECT_EQ(ParseInteger("+7"), 7);
  EXPECT_EQ(ParseInteger("1.0"), std::nullopt);
  EXPECT_EQ(ParseInteger("+-1"), std::nullopt);
  EXPECT_EQ(ParseInteger("99999999999"), std::nullopt);
  EXPECT_EQ(ParseInteger(""), std::nullopt);
}

TEST(FloatAsDecimalTest, ShortestFormOfTheFloat) {
  EXPECT_EQ(FloatAsDecimal(0.1f), 0.1);
  EXPECT_EQ(FloatAsDecimal(12345.678f), 12345.678);
  EXPECT_EQ(FloatAsDecimal(0.25f), 0.25);
}

// Two numbers round alike exactly when the pattern prints them alike: at the middle between
// two units, in double and in float, at -0 and past the range the scaled value can tell.
TEST(RoundToDecimalsTest, EqualExactlyWhenPrintedAlike) {
  const struct {
    double a, b;
    std::string_view pattern;
    bool same;
  } cases[] = {
      {1.00005, 1.0001, kValuePattern, true},  // the middle rounds away from zero
      {1.00005, 1, kValuePattern, false},
      {1.0000499999, 1, kValuePattern, true},
      {-1.00005, -1.0001, kValuePattern, true},
      {9.99995, 10, kValuePattern, true},       // a carry into the integer
      {0.00015f, 0.0002, kValuePattern, true},  // the float lies above the middle
      {0.00035f, 0.0003, kValuePattern, true},  // and this one below it
      {1.00005f, 1, kValuePattern, true},
      {0.35f, 0.35, kValuePattern, true},  // a thickness as the reader keeps it
      {2.00005f, 2.0001, kValuePattern, true},
      {-0.00001, 0, kValuePattern, true},  // never -0
      {-0.00005, -0.0001, kValuePattern, true},
      {-0.00005, 0, kValuePattern, false},
      {123456789012.00005, 123456789012.0001, kValuePattern, true},
      {99999999999999.99, 1e14, kValuePattern, false},
      {999999999999999.875, 999999999999999.75, kValuePattern, false},
      {2.675, 2.68, kReadoutPattern, true},
      {2.675, 2.67, kReadoutPattern, false},
  };
  for (const auto& c : cases) {
    const auto a = RoundToDecimals(c.a, PatternDecimals(c.pattern).maximum);
    const auto b = RoundToDecimals(c.b, PatternDecimals(c.pattern).maximum);
    ASSERT_TRUE(a && b) << c.a << " " << c.b;
    EXPECT_EQ(FormatPattern(c.a, c.pattern) == FormatPattern(c.b, c.pattern), c.same) << c.a;
    EXPECT_EQ(*a == *b, c.same) << c.a << " " << c.b;
  }
  EXPECT_EQ(RoundToDecimals(1e300, 4), std::nullopt);
  EXPECT_EQ(RoundToDecimals(std::numeric_limits<double>::infinity(), 4), std::nullopt);
}

// The units against the printed digits, for values near the middles between units, floats
// among them, from small to the largest the writers print.
TEST(RoundToDecimalsTest, TheUnitsOfThePrintedText) {
  std::mt19937_64 random(11);
  std::uniform_int_distribution<int> exponent(-4, 14);
  std::uniform_int_distribution<int> steps(-3, 3);
  for (int i = 0; i < 200000; ++i) {
    const double middle = (std::floor(std::ldexp(double(random() >> 11), -53) *
                                      std::pow(10.0, exponent(random) + 4)) +
                           0.5) /
                          1e4;
    double value = middle;
    for (int s = steps(random); s != 0; s += s > 0 ? -1 : 1) {
      value = std::nextafter(value, s > 0 ? HUGE_VAL : -HUGE_VAL);
    }
    if (i % 3 == 0) value = static_cast<float>(value);
    if (i % 2 == 0) value = -value;
    std::string text = FormatPattern(value, kValuePattern);
    const bool negative = text.front() == '-';
    std::erase(text, '-');
    const size_t point = text.find('.');
    const size_t decimals = point == std::string::npos ? 0 : text.size() - point - 1;
    if (point != std::string::npos) text.erase(point, 1);
    text.append(4 - decimals, '0');
    uint64_t units = 0;
    std::from_chars(text.data(), text.data() + text.size(), units);
    const auto rounded = RoundToDecimals(value, 4);
    ASSERT_TRUE(rounded) << value;
    ASSERT_EQ(*rounded, (PatternUnits{negative, units})) << value;
  }
}

}  // namespace
}  // namespace blok
