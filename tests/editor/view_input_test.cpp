#include <gtest/gtest.h>

#include <limits>

#include "editor/editor_fixture.h"

namespace blok::testing {
namespace {

struct WheelCase {
  const char* label;
  int notches;
  double scale;  // 0: the scale the view started with, times the factor below
  double factor;
};

// Each notch zooms by a tenth; however many notches come at once, the scale stops at its bounds.
TEST_F(EditorTest, WheelZoomsByNotchesWithinTheScaleBounds) {
  editor_.view().FirstShow();
  const double start = editor_.view().transform().scale();
  const WheelCase cases[] = {
      {"none", 0, 0, 1},
      {"one in", 1, 0, 0.9},
      {"two out", -2, 0, 1.1 * 1.1},
      {"the most in", std::numeric_limits<int>::max(), ViewTransform::kMinScale, 0},
      {"the most out", std::numeric_limits<int>::min(), ViewTransform::kMaxScale, 0},
  };
  for (const WheelCase& c : cases) {
    editor_.view().transform().SetScale(start);
    editor_.PaintPendingFrame();
    editor_.view().Wheel(c.notches);
    const double expected = c.scale != 0 ? c.scale : start * c.factor;
    EXPECT_NEAR(editor_.view().transform().scale(), expected, expected * 1e-12) << c.label;
    EXPECT_TRUE(editor_.view().frame_pending()) << c.label;
  }
}

// With the option on, the wheel keeps the world point under the cursor; off, it keeps the
// middle of the view, whatever the cursor.
TEST_F(EditorTest, WheelZoomsAboutTheCursorOnlyWhenAsked) {
  editor_.view().FirstShow();
  ViewTransform& view = editor_.view().transform();
  for (const bool at_cursor : {false, true}) {
    editor_.view().options().zoom_at_cursor = at_cursor;
    view.SetCentre(3, 4);
    const double x = view.ScreenToWorldX(50);
    const double y = view.ScreenToWorldY(60);
    editor_.view().Wheel(3, 50, 60);
    editor_.view().Wheel(-1, 50, 60);
    if (at_cursor) {
      EXPECT_LE(std::abs(view.WorldToScreenX(x) - 50), 1);
      EXPECT_LE(std::abs(view.WorldToScreenY(y) - 60), 1);
    } else {
      EXPECT_EQ(view.centre_x(), 3);
      EXPECT_EQ(view.centre_y(), 4);
    }
  }
}

// Loading a block fits it into the view only with the option on; off, the view stays put.
TEST_F(EditorTest, LoadingFitsTheBlockOnlyWhenAsked) {
  AppendBlock(library_, "DALEKO", {"O(1000,2000,10)"});
  OpenLibrary();
  editor_.view().FirstShow();
  ViewTransform& view = editor_.view().transform();
  for (const bool fit : {false, true}) {
    editor_.view().options().fit_after_load = fit;
    view.SetCentre(0, 0);
    SelectBlock("DALEKO");
    editor_.WczytajWybranyBlok();
    ASSERT_EQ(editor_.block().drawing().lines().size(), 1u);
    EXPECT_EQ(view.centre_x(), fit ? 1000 : 0);
    EXPECT_EQ(view.centre_y(), fit ? 2000 : 0);
    EXPECT_TRUE(editor_.view().frame_pending());
  }
}

// Dragged far off the paint box, the mouse still reports a pixel; the coordinate label keeps
// beside the cursor, above and to the right of the box.
TEST_F(EditorTest, FarPointerIsLabelledBesideIt) {
  OpenLibrary();
  editor_.view().FirstShow();
  editor_.ControlCommand("l");
  editor_.MouseMove(std::numeric_limits<int>::max(), std::numeric_limits<int>::min());
  const auto texts = surface_.overlay().CallsOf(CanvasCall::Kind::kText);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_GT(texts[0].ints[0], 0);
  EXPECT_LT(texts[0].ints[1], 0);
}

}  // namespace
}  // namespace blok::testing
