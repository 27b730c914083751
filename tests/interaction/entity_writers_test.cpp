#include "interaction/entity_writers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <variant>
#include <vector>

#include "model/cp1250.h"
#include "model/entity_reader.h"

namespace blok {
namespace {

using Lines = std::vector<std::string>;

constexpr Colour kRed = 0x0000FF;
constexpr Colour kGreen = 0x008000;
const EntityStyle kBlack{0, "0,10"};
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Every written line must come back from the readers whole, and fit a save's 255 characters.
void ExpectWritten(const WriterResult& result, const Lines& lines, const std::string& message,
                   const std::string& label) {
  EXPECT_EQ(result.lines, lines) << label;
  EXPECT_EQ(result.message, message) << label;
  EXPECT_FALSE(result.error) << label;
  for (const std::string& line : result.lines) {
    EXPECT_TRUE(IsValid(ReadEntity(line, ReadingDefaults{}))) << line;
    EXPECT_LE(CharacterCount(line), 255u) << line;
  }
}

struct SegmentCase {
  Point p1, p2;
  EntityStyle style;
  Lines lines;
  std::string message;
};

TEST(DodajLinieTest, LineOrRefusal) {
  const std::string refused = "Anulowano linia.";
  const SegmentCase cases[] = {
      {{0, 0},
       {12.5, 0},
       kBlack,
       {"L(0.0,0.0)-(12.5,0.0);K(0,0,0);GR(0,10)"},
       "Dodano linię  X=0,00 Y=0,00  -   X=12,50 Y=0,00"},
      {{1.0 / 3, -2},
       {-1.23456, 1e6},
       {kRed, "0.60"},
       {"L(0.3333,-2.0)-(-1.2346,1000000.0);K(255,0,0);GR(0.60)"},
       "Dodano linię  X=0,33 Y=-2,00  -   X=-1,23 Y=1000000,00"},
      {{0, 0},
       {0.00011, 0},
       kBlack,
       {"L(0.0,0.0)-(0.0001,0.0);K(0,0,0);GR(0,10)"},
       "Dodano linię  X=0,00 Y=0,00  -   X=0,00 Y=0,00"},
      {{999999999999999, 0},
       {0, 0},
       kBlack,
       {"L(999999999999999.0,0.0)-(0.0,0.0);K(0,0,0);GR(0,10)"},
       "Dodano linię  X=999999999999999,00 Y=0,00  -   X=0,00 Y=0,00"},
      {{1, 2}, {1, 2}, kBlack, {}, refused},
      {{0, 0}, {0.0001, 0}, kBlack, {}, refused},
      // More than 1e-4 apart on the slant, yet both ends print as (0.0001, 0.0001).
      {{0.00005, 0.00005}, {0.00014, 0.00014}, kBlack, {}, refused},
      {{1e15, 0}, {0, 0}, kBlack, {}, refused},
      {{kNaN, 0}, {1, 1}, kBlack, {}, refused},
      {{0, 0}, {1, 1}, {0, "0,1\n"}, {}, refused},
      {{0, 0}, {1, 1}, {0, std::string(250, '1')}, {}, refused},
  };
  for (const auto& c : cases) {
    ExpectWritten(DodajLinie(c.p1, c.p2, c.style), c.lines, c.message, c.message);
  }
}

TEST(DodajProstokatTest, FourLinesRoundTheCornersOrRefusal) {
  const std::string refused = "Anulowano prostokąt.";
  const SegmentCase cases[] = {
      {{0, 0},
       {4, 3},
       kBlack,
       {"L(0.0,0.0)-(0.0,3.0);K(0,0,0);GR(0,10)", "L(0.0,3.0)-(4.0,3.0);K(0,0,0);GR(0,10)",
        "L(4.0,3.0)-(4.0,0.0);K(0,0,0);GR(0,10)", "L(4.0,0.0)-(0.0,0.0);K(0,0,0);GR(0,10)"},
       "Dodano prostokąt   X=0,00 Y=0,00  -   X=4,00 Y=3,00"},
      {{0, 0}, {4, 0.0001}, kBlack, {}, refused},
      {{0, 0}, {0, 3}, kBlack, {}, refused},
      {{2, 2}, {2, 2}, kBlack, {}, refused},
      {{-1e15, 0}, {1, 1}, kBlack, {}, refused},
      {{0, 0}, {1, 1}, {0, std::string(250, '1')}, {}, refused},
  };
  for (const auto& c : cases) {
    ExpectWritten(DodajProstokat(c.p1, c.p2, c.style), c.lines, c.message, c.message);
  }
}

TEST(DodajOkragTest, CircleOrRefusal) {
  const std::string refused = "Anulowano okrąg (R=0).";
  const struct {
    Point p0;
    float r;
    EntityStyle style;
    Lines lines;
    std::string message;
  } cases[] = {
      {{3, 4},
       1.5f,
       {kGreen, "0,25"},
       {"O(3,4,1.5);K(0,128,0);GR(0,25)"},
       "Dodano okrg X=3,00 Y=4,00 R=1,50"},
      {{-0.5, 2},
       0.1f,
       kBlack,
       {"O(-0.5,2,0.1);K(0,0,0);GR(0,10)"},
       "Dodano okrg X=-0,50 Y=2,00 R=0,10"},
      {{0, 0}, 0.0005f, kBlack, {}, refused},
      {{0, 0}, -2, kBlack, {}, refused},
      {{0, 0}, 2e15f, kBlack, {}, refused},
      {{kNaN, 0}, 1, kBlack, {}, refused},
  };
  for (const auto& c : cases) {
    ExpectWritten(DodajOkrag(c.p0, c.r, c.style), c.lines, c.message, c.message);
  }
}

struct Angles {
  float a1, a2;
};

// As the command line hands them over: degrees to single radians, and an end below the start
// goes once round.
Angles Typed(double start_degrees, double end_degrees) {
  const float a1 = static_cast<float>(start_degrees * kPi / 180);
  double a2 = end_degrees * kPi / 180;
  if (a2 < a1) a2 = (end_degrees + 360) * kPi / 180;
  return {a1, static_cast<float>(a2)};
}

// As the mouse gives them: two directions.
Angles Pointed(double start_degrees, double end_degrees) {
  return {static_cast<float>(start_degrees * kPi / 180),
          static_cast<float>(end_degrees * kPi / 180)};
}

TEST(DodajLukTest, ArcOfTheRightSweepOrRefusal) {
  const std::string refused = "Anulowano łuk (A1=A2 lub R=0).";
  const std::string tail = ";K(0,0,0);GR(0,10)";
  const struct {
    const char* label;
    float r;
    Angles angles;
    double side;
    Lines lines;
    std::string message;
  } cases[] = {
      {"typed 0 90",
       2,
       Typed(0, 90),
       1,
       {"LUK(0,0,2,0,90)" + tail},
       "Dodano łuk X=0,00 Y=0,00 R=2,00 A1= 0,00 A2 = 90,00"},
      // Typed angles always take the shorter way round.
      {"typed 0 270",
       2,
       Typed(0, 270),
       1,
       {"LUK(0,0,2,270,360)" + tail},
       "Dodano łuk X=0,00 Y=0,00 R=2,00 A1= 270,00 A2 = 360,00"},
      {"typed 300 30",
       2,
       Typed(300, 30),
       1,
       {"LUK(0,0,2,300,390)" + tail},
       "Dodano łuk X=0,00 Y=0,00 R=2,00 A1= 300,00 A2 = 390,00"},
      {"pointed clockwise 90 30",
       2,
       Pointed(90, 30),
       5,
       {"LUK(0,0,2,30,90)" + tail},
       "Dodano łuk X=0,00 Y=0,00 R=2,00 A1= 30,00 A2 = 90,00"},
      {"pointed clockwise 0 270",
       2,
       Pointed(0, 270),
       5,
       {"LUK(0,0,2,270,360)" + tail},
       "Dodano łuk X=0,00 Y=0,00 R=2,00 A1= 270,00 A2 = 360,00"},
      {"pointed anticlockwise 300 30",
       2,
       Pointed(300, 30),
       -5,
       {"LUK(0,0,2,300,30)" + tail},
       "Dodano łuk X=0,00 Y=0,00 R=2,00 A1= 300,00 A2 = 30,00"},
      {"equal angles", 2, Pointed(45, 45), 1, {}, refused},
      {"no radius", 0.0005f, Typed(0, 90), 1, {}, refused},
      // These start where they end once turned, or sweep too little to be seen.
      {"typed 90 90", 2, Typed(90, 90), 1, {}, refused},
      {"typed 0 360", 2, Typed(0, 360), 1, {}, refused},
      {"typed 0 720", 2, Typed(0, 720), 1, {}, refused},
      {"pointed across 0", 2, Pointed(359.99, 0.005), -5, {}, refused},
      {"too large", 2e15f, Typed(0, 90), 1, {}, refused},
  };
  for (const auto& c : cases) {
    ExpectWritten(DodajLuk({0, 0}, c.r, c.angles.a1, c.angles.a2, c.side, kBlack), c.lines,
                  c.message, c.label);
  }
}

TEST(DodajTekstTest, TextThatReadsBackAsTypedOrRefusal) {
  const std::string refused = "Anulowano tekst.";
  const std::string tail = ";K(0,0,0);GR(0,10)";
  const struct {
    float angle;
    std::string text;
    const char* height;
    Lines lines;
    std::string message;
  } cases[] = {
      {0,
       "Opis bloku",
       "0,6",
       {"T(1,2,'Opis bloku',0.6,0.5,0)" + tail},
       "Dodano tekst X=1,00 Y=2,00 A= 0,00  Opis bloku"},
      {static_cast<float>(kPi / 2),
       "it's",
       "1",
       {"T(1,2,'it’s',1,0.5,90)" + tail},
       "Dodano tekst X=1,00 Y=2,00 A= 90,00  it’s (apostrof zapisano jako ’)"},
      {0,
       "  a  'b' ",
       "1",
       {"T(1,2,'  a  ’b’ ',1,0.5,0)" + tail},
       "Dodano tekst X=1,00 Y=2,00 A= 0,00    a  ’b’  (apostrof zapisano jako ’)"},
      {0,
       "żółw 中",
       "1",
       {},
       refused + " Tekst zawiera znak „中” (U+4E2D), którego nie ma w stronie kodowej 1250."},
      {0, "", "1", {}, refused + " Tekst jest pusty."},
      {0,
       "a\nb",
       "1",
       {},
       refused + " Tekstu \"a\nb\" nie można zapisać: po wczytaniu byłby inny."},
      {0,
       "a\rb",
       "1",
       {},
       refused + " Tekstu \"a\rb\" nie można zapisać: po wczytaniu byłby inny."},
      // The blanks after an apostrophe read back: it is written as ’.
      {0,
       "it's a test",
       "1",
       {"T(1,2,'it’s a test',1,0.5,0)" + tail},
       "Dodano tekst X=1,00 Y=2,00 A= 0,00  it’s a test (apostrof zapisano jako ’)"},
      {0, "x", "1e15", {}, refused + " Liczba jest za duża, by ją zapisać."},
      {0,
       std::string(300, 'a'),
       "1",
       {},
       refused + " Linia obiektu byłaby dłuższa niż 255 znaków."},
  };
  for (const auto& c : cases) {
    ExpectWritten(DodajTekst({1, 2}, c.angle, c.text, c.height, "0.5", kBlack), c.lines, c.message,
                  c.text);
  }
}

TEST(DodajTekstTest, LongestTextFillsTheLine) {
  const std::string wrapping = "T(0,0,'',1,1,0);K(0,0,0);GR(0,10)";
  std::string text;
  for (size_t i = wrapping.size(); i < 255; ++i) text += "ż";
  const WriterResult fits = DodajTekst({0, 0}, 0, text, "1", "1", kBlack);
  ASSERT_EQ(fits.lines.size(), 1u);
  EXPECT_EQ(CharacterCount(fits.lines[0]), 255u);
  EXPECT_TRUE(DodajTekst({0, 0}, 0, text + "ż", "1", "1", kBlack).lines.empty());
}

TEST(DodajTekstTest, SizeThatIsNoNumberStopsWithABox) {
  const struct {
    const char* height;
    const char* width;
    const char* error;
  } cases[] = {
      {"abc", "1", "\"abc\" nie jest poprawną liczbą."},
      {"1", "x", "\"x\" nie jest poprawną liczbą."},
      {"1e39", "1", "\"1e39\" nie jest poprawną liczbą."},
  };
  for (const auto& c : cases) {
    const WriterResult r = DodajTekst({0, 0}, 0, "a", c.height, c.width, kBlack);
    EXPECT_TRUE(r.lines.empty()) << c.error;
    EXPECT_EQ(r.error, c.error);
  }
}

TEST(DirectSegmentTest, TypedLineOrRectangle) {
  const std::string refused = "Nieprawidłowy zapis!";
  const struct {
    const char* entry;
    EntityStyle style;
    Lines lines;
    std::string message;
  } cases[] = {
      {"L(0,0)-(10,0)", kBlack, {"L(0.0,0.0)-(10.0,0.0);K(0,0,0);GR(0,1)"}, "Dodaj linię."},
      {"p( 1 , 2.5 )-(3,4)",
       {kRed, "0.35"},
       {"P(1.0,2.5)-(3.0,4.0);K(255,0,0);GR(0,35)"},
       "Dodaj prostokat."},
      {"L(0,0)-(1,1)", {0, "abc"}, {"L(0.0,0.0)-(1.0,1.0);K(0,0,0);GR(0,18)"}, "Dodaj linię."},
      {"L(0,0)-(1,1)", {0, "0,01"}, {"L(0.0,0.0)-(1.0,1.0);K(0,0,0);GR(0,05)"}, "Dodaj linię."},
      {"L(1,2)", kBlack, {"L(1.0,2.0)-(0.0,0.0);K(0,0,0);GR(0,1)"}, "Dodaj linię."},
      {"L(1,2)-(3", kBlack, {}, refused},
      {"L(1e15,0)-(0,0)", kBlack, {}, refused},
      {"L(1e39,0)-(0,0)", kBlack, {}, refused},
      {"L(0,0)-(1,1)", {0, "1e20"}, {}, refused},
      {"T(0,0)-(1,1)", kBlack, {}, refused},
  };
  for (const auto& c : cases) {
    ExpectWritten(DirectSegment(c.entry, c.style), c.lines, c.message, c.entry);
  }
}

TEST(DirectTextTest, TypedTextOrRefusal) {
  const std::string refused = "Nieprawidłowy zapis";
  const struct {
    std::string entry;
    const char* height;
    const char* width;
    Lines lines;
    std::string message;
  } cases[] = {
      {"T(1,2)_Opis", "0,6", "0,5", {"T(1,2,'Opis',0.6,0.5,0);K(0,0,0);GR(0,1)"}, "Dodaj tekst."},
      {"t( 1.5 , -2 ) a  b",
       "abc",
       "0.01",
       {"T(1.5,-2,'a  b',0.6,0.05,0);K(0,0,0);GR(0,1)"},
       "Dodaj tekst."},
      {"T(1,2)_it's a test",
       "1",
       "1",
       {"T(1,2,'it’s a test',1,1,0);K(0,0,0);GR(0,1)"},
       "Dodaj tekst. (apostrof zapisano jako ’)"},
      {"T(1;2)_x", "1", "1", {}, refused},
      {"T(1e15,2)_x", "1", "1", {}, refused},
      {"T(1,2)_x", "1e20", "1", {}, refused},
      {"T(1,2)_" + std::string(300, 'a'),
       "1",
       "1",
       {},
       refused + ". Linia obiektu byłaby dłuższa niż 255 znaków."},
      {"L(1,2)_x", "1", "1", {}, refused},
  };
  for (const auto& c : cases) {
    ExpectWritten(DirectText(c.entry, c.height, c.width, kBlack), c.lines, c.message, c.entry);
  }
}

// The geometry handed to a writer is what the readers find in its line.
TEST(WrittenGeometryTest, ReadsBackAsGiven) {
  const EntityStyle style{0x123456, "0.60"};
  const ReadingDefaults defaults;

  const auto line = std::get<SegmentRecord>(
      ReadEntity(DodajLinie({0.25, -3}, {7, 8.5}, style).lines.at(0), defaults));
  EXPECT_EQ(line.x1, 0.25);
  EXPECT_EQ(line.y1, -3);
  EXPECT_EQ(line.x2, 7);
  EXPECT_EQ(line.y2, 8.5);
  EXPECT_EQ(line.colour, 0x123456u);
  EXPECT_EQ(line.thickness, 0.6f);

  const auto circle =
      std::get<CircleRecord>(ReadEntity(DodajOkrag({-1, 2}, 3.25f, style).lines.at(0), defaults));
  EXPECT_EQ(circle.x, -1);
  EXPECT_EQ(circle.y, 2);
  EXPECT_EQ(circle.radius, 3.25);

  const Angles angles = Pointed(30, 120);
  const auto arc = std::get<ArcRecord>(
      ReadEntity(DodajLuk({5, 6}, 2, angles.a1, angles.a2, -1, style).lines.at(0), defaults));
  EXPECT_EQ(arc.radius, 2);
  EXPECT_NEAR(arc.start_angle, angles.a1, 1e-6);
  EXPECT_NEAR(arc.end_angle, angles.a2, 1e-6);

  const auto text = std::get<TextRecord>(ReadEntity(
      DodajTekst({1, 2}, angles.a1, "Zażółć 'gęślą' jaźń", "0,25", "0.2", style).lines.at(0),
      defaults));
  EXPECT_EQ(text.text, "Zażółć ’gęślą’ jaźń");
  EXPECT_EQ(text.height, 0.25f);
  EXPECT_EQ(text.width, 0.2f);
  EXPECT_NEAR(text.angle, 30, 1e-4);
}

}  // namespace
}  // namespace blok
