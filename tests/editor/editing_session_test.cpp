#include "editor/editing_session.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace blok::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

TEST_F(EditingSessionTest, EveryEditingCommandOfTheHelpList) {
  const std::string a = "L(0,0)-(2,0);K(0,0,0);GR(0.1)";
  const Session cases[] = {
      {"move a picked line by two points",
       {a},
       {Type("mo"), ClickAt(1, 0), ClickAt(0, 0), ClickAt(1, 2)},
       {"L(1,2)-(3,2);K(0,0,0);GR(0.1)"}},
      {"copy",
       {a},
       {Type("co"), ClickAt(1, 0), ClickAt(0, 0), ClickAt(0, 3)},
       {"L(0,3)-(2,3);K(0,0,0);GR(0.1)", a}},
      {"delete", {a, "O(5,5,1)"}, {Type("u"), ClickAt(6, 5)}, {a}},
      {"rotate by a typed angle",
       {a},
       {Type("ob"), ClickAt(1, 0), ClickAt(0, 0), Type("90")},
       {"L(0,0)-(0,2);K(0,0,0);GR(0.1)"}},
      {"scale about a base point",
       {a},
       {Type("sc"), ClickAt(1, 0), ClickAt(0, 0), Type("2")},
       {"L(0,0)-(4,0);K(0,0,0);GR(0.1)"}},
      {"stretch the end inside the window",
       {a},
       {Type("ro"), DragFrom(1.5, -1, 3, 1), ClickAt(2, 0), ClickAt(3, 1)},
       {"L(0,0)-(3,1);K(0,0,0);GR(0.1)"}},
      {"window selection for a move",
       {a, "O(5,5,1)"},
       {Type("mo"), DragFrom(-1, -1, 3, 1), ClickAt(0, 0), ClickAt(0, -2)},
       {"O(5,5,1)", "L(0,-2)-(2,-2);K(0,0,0);GR(0.1)"}},
      {"trim the clicked part at the cutting line",
       {"L(0,-2)-(0,2)", "L(-2,0)-(2,0)"},
       {Type("tr"), ClickAt(0, 1), ClickAt(1, 0)},
       {"L(-2,0)-(0,0);K(0,0,0);GR(0.1)", "L(0,-2)-(0,2)"}},
      {"extend to the boundary",
       {"L(3,-2)-(3,2)", "L(-2,0)-(1,0)"},
       {Type("w"), ClickAt(3, 1), ClickAt(0, 0)},
       {"L(-2,0)-(3,0);K(0,0,0);GR(0.1)", "L(3,-2)-(3,2)"}},
      {"chamfer two lines at their crossing",
       {"L(-2,0)-(2,0)", "L(0,-2)-(0,2)"},
       {Type("f"), ClickAt(-1, 0), ClickAt(0, 1)},
       {"L(0,0)-(0,2);K(0,0,0);GR(0.1)", "L(-2,0)-(0,0);K(0,0,0);GR(0.1)"}},
      {"offset by a typed distance, twice",
       {"L(0,0)-(4,0)"},
       {Type("od"), Type("1"), ClickAt(2, 0), ClickAt(2, 3), ClickAt(2, 3)},
       {"L(0,2)-(4,2);K(0,0,0);GR(0.1)", "L(0,1)-(4,1);K(0,0,0);GR(0.1)", "L(0,0)-(4,0)"}},
  };
  for (const Session& c : cases) {
    SCOPED_TRACE(c.label);
    Draw(c.drawing);
    const size_t before = Records();
    Perform(c.steps);
    EXPECT_THAT(Lines(), ElementsAreArray(c.lines));
    // Every change is undone by the journal.
    UndoSince(before);
    EXPECT_EQ(Lines(), std::vector<std::string>(c.drawing.rbegin(), c.drawing.rend()));
  }
}

TEST_F(EditingSessionTest, PicksThatAreNotLinesKeepTrimWaiting) {
  Draw({"T(0.5,4.5,'MM',1,1,0)", "L(-2,0)-(2,0)", "L(3,-2)-(3,2)"});
  editor_.CommandEntered("tr");
  Click(1, 5);  // a text is no cutting edge
  Click(5, 5);  // nothing there
  EXPECT_TRUE(editor_.machine().wskaz().tnijKrawedz);
  Click(3, 1);  // the line
  EXPECT_TRUE(editor_.machine().wskaz().tnijObiekt);
  EXPECT_EQ(editor_.machine().wskaz().obiekt1, 0);
  editor_.CommandKey(Key::kEscape);
  EXPECT_EQ(editor_.machine().wskaz().obiekt1, -1);
  EXPECT_EQ(editor_.machine().wskaz().obiekt2, -1);
  EXPECT_TRUE(editor_.block().selection().empty());
}

TEST_F(EditingSessionTest, ScaleFactorBeforeTheBaseIsIgnored) {
  Draw({"L(0,0)-(2,0)"});
  editor_.CommandEntered("sc");
  Click(1, 0);
  editor_.CommandEntered("2");  // no base point yet
  EXPECT_THAT(Lines(), ElementsAre("L(0,0)-(2,0)"));
  EXPECT_EQ(editor_.messages().lines().front(), "2         <- nieznane polecenie.");
}

// A text clicked as the edge or as the object, or a kind the command does not change as the
// object: said, and the step still waits.
TEST_F(EditingSessionTest, TrimAndExtendSayWhatTheyTake) {
  const struct {
    const char* command;
    const char* other;
    const char* edge_message;  // none: it is an edge
    const char* message;
  } commands[] = {
      {"tr", "T(3.5,-0.5,'MM',1,1,0)", "Krawędzią tnącą może być linia, prostokąt, okrąg lub łuk.",
       "Utnij bierze linie, okręgi i łuki: prostokąty i teksty pomija."},
      {"w", "T(3.5,-0.5,'MM',1,1,0)",
       "Krawędzią wydłużenia może być linia, prostokąt, okrąg lub łuk.",
       "Wydłuż bierze linie i łuki: okręgi, prostokąty i teksty pomija."},
      {"tr", "P(3,-1)-(4,1)", nullptr,
       "Utnij bierze linie, okręgi i łuki: prostokąty i teksty pomija."},
      {"w", "O(5,0,1)", nullptr, "Wydłuż bierze linie i łuki: okręgi, prostokąty i teksty pomija."},
  };
  for (const auto& c : commands) {
    SCOPED_TRACE(std::string(c.command) + " " + c.other);
    Draw({"L(0,-2)-(0,2)", "L(-2,0)-(2,0)", c.other});
    editor_.CommandEntered(c.command);
    if (c.edge_message != nullptr) {
      Click(4, 0);  // as the edge
      EXPECT_EQ(editor_.messages().lines().front(), c.edge_message);
    }
    Click(0, 1);  // a line: the edge
    Click(4, 0);  // as the object
    EXPECT_EQ(editor_.messages().lines().front(), c.message);
    EXPECT_EQ(Records(), 3u);
    editor_.CommandKey(Key::kEscape);
  }
}

// A zero factor is refused with a word and asked again: the next factor scales.
TEST_F(EditingSessionTest, ZeroScaleFactorIsAskedAgain) {
  for (const char* zero : {"0", "0.0000001", "-0"}) {
    SCOPED_TRACE(zero);
    Draw({"L(0,0)-(2,0)"});
    editor_.CommandEntered("sc");
    Click(1, 0);
    Click(0, 0);
    editor_.CommandEntered(zero);
    EXPECT_THAT(Lines(), ElementsAre("L(0,0)-(2,0)"));
    EXPECT_EQ(editor_.messages().lines().front(),
              "Współczynnik skali nie może być zerem. Wpisz inny.");
    editor_.CommandEntered("2");
    EXPECT_THAT(Lines(), ElementsAre("L(0,0)-(4,0);K(0,0,0);GR(0.1)"));
  }
}

// A rotation ends its command however its angle came: the prompt asks for a command again and
// a number typed next is no angle.
TEST_F(EditingSessionTest, RotationEndsTheCommand) {
  const struct {
    const char* label;
    std::vector<Step> angle;
    const char* line;
  } cases[] = {
      {"typed", {Type("90")}, "L(0,0)-(0,2);K(0,0,0);GR(0.1)"},
      {"clicked", {ClickAt(0, 3)}, "L(0,0)-(0,2);K(0,0,0);GR(0.1)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    Draw({"L(0,0)-(2,0);K(0,0,0);GR(0.1)"});
    editor_.CommandEntered("ob");
    Click(1, 0);
    Click(0, 0);
    EXPECT_EQ(ui_.prompt, "Wprowadz Kąt obrotu");
    for (const Step& step : c.angle) {
      if (step.kind == Step::kType) editor_.CommandEntered(step.text);
      if (step.kind == Step::kClick) Click(step.x1, step.y1);
    }
    EXPECT_THAT(Lines(), ElementsAre(c.line));
    EXPECT_EQ(ui_.prompt, "Polecenie:");
    EXPECT_TRUE(editor_.machine().wskaz().Polecenie.empty());
    editor_.CommandEntered("45");
    EXPECT_THAT(Lines(), ElementsAre(c.line));
  }
}

// An entry that abandons the running command takes the step's label and highlight with it, as
// Esc does; the mouse need not move first.
TEST_F(EditingSessionTest, AnAbandonedCommandLeavesNothingOnTheOverlay) {
  Draw({"L(0,0)-(2,0)"});
  editor_.CommandEntered("u");
  const PixelPoint p = Pixel(1, 0);
  editor_.MouseMove(p.x, p.y);
  ASSERT_FALSE(surface_.overlay().calls().empty());  // "Wskaż OBIEKT do usunięcia"
  editor_.CommandEntered("xyz");
  EXPECT_TRUE(editor_.machine().wskaz().Polecenie.empty());
  EXPECT_TRUE(surface_.overlay().calls().empty());
}

TEST_F(EditingSessionTest, DoubleClickEditsTheLineInItsDialog) {
  Draw({"L(0,0)-(2,0)", "O(5,5,1)"});
  editor_.CommandEntered("l");
  ui_.line_answers.push_back([](LineDialogModel& model) {
    EXPECT_EQ(model.x2, "2");
    model.x2 = "3,5";
    return model.Apply().has_value();
  });
  const PixelPoint p = Pixel(1, 0);
  editor_.MouseDown(MouseButton::kLeft, p.x, p.y);
  editor_.DoubleClick(p.x, p.y);
  EXPECT_THAT(Lines(), ElementsAre("O(5,5,1)", "L(0,0.0)-(3.5,0.0);K(0,0,0);GR(0,1)"));
  // The line command goes on where it was: the first press gave its first point.
  EXPECT_TRUE(editor_.machine().wskaz().szukajP2);
}

TEST_F(EditingSessionTest, EditOnEmptyGroundSelectsForChangeOfProperties) {
  Draw({"L(0,0)-(2,0)", "O(5,5,1)", "T(0,3,'Opis',1,1,0)"});
  editor_.CommandEntered("ed");
  ui_.properties_answers.push_back([](PropertiesDialogModel& model) {
    model.ThicknessEdited("0,25");
    return model.Apply().has_value();
  });
  Drag(-1, -1, 3, 4);  // the line and the text, not the circle
  EXPECT_THAT(Lines(), ElementsAre("T(0,3,'Opis',1,1,0);K(0,0,0);GR(0.25)", "O(5,5,1)",
                                   "L(0,0)-(2,0);K(0,0,0);GR(0.25)"));
  EXPECT_TRUE(editor_.machine().wskaz().Polecenie.empty());
  EXPECT_FALSE(editor_.machine().wskaz().wybor);
}

}  // namespace
}  // namespace blok::testing

namespace blok::testing {
namespace {

TEST_F(EditingSessionTest, MovePreviewFollowsTheMouse) {
  Draw({"L(0,0)-(2,0);K(0,0,255)"});
  editor_.CommandEntered("mo");
  Drag(-1, -1, 3, 1);
  ASSERT_EQ(editor_.block().selection().count, 1u);
  Click(0, 0);
  const PixelPoint p = Pixel(1, 2);
  editor_.MouseMove(p.x, p.y);
  size_t moved = 0;
  for (const auto& call : surface_.overlay().CallsOf(CanvasCall::Kind::kLine)) {
    if (call.pen.colour == 0xFF0000u && call.pen.style == PenStyle::kDotted) ++moved;
  }
  EXPECT_EQ(moved, 1u);
}

}  // namespace
}  // namespace blok::testing
