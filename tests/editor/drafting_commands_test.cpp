#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "editor/editing_session.h"
#include "model/parsed_entity.h"

namespace blok::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAreArray;

// Mirror, fillet, array and polygon driven as a user drives them, typed and clicked.
class DraftingCommandsTest : public EditingSessionTest {
 protected:
  // Runs the session, checks the drawing it leaves, that every line reads back, and that undo
  // takes it all back.
  void Check(const Session& c) {
    SCOPED_TRACE(c.label);
    Draw(c.drawing);
    const size_t before = Records();
    Perform(c.steps);
    EXPECT_THAT(Lines(), ElementsAreArray(c.lines));
    for (const std::string& line : Lines()) EXPECT_TRUE(ParseEntity(line).valid()) << line;
    UndoSince(before);
    EXPECT_EQ(Lines(), std::vector<std::string>(c.drawing.rbegin(), c.drawing.rend()));
    editor_.CommandKey(Key::kEscape);
  }
};

const std::string kLine = "L(0,0)-(2,0);K(0,0,0);GR(0.1)";

TEST_F(DraftingCommandsTest, Mirror) {
  const Session cases[] = {
      {"clicked slanted axis",
       {kLine},
       {Type("lu"), ClickAt(1, 0), ClickAt(0, 0), ClickAt(1, 1)},
       {"L(0,0)-(0,2);K(0,0,0);GR(0.1)", kLine}},
      {"typed level axis",
       {kLine},
       {Type("lu"), ClickAt(1, 0), Type("0,5"), Type("1,5")},
       {"L(0,10)-(2,10);K(0,0,0);GR(0.1)", kLine}},
      {"an axis of no length is asked for again",
       {kLine},
       {Type("lu"), ClickAt(1, 0), Type("0,5"), Type("0,5"), Type("1,5")},
       {"L(0,10)-(2,10);K(0,0,0);GR(0.1)", kLine}},
      {"circle, arc and text about a plumb axis",
       {"O(3,0,1)", "LUK(3,3,1,0,90)", "T(2,-3,'Ab',1,1,0)"},
       {Type("lu"), DragFrom(1, -4, 5, 5), Type("0,0"), Type("0,1")},
       {"O(-3,0,1);K(0,0,0);GR(0.1)", "LUK(-3,3,1,90,180);K(0,0,0);GR(0.1)",
        "T(-2,-3,'Ab',-1,1,180);K(0,0,0);GR(0.1)", "T(2,-3,'Ab',1,1,0)", "LUK(3,3,1,0,90)",
        "O(3,0,1)"}},
  };
  for (const Session& c : cases) Check(c);
}

TEST_F(DraftingCommandsTest, Fillet) {
  const std::vector<std::string> corner = {"L(-4,0)-(0,0)", "L(0,0)-(0,4)"};
  const Session cases[] = {
      {"typed radius, clicked lines",
       corner,
       {Type("za"), Type("1"), ClickAt(-2, 0), ClickAt(0, 2)},
       // The arc takes the colour and thickness in force, the lines keep their own.
       {"LUK(-1,1,1,270,360);K(0,0,0);GR(0,10)", "L(0,1)-(0,4);K(0,0,0);GR(0.1)",
        "L(-4,0)-(-1,0);K(0,0,0);GR(0.1)"}},
      {"radius 0 makes the corner as chamfer does",
       {"L(-2,0)-(2,0)", "L(0,-2)-(0,2)"},
       {Type("za"), Type("0"), ClickAt(-1, 0), ClickAt(0, 1)},
       {"L(0,0)-(0,2);K(0,0,0);GR(0.1)", "L(-2,0)-(0,0);K(0,0,0);GR(0.1)"}},
      {"parallel lines are refused",
       {"L(0,0)-(4,0)", "L(0,2)-(4,2)"},
       {Type("za"), Type("1"), ClickAt(1, 0), ClickAt(1, 2)},
       {"L(0,2)-(4,2)", "L(0,0)-(4,0)"}},
      {"a radius too large for the lines is refused",
       corner,
       {Type("za"), Type("5"), ClickAt(-2, 0), ClickAt(0, 2)},
       {"L(0,0)-(0,4)", "L(-4,0)-(0,0)"}},
  };
  for (const Session& c : cases) Check(c);
}

TEST_F(DraftingCommandsTest, FilletOffersTheLastRadius) {
  Draw({"L(-4,0)-(0,0)", "L(0,0)-(0,4)"});
  Perform({Type("za"), Type("1.5")});
  editor_.CommandKey(Key::kEscape);
  Perform({Type("za")});
  EXPECT_EQ(ui_.prompt, "Wprowadz Promień <1,50>");
  Perform({ClickAt(-2, 0), ClickAt(0, 3)});
  EXPECT_THAT(Lines(), Contains("L(0,1.5)-(0,4);K(0,0,0);GR(0.1)"));
}

TEST_F(DraftingCommandsTest, Array) {
  const std::string circle = "O(0,0,1)";
  const Session cases[] = {
      {"typed counts and spacing",
       {circle},
       {Type("sz"), ClickAt(1, 0), Type("2,3"), Type("5,4")},
       {"O(8,5,1);K(0,0,0);GR(0.1)", "O(4,5,1);K(0,0,0);GR(0.1)", "O(0,5,1);K(0,0,0);GR(0.1)",
        "O(8,0,1);K(0,0,0);GR(0.1)", "O(4,0,1);K(0,0,0);GR(0.1)", circle}},
      {"negative spacing shown by a click at the next cell's corner",
       {circle},
       {Type("sz"), ClickAt(1, 0), Type("1,2"), ClickAt(-6, -1)},
       {"O(-5,0,1);K(0,0,0);GR(0.1)", circle}},
      {"more than ten thousand copies are refused",
       {circle},
       {Type("sz"), ClickAt(1, 0), Type("101,100"), Type("1,2"), Type("1,1")},
       {"O(1,0,1);K(0,0,0);GR(0.1)", circle}},
  };
  for (const Session& c : cases) Check(c);
}

TEST_F(DraftingCommandsTest, Polygon) {
  const std::string other = "O(9,9,1)";
  const std::vector<std::string> triangle = {"L(1.7321,-1.0)-(0.0,2.0);K(0,0,0);GR(0,10)",
                                             "L(-1.7321,-1.0)-(1.7321,-1.0);K(0,0,0);GR(0,10)",
                                             "L(0.0,2.0)-(-1.7321,-1.0);K(0,0,0);GR(0,10)", other};
  const Session cases[] = {
      {"typed square",
       {other},
       {Type("wi"), Type("4"), Type("0,0"), Type("1,0")},
       {"L(0.0,-1.0)-(1.0,0.0);K(0,0,0);GR(0,10)", "L(-1.0,0.0)-(0.0,-1.0);K(0,0,0);GR(0,10)",
        "L(0.0,1.0)-(-1.0,0.0);K(0,0,0);GR(0,10)", "L(1.0,0.0)-(0.0,1.0);K(0,0,0);GR(0,10)",
        other}},
      {"clicked triangle",
       {other},
       {Type("wi"), Type("3"), ClickAt(0, 0), ClickAt(0, 2)},
       triangle},
      {"sides out of range are asked for again",
       {other},
       {Type("wi"), Type("2"), Type("1001"), Type("3.5"), Type("3"), Type("0,0"), Type("0,2")},
       triangle},
  };
  for (const Session& c : cases) Check(c);
}

// What a refused value says; the command waits on.
TEST_F(DraftingCommandsTest, RefusalsSayWhy) {
  const struct {
    std::vector<Step> steps;
    std::string message;
    std::string command;
  } cases[] = {
      {{Type("lu"), ClickAt(1, 0), Type("0,5"), Type("0,5")},
       "Oś odbicia ma zerową długość.",
       "LUSTRO"},
      {{Type("za"), Type("-1")}, "Promień nie może być ujemny.", "ZAOKR"},
      {{Type("za"), Type("1"), ClickAt(1, 0), ClickAt(1, 2)}, "Linie są równoległe.", "ZAOKR"},
      {{Type("sz"), ClickAt(1, 0), Type("101,100")},
       "Szyk dodałby 10099 obiektów, najwięcej można 10000.",
       "SZYK"},
      {{Type("sz"), ClickAt(1, 0), Type("0,3")},
       "Liczby wierszy i kolumn muszą być całkowite, od 1.",
       "SZYK"},
      {{Type("wi"), Type("1001")}, "Liczba boków musi być całkowita, od 3 do 1000.", "WIELOKAT"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    Draw({kLine, "L(0,2)-(2,2)"});
    Perform(c.steps);
    EXPECT_THAT(editor_.messages().lines(), Contains(c.message));
    EXPECT_EQ(editor_.machine().wskaz().Polecenie, c.command);
    editor_.CommandKey(Key::kEscape);
  }
}

}  // namespace
}  // namespace blok::testing
