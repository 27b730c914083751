#include "view/renderer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/recording_canvas.h"

namespace blok {
namespace {

using ::blok::testing::CanvasCall;
using ::blok::testing::RecordingCanvas;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using Kind = CanvasCall::Kind;

ViewTransform MakeView(double scale, int width, int height) {
  ViewTransform view;
  view.SetViewSize(width, height);
  view.SetScale(scale);
  return view;
}

// 100 pixels a unit, origin (100, 100): (x, y) is drawn at (100 + 100x, 100 - 100y).
ViewTransform HundredPixelView() { return MakeView(10, 200, 200); }

std::vector<CanvasCall> DrawingCalls(const RecordingCanvas& canvas) {
  std::vector<CanvasCall> found;
  for (const CanvasCall& call : canvas.calls()) {
    if (call.kind >= Kind::kLine) found.push_back(call);  // not a pen or brush setter
  }
  return found;
}

struct Stroke {
  std::uint32_t colour;
  int width;
  bool operator==(const Stroke&) const = default;
  friend std::ostream& operator<<(std::ostream& out, const Stroke& s) {
    return out << "{0x" << std::hex << s.colour << std::dec << ", " << s.width << "}";
  }
};

std::vector<Stroke> LineStrokes(const RecordingCanvas& canvas) {
  std::vector<Stroke> strokes;
  for (const CanvasCall& call : canvas.CallsOf(Kind::kLine)) {
    strokes.push_back({call.pen.colour, call.pen.width});
  }
  return strokes;
}

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kGreen = 0x00FF00;
constexpr std::uint32_t kBlue = 0xFF0000;

struct PassCase {
  const char* name;
  std::vector<std::string> lines;
  std::vector<Stroke> strokes;  // in drawing order, the last line's first
};

class EntityPass : public ::testing::TestWithParam<PassCase> {};

TEST_P(EntityPass, CommandsActOnTheLinesAboveThem) {
  const PassCase& c = GetParam();
  RecordingCanvas canvas;
  ReadingDefaults defaults;
  // Scale 20: the default thickness 0.1 is a 0-pixel pen, a thickness of 1 is 5 pixels.
  DrawEntities(canvas, MakeView(20, 1005, 805), c.lines, StrokeFont{}, defaults);
  EXPECT_THAT(LineStrokes(canvas), ElementsAreArray(c.strokes));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EntityPass,
    ::testing::Values(
        PassCase{"ColourAsLastLine",
                 {"L(0,0)-(1,0)", "L(0,1)-(1,1)", "K(255,0,0)"},
                 {{kRed, 0}, {kRed, 0}}},
        PassCase{"ColourAsFirstLine", {"K(255,0,0)", "L(0,0)-(1,0)"}, {{kBlack, 0}}},
        PassCase{"OwnColourWins",
                 {"L(0,0)-(1,0);K(0,255,0);GR(0.1)", "L(0,0)-(1,0)", "K(255,0,0)"},
                 {{kRed, 0}, {kGreen, 0}}},
        PassCase{"Nearest",
                 {"L(0,0)-(1,0)", "K(0,0,255)", "L(0,0)-(1,0)", "K(255,0,0)"},
                 {{kRed, 0}, {kBlue, 0}}},
        PassCase{"NamedColour", {"L(0,0)-(1,0)", "K(czerwony)"}, {{kRed, 0}}},
        PassCase{"UnknownNameChangesNothing", {"L(0,0)-(1,0)", "K(YELLOW)"}, {{kBlack, 0}}},
        PassCase{"Thickness",
                 {"L(0,0)-(1,0)", "GR(1)", "L(0,0)-(1,0);K(0,0,0);GR(0,4)"},
                 {{kBlack, 2}, {kBlack, 5}}},
        PassCase{"UnreadableThicknessChangesNothing", {"L(0,0)-(1,0)", "GR(abc)"}, {{kBlack, 0}}},
        // The thickness field counts only behind a colour field.
        PassCase{"ThicknessFieldAlone", {"L(0,0)-(1,0);GR(1)", "GR(2)"}, {{kBlack, 10}}}),
    [](const auto& info) { return info.param.name; });

TEST(EntityPass, EveryPassStartsFromBlackAndLeavesItsDefaults) {
  const std::vector<std::string> lines = {"K(255,0,0)", "GR(1)", "L(0,0)-(1,0)"};
  const ViewTransform view = MakeView(20, 1005, 805);
  ReadingDefaults defaults;
  for (int pass = 0; pass < 2; ++pass) {
    RecordingCanvas canvas;
    DrawEntities(canvas, view, lines, StrokeFont{}, defaults);
    EXPECT_THAT(LineStrokes(canvas), ElementsAre(Stroke{kBlack, 0})) << "pass " << pass;
    // Readers until the next pass see what the pass left.
    EXPECT_EQ(defaults.colour, kRed);
    EXPECT_EQ(defaults.thickness, 1.0f);
    EXPECT_EQ(defaults.decimal_separator, ',');
  }
}

TEST(EntityPass, UnreadableLinesDrawNothing) {
  const std::vector<std::string> lines = {
      "L(a,2)-(3,4);K(0,0,0);GR(1)", "O(1,2)",  "// O(0,0,1)", "X(1,2)", "", "   ",
      "T(0,0,'abc',1,1,0",           "LUK(1,2)"};
  RecordingCanvas canvas;
  ReadingDefaults defaults;
  DrawEntities(canvas, HundredPixelView(), lines, StrokeFont{}, defaults);
  EXPECT_TRUE(DrawingCalls(canvas).empty());
}

TEST(EntityPass, RectangleCornersInEitherOrderDrawTheSameOutline) {
  std::vector<std::vector<int>> outlines;
  for (const char* line :
       {"P(-0.5,-0.5)-(0.25,0.75);K(0,0,255);GR(1)", "P(0.25,0.75)-(-0.5,-0.5);K(0,0,255);GR(1)",
        "P(-0.5,0.75)-(0.25,-0.5);K(0,0,255);GR(1)"}) {
    RecordingCanvas canvas;
    ReadingDefaults defaults;
    const std::vector<std::string> lines = {line};
    DrawEntities(canvas, HundredPixelView(), lines, StrokeFont{}, defaults);
    const std::vector<CanvasCall> drawn = DrawingCalls(canvas);
    ASSERT_EQ(drawn.size(), 1u) << line;
    EXPECT_EQ(drawn[0].kind, Kind::kRectangle);
    EXPECT_EQ(drawn[0].brush.style, BrushStyle::kClear) << "an outline";
    EXPECT_EQ(drawn[0].pen.colour, kBlue);
    EXPECT_EQ(drawn[0].pen.width, 10);
    outlines.push_back(drawn[0].ints);
  }
  EXPECT_THAT(outlines, ElementsAre(ElementsAre(50, 25, 125, 150), outlines[0], outlines[0]));

  RecordingCanvas canvas;
  DrawRectangle(canvas, HundredPixelView(), kBlack, 0x123456, 0.1f, true, 0, 0, 1, 1);
  EXPECT_EQ(canvas.CallsOf(Kind::kRectangle).at(0).brush,
            (::blok::testing::BrushState{0x123456, BrushStyle::kSolid}));
}

// Each character c is one stroke from (0, 0) to (1, c), so the label can be read back from
// the strokes' heights.
StrokeFont CodeFont() {
  StrokeFont font;
  for (int c = 33; c < 128; ++c) {
    Glyph& glyph = font.glyphs[c];
    glyph.stroke_count = 1;
    glyph.advance = 20;
    glyph.strokes[0] = {0, 0, 1, static_cast<std::uint8_t>(c)};
  }
  return font;
}

// A stroke of CodeFont is neither horizontal nor vertical; ticks and axes are one or the other.
bool IsGlyphStroke(const std::vector<int>& line) {
  return line[0] != line[2] && line[1] != line[3];
}

// The texts drawn with CodeFont at pixels_per_unit pixels a font unit upwards, each one the run
// of glyph strokes between two other lines.
std::vector<std::string> ReadTexts(const RecordingCanvas& canvas, double pixels_per_unit) {
  std::vector<std::string> texts;
  bool in_text = false;
  for (const std::vector<int>& line : canvas.Lines()) {
    if (!IsGlyphStroke(line)) {
      in_text = false;
      continue;
    }
    if (!in_text) texts.emplace_back();
    in_text = true;
    texts.back() += static_cast<char>(std::lround((line[1] - line[3]) / pixels_per_unit));
  }
  return texts;
}

TEST(EntityPass, TextIsDrawnAtItsInsertionPixelInItsColourAndThickness) {
  RecordingCanvas canvas;
  ReadingDefaults defaults;
  const std::vector<std::string> lines = {"T(0.5,0.25,'Ab',4,1,0);K(255,0,0);GR(1)"};
  DrawEntities(canvas, HundredPixelView(), lines, CodeFont(), defaults);
  // One font unit is 12 / 10 x 4 pixels up.
  EXPECT_THAT(ReadTexts(canvas, 4.8), ElementsAre("Ab"));
  const std::vector<CanvasCall> strokes = canvas.CallsOf(Kind::kLine);
  ASSERT_FALSE(strokes.empty());
  EXPECT_EQ(strokes[0].ints[0], 150);
  EXPECT_EQ(strokes[0].ints[1], 75);
  EXPECT_EQ(strokes[0].pen, (::blok::testing::PenState{kRed, 10, PenStyle::kSolid}));
}

struct ArcCase {
  const char* name;
  std::string line;
  int chords;  // 0: only bounded
  double start_degrees, end_degrees;
};

class ArcChords : public ::testing::TestWithParam<ArcCase> {};

TEST_P(ArcChords, RunCounterClockwiseInTenDegreeSteps) {
  const ArcCase& c = GetParam();
  RecordingCanvas canvas;
  ReadingDefaults defaults;
  const std::vector<std::string> lines = {c.line};
  DrawEntities(canvas, HundredPixelView(), lines, StrokeFont{}, defaults);
  const std::vector<std::vector<int>> chords = canvas.Lines();
  ASSERT_FALSE(chords.empty());
  if (c.chords == 0) {
    EXPECT_LE(chords.size(), 80u);
    return;
  }
  EXPECT_EQ(chords.size(), static_cast<std::size_t>(c.chords));
  // A unit circle round (100, 100), 100 pixels wide; truncation moves a point by a pixel at most.
  const auto expect_at = [](int px, int py, double degrees, const char* which) {
    const double a = degrees * 3.141592654 / 180;
    EXPECT_NEAR(px, 100 + 100 * std::cos(a), 1) << which;
    EXPECT_NEAR(py, 100 - 100 * std::sin(a), 1) << which;
  };
  expect_at(chords.front()[0], chords.front()[1], c.start_degrees, "start");
  expect_at(chords.back()[2], chords.back()[3], c.end_degrees, "end");
  for (std::size_t i = 1; i < chords.size(); ++i) {
    EXPECT_NEAR(chords[i][0], chords[i - 1][2], 1) << "chord " << i;
    EXPECT_NEAR(chords[i][1], chords[i - 1][3], 1) << "chord " << i;
  }
  for (const std::vector<int>& chord : chords) {
    const double length = std::hypot(chord[2] - chord[0], chord[3] - chord[1]);
    EXPECT_LE(length, 2 * 100 * std::sin(5 * 3.141592654 / 180) + 2) << "at most ten degrees";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ArcChords,
    ::testing::Values(ArcCase{"Circle", "O(0,0,1)", 36, 0, 360},
                      ArcCase{"ThroughZero", "LUK(0,0,1,350,10)", 2, 350, 10},
                      ArcCase{"ThreeQuarters", "LUK(0,0,1,90,0)", 27, 90, 360},
                      ArcCase{"Degenerate", "LUK(0,0,1,10,10)", 1, 10, 10},
                      // Twenty turns draw the circle once.
                      ArcCase{"ManyTurns", "LUK(0,0,1,0,7200)", 36, 0, 0},
                      // So large that adding ten degrees does not change a single.
                      ArcCase{"HugeAngles", "LUK(0,0,1,1e12,2e12)", 0, 0, 0}),
    [](const auto& info) { return info.param.name; });

// A full redraw with everything switched on, recorded.
struct Frame {
  RecordingCanvas canvas;
  std::size_t overlay_at = 0;  // number of calls when the overlays were drawn
  std::size_t present_at = 0;  // ... and when the image was presented
};

constexpr int kWidth = 1005;
constexpr int kHeight = 805;

std::size_t IndexOf(const RecordingCanvas& canvas, Kind kind, std::uint32_t pen_colour) {
  const auto& calls = canvas.calls();
  const auto it = std::find_if(calls.begin(), calls.end(), [&](const CanvasCall& call) {
    return call.kind == kind && call.pen.colour == pen_colour;
  });
  return static_cast<std::size_t>(it - calls.begin());
}

TEST(RenderFrame, DrawsItsLayersInOrder) {
  Frame frame;
  ViewTransform view = MakeView(20, 100, 100);
  ViewSettings settings;
  settings.grid_snap = true;
  settings.draw_grid = true;
  settings.base_point = true;
  ReadingDefaults defaults;
  defaults.colour = kRed;  // left by an earlier pass
  const std::vector<std::string> lines = {"L(0,0)-(1,1)", "// note"};
  FrameHooks hooks;
  hooks.overlays = [&](Canvas& canvas) {
    frame.overlay_at = frame.canvas.calls().size();
    canvas.Text(1, 1, "overlay", {});
  };
  hooks.present = [&] { frame.present_at = frame.canvas.calls().size(); };
  RenderFrame(frame.canvas, view, kWidth, kHeight, lines, StrokeFont{}, settings, defaults, hooks);
  const RecordingCanvas& canvas = frame.canvas;

  EXPECT_EQ(view.origin_x(), 502.5);
  EXPECT_EQ(view.origin_y(), 402.5);

  const std::vector<CanvasCall> drawn = DrawingCalls(canvas);
  ASSERT_GE(drawn.size(), 2u);
  EXPECT_EQ(drawn[0].kind, Kind::kRectangle);
  EXPECT_THAT(drawn[0].ints, ElementsAre(0, 0, kWidth, kHeight));
  EXPECT_EQ(drawn[0].pen, (::blok::testing::PenState{kBlack, 1, PenStyle::kSolid}));
  EXPECT_EQ(drawn[0].brush, (::blok::testing::BrushState{kBackgroundColour, BrushStyle::kSolid}));
  // A dot of radius 0.12 at the origin.
  EXPECT_EQ(drawn[1].kind, Kind::kEllipse);
  EXPECT_THAT(drawn[1].ints, ElementsAre(496, 396, 508, 408));
  EXPECT_EQ(drawn[1].pen.colour, kBasePointColour);
  EXPECT_EQ(drawn[1].brush, (::blok::testing::BrushState{kBasePointColour, BrushStyle::kSolid}));

  const std::size_t grid = IndexOf(canvas, Kind::kLine, kGridColour);
  const std::size_t axes = IndexOf(canvas, Kind::kLine, kAxisColour);
  const std::size_t entity = IndexOf(canvas, Kind::kLine, kBlack);
  const std::size_t icon = IndexOf(canvas, Kind::kPolyline, kBlack);
  EXPECT_LT(grid, axes);
  EXPECT_LT(axes, entity);
  EXPECT_EQ(canvas.calls()[entity].pen.colour, kBlack) << "the pass starts from black";
  EXPECT_THAT(canvas.calls()[entity].ints, ElementsAre(502, 402, 552, 352));
  EXPECT_LT(entity, frame.overlay_at);
  EXPECT_LT(frame.overlay_at, icon);
  EXPECT_EQ(frame.present_at, canvas.calls().size()) << "presented last";
}

TEST(RenderFrame, AxisIconSitsInTheBottomLeftCorner) {
  RecordingCanvas canvas;
  ViewTransform view;
  ReadingDefaults defaults;
  ViewSettings settings;
  settings.draw_grid = false;
  settings.base_point = false;
  RenderFrame(canvas, view, 300, 200, {}, StrokeFont{}, settings, defaults);
  const std::vector<CanvasCall> drawn = DrawingCalls(canvas);
  ASSERT_EQ(drawn.size(), 5u) << "background and icon only";
  EXPECT_EQ(drawn[1].kind, Kind::kPolyline);
  EXPECT_THAT(drawn[1].ints,
              ElementsAre(20, 180, 20, 145, 14, 145, 28, 137, 42, 145, 36, 145, 36, 180));
  EXPECT_EQ(drawn[1].pen, (::blok::testing::PenState{kBlack, 1, PenStyle::kSolid}));
  EXPECT_EQ(drawn[1].brush.style, BrushStyle::kClear);
  EXPECT_EQ(drawn[2].text, "Y");
  EXPECT_THAT(drawn[2].ints, ElementsAre(25, 148, 0));
  EXPECT_EQ(drawn[3].kind, Kind::kPolyline);
  EXPECT_THAT(drawn[3].ints,
              ElementsAre(20, 180, 55, 180, 55, 186, 63, 172, 55, 158, 55, 164, 20, 164));
  EXPECT_EQ(drawn[4].text, "X");
  EXPECT_THAT(drawn[4].ints, ElementsAre(45, 166, 0));
  EXPECT_EQ(drawn[4].colour, kBlack);
  EXPECT_FALSE(drawn[4].background.has_value());
}

struct GridCase {
  const char* name;
  std::string size_text;
  float step;
  int lines_each_way;
};

class Grid : public ::testing::TestWithParam<GridCase> {};

TEST_P(Grid, DrawsLinesFromMinusSizeToSize) {
  const GridCase& c = GetParam();
  RecordingCanvas canvas;
  // Ten pixels a unit round (200, 200): the whole grid of size 10 is in view.
  ViewTransform view;
  view.SetScale(100);
  ViewSettings settings;
  settings.grid_snap = true;
  settings.draw_grid = false;
  settings.base_point = false;
  settings.grid_size_text = c.size_text;
  settings.grid_step = c.step;
  ReadingDefaults defaults;
  RenderFrame(canvas, view, 400, 400, {}, StrokeFont{}, settings, defaults);
  std::vector<std::vector<int>> horizontal, vertical;
  for (const CanvasCall& call : canvas.CallsOf(Kind::kLine)) {
    EXPECT_EQ(call.pen.colour, kGridColour);
    (call.ints[1] == call.ints[3] ? horizontal : vertical).push_back(call.ints);
  }
  if (c.lines_each_way == 0) {
    // Only what is in view, however large the typed size.
    EXPECT_GT(horizontal.size(), 4000u);
    EXPECT_LT(horizontal.size(), 4500u);
    EXPECT_EQ(vertical.size(), horizontal.size());
    return;
  }
  EXPECT_EQ(horizontal.size(), static_cast<std::size_t>(c.lines_each_way));
  EXPECT_EQ(vertical.size(), static_cast<std::size_t>(c.lines_each_way));
}

INSTANTIATE_TEST_SUITE_P(Cases, Grid,
                         ::testing::Values(GridCase{"NotANumber", "abc", 1, 21},
                                           GridCase{"DecimalComma", "2,5", 1, 6},
                                           GridCase{"DecimalPoint", "2.5", 1, 6},
                                           GridCase{"SizeRaisedToATenth", "0,05", 0.01f, 21},
                                           GridCase{"StepRaisedToAHundredth", "0,1", 0.005f, 21},
                                           GridCase{"SingleStepReachesTheEnd", "1", 0.1f, 21},
                                           GridCase{"Negative", "-3", 1, 1},
                                           GridCase{"Huge", "1e12", 0.01f, 0}),
                         [](const auto& info) { return info.param.name; });

TEST(Grid, LinesSpanTheGrid) {
  RecordingCanvas canvas;
  DrawGrid(canvas, MakeView(100, 400, 400), 10, 5);
  const std::vector<std::vector<int>> lines = canvas.Lines();
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_THAT(lines.front(), ElementsAre(100, 300, 300, 300));  // y = -10
  EXPECT_THAT(lines.back(), ElementsAre(300, 300, 300, 100));   // x = 10
}

TEST(Grid, WhichSettingDrawsWhat) {
  struct Case {
    bool grid_snap, draw_grid;
    bool grid_lines, axis_lines;
  };
  for (const Case c : {Case{false, false, false, false}, Case{true, false, true, false},
                       Case{false, true, false, true}, Case{true, true, true, true}}) {
    RecordingCanvas canvas;
    ViewTransform view;
    ViewSettings settings;
    settings.grid_snap = c.grid_snap;
    settings.draw_grid = c.draw_grid;
    ReadingDefaults defaults;
    RenderFrame(canvas, view, 400, 400, {}, StrokeFont{}, settings, defaults);
    const std::size_t end = canvas.calls().size();
    EXPECT_EQ(IndexOf(canvas, Kind::kLine, kGridColour) != end, c.grid_lines) << c.grid_snap;
    EXPECT_EQ(IndexOf(canvas, Kind::kLine, kAxisColour) != end, c.axis_lines) << c.draw_grid;
  }
}

TEST(Axes, LabelTicksWithTheDecimalComma) {
  RecordingCanvas canvas;
  // Labels are 0.3 x step high: at scale 0.9 x step a font unit is 4 pixels up.
  const double step = 2.5;
  DrawAxes(canvas, MakeView(0.9 * step, 6000, 6000), CodeFont(), 5, step);
  // No label at 0 on the X axis; the Y axis has one.
  EXPECT_THAT(ReadTexts(canvas, 4),
              ElementsAre("-5", "-2,5", "2,5", "5", "-5", "-2,5", "0", "2,5", "5"));
  for (const CanvasCall& call : canvas.calls()) {
    if (call.kind == Kind::kLine || call.kind == Kind::kPolygon) {
      EXPECT_EQ(call.pen.colour, kAxisColour) << call;
    }
  }
  // Arrowheads at the ends of both axes, 7.5 units out.
  const std::vector<CanvasCall> arrows = canvas.CallsOf(Kind::kPolygon);
  ASSERT_EQ(arrows.size(), 2u);
  EXPECT_EQ(arrows[0].ints[0], 3000 + 3333);
  EXPECT_EQ(arrows[1].ints[1], 3000 - 3333);
  EXPECT_EQ(arrows[0].brush, (::blok::testing::BrushState{kAxisColour, BrushStyle::kSolid}));
}

}  // namespace
}  // namespace blok
