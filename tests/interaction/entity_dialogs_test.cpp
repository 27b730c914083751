#include "interaction/entity_dialogs.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "interaction/entity_writers.h"
#include "model/cp1250.h"
#include "model/entity_reader.h"

namespace blok {
namespace {

constexpr Colour kRed = 0x0000FF;
constexpr Colour kGreen = 0x008000;

std::string Error(const std::string& field) {
  return "\"" + field + "\" nie jest poprawną liczbą.";
}

// An apply's outcome as one string, so a table can hold either.
template <typename T>
std::string Outcome(const DialogResult<T>& result) {
  if (!result) return "error: " + result.error();
  if constexpr (std::is_same_v<T, std::string>) {
    return *result;
  } else {
    return "ok";
  }
}

// What every apply must hold to: a line it writes reads back as valid and fits a save, and the
// model keeps exactly that line as its result; a refusal leaves no result.
template <typename Model>
void ExpectKept(const Model& model, const DialogResult<std::string>& applied) {
  if (!applied) {
    EXPECT_FALSE(model.result);
    return;
  }
  EXPECT_EQ(model.result, *applied);
  EXPECT_TRUE(IsValid(ReadEntity(*applied, ReadingDefaults{}))) << *applied;
  EXPECT_LE(applied->size(), 255u) << *applied;
}

// The fields of a form as they stand, in the order of the struct.
LineDialogModel Line(std::string typ, int nr, std::string x1, std::string y1, std::string x2,
                     std::string y2, Colour colour, std::string thickness) {
  LineDialogModel m;
  m.typ = typ, m.nr = nr, m.x1 = x1, m.y1 = y1, m.x2 = x2, m.y2 = y2;
  m.colour = colour, m.thickness = thickness;
  return m;
}

CircleDialogModel Circle(std::string typ, int nr, std::string x, std::string y, std::string r,
                         std::string start, std::string end, Colour colour, std::string thickness) {
  CircleDialogModel m;
  m.typ = typ, m.nr = nr, m.x = x, m.y = y, m.r = r, m.start = start, m.end = end;
  m.colour = colour, m.thickness = thickness;
  return m;
}

// --- LinieEdycja ---

TEST(LineDialogTest, FillShowsTheRecordWithTheDecimalComma) {
  struct Case {
    std::string line;
    LineDialogModel expected;
  };
  const Case cases[] = {
      {"L(0,0)-(12.5,-3.25);K(255,0,0);GR(0,25)",
       Line("L", 7, "0", "0", "12,5", "-3,25", kRed, "0,25")},
      {"p(-2,-1)-(2,1);K(0,128,0);GR(0.1)", Line("P", 7, "-2", "-1", "2", "1", kGreen, "0,1")},
      {"L(0.33333,1000000)-(1.23456,-0.00004);K(0,0,0);GR(1)",
       Line("L", 7, "0,3333", "1000000", "1,2346", "0", 0, "1")},
  };
  for (const auto& c : cases) {
    LineDialogModel model;
    model.result = "stale";
    model.Fill(ReadSegment(c.line, ReadingDefaults{}), 7);
    const auto& e = c.expected;
    EXPECT_EQ(std::tie(model.typ, model.nr, model.x1, model.y1, model.x2, model.y2, model.colour,
                       model.thickness),
              std::tie(e.typ, e.nr, e.x1, e.y1, e.x2, e.y2, e.colour, e.thickness))
        << c.line;
    EXPECT_FALSE(model.result) << c.line;
  }
}

TEST(LineDialogTest, ApplyWritesTheLineOrKeepsTheDialogOpen) {
  struct Case {
    LineDialogModel model;
    std::string outcome;
    std::string thickness_after;
  };
  const std::string long_number = std::string(240, '0') + "1";
  const Case cases[] = {
      // x1 in the short pattern, the other three with at least one decimal.
      {Line("L", 3, "3", "3", "4", "5", 0, "0,10"), "L(3,3.0)-(4.0,5.0);K(0,0,0);GR(0,10)", "0,10"},
      {Line("P", 0, "-2", "-1", "2", "1", kRed, "0,25"), "P(-2,-1.0)-(2.0,1.0);K(255,0,0);GR(0,25)",
       "0,25"},
      // Either decimal separator, in every field.
      {Line("L", 0, "12.5", "0,5", " 1.25 ", "1,0001", 0, "0,10"),
       "L(12.5,0.5)-(1.25,1.0001);K(0,0,0);GR(0,10)", "0,10"},
      {Line("L", 0, "12,5", "0", "1", "1", 0, "0,10"), "L(12.5,0.0)-(1.0,1.0);K(0,0,0);GR(0,10)",
       "0,10"},
      // The thickness is written as shown, then shown with the comma.
      {Line("L", 0, "0", "0", "1", "1", kGreen, "0.60"), "L(0,0.0)-(1.0,1.0);K(0,128,0);GR(0.60)",
       "0,60"},
      // Any typ but "P" is a line.
      {Line("........", 0, "0", "0", "1", "1", 0, "1"), "L(0,0.0)-(1.0,1.0);K(0,0,0);GR(1)", "1"},
      // The first field that is no number is named, and nothing is written.
      {Line("L", 0, "1", "2", "abc", "x", 0, "0,10"), "error: " + Error("abc"), "0,10"},
      {Line("L", 0, "", "2", "3", "4", 0, "0,10"), "error: " + Error(""), "0,10"},
      {Line("L", 0, "1,2,3", "2", "3", "4", 0, "0,10"), "error: " + Error("1,2,3"), "0,10"},
      {Line("L", 0, "1e15", "2", "3", "4", 0, "0,10"), "error: " + Error("1e15"), "0,10"},
      {Line("L", 0, "1", "2", "3", "4", 0, "gruba"), "error: " + Error("gruba"), "gruba"},
      {Line("L", 0, "1", "2", "3", "4", 0, "0.1"), "L(1,2.0)-(3.0,4.0);K(0,0,0);GR(0.1)", "0,1"},
      // The text box's own item is no thickness for a line.
      {Line("L", 0, "1", "2", "3", "4", 0, "0.1*rozmiar"), "error: " + Error("0.1*rozmiar"),
       "0.1*rozmiar"},
      {Line("L", 0, "1", "2", "3", "4", 0, long_number),
       "error: Linia obiektu byłaby dłuższa niż 255 znaków.", long_number},
  };
  for (const auto& c : cases) {
    LineDialogModel model = c.model;
    const auto applied = model.Apply();
    EXPECT_EQ(Outcome(applied), c.outcome) << c.model.x1 << " " << c.model.thickness;
    EXPECT_EQ(model.thickness, c.thickness_after) << c.outcome;
    ExpectKept(model, applied);
  }
}

TEST(LineDialogTest, AFailedApplyForgetsTheEarlierResult) {
  LineDialogModel model = Line("L", 0, "1", "2", "3", "4", 0, "0,10");
  ASSERT_TRUE(model.Apply());
  model.x2 = "?";
  EXPECT_FALSE(model.Apply());
  EXPECT_FALSE(model.result);
}

// --- OkragEdycja ---

TEST(CircleDialogTest, FillShowsCircleOrArc) {
  struct Case {
    std::string line;
    std::string typ, x, y, r, start, end, thickness;
    Colour colour;
  };
  const Case cases[] = {
      // A circle leaves the angles as they were.
      {"O(3,4,1.5);K(0,128,0);GR(0,25)", "O", "3", "4", "1,5", "11", "22", "0,25", kGreen},
      {"LUK(0,0,2,0,90);K(0,0,255);GR(0.1)", "L", "0", "0", "2", "0", "90", "0,1", 0xFF0000},
      {"LUK(1.5,-2,3,300,30);K(0,0,0);GR(1)", "L", "1,5", "-2", "3", "300", "30", "1", 0},
      {"luk(0,0,1,12.3456,359.9999)", "L", "0", "0", "1", "12,3456", "359,9999", "0,1", 0},
  };
  for (const auto& c : cases) {
    CircleDialogModel model;
    model.start = "11";
    model.end = "22";
    const EntityRecord record = ReadEntity(c.line, ReadingDefaults{});
    if (const auto* circle = std::get_if<CircleRecord>(&record)) model.Fill(*circle, 5);
    if (const auto* arc = std::get_if<ArcRecord>(&record)) model.Fill(*arc, 5);
    EXPECT_EQ(std::tie(model.typ, model.x, model.y, model.r, model.start, model.end,
                       model.thickness, model.colour),
              std::tie(c.typ, c.x, c.y, c.r, c.start, c.end, c.thickness, c.colour))
        << c.line;
    EXPECT_EQ(model.nr, 5);
    EXPECT_EQ(model.arc(), c.typ == "L") << c.line;
  }
}

TEST(CircleDialogTest, ApplyWritesCircleOrArcAsEntered) {
  struct Case {
    CircleDialogModel model;
    std::string outcome;
  };
  const std::string no_radius = "error: Promień musi być większy od zera.";
  const Case cases[] = {
      {Circle("O", 2, "3", "4", "1,5", "", "", kGreen, "0,25"), "O(3,4,1.5);K(0,128,0);GR(0,25)"},
      {Circle("O", 2, "3.25", "-4", "12.5", "", "", 0, "0.1"), "O(3.25,-4,12.5);K(0,0,0);GR(0.1)"},
      // The angles count for an arc only.
      {Circle("O", 2, "0", "0", "1", "abc", "x", 0, "1"), "O(0,0,1);K(0,0,0);GR(1)"},
      // An arc keeps the angles as entered: 120 to 30 is the long way round, 300 to 30
      // crosses 0.
      {Circle("L", 2, "0", "0", "2", "120", "30", 0, "0,10"),
       "LUK(0,0,2,120,30);K(0,0,0);GR(0,10)"},
      {Circle("L", 2, "0", "0", "2", "300", "30", 0, "0,10"),
       "LUK(0,0,2,300,30);K(0,0,0);GR(0,10)"},
      {Circle("L", 2, "1", "1", "2", "12.5", "-45,25", 0, "0,10"),
       "LUK(1,1,2,12.5,-45.25);K(0,0,0);GR(0,10)"},
      {Circle("L", 2, "0", "0", "2", "0", "kk", 0, "0,10"), "error: " + Error("kk")},
      {Circle("L", 2, "0", "0", "x", "0", "kk", 0, "0,10"), "error: " + Error("x")},
      {Circle("O", 2, "0", "0", "1", "", "", 0, "x"), "error: " + Error("x")},
      {Circle("O", 2, "0", "0", "0", "", "", 0, "1"), no_radius},
      {Circle("O", 2, "0", "0", "-2", "", "", 0, "1"), no_radius},
      // Rounds to 0 at four decimals; half a unit of the last one rounds up.
      {Circle("O", 2, "0", "0", "0,00004", "", "", 0, "1"), no_radius},
      {Circle("O", 2, "0", "0", "0,00005", "", "", 0, "1"), "O(0,0,0.0001);K(0,0,0);GR(1)"},
      {Circle("L", 2, "0", "0", "0", "0", "90", 0, "1"), no_radius},
  };
  for (const auto& c : cases) {
    CircleDialogModel model = c.model;
    const auto applied = model.Apply();
    EXPECT_EQ(Outcome(applied), c.outcome) << c.model.typ << " " << c.model.r;
    ExpectKept(model, applied);
  }
}

TEST(CircleDialogTest, ArcOpenedAndConfirmedUnchangedKeepsItsLine) {
  for (const std::string line :
       {"LUK(0,0,2,120,30);K(0,0,0);GR(0,5)", "LUK(1.5,2,3,300,30);K(10,20,30);GR(0,25)"}) {
    CircleDialogModel model;
    model.Fill(ReadArc(line, ReadingDefaults{}), 0);
    EXPECT_EQ(model.Apply().value_or(""), line);
  }
}

// --- TekstyEdycja ---

TEST(TextDialogTest, FillChoosesTheAngleButton) {
  struct Case {
    std::string line;
    TextAngleChoice choice;
    std::string angle;  // Kat, "45" before
  };
  const Case cases[] = {
      {"T(1,2,'Opis',0.6,0.5,0)", TextAngleChoice::kPoziom, "45"},
      {"T(1,2,'Opis',0.6,0.5,0.005)", TextAngleChoice::kPoziom, "45"},
      {"T(1,2,'Opis',0.6,0.5,-0.009)", TextAngleChoice::kPoziom, "45"},
      {"T(1,2,'Opis',0.6,0.5,90)", TextAngleChoice::kPion, "45"},
      {"T(1,2,'Opis',0.6,0.5,89.995)", TextAngleChoice::kPion, "45"},
      {"T(1,2,'Opis',0.6,0.5,0.02)", TextAngleChoice::kRecznie, "0,02"},
      {"T(1,2,'Opis',0.6,0.5,270)", TextAngleChoice::kRecznie, "270"},
      {"T(1,2,'Opis',0.6,0.5,-90)", TextAngleChoice::kRecznie, "-90"},
      {"T(1,2,'Opis',0.6,0.5,12.5)", TextAngleChoice::kRecznie, "12,5"},
  };
  for (const auto& c : cases) {
    TextDialogModel model;
    model.angle = "45";
    model.Fill(ReadText(c.line, ReadingDefaults{}), 4);
    EXPECT_EQ(model.angle_choice, c.choice) << c.line;
    EXPECT_EQ(model.angle, c.angle) << c.line;
  }
}

TEST(TextDialogTest, FillShowsTheRecord) {
  TextDialogModel model;
  model.Fill(ReadText("T(1.5,-2,'Zażółć gęślą',0.6,0.5,90);K(255,0,0);GR(0,25)", {}), 4);
  EXPECT_EQ(std::tie(model.nr, model.text, model.x, model.y, model.height, model.width,
                     model.colour, model.thickness),
            std::make_tuple(4, std::string("Zażółć gęślą"), std::string("1,5"), std::string("-2"),
                            std::string("0,6"), std::string("0,5"), kRed, std::string("0,25")));
}

TEST(TextDialogTest, AtNinetyConfirmedUnchangedKeepsNinety) {
  TextDialogModel model;
  model.Fill(ReadText("T(1,2,'Opis',0.6,0.5,90);K(0,0,0);GR(0.1)", ReadingDefaults{}), 0);
  ASSERT_EQ(model.angle_choice, TextAngleChoice::kPion);
  EXPECT_EQ(model.Apply().value_or(""), "T(1,2,'Opis',0.6,0.5,90);K(0,0,0);GR(0,1)");
}

TEST(TextDialogTest, ApplyWritesTheTextOrKeepsTheDialogOpen) {
  struct Case {
    std::string text;
    std::string x = "1", height = "0,6";
    TextAngleChoice choice = TextAngleChoice::kPoziom;
    std::string angle = "0", thickness = "0,10";
    std::string outcome;
  };
  const std::string unreadable_tail = "\" nie można zapisać: po wczytaniu byłby inny.";
  const std::string too_long = "error: Linia obiektu byłaby dłuższa niż 255 znaków.";
  const Case cases[] = {
      {.text = "Opis", .outcome = "T(1,2,'Opis',0.6,0.5,0);K(0,0,0);GR(0,10)"},
      {.text = "Opis",
       .x = "1.25",
       .height = "0.6",
       .outcome = "T(1.25,2,'Opis',0.6,0.5,0);K(0,0,0);GR(0,10)"},
      {.text = "Opis",
       .choice = TextAngleChoice::kPion,
       .angle = "abc",
       .outcome = "T(1,2,'Opis',0.6,0.5,90);K(0,0,0);GR(0,10)"},
      {.text = "Opis",
       .choice = TextAngleChoice::kRecznie,
       .angle = "12.5",
       .outcome = "T(1,2,'Opis',0.6,0.5,12.5);K(0,0,0);GR(0,10)"},
      {.text = "Opis",
       .choice = TextAngleChoice::kRecznie,
       .angle = "-30,25",
       .outcome = "T(1,2,'Opis',0.6,0.5,-30.25);K(0,0,0);GR(0,10)"},
      {.text = "Opis",
       .choice = TextAngleChoice::kRecznie,
       .angle = "abc",
       .outcome = "error: " + Error("abc")},
      {.text = "Opis", .x = "x", .outcome = "error: " + Error("x")},
      {.text = "Opis", .height = "", .outcome = "error: " + Error("")},
      // The box's own item leaves the thickness to the drawing.
      {.text = "Opis",
       .thickness = "0.1*rozmiar",
       .outcome = "T(1,2,'Opis',0.6,0.5,0);K(0,0,0);GR(0.1*rozmiar)"},
      {.text = "Opis",
       .thickness = "0,1*rozmiar",
       .outcome = "T(1,2,'Opis',0.6,0.5,0);K(0,0,0);GR(0,1*rozmiar)"},
      {.text = "Opis", .thickness = "cienka", .outcome = "error: " + Error("cienka")},
      // Polish letters stay; what the code page cannot hold is refused; an apostrophe becomes ’.
      {.text = "Zażółć", .outcome = "T(1,2,'Zażółć',0.6,0.5,0);K(0,0,0);GR(0,10)"},
      {.text = "π≈3",
       .outcome = "error: Tekst zawiera znak „π” (U+03C0), którego nie ma w stronie kodowej 1250."},
      {.text = "it's", .outcome = "T(1,2,'it’s',0.6,0.5,0);K(0,0,0);GR(0,10)"},
      {.text = "a',b", .outcome = "T(1,2,'a’,b',0.6,0.5,0);K(0,0,0);GR(0,10)"},
      // Texts the reader would cut short or change.
      {.text = "a\nb", .outcome = "error: Tekstu \"a\nb" + unreadable_tail},
      {.text = "", .outcome = "error: Tekst jest pusty."},
      // The whole line must fit 255 characters; a text of 255 never does.
      {.text = std::string(218, 'a'),
       .outcome = "T(1,2,'" + std::string(218, 'a') + "',0.6,0.5,0);K(0,0,0);GR(0,10)"},
      {.text = std::string(219, 'a'), .outcome = too_long},
      {.text = std::string(300, 'a'), .outcome = too_long},
  };
  for (const auto& c : cases) {
    TextDialogModel model;
    model.text = c.text;
    model.x = c.x;
    model.y = "2";
    model.height = c.height;
    model.width = "0,5";
    model.angle_choice = c.choice;
    model.angle = c.angle;
    model.thickness = c.thickness;
    const auto applied = model.Apply();
    EXPECT_EQ(Outcome(applied), c.outcome) << c.text;
    ExpectKept(model, applied);
    if (applied) {
      // The text comes back from the line as written into it.
      EXPECT_EQ(ReadText(*applied, ReadingDefaults{}).text, FitTypedText(c.text)->text);
    }
  }
}

TEST(TextDialogTest, ThicknessFromSizeStaysAcceptedAfterTheCommaIsShown) {
  TextDialogModel model;
  model.text = "Opis";
  model.x = model.y = "0";
  model.thickness = "0.1*rozmiar";
  ASSERT_TRUE(model.Apply());
  EXPECT_EQ(model.thickness, "0,1*rozmiar");
  EXPECT_TRUE(model.Apply());
}

// --- EdycjaCech ---

TEST(PropertiesDialogTest, ShowClearsTheBoxesAndKeepsTheValues) {
  PropertiesDialogModel model;
  model.change_colour = model.change_thickness = model.change_height = model.change_width = true;
  model.colour = kRed;
  model.thickness_text = "0,25", model.height_text = "1,00", model.width_text = "2,00";
  model.Show();
  EXPECT_FALSE(model.change_colour || model.change_thickness || model.change_height ||
               model.change_width);
  EXPECT_EQ(std::tie(model.colour, model.thickness_text, model.height_text, model.width_text),
            std::make_tuple(kRed, std::string("0,25"), std::string("1,00"), std::string("2,00")));
}

TEST(PropertiesDialogTest, WhatTheUserTouchesIsWhatChanges) {
  struct Case {
    std::string label;
    void (*touch)(PropertiesDialogModel&);
    std::string outcome;
    PropertyChange expected;
  };
  const Case cases[] = {
      {"nothing checked: stays open, no message", [](PropertiesDialogModel&) {}, "error: ", {}},
      {"thickness 0,25 alone",
       [](PropertiesDialogModel& m) { m.ThicknessEdited("0,25"); },
       "ok",
       {false, true, false, false, 0, 0.25f, 0.6f, 0.5f}},
      {"thickness with a point",
       [](PropertiesDialogModel& m) { m.ThicknessEdited("0.35"); },
       "ok",
       {false, true, false, false, 0, 0.35f, 0.6f, 0.5f}},
      {"colour dialog cancelled: the swatch as it is",
       [](PropertiesDialogModel& m) { m.ColourDialogClosed(std::nullopt); },
       "ok",
       {true, false, false, false, 0, 0.1f, 0.6f, 0.5f}},
      {"colour chosen",
       [](PropertiesDialogModel& m) { m.ColourDialogClosed(kGreen); },
       "ok",
       {true, false, false, false, kGreen, 0.1f, 0.6f, 0.5f}},
      {"height and width",
       [](PropertiesDialogModel& m) {
         m.HeightEdited("1,50");
         m.WidthEdited("2.00");
       },
       "ok",
       {false, false, true, true, 0, 0.1f, 1.5f, 2.0f}},
      {"box checked by hand",
       [](PropertiesDialogModel& m) { m.change_width = true; },
       "ok",
       {false, false, false, true, 0, 0.1f, 0.6f, 0.5f}},
      {"unchecked height that is no number still fails",
       [](PropertiesDialogModel& m) {
         m.height_text = "abc";
         m.ThicknessEdited("0,25");
       },
       "error: " + Error("abc"),
       {}},
      {"checked thickness that is no number",
       [](PropertiesDialogModel& m) { m.ThicknessEdited("0,2,5"); },
       "error: " + Error("0,2,5"),
       {}},
      {"width beyond single precision",
       [](PropertiesDialogModel& m) {
         m.width_text = "1e39";
         m.change_colour = true;
       },
       "error: " + Error("1e39"),
       {}},
  };
  for (const auto& c : cases) {
    PropertiesDialogModel model;
    model.Show();
    c.touch(model);
    const auto applied = model.Apply();
    EXPECT_EQ(Outcome(applied), c.outcome) << c.label;
    EXPECT_EQ(model.result.has_value(), applied.has_value()) << c.label;
    if (!applied) continue;
    const PropertyChange& p = *applied;
    const PropertyChange& e = c.expected;
    EXPECT_EQ(std::tie(p.colour, p.thickness, p.height, p.width, p.colour_value, p.thickness_value,
                       p.height_value, p.width_value),
              std::tie(e.colour, e.thickness, e.height, e.width, e.colour_value, e.thickness_value,
                       e.height_value, e.width_value))
        << c.label;
  }
}

}  // namespace
}  // namespace blok
