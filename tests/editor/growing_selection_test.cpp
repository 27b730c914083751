#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/editing_session.h"

namespace blok::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

// Five rows two units long, one unit apart; the first drawn (y = 0) ends up as the last line.
const std::vector<std::string> kRows = {"L(0,0)-(2,0)", "L(0,1)-(2,1)", "L(0,2)-(2,2)",
                                        "L(0,3)-(2,3)", "L(0,4)-(2,4)"};

class GrowingSelectionTest : public EditingSessionTest {
 protected:
  void SetUp() override {
    EditingSessionTest::SetUp();
    Draw(kRows);
  }

  void ShiftClick(double x, double y) {
    const PixelPoint p = Pixel(x, y);
    editor_.MouseMove(p.x, p.y);
    editor_.MouseDown(MouseButton::kLeft, p.x, p.y, /*adding=*/true);
    editor_.MouseUp(MouseButton::kLeft, p.x, p.y, /*adding=*/true);
  }
  void ShiftDrag(double x1, double y1, double x2, double y2) {
    const PixelPoint a = Pixel(x1, y1);
    const PixelPoint b = Pixel(x2, y2);
    editor_.MouseMove(a.x, a.y);
    editor_.MouseDown(MouseButton::kLeft, a.x, a.y, true);
    editor_.MouseMove(b.x, b.y);
    editor_.MouseUp(MouseButton::kLeft, b.x, b.y, true);
  }
  void MoveTo(double x, double y) {
    const PixelPoint p = Pixel(x, y);
    editor_.MouseMove(p.x, p.y);
  }
  bool Selecting() { return editor_.machine().awaits() == Awaited::kSelection; }
  const std::string& LastMessage() { return editor_.messages().lines().at(0); }
  size_t DottedOverlayLines() const {
    size_t n = 0;
    for (const auto& call : surface_.overlay().CallsOf(CanvasCall::Kind::kLine)) {
      n += call.pen.style == PenStyle::kDotted;
    }
    return n;
  }
};

struct GrowCase {
  const char* command;
  std::vector<Step> finish;        // after the selection
  std::vector<std::string> lines;  // the drawing afterwards, line 0 first
};

// Rows y = 0 and y = 1 gathered with Shift, y = 2 clicked without: the command goes on with all
// three, and rows y = 3 and 4 stay as they were.
TEST_F(GrowingSelectionTest, ShiftGathersAndAPlainClickGoesOnWithAll) {
  const GrowCase cases[] = {
      {"mo",
       {Type("0,0"), Type("5,0")},
       {"L(0,4)-(2,4)", "L(0,3)-(2,3)", "L(5,2)-(7,2);K(0,0,0);GR(0.1)",
        "L(5,1)-(7,1);K(0,0,0);GR(0.1)", "L(5,0)-(7,0);K(0,0,0);GR(0.1)"}},
      {"co",
       {Type("0,0"), Type("5,0")},
       {"L(5,0)-(7,0);K(0,0,0);GR(0.1)", "L(5,1)-(7,1);K(0,0,0);GR(0.1)",
        "L(5,2)-(7,2);K(0,0,0);GR(0.1)", "L(0,4)-(2,4)", "L(0,3)-(2,3)", "L(0,2)-(2,2)",
        "L(0,1)-(2,1)", "L(0,0)-(2,0)"}},
      {"ob",
       {Type("0,0"), Type("90")},
       {"L(0,4)-(2,4)", "L(0,3)-(2,3)", "L(-2,0)-(-2,2);K(0,0,0);GR(0.1)",
        "L(-1,0)-(-1,2);K(0,0,0);GR(0.1)", "L(0,0)-(0,2);K(0,0,0);GR(0.1)"}},
      {"sc",
       {Type("0,0"), Type("2")},
       {"L(0,4)-(2,4)", "L(0,3)-(2,3)", "L(0,4)-(4,4);K(0,0,0);GR(0.1)",
        "L(0,2)-(4,2);K(0,0,0);GR(0.1)", "L(0,0)-(4,0);K(0,0,0);GR(0.1)"}},
      {"lu",
       {Type("5,0"), Type("5,1")},
       {"L(10,0)-(8,0);K(0,0,0);GR(0.1)", "L(10,1)-(8,1);K(0,0,0);GR(0.1)",
        "L(10,2)-(8,2);K(0,0,0);GR(0.1)", "L(0,4)-(2,4)", "L(0,3)-(2,3)", "L(0,2)-(2,2)",
        "L(0,1)-(2,1)", "L(0,0)-(2,0)"}},
      {"sz",
       {Type("1,2"), Type("1,5")},
       {"L(5,0)-(7,0);K(0,0,0);GR(0.1)", "L(5,1)-(7,1);K(0,0,0);GR(0.1)",
        "L(5,2)-(7,2);K(0,0,0);GR(0.1)", "L(0,4)-(2,4)", "L(0,3)-(2,3)", "L(0,2)-(2,2)",
        "L(0,1)-(2,1)", "L(0,0)-(2,0)"}},
      {"u", {}, {"L(0,4)-(2,4)", "L(0,3)-(2,3)"}},
      {"ed",
       {},
       {"L(0,4)-(2,4)", "L(0,3)-(2,3)", "L(0,2)-(2,2);K(0,0,0);GR(0.25)",
        "L(0,1)-(2,1);K(0,0,0);GR(0.25)", "L(0,0)-(2,0);K(0,0,0);GR(0.25)"}},
  };
  for (const GrowCase& c : cases) {
    SCOPED_TRACE(c.command);
    Draw(kRows);
    if (std::string(c.command) == "ed") {
      ui_.properties_answers.push_back([](PropertiesDialogModel& model) {
        model.ThicknessEdited("0,25");
        return model.Apply().has_value();
      });
    }
    editor_.CommandEntered(c.command);
    ShiftClick(1, 0);
    EXPECT_EQ(LastMessage(), "Wybrano 1 obiekt.");
    ShiftClick(1, 1);
    EXPECT_EQ(LastMessage(), "Wybrano 2 obiekty.");
    EXPECT_TRUE(Selecting());
    Click(1, 2);
    EXPECT_FALSE(Selecting());
    Perform(c.finish);
    EXPECT_THAT(Lines(), ElementsAreArray(c.lines));
  }
}

TEST_F(GrowingSelectionTest, OneUndoBringsBackAllThatOneDeletionTook) {
  editor_.CommandEntered("u");
  ShiftClick(1, 0);
  ShiftClick(1, 1);
  Click(1, 2);
  EXPECT_THAT(Lines(), ElementsAre("L(0,4)-(2,4)", "L(0,3)-(2,3)"));
  editor_.block().BCofnijClick();
  EXPECT_THAT(Lines(), ElementsAre("L(0,4)-(2,4)", "L(0,3)-(2,3)", "L(0,2)-(2,2)", "L(0,1)-(2,1)",
                                   "L(0,0)-(2,0)"));
}

TEST_F(GrowingSelectionTest, ShiftClickOnASelectedOneTakesItOut) {
  editor_.CommandEntered("u");
  ShiftClick(1, 0);
  ShiftClick(1, 1);
  ShiftClick(1, 0);
  EXPECT_EQ(LastMessage(), "Wybrano 1 obiekt.");
  ShiftClick(1, 1);
  EXPECT_EQ(LastMessage(), "Wybrano 0 obiektów.");
  ShiftClick(1, 3);
  Click(1, 4);
  EXPECT_THAT(Lines(), ElementsAre("L(0,2)-(2,2)", "L(0,1)-(2,1)", "L(0,0)-(2,0)"));
}

TEST_F(GrowingSelectionTest, ShiftWindowsAddAndEmptyEnterEnds) {
  editor_.CommandEntered("u");
  ShiftClick(1, 0);
  ShiftDrag(-1, 0.5, 3, 2.5);  // rows 1 and 2
  EXPECT_EQ(LastMessage(), "Wybrano 3 obiekty.");
  ShiftDrag(-1, -0.5, 3, 1.5);  // rows 0 and 1 again: a window never takes out
  EXPECT_EQ(LastMessage(), "Wybrano 3 obiekty.");
  ShiftDrag(-1, 2.5, 3, 4.5);
  EXPECT_EQ(LastMessage(), "Wybrano 5 obiektów.");
  ShiftClick(1, 4);
  EXPECT_EQ(LastMessage(), "Wybrano 4 obiekty.");
  EXPECT_THAT(Lines().size(), 5u);
  editor_.CommandEntered("");
  EXPECT_FALSE(Selecting());
  EXPECT_THAT(Lines(), ElementsAre("L(0,4)-(2,4)"));
  EXPECT_EQ(ui_.prompt, "Polecenie:");
}

TEST_F(GrowingSelectionTest, EmptyEnterWithNothingGatheredDoesAsBefore) {
  const struct {
    const char* label;
    bool shift_out;  // a row added and taken out again first
  } cases[] = {{"nothing gathered", false}, {"everything taken out", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    editor_.CommandEntered("u");
    if (c.shift_out) {
      ShiftClick(1, 0);
      ShiftClick(1, 0);
    }
    editor_.CommandEntered("");
    EXPECT_FALSE(editor_.machine().Runs("U"));
    EXPECT_EQ(LastMessage(), "         <- nieznane polecenie.");
    EXPECT_EQ(Lines().size(), 5u);
  }
}

TEST_F(GrowingSelectionTest, TheGatheredSelectionStaysShownAsTheMouseMoves) {
  editor_.CommandEntered("mo");
  ShiftClick(1, 0);
  EXPECT_EQ(DottedOverlayLines(), 1u);
  ShiftClick(1, 1);
  EXPECT_EQ(DottedOverlayLines(), 2u);
  // Over empty ground, and over a row the hover highlights.
  MoveTo(8, 8);
  EXPECT_EQ(DottedOverlayLines(), 2u);
  MoveTo(1, 3);
  EXPECT_GE(DottedOverlayLines(), 2u);
  // A frame being dragged keeps it too.
  const PixelPoint a = Pixel(-1, -1), b = Pixel(3, 5);
  editor_.MouseDown(MouseButton::kLeft, a.x, a.y, true);
  editor_.MouseMove(b.x, b.y);
  EXPECT_EQ(DottedOverlayLines(), 2u);
  // Esc forgets it.
  editor_.MouseUp(MouseButton::kLeft, a.x, a.y, true);
  editor_.CommandKey(Key::kEscape);
  MoveTo(8, 8);
  EXPECT_EQ(DottedOverlayLines(), 0u);
}

// A Shift press on an entity opens no dialog in ed (the script has none for it); the gathered
// rows end with empty Enter in "Zmiana cech".
TEST_F(GrowingSelectionTest, EditGathersForChangeOfProperties) {
  editor_.CommandEntered("ed");
  ShiftClick(1, 0);
  ShiftClick(1, 4);
  EXPECT_TRUE(Selecting());
  ui_.properties_answers.push_back([](PropertiesDialogModel& model) {
    model.ThicknessEdited("0,25");
    return model.Apply().has_value();
  });
  editor_.CommandEntered("");
  EXPECT_THAT(Lines(), ElementsAre("L(0,4)-(2,4);K(0,0,0);GR(0.25)", "L(0,3)-(2,3)", "L(0,2)-(2,2)",
                                   "L(0,1)-(2,1)", "L(0,0)-(2,0);K(0,0,0);GR(0.25)"));
  EXPECT_FALSE(editor_.machine().Runs("ED"));
}

// Without Shift nothing gathers: a second click is the next step's, as before.
TEST_F(GrowingSelectionTest, WithoutShiftTheFirstPickEndsTheStep) {
  editor_.CommandEntered("u");
  Click(1, 0);
  EXPECT_THAT(Lines().size(), 4u);
  EXPECT_FALSE(editor_.machine().Runs("U"));
}

}  // namespace
}  // namespace blok::testing
