// fa, the polygon's forms and the typed circles and arcs, driven as a user drives them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "editor/editing_session.h"

namespace blok::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAreArray;

class FormsTest : public EditingSessionTest {
 protected:
  // Runs the session, checks the drawing it leaves and that one Cofnij takes it all back.
  void Check(const Session& c) {
    SCOPED_TRACE(c.label);
    Draw(c.drawing);
    Perform(c.steps);
    EXPECT_THAT(Lines(), ElementsAreArray(c.lines));
    editor_.block().BCofnijClick();
    EXPECT_EQ(Lines(), std::vector<std::string>(c.drawing.rbegin(), c.drawing.rend()));
    editor_.CommandKey(Key::kEscape);
  }
};

const std::vector<std::string> kCorner = {"L(-4,0)-(0,0)", "L(0,0)-(0,4)"};

TEST_F(FormsTest, ChamferByDistances) {
  const Session cases[] = {
      {"typed pair, clicked lines",
       kCorner,
       {Type("fa"), Type("1,2"), ClickAt(-2, 0), ClickAt(0, 2)},
       // The joining line takes the colour and thickness in force, the lines keep their own.
       {"L(-1.0,0.0)-(0.0,2.0);K(0,0,0);GR(0,10)", "L(0,2)-(0,4);K(0,0,0);GR(0.1)",
        "L(-4,0)-(-1,0);K(0,0,0);GR(0.1)"}},
      {"one number is both distances",
       kCorner,
       {Type("fa"), Type("1.5"), ClickAt(-2, 0), ClickAt(0, 2)},
       {"L(-1.5,0.0)-(0.0,1.5);K(0,0,0);GR(0,10)", "L(0,1.5)-(0,4);K(0,0,0);GR(0.1)",
        "L(-4,0)-(-1.5,0);K(0,0,0);GR(0.1)"}},
      {"a semicolon lets each distance have a decimal comma",
       kCorner,
       {Type("fa"), Type("0,5;2,5"), ClickAt(-2, 0), ClickAt(0, 3)},
       {"L(-0.5,0.0)-(0.0,2.5);K(0,0,0);GR(0,10)", "L(0,2.5)-(0,4);K(0,0,0);GR(0.1)",
        "L(-4,0)-(-0.5,0);K(0,0,0);GR(0.1)"}},
      {"the first line clicked takes the first distance",
       kCorner,
       {Type("fa"), Type("1;2"), ClickAt(0, 2), ClickAt(-2, 0)},
       {"L(0.0,1.0)-(-2.0,0.0);K(0,0,0);GR(0,10)", "L(0,1)-(0,4);K(0,0,0);GR(0.1)",
        "L(-4,0)-(-2,0);K(0,0,0);GR(0.1)"}},
      {"crossing lines keep the clicked sides",
       {"L(-2,0)-(2,0)", "L(0,-2)-(0,2)"},
       {Type("fa"), Type("1"), ClickAt(1.5, 0), ClickAt(0, -1.5)},
       {"L(1.0,0.0)-(0.0,-1.0);K(0,0,0);GR(0,10)", "L(0,-2)-(0,-1);K(0,0,0);GR(0.1)",
        "L(1,0)-(2,0);K(0,0,0);GR(0.1)"}},
      {"lines short of their crossing are lengthened, then cut",
       {"L(-6,0)-(-2,0)", "L(0,2)-(0,6)"},
       {Type("fa"), Type("1"), ClickAt(-4, 0), ClickAt(0, 4)},
       {"L(-1.0,0.0)-(0.0,1.0);K(0,0,0);GR(0,10)", "L(0,1)-(0,6);K(0,0,0);GR(0.1)",
        "L(-6,0)-(-1,0);K(0,0,0);GR(0.1)"}},
      {"distances 0 make the sharp corner as f does, with no joining line",
       {"L(-2,0)-(2,0)", "L(0,-2)-(0,2)"},
       {Type("fa"), Type("0"), ClickAt(-1, 0), ClickAt(0, 1)},
       {"L(0,0)-(0,2);K(0,0,0);GR(0.1)", "L(-2,0)-(0,0);K(0,0,0);GR(0.1)"}},
  };
  for (const Session& c : cases) Check(c);
}

// What a refusal says; nothing is written and the command waits on.
TEST_F(FormsTest, ChamferRefusalsSayWhy) {
  const struct {
    std::vector<std::string> drawing;
    std::vector<Step> steps;
    std::string message;
  } cases[] = {
      {kCorner, {Type("fa"), Type("-1,1")}, "Odległość nie może być ujemna."},
      {kCorner, {Type("fa"), Type("1;-0,5")}, "Odległość nie może być ujemna."},
      {{"L(0,0)-(4,0)", "L(0,2)-(4,2)"},
       {Type("fa"), Type("1"), ClickAt(1, 0), ClickAt(1, 2)},
       "Linie są równoległe."},
      {kCorner,
       {Type("fa"), Type("4.5,1"), ClickAt(-2, 0), ClickAt(0, 2)},
       "Odległość d1 nie mieści się na pierwszej linii."},
      {kCorner,
       {Type("fa"), Type("1,4"), ClickAt(-2, 0), ClickAt(0, 2)},
       "Odległość d2 nie mieści się na drugiej linii."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    Draw(c.drawing);
    Perform(c.steps);
    EXPECT_THAT(editor_.messages().lines(), Contains(c.message));
    EXPECT_EQ(Lines(), std::vector<std::string>(c.drawing.rbegin(), c.drawing.rend()));
    EXPECT_EQ(editor_.machine().wskaz().Polecenie, "FAZKA");
    editor_.CommandKey(Key::kEscape);
  }
}

TEST_F(FormsTest, ChamferOffersTheLastPair) {
  Draw(kCorner);
  Perform({Type("fa")});
  EXPECT_EQ(ui_.prompt, "Wprowadz Odległości fazki <1,00;1,00>");
  Perform({Type("2;0.5")});
  EXPECT_EQ(ui_.prompt, "Wskaż pierwszą linię do fazki");
  editor_.CommandKey(Key::kEscape);
  Perform({Type("fa")});
  EXPECT_EQ(ui_.prompt, "Wprowadz Odległości fazki <2,00;0,50>");
  // Enter keeps it; so would a click on the first line.
  Perform({Type(""), ClickAt(-3, 0)});
  EXPECT_EQ(ui_.prompt, "Wskaż drugą linię do fazki");
  Perform({ClickAt(0, 3)});
  EXPECT_THAT(Lines(), Contains("L(0,0.5)-(0,4);K(0,0,0);GR(0.1)"));
  EXPECT_THAT(Lines(), Contains("L(-4,0)-(-2,0);K(0,0,0);GR(0.1)"));
  Draw(kCorner);
  Perform({Type("fa"), ClickAt(-3, 0), ClickAt(0, 3)});
  EXPECT_THAT(Lines(), Contains("L(-2.0,0.0)-(0.0,0.5);K(0,0,0);GR(0,10)"));
}

TEST_F(FormsTest, PolygonForms) {
  const std::string other = "O(9,9,1)";
  const Session cases[] = {
      {"typed side, the polygon on its left",
       {other},
       {Type("wi"), Type("4"), Type("b"), Type("0,0"), Type("2,0")},
       {"L(0.0,2.0)-(0.0,0.0);K(0,0,0);GR(0,10)", "L(2.0,2.0)-(0.0,2.0);K(0,0,0);GR(0,10)",
        "L(2.0,0.0)-(2.0,2.0);K(0,0,0);GR(0,10)", "L(0.0,0.0)-(2.0,0.0);K(0,0,0);GR(0,10)", other}},
      {"the side the other way round puts it on the other side",
       {other},
       {Type("wi"), Type("4"), Type("B"), Type("2,0"), Type("0,0")},
       {"L(2.0,-2.0)-(2.0,0.0);K(0,0,0);GR(0,10)", "L(0.0,-2.0)-(2.0,-2.0);K(0,0,0);GR(0,10)",
        "L(0.0,0.0)-(0.0,-2.0);K(0,0,0);GR(0,10)", "L(2.0,0.0)-(0.0,0.0);K(0,0,0);GR(0,10)",
        other}},
      {"clicked side of a triangle",
       {other},
       {Type("wi"), Type("3"), Type("b"), ClickAt(0, 0), ClickAt(2, 0)},
       {"L(1.0,1.7321)-(0.0,0.0);K(0,0,0);GR(0,10)", "L(2.0,0.0)-(1.0,1.7321);K(0,0,0);GR(0,10)",
        "L(0.0,0.0)-(2.0,0.0);K(0,0,0);GR(0,10)", other}},
      {"typed midpoint of a side: the square round a circle",
       {other},
       {Type("wi"), Type("4"), Type("0,0"), Type("o"), Type("1,0")},
       {"L(-1.0,-1.0)-(1.0,-1.0);K(0,0,0);GR(0,10)", "L(-1.0,1.0)-(-1.0,-1.0);K(0,0,0);GR(0,10)",
        "L(1.0,1.0)-(-1.0,1.0);K(0,0,0);GR(0,10)", "L(1.0,-1.0)-(1.0,1.0);K(0,0,0);GR(0,10)",
        other}},
      {"clicked midpoint of a hexagon's side",
       {other},
       {Type("wi"), Type("6"), ClickAt(0, 0), Type("O"), ClickAt(0, 3)},
       {"L(3.4641,0.0)-(1.7321,3.0);K(0,0,0);GR(0,10)",
        "L(1.7321,-3.0)-(3.4641,0.0);K(0,0,0);GR(0,10)",
        "L(-1.7321,-3.0)-(1.7321,-3.0);K(0,0,0);GR(0,10)",
        "L(-3.4641,0.0)-(-1.7321,-3.0);K(0,0,0);GR(0,10)",
        "L(-1.7321,3.0)-(-3.4641,0.0);K(0,0,0);GR(0,10)",
        "L(1.7321,3.0)-(-1.7321,3.0);K(0,0,0);GR(0,10)", other}},
  };
  for (const Session& c : cases) Check(c);
}

TEST_F(FormsTest, PolygonPromptsTellTheForms) {
  Draw({});
  Perform({Type("wi"), Type("5"), ClickAt(0, 0)});
  EXPECT_EQ(ui_.prompt, "Wprowadz Wierzchołek (o – środek boku)");
  editor_.CommandKey(Key::kEscape);
  Perform({Type("wi"), Type("5"), Type("b")});
  EXPECT_THAT(editor_.messages().lines(), Contains("Pierwszy punkt boku"));
  Perform({ClickAt(0, 0)});
  EXPECT_EQ(ui_.prompt, "Wprowadz Drugi punkt boku");
}

TEST_F(FormsTest, TypedCirclesAndArcs) {
  const std::string other = "L(9,9)-(9,8)";
  const Session cases[] = {
      {"circle in the colour and thickness in force, as o writes it",
       {other},
       {Type("O(0,0,3)")},
       {"O(0,0,3);K(0,0,0);GR(0,10)", other}},
      {"circle typed with its colour and thickness",
       {other},
       {Type("o(1.5,-2,0.25);K(255,0,0);GR(0,5)")},
       {"O(1.5,-2,0.25);K(255,0,0);GR(0.5)", other}},
      {"arc", {other}, {Type("LUK(0,0,1,0,90)")}, {"LUK(0,0,1,0,90);K(0,0,0);GR(0,10)", other}},
      {"arc across 0 with its colour",
       {other},
       {Type("luk(1,2,3,300,30);K(0,0,255)")},
       {"LUK(1,2,3,300,30);K(0,0,255);GR(0,10)", other}},
      {"luk is the arc command",
       {other},
       {Type("luk"), Type("0,0"), Type("1"), Type("0"), Type("90")},
       {"LUK(0,0,1,0,90);K(0,0,0);GR(0,10)", other}},
  };
  for (const Session& c : cases) Check(c);
}

TEST_F(FormsTest, MalformedTypedCirclesAndArcsAddNothing) {
  const struct {
    const char* entry;
    const char* message;
  } cases[] = {
      {"O(0,a,3)", "Nieprawidłowy zapis!"},
      {"LUK(0,0,1,90)", "Nieprawidłowy zapis!"},
      {"O(0,0,0)", "Anulowano okrąg (R=0)."},
      {"LUK(0,0,1,45,45)", "Anulowano łuk (A1=A2 lub R=0)."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entry);
    Draw({"L(9,9)-(9,8)"});
    Perform({Type(c.entry)});
    EXPECT_EQ(Lines(), std::vector<std::string>{"L(9,9)-(9,8)"});
    EXPECT_THAT(editor_.messages().lines(), Contains(c.message));
  }
}

}  // namespace
}  // namespace blok::testing
