// What a finished command leaves, and previews that show what the click will write.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "editor/editing_session.h"

namespace blok::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;

constexpr Colour kPreviewRed = 0x0000FF;
constexpr Colour kRubberGreen = 0x008000;

class CommandResultsTest : public EditingSessionTest {
 protected:
  void MoveTo(double x, double y) {
    const PixelPoint p = Pixel(x, y);
    editor_.MouseMove(p.x, p.y);
  }
  // The points of the overlay's lines, polylines and rectangles drawn in this colour (or, with
  // `other`, in any other colour).
  std::vector<PixelPoint> OverlayPoints(Colour colour, bool other = false) const {
    std::vector<PixelPoint> points;
    for (const CanvasCall& call : surface_.overlay().calls()) {
      if ((call.pen.colour == colour) == other) continue;
      if (call.kind == CanvasCall::Kind::kRectangle) {
        const auto& r = call.ints;
        points.insert(points.end(), {{r[0], r[1]}, {r[2], r[3]}, {r[0], r[3]}, {r[2], r[1]}});
      } else if (call.kind == CanvasCall::Kind::kLine || call.kind == CanvasCall::Kind::kPolyline) {
        for (size_t i = 0; i + 1 < call.ints.size(); i += 2) {
          points.push_back({call.ints[i], call.ints[i + 1]});
        }
      }
    }
    return points;
  }
  size_t OverlayLines(Colour colour) const {
    size_t n = 0;
    for (const CanvasCall& call : surface_.overlay().CallsOf(CanvasCall::Kind::kLine)) {
      n += call.pen.colour == colour;
    }
    return n;
  }
  std::vector<std::string> OverlayTexts() const {
    std::vector<std::string> texts;
    for (const CanvasCall& call : surface_.overlay().CallsOf(CanvasCall::Kind::kText)) {
      texts.push_back(call.text);
    }
    return texts;
  }
};

// A command that has done its work ends: the prompt asks for a command again.
TEST_F(CommandResultsTest, FinishedCommandsEnd) {
  const Session cases[] = {
      {"circle", {}, {Type("o"), Type("0,0"), Type("2")}, {}},
      {"circle by clicks", {}, {Type("o"), ClickAt(0, 0), ClickAt(2, 0)}, {}},
      {"chamfer",
       {"L(-2,0)-(2,0)", "L(0,-2)-(0,2)"},
       {Type("f"), ClickAt(-1, 0), ClickAt(0, 1)},
       {}},
      {"delete", {"O(5,5,1)"}, {Type("u"), ClickAt(6, 5)}, {}},
  };
  for (const Session& c : cases) {
    SCOPED_TRACE(c.label);
    Draw(c.drawing);
    Perform(c.steps);
    EXPECT_EQ(ui_.prompt, "Polecenie:");
    EXPECT_TRUE(editor_.machine().wskaz().Polecenie.empty());
    EXPECT_FALSE(editor_.machine().wskaz().fazuj2 || editor_.machine().wskaz().usun);
  }
}

TEST_F(CommandResultsTest, ScaleTakesATypedBasePoint) {
  Draw({"L(0,0)-(2,0);K(0,0,0);GR(0.1)"});
  Perform({Type("sc"), ClickAt(1, 0)});
  EXPECT_EQ(ui_.prompt, "Wprowadz  X , Y");
  Perform({Type("1,0")});
  EXPECT_EQ(ui_.prompt, "Wprowadz Współczynnik :");
  // While the factor is awaited nothing asks for objects any more.
  MoveTo(3, 3);
  EXPECT_THAT(OverlayTexts(), Not(Contains("Wskaż OBIEKT do skalowania")));
  Perform({Type("3")});
  EXPECT_THAT(Lines(), ElementsAre("L(-2,0)-(4,0);K(0,0,0);GR(0.1)"));
}

TEST_F(CommandResultsTest, RectanglePreviewIsARectangle) {
  Draw({});
  Perform({Type("p"), ClickAt(0, 0)});
  MoveTo(3, 2);
  EXPECT_EQ(OverlayLines(kRubberGreen), 4u);
  const PixelPoint far = Pixel(3, 2);
  const PixelPoint near = Pixel(0, 0);
  const std::vector<PixelPoint> corners = OverlayPoints(kRubberGreen);
  EXPECT_THAT(corners, Contains(PixelPoint{near.x, far.y}));
  EXPECT_THAT(corners, Contains(PixelPoint{far.x, near.y}));
}

// The stretch preview moves the corners the operation moves: here the corner a rectangle's
// line does not name.
TEST_F(CommandResultsTest, StretchPreviewShowsTheResult) {
  Draw({"P(0,0)-(2,2);K(0,0,0);GR(0.1)"});
  Perform({Type("ro"), DragFrom(1.5, -0.5, 2.5, 0.5), ClickAt(2, 0)});
  MoveTo(3, -1);
  const PixelPoint target = Pixel(3, -1);
  bool shown = false;
  for (const PixelPoint& p : OverlayPoints(kRubberGreen, /*other=*/true)) {
    shown |= std::abs(p.x - target.x) <= 1 && std::abs(p.y - target.y) <= 1;
  }
  EXPECT_TRUE(shown);
  Perform({ClickAt(3, -1)});
  EXPECT_NE(Lines().front(), "P(0,0)-(2,2);K(0,0,0);GR(0.1)");
}

// With the cursor on the start ray's line behind the centre, a click writes the upper half:
// the preview shows that half, not the lower one.
TEST_F(CommandResultsTest, ArcPreviewShowsTheArcAClickWrites) {
  Draw({});
  Perform({Type("a"), Type("0,0"), Type("2"), Type("0")});
  MoveTo(-2, 0);
  const std::vector<PixelPoint> arc = OverlayPoints(kPreviewRed);
  ASSERT_FALSE(arc.empty());
  const int centre_y = Pixel(0, 0).y;
  for (const PixelPoint& p : arc) EXPECT_LE(p.y, centre_y + 1);
  Perform({ClickAt(-2, 0)});
  EXPECT_THAT(Lines(), ElementsAre("LUK(0,0,2,0,180);K(0,0,0);GR(0,10)"));
}

TEST_F(CommandResultsTest, LoadingABlockEndsTheCommand) {
  Draw({"L(0,0)-(2,0)"});
  Perform({Type("mo"), ClickAt(1, 0)});
  ASSERT_FALSE(editor_.block().selection().empty());
  SelectBlock("BBB");
  ui_.answers.push_back(Answer::kNie);
  editor_.WczytajWybranyBlok();
  EXPECT_TRUE(editor_.machine().wskaz().Polecenie.empty());
  EXPECT_TRUE(editor_.block().selection().empty());
  const std::vector<std::string> loaded = Lines();
  Perform({ClickAt(0, 0), ClickAt(5, 5)});
  EXPECT_EQ(Lines(), loaded);
}

// What the window lets into a line: a thickness that is no number never reaches an entity.
TEST_F(CommandResultsTest, ThicknessThatIsNoNumberIsRefused) {
  Draw({});
  EXPECT_FALSE(editor_.preferences().SetThicknessText("abc"));
  ASSERT_EQ(ui_.message_boxes.size(), 1u);
  EXPECT_EQ(ui_.message_boxes[0], "\"abc\" nie jest poprawną liczbą.");
  EXPECT_EQ(editor_.preferences().settings().thickness_text, "0,10");
  EXPECT_TRUE(editor_.preferences().SetThicknessText("0,35"));
  Perform({Type("l"), Type("0,0"), Type("1,0")});
  EXPECT_THAT(Lines(), ElementsAre("L(0.0,0.0)-(1.0,0.0);K(0,0,0);GR(0,35)"));
}

// A text size that is no number stops t before its text is typed and lost.
TEST_F(CommandResultsTest, TextDoesNotStartWithASizeThatIsNoNumber) {
  Draw({});
  EXPECT_FALSE(editor_.preferences().SetTextWidthText("szeroki"));
  ui_.ClearRecords();
  Perform({Type("t")});
  ASSERT_EQ(ui_.message_boxes.size(), 1u);
  EXPECT_EQ(ui_.message_boxes[0], "\"szeroki\" nie jest poprawną liczbą.");
  EXPECT_TRUE(editor_.machine().wskaz().Polecenie.empty());
  EXPECT_EQ(editor_.messages().lines().front(), "Anulowano.");
}

TEST_F(CommandResultsTest, LineDialogSaysWhatItWrote) {
  Draw({"L(0,0)-(2,0);K(0,0,0);GR(0.1)", "O(5,5,1)"});
  ui_.line_answers = {ScriptedUi::Confirm<LineDialogModel>()};
  ui_.circle_answers = {ScriptedUi::Confirm<CircleDialogModel>()};
  editor_.block().OpenEntityEditor(1);
  EXPECT_EQ(editor_.messages().lines().front(), Lines()[1]);
  const size_t said = editor_.messages().lines().size();
  editor_.block().OpenEntityEditor(0);
  EXPECT_EQ(editor_.messages().lines().size(), said);
}

// One Cofnij takes back what one command did, however many entities it changed; Naprzód puts
// it all back. A chain of lines is a step per line, as each line is seen added.
TEST_F(CommandResultsTest, OneCofnijPerCommand) {
  const struct {
    const char* label;
    std::vector<std::string> drawing;
    std::vector<Step> steps;
    int clicks;  // Cofnij clicks back to the drawing
  } cases[] = {
      {"rectangle", {}, {Type("p"), Type("0,0"), Type("2,2")}, 1},
      {"window delete",
       {"O(20,20,1)", "O(0,0,1)", "O(3,0,1)", "O(6,0,1)", "L(0,2)-(6,2)"},
       {Type("u"), DragFrom(-2, -2, 8, 3)},
       1},
      {"chamfer",
       {"L(-2,0)-(2,0)", "L(0,-2)-(0,2)"},
       {Type("f"), ClickAt(-1, 0), ClickAt(0, 1)},
       1},
      {"rotated rectangle into four lines",
       {"P(0,0)-(2,1)"},
       {Type("ob"), ClickAt(2, 0.5), Type("0,0"), Type("30")},
       1},
      {"typed entity", {}, {Type("P(0,0)-(1,1)")}, 1},
      {"chain of three lines",
       {},
       {Type("l"), Type("0,0"), Type("1,0"), Type("1,1"), Type("2,1")},
       3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    Draw(c.drawing);
    Perform(c.steps);
    editor_.CommandKey(Key::kEscape);
    const std::vector<std::string> done = Lines();
    for (int i = 0; i < c.clicks; ++i) {
      ASSERT_TRUE(editor_.block().journal().CanUndo());
      editor_.block().BCofnijClick();
    }
    EXPECT_EQ(Lines(), std::vector<std::string>(c.drawing.rbegin(), c.drawing.rend()));
    for (int i = 0; i < c.clicks; ++i) editor_.block().BPrzodClick();
    EXPECT_EQ(Lines(), done);
    EXPECT_FALSE(editor_.block().journal().CanRedo());
  }
}

// An operation that cannot write some of the selected shapes changes none of them and says how
// many: a move never moves part of a selection. The long text still reads where it stands; its
// line would pass 255 characters with the far coordinates.
TEST_F(CommandResultsTest, AllOrNothingWhenAShapeCannotBeWritten) {
  const std::string text = "T(0,0,'" + std::string(215, 'x') + "',1,1,0)";
  const struct {
    const char* label;
    std::vector<Step> steps;
  } cases[] = {
      {"move", {Type("mo"), DragFrom(-1, -1, 3, 3), Type("0,0"), Type("1000000,1000000")}},
      {"copy", {Type("co"), DragFrom(-1, -1, 3, 3), Type("0,0"), Type("1000000,1000000")}},
      {"scale", {Type("sk"), DragFrom(-1, -1, 3, 3), Type("0,0"), Type("10000000")}},
      {"rotate", {Type("ob"), DragFrom(-1, -1, 3, 3), Type("1000000,1000000"), Type("180")}},
      {"mirror", {Type("lu"), DragFrom(-1, -1, 3, 3), Type("1000000,0"), Type("1000000,1")}},
      {"array", {Type("sz"), DragFrom(-1, -1, 3, 3), Type("2,2"), Type("1000000,1000000")}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    Draw({"L(0,0)-(1,1)", "O(2,2,0.5)", text});
    const std::vector<std::string> before = Lines();
    const size_t records = Records();
    Perform(c.steps);
    EXPECT_EQ(Lines(), before);
    EXPECT_EQ(Records(), records);
    EXPECT_THAT(editor_.messages().lines(),
                Contains("Nic nie zmieniono: po tej zmianie nie da się zapisać obiektów: 1 "
                         "(za długa linia lub za duże liczby)."));
  }
}

}  // namespace
}  // namespace blok::testing
