#include "editing/mirror.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <numbers>
#include <ostream>
#include <string>
#include <vector>

#include "document/drawing.h"
#include "support/built_font.h"
#include "support/editing_support.h"
#include "support/recording_canvas.h"
#include "view/renderer.h"
#include "view/stroke_font.h"

namespace blok {
namespace {

using ::blok::testing::Described;
using ::blok::testing::Parse;
using ::blok::testing::RecordingCanvas;
using Lines = std::vector<std::string>;

Selection Select(const Lines& lines, const std::vector<int>& indices) {
  Selection selection;
  selection.flags.assign(lines.size(), 0);
  for (int i : indices) selection.flags[i] = 1;
  for (size_t i = 0; i < lines.size(); ++i) selection.count += selection.flags[i];
  return selection;
}

Lines Added(const Lines& lines) {
  Lines described;
  for (const std::string& line : lines) described.push_back("dodaj " + line);
  return described;
}

const Point kOrigin{0, 0};
const Point kRight{1, 0};
const Point kUp{0, 1};
const Point kDiagonal{1, 1};
const Point k30Degrees{std::cos(std::numbers::pi / 6), std::sin(std::numbers::pi / 6)};

struct MirrorCase {
  const char* name;
  Lines lines;
  std::vector<int> selected;
  Point axis_a, axis_b;
  Lines added;
  friend void PrintTo(const MirrorCase& c, std::ostream* os) { *os << c.name; }
};

class Mirror : public ::testing::TestWithParam<MirrorCase> {};

// Both directions of one axis give the same lines, and every line reads back.
TEST_P(Mirror, AddsTheImages) {
  const MirrorCase& c = GetParam();
  const std::vector<ParsedEntity> records = Parse(c.lines);
  const Selection selection = Select(c.lines, c.selected);
  const EditChanges changes = MirrorSelection(records, selection, c.axis_a, c.axis_b);
  EXPECT_EQ(Described(changes), Added(c.added));
  EXPECT_EQ(Described(MirrorSelection(records, selection, c.axis_b, c.axis_a)), Added(c.added));
  for (const EditChange& change : changes) {
    EXPECT_TRUE(ParseEntity(change.line).valid()) << change.line;
  }
}

std::vector<MirrorCase> MirrorCases() {
  // clang-format off
  return {
      {"LineAboutLevelAxis", {"L(0,0)-(2,3)"}, {0}, {5, 1}, {-1, 1},
       {"L(0,2)-(2,-1);K(0,0,0);GR(0.1)"}},
      {"LineAboutPlumbAxis", {"L(0,0)-(2,3)"}, {0}, {1, 5}, {1, 0},
       {"L(2,0)-(0,3);K(0,0,0);GR(0.1)"}},
      {"LineAbout45Degrees", {"L(1,0)-(3,2)"}, {0}, kOrigin, kDiagonal,
       {"L(0,1)-(2,3);K(0,0,0);GR(0.1)"}},
      {"LineAbout30Degrees", {"L(1,0)-(2,0)"}, {0}, kOrigin, k30Degrees,
       {"L(0.5,0.866)-(1,1.7321);K(0,0,0);GR(0.1)"}},
      {"AxisAwayFromTheOrigin", {"L(0,0)-(0,1)"}, {0}, {1, 0}, {2, 1},
       {"L(1,-1)-(2,-1);K(0,0,0);GR(0.1)"}},
      {"CircleCentreOnly", {"O(2,0,1.5)"}, {0}, kOrigin, kDiagonal,
       {"O(0,2,1.5);K(0,0,0);GR(0.1)"}},
      {"ArcAboutLevelAxisNewStartFromOldEnd", {"LUK(0,0,1,0,90)"}, {0}, kOrigin, kRight,
       {"LUK(0,0,1,270,360);K(0,0,0);GR(0.1)"}},
      {"ArcAboutPlumbAxis", {"LUK(1,0,2,0,90)"}, {0}, kOrigin, kUp,
       {"LUK(-1,0,2,90,180);K(0,0,0);GR(0.1)"}},
      {"ArcAbout45Degrees", {"LUK(0,0,1,0,30)"}, {0}, kOrigin, kDiagonal,
       {"LUK(0,0,1,60,90);K(0,0,0);GR(0.1)"}},
      {"ArcAbout30Degrees", {"LUK(1,0,1,10,20)"}, {0}, kOrigin, k30Degrees,
       {"LUK(0.5,0.866,1,40,50);K(0,0,0);GR(0.1)"}},
      {"ArcCrossingZeroWrittenEndBelowStart", {"LUK(0,0,1,300,30)"}, {0}, kOrigin, kRight,
       {"LUK(0,0,1,330,60);K(0,0,0);GR(0.1)"}},
      {"ArcCrossingZeroWrittenPast360", {"LUK(0,0,1,350,370)"}, {0}, kOrigin, kUp,
       {"LUK(0,0,1,170,190);K(0,0,0);GR(0.1)"}},
      {"RectangleAboutLevelAxisStaysOne", {"P(0,0)-(2,1);K(1,2,3);GR(0.4)"}, {0}, {0, 2}, {1, 2},
       {"P(0,4)-(2,3);K(1,2,3);GR(0.4)"}},
      {"RectangleAboutPlumbAxisStaysOne", {"P(0,0)-(2,1)"}, {0}, {3, 0}, {3, 1},
       {"P(6,0)-(4,1);K(0,0,0);GR(0.1)"}},
      {"RectangleAboutSlantBecomesEdgesAsTheWriterAddsThem", {"P(0,0)-(1,2);K(1,2,3);GR(0.4)"},
       {0}, kOrigin, kDiagonal,
       {"L(0,0)-(2,0);K(1,2,3);GR(0.4)", "L(2,0)-(2,1);K(1,2,3);GR(0.4)",
        "L(2,1)-(0,1);K(1,2,3);GR(0.4)", "L(0,1)-(0,0);K(1,2,3);GR(0.4)"}},
      {"TextAboutLevelAxis", {"T(1,1,'ab',2,1,30)"}, {0}, kOrigin, kRight,
       {"T(1,-1,'ab',-2,1,330);K(0,0,0);GR(0.1)"}},
      {"TextAboutPlumbAxis", {"T(1,1,'ab',2,1,30)"}, {0}, kOrigin, kUp,
       {"T(-1,1,'ab',-2,1,150);K(0,0,0);GR(0.1)"}},
      {"TextAbout45Degrees", {"T(1,1,'ab',2,1,0)"}, {0}, kOrigin, kDiagonal,
       {"T(1,1,'ab',-2,1,90);K(0,0,0);GR(0.1)"}},
      {"MirroredTextMirroredBack", {"T(1,-1,'ab',-2,1,330)"}, {0}, kOrigin, kRight,
       {"T(1,1,'ab',2,1,30);K(0,0,0);GR(0.1)"}},
      {"TextWidthAndThicknessKept", {"T(0,0,'a',2,3,0);K(9,8,7);GR(0.3)"}, {0}, kOrigin, kUp,
       {"T(0,0,'a',-2,3,180);K(9,8,7);GR(0.3)"}},
      {"InDrawingOrderEachWithItsOwnTail",
       {"L(0,0)-(1,0);K(255,0,0);GR(0.5)", "O(5,5,1)", "K(1,2,3)", "T(0,2,'ab',2,1,0)", "GR(0.3)"},
       {0, 1, 3}, kOrigin, kRight,
       {"L(0,0)-(1,0);K(255,0,0);GR(0.5)", "O(5,-5,1);K(1,2,3);GR(0.3)",
        "T(0,-2,'ab',-2,1,0);K(0,0,0);GR(0.3)"}},
      {"EdgesInPlaceOfTheRectangle", {"O(1,0,1)", "P(0,0)-(1,2)", "L(2,0)-(3,0)"}, {0, 1, 2},
       kOrigin, kDiagonal,
       {"O(0,1,1);K(0,0,0);GR(0.1)", "L(0,0)-(2,0);K(0,0,0);GR(0.1)",
        "L(2,0)-(2,1);K(0,0,0);GR(0.1)", "L(2,1)-(0,1);K(0,0,0);GR(0.1)",
        "L(0,1)-(0,0);K(0,0,0);GR(0.1)", "L(0,2)-(0,3);K(0,0,0);GR(0.1)"}},
      {"CommandsAndUnreadableLinesSkipped", {"K(1,2,3)", "L(0,0)-(x,0)", "O(0,1,1)", "GR(2)"},
       {0, 1, 2, 3}, kOrigin, kRight, {"O(0,-1,1);K(0,0,0);GR(2)"}},
      {"AxisOfNoLength", {"L(0,0)-(2,3)"}, {0}, {1, 1}, {1, 1}, {}},
  };
  // clang-format on
}

INSTANTIATE_TEST_SUITE_P(Cases, Mirror, ::testing::ValuesIn(MirrorCases()),
                         [](const auto& info) { return info.param.name; });

// The proof that the text's angle and height are right: the mirrored text, drawn by the renderer
// with the real font, puts every stroke on the image of the original's.

const StrokeFont& Romans() { return testing::BuiltRomans(); }

// 100 pixels a unit, the origin at pixel (1000, 1000): both texts lie wholly at positive pixels,
// where truncation moves every point the same way.
ViewTransform BigView() {
  ViewTransform view;
  view.SetViewSize(2000, 2000);
  view.SetScale(10);
  return view;
}

std::vector<std::vector<int>> StrokesOf(const std::string& line) {
  RecordingCanvas canvas;
  ReadingDefaults defaults;
  DrawEntity(canvas, BigView(), Romans(), ParseEntity(line), defaults);
  return canvas.Lines();
}

struct StrokeCase {
  const char* name;
  Point axis_a;
  double axis_degrees;
  float text_degrees;
  friend void PrintTo(const StrokeCase& c, std::ostream* os) { *os << c.name; }
};

class MirroredText : public ::testing::TestWithParam<StrokeCase> {};

TEST_P(MirroredText, EveryStrokeOnTheImageOfTheOriginals) {
  const StrokeCase& c = GetParam();
  const std::string original = "T(0,0,'Fg',3,3," + std::to_string(c.text_degrees) + ")";
  const double phi = c.axis_degrees * std::numbers::pi / 180;
  const Point axis_b{c.axis_a.x + std::cos(phi), c.axis_a.y + std::sin(phi)};
  const Lines lines{original};
  const EditChanges changes = MirrorSelection(Parse(lines), Select(lines, {0}), c.axis_a, axis_b);
  ASSERT_EQ(changes.size(), 1u);

  const std::vector<std::vector<int>> before = StrokesOf(original);
  const std::vector<std::vector<int>> after = StrokesOf(changes[0].line);
  ASSERT_GT(before.size(), 10u);
  ASSERT_EQ(after.size(), before.size());
  // The axis in pixels, y down: through the pixel of axis_a, at -φ.
  const double ax = 1000 + 100 * c.axis_a.x;
  const double ay = 1000 - 100 * c.axis_a.y;
  const double cos_2 = std::cos(2 * phi);
  const double sin_2 = -std::sin(2 * phi);
  // Each picture truncated its points to whole pixels once, so pixel centres are compared.
  const auto image = [&](int px, int py) {
    const double vx = px + 0.5 - ax;
    const double vy = py + 0.5 - ay;
    return Point{ax + cos_2 * vx + sin_2 * vy, ay + sin_2 * vx - cos_2 * vy};
  };
  double worst = 0;
  for (size_t k = 0; k < before.size(); ++k) {
    for (int end : {0, 2}) {
      const Point expected = image(before[k][end], before[k][end + 1]);
      worst = std::max({worst, std::abs(after[k][end] + 0.5 - expected.x),
                        std::abs(after[k][end + 1] + 0.5 - expected.y)});
    }
  }
  EXPECT_LE(worst, 1 + 1e-9) << changes[0].line;
}

INSTANTIATE_TEST_SUITE_P(AxesAndAngles, MirroredText,
                         ::testing::Values(StrokeCase{"Level", {0, 0.5}, 0, 0},
                                           StrokeCase{"LevelTextAt30", {0, 0.5}, 0, 30},
                                           StrokeCase{"Plumb", {0.5, 0}, 90, 0},
                                           StrokeCase{"PlumbTextAt30", {0.5, 0}, 90, 30},
                                           StrokeCase{"At45", {0.5, 0}, 45, 0},
                                           StrokeCase{"At45TextAt30", {0.5, 0}, 45, 30},
                                           // The image of the insertion point would fall between
                                           // pixels: the axis goes through it.
                                           StrokeCase{"At30", {0, 0}, 30, 0},
                                           StrokeCase{"At30TextAt30", {0, 0}, 30, 30}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace blok
