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
