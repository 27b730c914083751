#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "editor/editor_fixture.h"

namespace blok::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class MouseDrawingTest : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    OpenLibrary();
    editor_.view().FirstShow();
    editor_.PaintPendingFrame();
  }

  PixelPoint Pixel(double x, double y) {
    return {editor_.view().transform().WorldToScreenX(x),
            editor_.view().transform().WorldToScreenY(y)};
  }
  void Click(double x, double y, int off_x = 0, int off_y = 0) {
    const PixelPoint p = Pixel(x, y);
    editor_.MouseMove(p.x + off_x, p.y + off_y);
    editor_.MouseDown(MouseButton::kLeft, p.x + off_x, p.y + off_y);
    editor_.MouseUp(MouseButton::kLeft, p.x + off_x, p.y + off_y);
  }
  void MoveTo(double x, double y, int off_x = 0, int off_y = 0) {
    const PixelPoint p = Pixel(x, y);
    editor_.MouseMove(p.x + off_x, p.y + off_y);
  }
  std::vector<std::string> Added() {
    const auto& lines = editor_.block().drawing().lines();
    return {lines.rbegin(), lines.rend()};
  }
  std::vector<std::string> OverlayTexts() const {
    std::vector<std::string> texts;
    for (const auto& call : surface_.overlay().CallsOf(CanvasCall::Kind::kText)) {
      texts.push_back(call.text);
    }
    return texts;
  }
  // Overlay lines drawn in this pen colour.
  size_t OverlayLines(Colour colour) const {
    size_t n = 0;
    for (const auto& call : surface_.overlay().CallsOf(CanvasCall::Kind::kLine)) {
      if (call.pen.colour == colour) ++n;
    }
    return n;
  }
  void Grid() { editor_.preferences().SetGridSnap(true); }
};

struct MouseSession {
  const char* label;
  const char* command;
  std::vector<std::pair<double, double>> clicks;  // on the grid of step 1
  std::vector<std::string> typed;                 // after the clicks
  std::vector<std::string> added;
};

TEST_F(MouseDrawingTest, GridClicksDrawEveryKind) {
  const MouseSession cases[] = {
      {"chained lines",
       "l",
       {{0, 0}, {2, 0}, {2, 3}},
       {},
       {"L(0.0,0.0)-(2.0,0.0);K(0,0,0);GR(0,10)", "L(2.0,0.0)-(2.0,3.0);K(0,0,0);GR(0,10)"}},
      {"rectangle",
       "p",
       {{1, 1}, {3, -2}},
       {},
       {"L(1.0,1.0)-(1.0,-2.0);K(0,0,0);GR(0,10)", "L(1.0,-2.0)-(3.0,-2.0);K(0,0,0);GR(0,10)",
        "L(3.0,-2.0)-(3.0,1.0);K(0,0,0);GR(0,10)", "L(3.0,1.0)-(1.0,1.0);K(0,0,0);GR(0,10)"}},
      {"circle; later clicks do nothing",
       "o",
       {{1, 1}, {3, 1}, {5, 5}, {6, 6}},
       {},
       {"O(1,1,2);K(0,0,0);GR(0,10)"}},
      // The end direction is taken in single precision: atan 2 lands just above 63.43495.
      {"arc ending counter-clockwise of its start",
       "a",
       {{0, 0}, {2, 0}, {3, 0}, {1, 2}},
       {},
       {"LUK(0,0,2,0,63.435);K(0,0,0);GR(0,10)"}},
      {"arc ending clockwise of its start is the short way round",
       "a",
       {{0, 0}, {2, 0}, {3, 0}, {1, -2}},
       {},
       {"LUK(0,0,2,296.565,360);K(0,0,0);GR(0,10)"}},
      {"text turned by a click",
       "t",
       {{1, 1}, {1, 3}},
       {"Opis"},
       {"T(1,1,'Opis',0.6,0.5,90);K(0,0,0);GR(0,10)"}},
      {"a typed start angle, a clicked end", "a", {{0, 0}, {2, 0}}, {"90"}, {}},
  };
  Grid();
  for (const MouseSession& c : cases) {
    SCOPED_TRACE(c.label);
    if (editor_.block().unsaved()) ui_.answers.push_back(Answer::kNie);
    editor_.NowyBlok();
    editor_.CommandEntered(c.command);
    for (auto [x, y] : c.clicks) Click(x, y);
    for (const std::string& entry : c.typed) editor_.CommandEntered(entry);
    EXPECT_EQ(Added(), c.added);
  }
}

TEST_F(MouseDrawingTest, TypedStartAngleDecidesTheSideOfAClickedEnd) {
  Grid();
  editor_.CommandEntered("a");
  Click(0, 0);
  Click(2, 0);
  editor_.CommandEntered("90");
  // The click at 0 degrees lies clockwise of the 90-degree start: the short way from 0 to 90.
  Click(3, 0);
  EXPECT_THAT(Added(), ElementsAre("LUK(0,0,2,0,90);K(0,0,0);GR(0,10)"));
}

TEST_F(MouseDrawingTest, ObjectSnapsCatchTheirPoints) {
  editor_.block().DodajObiekt("L(0,0)-(4,4)");
  editor_.block().DodajObiekt("O(10,0,2)");
  editor_.block().DodajObiekt("L(0,4)-(4,0)");
  const struct {
    Snap snap;
    std::pair<double, double> near;  // clicked 3 pixels right and down of this point
    const char* typed_end;
    std::string line;
  } cases[] = {
      {Snap::kEnd, {4, 4}, "8,8", "L(4.0,4.0)-(8.0,8.0);K(0,0,0);GR(0,10)"},
      {Snap::kMiddle, {2, 2}, "8,8", "L(2.0,2.0)-(8.0,8.0);K(0,0,0);GR(0,10)"},
      {Snap::kCentre, {12, 0}, "8,8", "L(10.0,0.0)-(8.0,8.0);K(0,0,0);GR(0,10)"},
      {Snap::kIntersection, {2, 2}, "8,8", "L(2.0,2.0)-(8.0,8.0);K(0,0,0);GR(0,10)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.snap));
    for (Snap s : {Snap::kEnd, Snap::kMiddle, Snap::kCentre, Snap::kIntersection}) {
      editor_.preferences().SetSnap(s, s == c.snap);
    }
    editor_.CommandEntered("l");
    Click(c.near.first, c.near.second, 3, 3);
    editor_.CommandEntered(c.typed_end);
    EXPECT_EQ(editor_.block().drawing().lines().front(), c.line);
    editor_.CommandKey(Key::kEscape);
  }
}

TEST_F(MouseDrawingTest, SnapMarkerAndLabelFollowTheCursor) {
  editor_.block().DodajObiekt("L(0,0)-(4,4)");
  editor_.preferences().SetSnap(Snap::kEnd, true);
  editor_.CommandEntered("l");
  MoveTo(4, 4, 2, 0);
  const PixelPoint s = Pixel(4, 4);
  const auto rectangles = surface_.overlay().CallsOf(CanvasCall::Kind::kRectangle);
  ASSERT_EQ(rectangles.size(), 1u);
  EXPECT_EQ(rectangles[0].ints, (std::vector<int>{s.x - 7, s.y - 7, s.x + 7, s.y + 7}));
  EXPECT_EQ(rectangles[0].pen.colour, 0x00FFFFu);
  EXPECT_THAT(OverlayTexts(), ElementsAre(" X=4,000 Y=4,000"));
  // Away from the line: the plain cursor label, and the old marker is gone.
  MoveTo(-5, -5);
  EXPECT_THAT(surface_.overlay().CallsOf(CanvasCall::Kind::kRectangle), IsEmpty());
  ASSERT_EQ(OverlayTexts().size(), 1u);
  EXPECT_EQ(OverlayTexts()[0].substr(0, 2), "X=");
}

TEST_F(MouseDrawingTest, PreviewsOfEachStep) {
  Grid();
  editor_.CommandEntered("l");
  Click(0, 0);
  MoveTo(3, 4);
  EXPECT_GE(OverlayLines(0x008000), 1u);  // the green rubber line
  EXPECT_THAT(OverlayTexts(),
              ElementsAre("SIATKA X=3,000 Y=4,000", "dx=3,000 dy=4,000 L=5,000 A=53,130"));

  editor_.CommandKey(Key::kEscape);
  editor_.CommandEntered("o");
  MoveTo(1, 1);
  EXPECT_THAT(OverlayTexts(), ElementsAre("SIATKA X=1,000 Y=1,000", "PUNKT ŚRODKOWY"));
  Click(1, 1);
  MoveTo(4, 1);
  EXPECT_GE(OverlayLines(0x0000FF), 30u);  // the red circle through the cursor
  EXPECT_GE(OverlayLines(0x00FFFF), 1u);   // and its yellow radius
  EXPECT_EQ(OverlayTexts().back(), " R=3,000");
}

TEST_F(MouseDrawingTest, PanAndZoomTakeTheirPress) {
  Grid();
  editor_.CommandEntered("l");
  editor_.view().BeginZoomWindow();
  const PixelPoint a = Pixel(0, 0);
  editor_.MouseDown(MouseButton::kLeft, a.x, a.y);
  EXPECT_TRUE(editor_.machine().wskaz().szukajP1);  // no point was taken
  editor_.MouseUp(MouseButton::kLeft, a.x + 100, a.y + 100);
  const PixelPoint m = Pixel(0, 0);
  editor_.MouseDown(MouseButton::kMiddle, m.x, m.y);
  editor_.MouseUp(MouseButton::kMiddle, m.x, m.y);
  EXPECT_TRUE(editor_.machine().wskaz().szukajP1);
  Click(0, 0);
  EXPECT_TRUE(editor_.machine().wskaz().szukajP2);
}

}  // namespace
}  // namespace blok::testing
