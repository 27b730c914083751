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

// A key is equal to another exactly where the lines written are: at the fourth decimal's middle,
// at -0, for the kind and the style, and where the key falls back to the line itself.
TEST(EntityLineKeyTest, EqualExactlyWhereTheLinesAre) {
  const LineFormat canonical;
  const LineFormat red{.colour = kRed};
  const LineFormat comma{.thickness = ThicknessNumber{0.1, kValuePattern, ','}};
  const LineFormat typed{kCoordinatePattern, kCoordinatePattern, 0, ThicknessNumber{}};
  const struct {
    EntityFields a;
    LineFormat format_a;
    EntityFields b;
    LineFormat format_b;
  } cases[] = {
      {CircleFields{0, 0, 1.00005}, canonical, CircleFields{0, 0, 1.0001}, canonical},
      {CircleFields{0, 0, 1.00005}, canonical, CircleFields{0, 0, 1}, canonical},
      {CircleFields{0, 0, 1.00004}, canonical, CircleFields{0, 0, 1}, canonical},
      {CircleFields{-0.00001, 0, 1}, canonical, CircleFields{0, 0, 1}, canonical},
      {CircleFields{-0.00005, 0, 1}, canonical, CircleFields{0, 0, 1}, canonical},
      {SegmentFields{'L', 0, 0, 1, 1}, canonical, SegmentFields{'P', 0, 0, 1, 1}, canonical},
      {SegmentFields{'L', 0, 0, 1, 1}, canonical, SegmentFields{'L', 0, 0, 1, 1}, red},
      {CircleFields{0, 0, 1},
       {.thickness = ThicknessNumber{0.35f}},
       CircleFields{0, 0, 1},
       {.thickness = ThicknessNumber{0.35}}},
      {CircleFields{0, 0, 1},
       {.thickness = ThicknessNumber{0.10005}},
       CircleFields{0, 0, 1},
       {.thickness = ThicknessNumber{0.1001}}},
      {ArcFields{0, 0, 1, 0, 90.00004}, canonical, ArcFields{0, 0, 1, 0, 90}, canonical},
      {CircleFields{999999999999999.875, 0, 1}, canonical, CircleFields{999999999999999.75, 0, 1},
       canonical},
      {CircleFields{0, 0, 1}, comma, CircleFields{0, 0, 1}, canonical},
      {SegmentFields{'L', 1, 2, 3, 4}, typed, SegmentFields{'L', 1, 2, 3, 4}, canonical},
      {TextFields{0, 0, "a", 1, 1, 0}, canonical, TextFields{0, 0, "a", 1.00001, 1, 0}, canonical},
      {TextFields{0, 0, "a", 1, 1, 0}, canonical, TextFields{0, 0, "b", 1, 1, 0}, canonical},
      {CircleFields{0, 0, 1e15}, canonical, CircleFields{0, 0, kNaN}, canonical},
      {CircleFields{0, 0, 1},
       {.thickness = ThicknessNumber{kInfinity}},
       CircleFields{0, 0, 1e16},
       canonical},
  };
  for (const auto& c : cases) {
    const auto line_a = WriteEntityLine(c.a, c.format_a);
    const auto line_b = WriteEntityLine(c.b, c.format_b);
    const auto key_a = EntityLineKey(c.a, c.format_a);
    const auto key_b = EntityLineKey(c.b, c.format_b);
    EXPECT_EQ(key_a.has_value(), line_a.has_value()) << Outcome(line_a);
    EXPECT_EQ(key_a == key_b, Outcome(line_a) == Outcome(line_b))
        << Outcome(line_a) << " / " << Outcome(line_b);
  }
}

// The finder puts a record's keys one after another: each behind what the buffer held, and a
// shape without a key leaves no trace of its start.
TEST(EntityLineKeyTest, AppendedBehindWhatTheBufferHolds) {
  const struct {
    EntityFields fields;
    LineFormat format;
  } cases[] = {
      {SegmentFields{'L', 0, 0, 1, 1}, {}},
      {TextFields{0, 0, "a", 1, 1, 0}, {}},
      {CircleFields{0, 0, kNaN}, {}},
      {ArcFields{0, 0, 1, 0, kInfinity}, {}},
      {CircleFields{0, 0, 1}, {.thickness = ThicknessNumber{kInfinity}}},
      {TextFields{0, 0, "a',b", 1, 1, 0}, {}},
  };
  for (const auto& c : cases) {
    const auto key = EntityLineKey(c.fields, c.format);
    std::string out = "held";
    EXPECT_EQ(AppendEntityLineKey(out, c.fields, c.format), key.has_value());
    EXPECT_EQ(out, "held" + key.value_or(""));
  }
}

}  // namespace
}  // namespace blok
