#include "model/entity_writer.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace blok {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr Colour kRed = 0x0000FF;

// The line, or why it was refused, as one string for a table.
std::string Outcome(const std::expected<std::string, LineRefusal>& written) {
  if (written) return *written;
  switch (written.error()) {
    case LineRefusal::kNumber:
      return "refused: number";
    case LineRefusal::kText:
      return "refused: text";
    case LineRefusal::kTooLong:
      return "refused: too long";
  }
  return "?";
}

TEST(WriteEntityLineTest, EveryKindOrItsRefusal) {
  const LineFormat canonical;
  const LineFormat dialog{kValuePattern, kCoordinatePattern, kRed, std::string_view("0,10")};
  const LineFormat typed{kCoordinatePattern, kCoordinatePattern, 0,
                         ThicknessNumber{0.145, kThicknessPattern, ','}};
  // Texts that fill a line to 255 characters, and to one more, in two-byte letters.
  const std::string wrapping = "T(0,0,'',1,1,0);K(0,0,0);GR(0.1)";
  std::string fills;
  for (size_t i = wrapping.size(); i < 255; ++i) fills += "ż";
  const std::string overfills = fills + "ż";
  const auto with_text = [](std::string_view t) { return TextFields{0, 0, t, 1, 1, 0}; };

  const struct {
    const char* label;
    EntityFields fields;
    LineFormat format;
    std::string outcome;
  } cases[] = {
      {"line", SegmentFields{'L', 0, 0, 12.5, -1.0 / 3}, canonical,
       "L(0,0)-(12.5,-0.3333);K(0,0,0);GR(0.1)"},
      {"rectangle, x1 short", SegmentFields{'P', 3, 3, 4, 5}, dialog,
       "P(3,3.0)-(4.0,5.0);K(255,0,0);GR(0,10)"},
      {"thickness from a single",
       CircleFields{3, 4, 1.5},
       {.thickness = ThicknessNumber{0.35f}},
       "O(3,4,1.5);K(0,0,0);GR(0.35)"},
      {"thickness in its own pattern", SegmentFields{'L', 1, 2, 3, 4}, typed,
       "L(1.0,2.0)-(3.0,4.0);K(0,0,0);GR(0,15)"},
      {"arc in degrees", ArcFields{0, 0, 2, 300, 30}, dialog,
       "LUK(0,0,2,300,30);K(255,0,0);GR(0,10)"},
      {"text", TextFields{1, 2, "Opis bloku", 0.6, 0.5, 0}, canonical,
       "T(1,2,'Opis bloku',0.6,0.5,0);K(0,0,0);GR(0.1)"},
      {"largest", CircleFields{-999999999999999, 0, 1}, canonical,
       "O(-999999999999999,0,1);K(0,0,0);GR(0.1)"},
      {"at the limit", CircleFields{0, 0, 1e15}, canonical, "refused: number"},
      {"not finite", SegmentFields{'L', kNaN, 0, 1, 1}, canonical, "refused: number"},
      {"infinite angle", ArcFields{0, 0, 1, 0, kInfinity}, canonical, "refused: number"},
      {"text size at the limit", TextFields{0, 0, "a", 1, -1e15, 0}, canonical, "refused: number"},
      {"thickness at the limit",
       CircleFields{0, 0, 1},
       {.thickness = ThicknessNumber{1e15}},
       "refused: number"},
      {"thickness not finite",
       CircleFields{0, 0, 1},
       {.thickness = ThicknessNumber{kNaN}},
       "refused: number"},
      {"a quote", with_text("it's"), canonical, "T(0,0,'it's',1,1,0);K(0,0,0);GR(0.1)"},
      {"text ends early", with_text("a',b"), canonical, "refused: text"},
      {"blanks after an odd quote", with_text("it's a test"), canonical, "refused: text"},
      {"carriage return", with_text("a\rb"), canonical, "refused: text"},
      {"line feed", with_text("a\nb"), canonical, "refused: text"},
      {"255 characters", with_text(fills), canonical,
       "T(0,0,'" + fills + "',1,1,0);K(0,0,0);GR(0.1)"},
      {"256 characters", with_text(overfills), canonical, "refused: too long"},
      {"line break in the thickness",
       CircleFields{0, 0, 1},
       {.thickness = std::string_view("0,1\n")},
       "refused: too long"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Outcome(WriteEntityLine(c.fields, c.format)), c.outcome) << c.label;
  }
}

}  // namespace
}  // namespace blok
