#include "view/renderer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "model/entity_visit.h"
#include "support/case_names.h"
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
  DrawEntities(canvas, MakeView(20, 1005, 805), ParseLines(c.lines), StrokeFont{}, defaults);
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
    DrawEntities(canvas, view, ParseLines(lines), StrokeFont{}, defaults);
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
  DrawEntities(canvas, HundredPixelView(), ParseLines(lines), StrokeFont{}, defaults);
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
    DrawEntities(canvas, HundredPixelView(), ParseLines(lines), StrokeFont{}, defaults);
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
  DrawEntities(canvas, HundredPixelView(), ParseLines(lines), CodeFont(), defaults);
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
  DrawEntities(canvas, HundredPixelView(), ParseLines(lines), StrokeFont{}, defaults);
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
  RenderFrame(frame.canvas, view, kWidth, kHeight, ParseLines(lines), StrokeFont{}, settings,
              defaults, hooks);
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

// Each entity kind without a tail of its own, or with an unreadable one, is drawn in the colour
// and thickness of the commands below it in the drawing.
class PassTail : public ::testing::TestWithParam<const char*> {};

TEST_P(PassTail, IsTakenByEveryKind) {
  RecordingCanvas canvas;
  ReadingDefaults defaults;
  const std::vector<std::string> lines = {GetParam(), "GR(1)", "K(0,0,255)"};
  DrawEntities(canvas, MakeView(20, 1005, 805), ParseLines(lines), CodeFont(), defaults);
  const std::vector<CanvasCall> drawn = DrawingCalls(canvas);
  ASSERT_FALSE(drawn.empty());
  for (const CanvasCall& call : drawn) {
    EXPECT_EQ(call.pen, (::blok::testing::PenState{kBlue, 5, PenStyle::kSolid})) << call;
  }
}

INSTANTIATE_TEST_SUITE_P(Kinds, PassTail,
                         ::testing::Values("L(0,0)-(1,1)", "P(0,0)-(1,1)", "O(0,0,1)",
                                           "LUK(0,0,1,0,90)", "T(0,0,'AB',1,1,0)",
                                           "L(0,0)-(1,1);K(255,0", "O(0,0,1);K(x,y,z);GR(2)"),
                         blok::testing::PrintedName());

TEST(PassTail, ColourOfItsOwnKeepsTheThicknessOfThePass) {
  RecordingCanvas canvas;
  ReadingDefaults defaults;
  const std::vector<std::string> lines = {"L(0,0)-(1,1);K(0,255,0)", "GR(1)", "K(0,0,255)"};
  DrawEntities(canvas, MakeView(20, 1005, 805), ParseLines(lines), StrokeFont{}, defaults);
  EXPECT_EQ(canvas.CallsOf(Kind::kLine).at(0).pen,
            (::blok::testing::PenState{kGreen, 5, PenStyle::kSolid}));
}

TEST(VisitEntity, TellsEveryKindApart) {
  struct Case {
    const char* line;
    const char* seen;  // "" when not visited
  };
  const auto seen = [](const ParsedEntity& entity) {
    std::string name;
    const bool visited = VisitEntity(entity, Overloaded{
                                                 [&](const LineEntity&) { name = "line"; },
                                                 [&](const RectangleEntity&) { name = "rect"; },
                                                 [&](const CircleRecord&) { name = "circle"; },
                                                 [&](const ArcRecord&) { name = "arc"; },
                                                 [&](const TextRecord&) { name = "text"; },
                                                 [&](const ColourRecord&) { name = "colour"; },
                                                 [&](const ThicknessRecord&) { name = "gr"; },
                                             });
    EXPECT_EQ(visited, !name.empty());
    return name;
  };
  for (const Case& c :
       {Case{"L(0,0)-(1,1)", "line"}, Case{" p (0,0)-(1,1)", "rect"}, Case{"O(0,0,1)", "circle"},
        Case{"LUK(0,0,1,0,90)", "arc"}, Case{"T(0,0,'a',1,1,0)", "text"},
        Case{"K(czerwony)", "colour"}, Case{"GR(2)", "gr"}, Case{"P(0,0)-(1,x)", ""},
        Case{"K(purple)", ""}, Case{"// L(0,0)-(1,1)", ""}, Case{"", ""}}) {
    EXPECT_EQ(seen(ParseEntity(c.line)), c.seen) << c.line;
  }
}

// 100 pixels a unit, the view 200 x 200 pixels: world -1..1 both ways.
struct CullCase {
  const char* name;
  std::vector<std::string> lines;
  bool drawn;
  StrokeFont (*font)() = CodeFont;
};

class Culling : public ::testing::TestWithParam<CullCase> {};

TEST_P(Culling, SkipsOnlyWhatCannotReachTheView) {
  const CullCase& c = GetParam();
  RecordingCanvas canvas;
  ReadingDefaults defaults;
  DrawEntities(canvas, HundredPixelView(), ParseLines(c.lines), c.font(), defaults);
  EXPECT_EQ(!DrawingCalls(canvas).empty(), c.drawn);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Culling,
    ::testing::Values(
        CullCase{"LineInside", {"L(-0.5,0)-(0.5,0)"}, true},
        CullCase{"LineAcrossWithBothEndsOutside", {"L(-5,0.5)-(5,0.5)"}, true},
        CullCase{"LineOnTheLeftEdge", {"L(-1,-0.5)-(-1,0.5)"}, true},
        CullCase{"LineLeftOfTheView", {"L(-1.5,-0.5)-(-1.2,0.5)"}, false},
        // 30 pixels wide, 10 pixels left of the view: half of the pen reaches in.
        CullCase{"WidePenReachesIn", {"L(-1.1,-0.5)-(-1.1,0.5);K(0,0,0);GR(3)"}, true},
        CullCase{"WidePenOfThePass", {"L(-1.1,-0.5)-(-1.1,0.5)", "GR(3)"}, true},
        CullCase{"ThinPenThereIsCulled", {"L(-1.1,-0.5)-(-1.1,0.5)"}, false},
        CullCase{"RectangleAroundTheView", {"P(-3,-3)-(3,3)"}, true},
        CullCase{"RectangleBelow", {"P(-3,-3)-(3,-1.5)"}, false},
        CullCase{"CircleStraddlingTheRightEdge", {"O(1.2,0,0.3)"}, true},
        CullCase{"CircleAboveRight", {"O(3,3,1)"}, false},
        CullCase{"NegativeRadius", {"O(1.2,0,-0.3)"}, true},
        CullCase{"ArcWhoseCircleStraddles", {"LUK(0,1.2,0.5,180,360)"}, true},
        CullCase{"ArcFarAway", {"LUK(0,100,0.5,180,360)"}, false},
        // A letter is 78 pixels high; these start 20 pixels outside the view.
        CullCase{"TextBelowReachesUp", {"T(0,-1.2,'A',1,1,0)"}, true},
        CullCase{"TextUpsideDownAboveReachesDown", {"T(0,1.2,'A',-1,1,0)"}, true},
        CullCase{"TextTurnedDownFromAbove", {"T(0,1.2,'AAAA',1,1,270)"}, true},
        CullCase{"TextTurnedBackFromTheRightEdge", {"T(0.99,0,'AAAA',1,1,180)"}, true},
        CullCase{"TextRunningLeftFromTheLeftEdge", {"T(-1.09,0,'AAAA',1,-1,0)"}, false},
        CullCase{"TextPointingAway", {"T(0,-1.2,'AB',1,1,180)"}, false},
        CullCase{"TextFarBelow", {"T(0,-5,'AB',1,1,0)"}, false},
        // Twelve letters of 24 pixels from pixel -200 reach 88 pixels into the view.
        CullCase{"LongTextFromFarLeft", {"T(-3,0,'AAAAAAAAAAAA',1,1,0)"}, true},
        CullCase{"LongTextTurnedBackFromFarRight", {"T(3,0,'AAAAAAAAAAAA',1,1,180)"}, true},
        CullCase{"LongTextRunningBackFromFarRight", {"T(3,0,'AAAAAAAAAAAA',1,-1,0)"}, true},
        CullCase{"LongTextTurnedDownFromFarAbove", {"T(0,3,'AAAAAAAAAAAA',1,1,270)"}, true},
        // "A" is 78 pixels high, though the font's tallest letter would reach the view.
        CullCase{"LettersStopShortOfTheView", {"T(0,-2,'A',1,1,0)"}, false}),
    [](const auto& info) { return info.param.name; });

// CodeFont with strokes a unit high, but 'x' has none and an advance of 200, and there is no H
// to take the capitals' height from: the outline of its cell reaches further across and up than
// any stroke.
StrokeFont OutlinedFont() {
  StrokeFont font = CodeFont();
  for (Glyph& glyph : font.glyphs) glyph.strokes[0].y2 = 1;
  font.glyphs['x'] = Glyph{};
  font.glyphs['x'].advance = 200;
  font.glyphs['H'] = Glyph{};
  return font;
}

// A font unit is 1.2 pixels: "a" moves the pen 24 pixels, the cell of "x" is 240 wide and 120
// high.
INSTANTIATE_TEST_SUITE_P(
    Outlines, Culling,
    ::testing::Values(
        CullCase{"ReachesInFromTheLeft", {"T(-3.6,0,'ax',1,1,0)"}, true, OutlinedFont},
        CullCase{"StopsShortOnTheLeft", {"T(-3.7,0,'ax',1,1,0)"}, false, OutlinedFont},
        CullCase{"ReachesUpFromBelow", {"T(0,-2,'x',1,1,0)"}, true, OutlinedFont},
        CullCase{"StopsShortBelow", {"T(0,-2.3,'x',1,1,0)"}, false, OutlinedFont}),
    [](const auto& info) { return info.param.name; });

// The calls that can put a pixel into a width x height view: a line or outline whose pixels,
// widened by half its pen and a pixel, reach into it. Only what shows is kept of each call
// (the brush of a line is whatever the last rectangle left).
std::vector<CanvasCall> CallsThatShow(const RecordingCanvas& canvas, int width, int height) {
  std::vector<CanvasCall> shown;
  for (CanvasCall call : DrawingCalls(canvas)) {
    if (call.kind != Kind::kLine && call.kind != Kind::kRectangle) {
      ADD_FAILURE() << "an entity drew " << call;
      continue;
    }
    const int reach = std::max(call.pen.width, 1) / 2 + 1;
    const auto [left, right] = std::minmax(call.ints[0], call.ints[2]);
    const auto [top, bottom] = std::minmax(call.ints[1], call.ints[3]);
    if (right + reach < 0 || left - reach >= width || bottom + reach < 0 || top - reach >= height) {
      continue;
    }
    call.brush = {};
    shown.push_back(std::move(call));
  }
  return shown;
}

// Glyphs of assorted widths and heights, one with an advance that moves the pen back.
StrokeFont AssortedFont() {
  StrokeFont font;
  for (int c = 32; c < 128; ++c) {
    Glyph& glyph = font.glyphs[c];
    glyph.stroke_count = 2;
    glyph.advance = static_cast<float>(30 + c % 50);
    glyph.strokes[0] = {0, 0, static_cast<std::uint8_t>(c), 120};
    glyph.strokes[1] = {static_cast<std::uint8_t>(c), 0, 10, static_cast<std::uint8_t>(2 * c)};
  }
  font.glyphs['<'].advance = -60;
  return font;
}

// Entities of every kind scattered over -spread..spread, sized to match, with and without tails,
// among colour and thickness commands.
std::vector<std::string> ScatteredDrawing(unsigned seed, double spread) {
  std::mt19937 random(seed);
  const auto value = [&](double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(random);
  };
  const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  const char* tails[] = {"", ";K(255,0,0)", ";K(0,0,255);GR(3)", ";K(0,128,0);GR(0.5)"};
  const char* commands[] = {"K(0,255,0)", "GR(2)", "GR(0.1)", "GR(8)"};
  const char* texts[] = {"A", "AB<", "<<<x", "xyz12", "W"};
  std::vector<std::string> lines;
  for (int i = 0; i < 400; ++i) {
    const double x = value(-spread, spread);
    const double y = value(-spread, spread);
    std::ostringstream line;
    switch (pick(6)) {
      case 0:
      case 1:
        line << (pick(2) ? "L" : "P") << "(" << x << "," << y << ")-("
             << x + value(-spread, spread) / 4 << "," << y + value(-spread, spread) / 4 << ")";
        break;
      case 2:
        line << "O(" << x << "," << y << "," << value(-spread / 4, spread / 2) << ")";
        break;
      case 3:
        line << "LUK(" << x << "," << y << "," << value(0, spread / 2) << "," << value(0, 360)
             << "," << value(0, 360) << ")";
        break;
      case 4:
        line << "T(" << x << "," << y << ",'" << texts[pick(5)] << "',"
             << value(-spread, spread) / 8 << "," << value(-spread, spread) / 8 << ","
             << value(0, 360) << ")";
        break;
      default:
        lines.push_back(commands[pick(4)]);
        continue;
    }
    line << tails[pick(4)];
    lines.push_back(line.str());
  }
  return lines;
}

struct ViewCase {
  const char* name;
  double scale;
  int width, height;
  double centre_x, centre_y;
};

class CullingKeepsThePicture : public ::testing::TestWithParam<ViewCase> {};

TEST_P(CullingKeepsThePicture, OfEveryEntityThatReachesTheView) {
  const ViewCase& c = GetParam();
  ViewTransform view = MakeView(c.scale, c.width, c.height);
  view.SetCentre(c.centre_x, c.centre_y);
  const StrokeFont font = AssortedFont();
  const double half_view = c.scale * std::max(c.width, c.height) / 2000;
  for (unsigned seed = 1; seed <= 5; ++seed) {
    // Three times as wide as the view: most entities lie off it, many across its border.
    const std::vector<ParsedEntity> records = ParseLines(ScatteredDrawing(seed, 3 * half_view));
    RecordingCanvas culled;
    ReadingDefaults culled_defaults;
    DrawEntities(culled, view, records, font, culled_defaults);

    RecordingCanvas every;
    ReadingDefaults every_defaults;
    for (auto it = records.rbegin(); it != records.rend(); ++it) {
      DrawEntity(every, view, font, *it, every_defaults);
    }
    EXPECT_EQ(CallsThatShow(culled, c.width, c.height), CallsThatShow(every, c.width, c.height))
        << "seed " << seed;
    // Wide pens and large texts and arcs reach far; still a good part is culled.
    EXPECT_LT(DrawingCalls(culled).size(), DrawingCalls(every).size() * 3 / 4) << "seed " << seed;
    EXPECT_EQ(culled_defaults.colour, every_defaults.colour);
    EXPECT_EQ(culled_defaults.thickness, every_defaults.thickness);
  }
}

INSTANTIATE_TEST_SUITE_P(Views, CullingKeepsThePicture,
                         ::testing::Values(ViewCase{"Square", 10, 200, 200, 0, 0},
                                           ViewCase{"WideOffCentre", 40, 300, 150, 0.5, -0.5},
                                           // Pens of a hundred pixels and more.
                                           ViewCase{"CloseUp", 3, 250, 180, -0.1, 0.1},
                                           ViewCase{"Tall", 25, 120, 400, 0, 2}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace blok
