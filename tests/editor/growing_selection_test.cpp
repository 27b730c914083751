#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/editing_session.h"
#include "support/editing_support.h"

namespace blok::testing {
namespace {

using ::testing::ElementsAre;

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

// Rows y = 0 and y = 1 gathered with Shift, y = 2 clicked without: the command goes on to its
// next step with all three (u and ed, which end there, have tests of their own).
TEST_F(GrowingSelectionTest, ShiftGathersAndAPlainClickGoesOnWithAll) {
  for (const char* command : {"mo", "co", "ob", "sc", "lu", "sz"}) {
    SCOPED_TRACE(command);
    editor_.CommandEntered(command);
    ShiftClick(1, 0);
    EXPECT_EQ(LastMessage(), "Wybrano 1 obiekt.");
    ShiftClick(1, 1);
    EXPECT_EQ(LastMessage(), "Wybrano 2 obiekty.");
    EXPECT_TRUE(Selecting());
    Click(1, 2);
    EXPECT_FALSE(Selecting());
    EXPECT_NE(editor_.machine().awaits(), Awaited::kNothing);
    EXPECT_THAT(blok::testing::SelectedLines(editor_.block().selection(),
                                             editor_.block().drawing().lines()),
                ElementsAre("L(0,2)-(2,2)", "L(0,1)-(2,1)", "L(0,0)-(2,0)"));
    editor_.CommandKey(Key::kEscape);
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

// A Shift press on an entity opens no dialog in ed (the script has none for it); the plain click
// that ends the gathering opens "Zmiana cech" for all three.
TEST_F(GrowingSelectionTest, EditGathersForChangeOfProperties) {
  editor_.CommandEntered("ed");
  ShiftClick(1, 0);
  ShiftClick(1, 4);
  EXPECT_TRUE(Selecting());
  ui_.properties_answers.push_back([](PropertiesDialogModel& model) {
    model.ThicknessEdited("0,25");
    return model.Apply().has_value();
  });
  Click(1, 2);
  EXPECT_THAT(Lines(), ElementsAre("L(0,4)-(2,4);K(0,0,0);GR(0.25)", "L(0,3)-(2,3)",
                                   "L(0,2)-(2,2);K(0,0,0);GR(0.25)", "L(0,1)-(2,1)",
                                   "L(0,0)-(2,0);K(0,0,0);GR(0.25)"));
  EXPECT_FALSE(editor_.machine().Runs("ED"));
}

}  // namespace
}  // namespace blok::testing
