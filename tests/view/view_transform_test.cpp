#include "view/view_transform.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "support/case_names.h"
#include "support/recording_canvas.h"
#include "view/renderer.h"

namespace blok {
namespace {

using ::blok::testing::CanvasCall;
using ::blok::testing::RecordingCanvas;
using ::testing::ElementsAre;

// The landscape paint box of the examples: origin (502.5, 402.5).
constexpr int kWidth = 1005;
constexpr int kHeight = 805;

ViewTransform MakeView(double scale = 20, int width = kWidth, int height = kHeight) {
  ViewTransform view;
  view.SetViewSize(width, height);
  view.SetScale(scale);
  return view;
}

struct PixelCase {
  double scale;
  int width, height;
  double x, y;
  int px, py;
};

void PrintTo(const PixelCase& c, std::ostream* out) {
  *out << "scale " << c.scale << " view " << c.width << "x" << c.height << " at " << c.x << " "
       << c.y;
}

class WorldToScreen : public ::testing::TestWithParam<PixelCase> {};

TEST_P(WorldToScreen, TruncatesTowardsZero) {
  const PixelCase& c = GetParam();
  const ViewTransform view = MakeView(c.scale, c.width, c.height);
  EXPECT_EQ(view.WorldToScreenX(c.x), c.px);
  EXPECT_EQ(view.WorldToScreenY(c.y), c.py);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WorldToScreen,
    ::testing::Values(PixelCase{20, kWidth, kHeight, 0, 0, 502, 402},
                      PixelCase{20, kWidth, kHeight, 1, 1, 552, 352},
                      PixelCase{20, kWidth, kHeight, -1, -1, 452, 452},
                      // One unit a pixel, origin (5, 5): exact pixels -0.7 and -1.5.
                      PixelCase{1000, 10, 10, -5.7, 5.7, 0, 0},
                      PixelCase{1000, 10, 10, -6.5, 6.5, -1, -1},
                      // Far points still give an int.
                      PixelCase{ViewTransform::kMinScale, 10, 10, 1e300, -1e300,
                                ViewTransform::kMaxPixel, ViewTransform::kMaxPixel},
                      PixelCase{ViewTransform::kMinScale, 10, 10, -1e300, 1e300,
                                -ViewTransform::kMaxPixel, -ViewTransform::kMaxPixel}),
    blok::testing::PrintedName());

TEST(ScreenToWorld, IsTheInverseWithoutTruncation) {
  ViewTransform view = MakeView();
  view.SetCentre(3, -2);
  EXPECT_NEAR(view.ScreenToWorldX(552), 3 + 0.99, 1e-12);
  EXPECT_NEAR(view.ScreenToWorldY(352), -2 + 1.01, 1e-12);
}

TEST(CoordinateReadout, ShowsThreeDecimalsWithTheSeparator) {
  ViewTransform view = MakeView(20, 1000, 800);
  view.SetCentre(12.5, -3.25);
  EXPECT_EQ(view.CoordinateReadout(500, 400), "X=12,500 Y=-3,250");
  EXPECT_EQ(view.CoordinateReadout(550, 400, '.'), "X=13.500 Y=-3.250");
}

struct PenCase {
  double scale;
  float thickness;
  int width;
};

void PrintTo(const PenCase& c, std::ostream* out) {
  *out << "scale " << c.scale << " thickness " << c.thickness;
}

class PenWidth : public ::testing::TestWithParam<PenCase> {};

TEST_P(PenWidth, IsATenthOfTheThicknessInPixels) {
  const PenCase& c = GetParam();
  EXPECT_EQ(MakeView(c.scale).PenWidth(c.thickness), c.width);
}

INSTANTIATE_TEST_SUITE_P(Cases, PenWidth,
                         ::testing::Values(PenCase{20, 0.1f, 0}, PenCase{20, 1, 5},
                                           PenCase{20, 0.3f, 1}, PenCase{10, 0.1f, 1},
                                           PenCase{2, 0.1f, 5}, PenCase{20, -3, 0},
                                           PenCase{20, 1e30f, ViewTransform::kMaxPenWidth}),
                         blok::testing::PrintedName());

TEST(Zoom, InThenOutEndsAtNinetyNinePercent) {
  ViewTransform view = MakeView(20);
  view.ZoomIn();
  EXPECT_DOUBLE_EQ(view.scale(), 18);
  view.ZoomOut();
  EXPECT_DOUBLE_EQ(view.scale(), 19.8);
}

TEST(Zoom, ScaleStaysWithinBounds) {
  ViewTransform view = MakeView(20);
  for (int i = 0; i < 1000; ++i) view.ZoomIn();
  EXPECT_EQ(view.scale(), ViewTransform::kMinScale);
  for (int i = 0; i < 2000; ++i) view.ZoomOut();
  EXPECT_EQ(view.scale(), ViewTransform::kMaxScale);

  view.SetScale(0);
  EXPECT_EQ(view.scale(), ViewTransform::kMinScale);
  view.SetScale(-4);
  EXPECT_EQ(view.scale(), ViewTransform::kMinScale);
  view.SetScale(7);
  view.SetScale(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(view.scale(), 7);
  view.SetCentre(1, 2);
  view.SetCentre(std::numeric_limits<double>::infinity(), 0);
  EXPECT_EQ(view.centre_x(), 1);
  EXPECT_EQ(view.centre_y(), 2);
}

// Zooming about a pixel keeps the world point there to within the truncation of one pixel, at
// the corners and the middle of the box and far off the origin, in and out, over many notches.
TEST(Zoom, AboutAPixelKeepsItsWorldPoint) {
  struct Case {
    int px, py;
    double centre_x, centre_y;
    bool in;
  };
  const Case cases[] = {
      {0, 0, 0, 0, true},         {799, 599, 0, 0, true},    {400, 300, 0, 0, false},
      {13, 577, 1e6, -2e5, true}, {640, 20, -3.5, 8, false}, {-50, 900, 0, 0, true},
  };
  for (const Case& c : cases) {
    ViewTransform view = MakeView(20);
    view.SetCentre(c.centre_x, c.centre_y);
    const double x = view.ScreenToWorldX(c.px);
    const double y = view.ScreenToWorldY(c.py);
    double scale = 20;
    for (int i = 0; i < 30; ++i) {
      c.in ? view.ZoomInAbout(c.px, c.py) : view.ZoomOutAbout(c.px, c.py);
      scale *= c.in ? 0.9 : 1.1;
      EXPECT_NEAR(view.scale(), scale, scale * 1e-12) << c.px << "," << c.py;
      EXPECT_LE(std::abs(view.WorldToScreenX(x) - c.px), 1) << c.px << "," << c.py << " " << i;
      EXPECT_LE(std::abs(view.WorldToScreenY(y) - c.py), 1) << c.px << "," << c.py << " " << i;
    }
  }
}

// At the scale's bound the zoom stops, and so does the view: nothing drifts.
TEST(Zoom, AboutAPixelAtTheBoundMovesNothing) {
  ViewTransform view = MakeView(ViewTransform::kMinScale);
  view.SetCentre(5, 5);
  view.ZoomInAbout(10, 10);
  EXPECT_EQ(view.scale(), ViewTransform::kMinScale);
  EXPECT_NEAR(view.centre_x(), 5, 1e-12);
  EXPECT_NEAR(view.centre_y(), 5, 1e-12);
}

TEST(InitialView, FitsTheStartBoxes) {
  ViewTransform view;
  view.FitToScreen(1280, 1024);
  EXPECT_DOUBLE_EQ(view.scale(), 20.0 * 1000 / 874);  // the height decides
  view.SetViewSize(kWidth, kHeight);
  view.SetCentre(4, 4);
  view.FitToView();
  EXPECT_DOUBLE_EQ(view.scale(), 24.0 * 1000 / 800);
  EXPECT_EQ(view.centre_x(), 0);
  EXPECT_EQ(view.centre_y(), 0);
  // A box no larger than the margin must not divide by zero.
  view.SetViewSize(3, 5);
  view.FitToView();
  EXPECT_TRUE(std::isfinite(view.scale()));
  EXPECT_GT(view.scale(), 0);
}

// Glyphs of 100 font units advance for the text extents.
StrokeFont AdvanceFont() {
  StrokeFont font;
  for (Glyph& glyph : font.glyphs) glyph.advance = 100;
  return font;
}

struct ExtentsCase {
  const char* name;
  std::vector<std::string> lines;
  bool empty;
  double xmin, xmax, ymin, ymax;
};

class Extents : public ::testing::TestWithParam<ExtentsCase> {};

TEST_P(Extents, CoverEveryValidEntity) {
  const ExtentsCase& c = GetParam();
  const DrawingExtents e = ComputeExtents(ParseLines(c.lines), AdvanceFont());
  ASSERT_EQ(e.empty(), c.empty);
  if (c.empty) return;
  EXPECT_NEAR(e.xmin, c.xmin, 1e-5);
  EXPECT_NEAR(e.xmax, c.xmax, 1e-5);
  EXPECT_NEAR(e.ymin, c.ymin, 1e-5);
  EXPECT_NEAR(e.ymax, c.ymax, 1e-5);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Extents,
    ::testing::Values(
        ExtentsCase{"Empty", {}, true, 0, 0, 0, 0},
        ExtentsCase{"NothingValid",
                    {"L(a,2)-(3,4)", "K(255,0,0)", "GR(2)", "// O(0,0,5)", "X(1,2)"},
                    true,
                    0,
                    0,
                    0,
                    0},
        ExtentsCase{"LineAndRectangle", {"L(1,2)-(3,-4)", "P(-1,0)-(0,5)"}, false, -1, 3, -4, 5},
        ExtentsCase{"Circle", {"O(5,5,2)"}, false, 3, 7, 3, 7},
        ExtentsCase{"ArcGivesItsWholeCircle", {"LUK(0,0,1,0,90)"}, false, -1, 1, -1, 1},
        // Length 2 x 100 x 0.0118 = 2.36, 0.2 above the baseline.
        ExtentsCase{"Text", {"T(1,2,'AB',1,1,0)"}, false, 1, 3.36, 2.2, 2.2},
        ExtentsCase{"TextUpwards", {"T(1,2,'AB',1,1,90)"}, false, 0.8, 0.8, 2, 4.36},
        ExtentsCase{"FarFromTheOrigin", {"L(200000,5)-(200010,6)"}, false, 200000, 200010, 5, 6}),
    [](const auto& info) { return info.param.name; });

TEST(ZoomAll, FitsTheExtentsWithAOneUnitMargin) {
  const StrokeFont font;
  const auto zoom_all = [&](std::vector<std::string> lines, int width, int height) {
    ViewTransform view = MakeView(20, width, height);
    view.ZoomAll(ComputeExtents(ParseLines(lines), font));
    return view;
  };
  // Nothing to fit: -11..11; the height decides, 22 x 1000 / 800.
  ViewTransform view = zoom_all({}, kWidth, kHeight);
  EXPECT_DOUBLE_EQ(view.scale(), 27.5);
  EXPECT_EQ(view.centre_x(), 0);
  EXPECT_EQ(view.centre_y(), 0);
  // 2..8 around (5, 5).
  view = zoom_all({"O(5,5,2)"}, kWidth, kHeight);
  EXPECT_DOUBLE_EQ(view.scale(), 7.5);
  EXPECT_EQ(view.centre_x(), 5);
  EXPECT_EQ(view.centre_y(), 5);
  // Width decides in a tall box.
  view = zoom_all({"O(5,5,2)"}, 605, 1005);
  EXPECT_DOUBLE_EQ(view.scale(), 10);
  // A drawing far from the origin is fitted alone.
  view = zoom_all({"L(200000,0)-(200010,0)"}, kWidth, kHeight);
  EXPECT_EQ(view.centre_x(), 200005);
  EXPECT_DOUBLE_EQ(view.scale(), 12);
  // Beyond the range of a single: the view stays usable.
  view = zoom_all({"O(1e39,1e39,1)"}, kWidth, kHeight);
  EXPECT_TRUE(std::isfinite(view.centre_x()));
  EXPECT_GE(view.scale(), ViewTransform::kMinScale);
  EXPECT_LE(view.scale(), ViewTransform::kMaxScale);
}

struct WindowCase {
  const char* name;
  int x1, y1, x2, y2;
  double centre_x, centre_y, scale;
};

class ZoomWindow : public ::testing::TestWithParam<WindowCase> {};

TEST_P(ZoomWindow, ShowsTheDraggedWindow) {
  const WindowCase& c = GetParam();
  ViewTransform view = MakeView();
  view.BeginZoomWindow();
  EXPECT_TRUE(view.MousePress(MouseButton::kLeft, c.x1, c.y1).taken);
  const ViewResponse moved = view.MouseMove(c.x2, c.y2);
  EXPECT_TRUE(moved.taken);
  EXPECT_TRUE(moved.rubber_band);
  EXPECT_FALSE(moved.redraw);
  EXPECT_EQ(view.scale(), 20) << "nothing changes before the release";

  const ViewResponse released = view.MouseRelease(MouseButton::kLeft, c.x2, c.y2);
  EXPECT_TRUE(released.taken);
  EXPECT_TRUE(released.redraw);
  EXPECT_EQ(released.cursor, ViewCursor::kCross);
  EXPECT_FALSE(view.window_mode());
  EXPECT_FALSE(view.window_dragging());
  EXPECT_NEAR(view.centre_x(), c.centre_x, 1e-9);
  EXPECT_NEAR(view.centre_y(), c.centre_y, 1e-9);
  EXPECT_NEAR(view.scale(), c.scale, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ZoomWindow,
    ::testing::Values(
        // 4 x 2 world units: fx = 4 beats fy = 2.5, and the scale is fx x height / width.
        WindowCase{"Wide", 100, 100, 300, 200, -6.05, 5.05, 4.0 * kHeight / kWidth},
        WindowCase{"WideDraggedBackwards", 300, 200, 100, 100, -6.05, 5.05, 4.0 * kHeight / kWidth},
        WindowCase{"WideDraggedUpwards", 100, 200, 300, 100, -6.05, 5.05, 4.0 * kHeight / kWidth},
        // 2 x 6 world units: fy = 7.5 decides.
        WindowCase{"Tall", 100, 100, 200, 400, -7.05, 3.05, 7.5},
        // A click or a shake of the hand keeps the view.
        WindowCase{"Click", 100, 100, 100, 100, 0, 0, 20},
        WindowCase{"Shake", 100, 100, 103, 97, 0, 0, 20}),
    [](const auto& info) { return info.param.name; });

// A window from one end of the int range to the other is the widest drag there can be, not a
// click: it zooms out until the window fits (the height decides in this landscape box).
TEST(ZoomWindow, DraggedAcrossTheWholePixelRangeZoomsOut) {
  constexpr int kLowest = std::numeric_limits<int>::min();
  constexpr int kHighest = std::numeric_limits<int>::max();
  ViewTransform view = MakeView();
  view.BeginZoomWindow();
  view.MousePress(MouseButton::kLeft, kLowest, kLowest);
  EXPECT_TRUE(view.MouseRelease(MouseButton::kLeft, kHighest, kHighest).taken);
  const double side = (static_cast<double>(kHighest) - kLowest) * 20 / 1000;
  EXPECT_NEAR(view.scale(), side * 1000 / (kHeight - 5), 100);
  EXPECT_NEAR(view.centre_x(), -(kWidth + 1) * 0.5 * 20 / 1000, 1e-3);
  EXPECT_NEAR(view.centre_y(), (kHeight + 1) * 0.5 * 20 / 1000, 1e-3);
}

TEST(ZoomWindow, RubberBandRunsFromThePressToTheMouse) {
  ViewTransform view = MakeView();
  RecordingCanvas canvas;
  view.DrawZoomWindow(canvas);
  EXPECT_TRUE(canvas.calls().empty()) << "no window yet";

  EXPECT_FALSE(view.MousePress(MouseButton::kLeft, 300, 200).taken) << "not in window mode";
  view.MouseRelease(MouseButton::kLeft, 300, 200);
  view.BeginZoomWindow();
  EXPECT_FALSE(view.MousePress(MouseButton::kRight, 300, 200).taken);
  view.MousePress(MouseButton::kLeft, 300, 200);
  view.MouseMove(100, 250);
  view.DrawZoomWindow(canvas);
  ASSERT_EQ(canvas.calls().size(), 1u);
  EXPECT_EQ(canvas.calls()[0].kind, CanvasCall::Kind::kFocusRectangle);
  EXPECT_THAT(canvas.calls()[0].ints, ElementsAre(100, 200, 300, 250));
  // Another button's release leaves the window running.
  EXPECT_FALSE(view.MouseRelease(MouseButton::kRight, 100, 250).taken);
  EXPECT_TRUE(view.window_dragging());
}

TEST(Pan, DragMovesTheDrawingWithTheMouse) {
  ViewTransform view = MakeView();
  const ViewResponse pressed = view.MousePress(MouseButton::kMiddle, 500, 400);
  EXPECT_TRUE(pressed.taken);
  EXPECT_EQ(pressed.cursor, ViewCursor::kHand);
  EXPECT_TRUE(view.pan_mode());
  EXPECT_TRUE(view.panning());

  // Ten pixels right and up: the world point under the mouse follows it.
  const ViewResponse moved = view.MouseMove(510, 390);
  EXPECT_TRUE(moved.taken);
  EXPECT_TRUE(moved.redraw);
  EXPECT_NEAR(view.centre_x(), -0.2, 1e-12);
  EXPECT_NEAR(view.centre_y(), -0.2, 1e-12);

  const ViewResponse released = view.MouseRelease(MouseButton::kMiddle, 520, 380);
  EXPECT_TRUE(released.taken);
  EXPECT_TRUE(released.redraw);
  EXPECT_EQ(released.cursor, ViewCursor::kCross);
  EXPECT_NEAR(view.centre_x(), -0.4, 1e-12);
  EXPECT_NEAR(view.centre_y(), -0.4, 1e-12);
  EXPECT_FALSE(view.pan_mode());
  EXPECT_FALSE(view.panning());
  EXPECT_FALSE(view.MouseMove(600, 300).taken);
}

// The press may come from anywhere the mouse can be grabbed to, however far off the box.
TEST(Pan, FromAPressFarAboveThePaintBoxFollowsTheMouse) {
  constexpr int kLowest = std::numeric_limits<int>::min();
  ViewTransform view = MakeView();
  view.MousePress(MouseButton::kMiddle, 0, kLowest);
  view.MouseMove(-10, kLowest + 10);
  EXPECT_NEAR(view.centre_x(), 0.2, 1e-9);
  EXPECT_NEAR(view.centre_y(), 0.2, 1e-9);
}

TEST(Pan, LeftButtonPansOnlyInPanMode) {
  ViewTransform view = MakeView();
  EXPECT_FALSE(view.MousePress(MouseButton::kLeft, 500, 400).taken);
  EXPECT_FALSE(view.MouseMove(510, 400).taken);
  view.MouseRelease(MouseButton::kLeft, 510, 400);
  EXPECT_EQ(view.centre_x(), 0);

  view.BeginPan();
  EXPECT_TRUE(view.MousePress(MouseButton::kLeft, 500, 400).taken);
  view.MouseMove(490, 400);
  EXPECT_NEAR(view.centre_x(), 0.2, 1e-12);
  // Any button's release ends the pan.
  EXPECT_TRUE(view.MouseRelease(MouseButton::kRight, 490, 400).taken);
  EXPECT_FALSE(view.pan_mode());
}

TEST(Pan, DuringAZoomWindowKeepsTheWindowCorner) {
  ViewTransform view = MakeView();
  view.BeginZoomWindow();
  view.MousePress(MouseButton::kLeft, 100, 100);
  view.MousePress(MouseButton::kMiddle, 700, 500);
  const ViewResponse pan_end = view.MouseRelease(MouseButton::kMiddle, 700, 500);
  EXPECT_EQ(pan_end.cursor, ViewCursor::kDrag) << "the window is still being dragged";
  view.MouseRelease(MouseButton::kLeft, 300, 200);
  EXPECT_NEAR(view.centre_x(), -6.05, 1e-9);
  EXPECT_NEAR(view.centre_y(), 5.05, 1e-9);
}

}  // namespace
}  // namespace blok
