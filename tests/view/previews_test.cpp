#include "view/previews.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/angles.h"
#include "model/entity_visit.h"
#include "support/case_names.h"
#include "support/recording_canvas.h"
#include "view/font_file.h"
#include "view/renderer.h"

namespace blok {
namespace {

using ::blok::testing::CanvasCall;
using ::blok::testing::RecordingCanvas;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Kind = CanvasCall::Kind;

constexpr Colour kRed = 0x0000FF;
constexpr Colour kGreen = 0x00FF00;

// 100 pixels a unit, origin at pixel (100, 100): (x, y) is drawn at (100 + 100x, 100 - 100y).
// A thickness t is a pen of trunc(10 t) pixels.
ViewTransform HundredPixelView() {
  ViewTransform view;
  view.SetViewSize(200, 200);
  view.SetScale(10);
  return view;
}

// Two glyphs, each a stroke slanting up its advance, so that a text's angle shows in its lines.
const StrokeFont& TestFont() {
  static const StrokeFont font =
      DecodeStrokeFont(blok::testing::FontFileBytes(
                           std::vector{blok::testing::MakeGlyph('A', 20, {{0, 0, 20, 10}}),
                                       blok::testing::MakeGlyph('T', 10, {{0, 20, 10, 20}})}))
          .value();
  return font;
}

std::vector<CanvasCall> Drawn(const RecordingCanvas& canvas) {
  std::vector<CanvasCall> found;
  for (const CanvasCall& call : canvas.calls()) {
    if (call.kind >= Kind::kLine) found.push_back(call);
  }
  return found;
}

// What PreviewMove by nothing draws for the line: the entity where it is, dotted.
std::vector<CanvasCall> InPlace(std::string_view line, const ReadingDefaults& defaults = {}) {
  RecordingCanvas canvas;
  PreviewMove(canvas, HundredPixelView(), TestFont(), line, defaults, 0, 0);
  return Drawn(canvas);
}

TEST(Labels, BlackOnYellowAtTheGivenPixel) {
  RecordingCanvas canvas;
  LabelAtPixel(canvas, 12, 34, "X=1,000");
  LabelAtPoint(canvas, HundredPixelView(), 0.5, -0.25, "gr");
  const std::vector<CanvasCall> texts = canvas.CallsOf(Kind::kText);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].ints[0], 12);
  EXPECT_EQ(texts[0].ints[1], 34);
  EXPECT_EQ(texts[0].text, "X=1,000");
  EXPECT_EQ(texts[0].colour, 0x000000u);
  EXPECT_EQ(texts[0].background, 0x00FFFFu);
  EXPECT_EQ(texts[1].ints[0], 150);
  EXPECT_EQ(texts[1].ints[1], 125);
}

TEST(Markers, SolidYellowEvenAfterADottedPreview) {
  RecordingCanvas canvas;
  canvas.SetPenStyle(PenStyle::kDotted);
  MarkerLine(canvas, 1, 2, 3, 4, 2);
  MarkerRectangle(canvas, 5, 6, 7, 8, 0x00FFFF, 2, 0x00FFFF, false);
  const std::vector<CanvasCall> drawn = Drawn(canvas);
  ASSERT_EQ(drawn.size(), 2u);
  for (const CanvasCall& call : drawn) {
    EXPECT_EQ(call.pen, (blok::testing::PenState{0x00FFFF, 2, PenStyle::kSolid})) << call;
  }
  EXPECT_EQ(drawn[1].brush.style, BrushStyle::kClear);
}

struct ThicknessCase {
  const char* line;
  float default_thickness;
  int pen_width;      // of every stroke of the highlight
  const char* label;  // empty: no label at all
  int label_x, label_y;
};

void PrintTo(const ThicknessCase& c, std::ostream* out) {
  *out << c.line << " default " << c.default_thickness;
}

class HighlightWithThickness : public ::testing::TestWithParam<ThicknessCase> {};

TEST_P(HighlightWithThickness, RedDottedWithTheLabelAtItsPoint) {
  const ThicknessCase& c = GetParam();
  RecordingCanvas canvas;
  ReadingDefaults defaults;
  defaults.thickness = c.default_thickness;
  HighlightEntityWithThickness(canvas, HundredPixelView(), TestFont(), c.line, defaults);
  const std::vector<CanvasCall> drawn = Drawn(canvas);
  const std::vector<CanvasCall> texts = canvas.CallsOf(Kind::kText);
  if (*c.label == '\0') {
    EXPECT_THAT(drawn, IsEmpty());
    return;
  }
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, c.label);
  EXPECT_EQ(texts[0].ints[0], c.label_x);
  EXPECT_EQ(texts[0].ints[1], c.label_y);
  ASSERT_GT(drawn.size(), 1u);
  for (const CanvasCall& call : drawn) {
    if (call.kind == Kind::kText) continue;
    EXPECT_EQ(call.pen, (blok::testing::PenState{kRed, c.pen_width, PenStyle::kDotted})) << call;
    if (call.kind == Kind::kRectangle) {
      EXPECT_EQ(call.brush.style, BrushStyle::kClear);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, HighlightWithThickness,
    ::testing::Values(
        // A circle stands out with three times the default thickness, not its own.
        ThicknessCase{"O(0,0,1);K(0,0,0);GR(0.25)", 0.1f, 3, "gr = 0,25", 100, 100},
        ThicknessCase{"O(0,0,1);K(0,0,0);GR(0.25)", 0.5f, 15, "gr = 0,25", 100, 100},
        ThicknessCase{"LUK(5,5,2,0,90);K(0,0,0);GR(0.1)", 0.5f, 0, "gr = 0,1", 600, -400},
        ThicknessCase{"L(0,0)-(1,0.5);K(0,0,0);GR(2)", 0.1f, 0, "gr = 2", 150, 75},
        ThicknessCase{"P(-1,-1)-(0,0);K(0,255,0);GR(0.333)", 0.1f, 0, "gr = 0,33", 50, 150},
        ThicknessCase{"T(0.5,0.5,'A',1,1,0);K(0,0,0);GR(1)", 0.1f, 0, "gr = 1", 150, 50},
        // Without its own thickness an entity shows the one it is drawn with.
        ThicknessCase{"  L(0,0)-(1,0)", 0.75f, 0, "gr = 0,75", 150, 100},
        ThicknessCase{"L(0,0)-(1", 0.1f, 0, "", 0, 0}, ThicknessCase{"K(1,2,3)", 0.1f, 0, "", 0, 0},
        ThicknessCase{"// L(0,0)-(1,1)", 0.1f, 0, "", 0, 0}),
    testing::PrintedName());

TEST(HighlightEntity, ParsedRecordDrawsAsItsLine) {
  const ReadingDefaults defaults;
  for (const char* line : {"O(1,0,0.5)", "P(0,0)-(1,1);GR(3)", "LUK(0,0,1,10,200)"}) {
    RecordingCanvas from_line, from_record;
    HighlightEntity(from_line, HundredPixelView(), TestFont(), line, defaults);
    HighlightEntity(from_record, HundredPixelView(), TestFont(), ParseEntity(line), defaults);
    EXPECT_EQ(from_line.calls(), from_record.calls()) << line;
    EXPECT_THAT(from_line.CallsOf(Kind::kText), IsEmpty()) << line;
  }
}

TEST(PreviewMove, ByNothingDrawsTheEntityDottedOverItself) {
  ReadingDefaults defaults;
  defaults.colour = kGreen;
  defaults.thickness = 1;
  EXPECT_THAT(InPlace("L(0,0)-(1,1);K(0,0,255);GR(0.5)", defaults),
              ElementsAre(CanvasCall{Kind::kLine,
                                     {100, 100, 200, 0},
                                     0xFF0000,
                                     "",
                                     {},
                                     {0xFF0000, 5, PenStyle::kDotted},
                                     {}}));

  // Colour and thickness the line lacks come from the pass.
  RecordingCanvas expected;
  expected.SetPenStyle(PenStyle::kDotted);
  DrawArc(expected, HundredPixelView(), kGreen, 1, 0, 0, 1, 0, kFullCircle);
  EXPECT_EQ(InPlace("O(0,0,1)", defaults), Drawn(expected));

  RecordingCanvas text;
  text.SetPenStyle(PenStyle::kDotted);
  TextRecord record;
  record.x = 0.5;
  record.text = "AA";
  record.height = 0.5;
  record.width = 1;
  record.colour = kGreen;
  record.thickness = 1;
  DrawTextEntity(text, HundredPixelView(), TestFont(), record);
  EXPECT_EQ(InPlace("T(0.5,0,'AA',0.5,1,0)", defaults), Drawn(text));
}

TEST(PreviewMove, ShiftsEveryDefiningPoint) {
  struct Case {
    const char* line;
    const char* moved;
  };
  for (const Case& c :
       {Case{"L(0,0)-(1,1)", "L(0.5,-1)-(1.5,0)"}, Case{"P(0,0)-(1,1)", "P(0.5,-1)-(1.5,0)"},
        Case{"O(0,0,0.3)", "O(0.5,-1,0.3)"}, Case{"LUK(0,0,0.3,0,90)", "LUK(0.5,-1,0.3,0,90)"},
        Case{"T(0,0,'A',1,1,30)", "T(0.5,-1,'A',1,1,30)"}}) {
    RecordingCanvas canvas;
    PreviewMove(canvas, HundredPixelView(), TestFont(), c.line, {}, 0.5, -1);
    EXPECT_EQ(Drawn(canvas), InPlace(c.moved)) << c.line;
    EXPECT_THAT(Drawn(canvas), ::testing::Not(IsEmpty())) << c.line;
  }
}

TEST(PreviewMove, UnreadableLineDrawsNothingButStillSetsTheDottedPen) {
  RecordingCanvas canvas;
  PreviewMove(canvas, HundredPixelView(), TestFont(), "O(0,0", {}, 1, 1);
  EXPECT_THAT(Drawn(canvas), IsEmpty());
  EXPECT_EQ(canvas.pen().style, PenStyle::kDotted);
}

struct RotateCase {
  const char* line;
  double angle, cx, cy;
  const char* turned;  // empty: nothing drawn
};

void PrintTo(const RotateCase& c, std::ostream* out) { *out << c.line << " by " << c.angle; }

class PreviewRotateTest : public ::testing::TestWithParam<RotateCase> {};

TEST_P(PreviewRotateTest, TurnsAboutTheCentre) {
  const RotateCase& c = GetParam();
  RecordingCanvas canvas;
  PreviewRotate(canvas, HundredPixelView(), TestFont(), ParseEntity(c.line), {}, c.angle, c.cx,
                c.cy);
  if (*c.turned == '\0') {
    EXPECT_THAT(Drawn(canvas), IsEmpty());
  } else {
    EXPECT_EQ(Drawn(canvas), InPlace(c.turned));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, PreviewRotateTest,
    ::testing::Values(RotateCase{"T(0,0,'AA',1,1,0)", kHalfPi, 0, 0, "T(0,0,'AA',1,1,90)"},
                      // Half a pixel off the grid, so that rounding cannot tip a pixel.
                      RotateCase{"T(0.505,0.005,'A',1,1,10)", kHalfPi, 0.005, 0.005,
                                 "T(0.005,0.505,'A',1,1,100)"},
                      RotateCase{"L(0.505,0.005)-(1.005,0.005)", kHalfPi, 0.005, 0.005,
                                 "L(0.005,0.505)-(0.005,1.005)"},
                      RotateCase{"O(0.5,0,0.2)", kPi, 0, 0, "O(-0.5,0,0.2)"},
                      RotateCase{"LUK(0,0,0.5,0,90)", kHalfPi, 0, 0, "LUK(0,0,0.5,90,180)"},
                      // A turned rectangle is no longer one.
                      RotateCase{"P(0,0)-(1,1)", kHalfPi, 0, 0, ""},
                      RotateCase{"P(0,0)-(1,1)", 0, 0, 0, ""}),
    testing::PrintedName());

// Every entity routine, by name, on one line with the pass's defaults.
struct PreviewRoutine {
  const char* name;
  void (*draw)(Canvas&, std::string_view, const ReadingDefaults&);
};

constexpr PreviewRoutine kPreviewRoutines[] = {
    {"HighlightEntity",
     [](Canvas& c, std::string_view line, const ReadingDefaults& d) {
       HighlightEntity(c, HundredPixelView(), TestFont(), line, d);
     }},
    {"HighlightParsed",
     [](Canvas& c, std::string_view line, const ReadingDefaults& d) {
       HighlightEntity(c, HundredPixelView(), TestFont(), ParseEntity(line), d);
     }},
    {"HighlightEntityWithThickness",
     [](Canvas& c, std::string_view line, const ReadingDefaults& d) {
       HighlightEntityWithThickness(c, HundredPixelView(), TestFont(), line, d);
     }},
    {"PreviewMove",
     [](Canvas& c, std::string_view line, const ReadingDefaults& d) {
       PreviewMove(c, HundredPixelView(), TestFont(), line, d, 0.5, 0.5);
     }},
    {"PreviewRotate",
     [](Canvas& c, std::string_view line, const ReadingDefaults& d) {
       PreviewRotate(c, HundredPixelView(), TestFont(), ParseEntity(line), d, kHalfPi, 0, 0);
     }},
};

TEST(EntityRoutines, LinesThatAreNoEntityDrawNothingUnderADottedPen) {
  ReadingDefaults defaults;
  defaults.colour = kGreen;
  defaults.thickness = 1;
  for (const PreviewRoutine& routine : kPreviewRoutines) {
    for (const char* line : {"K(1,2,3)", "K(czerwony)", "GR(2)", "// L(0,0)-(1,1)", "L(0,0)-(1",
                             "LUK(0,0,1,0)", "T(0,0,'A',1,1)", "P(0,0)-(1,x)", "", "   "}) {
      RecordingCanvas canvas;
      routine.draw(canvas, line, defaults);
      EXPECT_THAT(Drawn(canvas), IsEmpty()) << routine.name << " " << line;
      EXPECT_EQ(canvas.pen().style, PenStyle::kDotted) << routine.name << " " << line;
    }
  }
}

TEST(EntityRoutines, EveryKindIsDrawnDottedInThePassColourItLacks) {
  ReadingDefaults defaults;
  defaults.colour = kGreen;
  defaults.thickness = 1;
  for (const PreviewRoutine& routine : kPreviewRoutines) {
    const bool highlight = std::string_view(routine.name).starts_with("Highlight");
    for (const char* line : {"L(0,0)-(1,0.5)", "P(0,0)-(1,0.5)", "O(0,0,0.5)", "LUK(0,0,0.5,0,90)",
                             "T(0,0,'AT',0.5,1,0)"}) {
      // A turned rectangle is not shown at all.
      if (std::string_view(routine.name) == "PreviewRotate" && line[0] == 'P') continue;
      RecordingCanvas canvas;
      routine.draw(canvas, line, defaults);
      const std::vector<CanvasCall> drawn = Drawn(canvas);
      ASSERT_FALSE(drawn.empty()) << routine.name << " " << line;
      for (const CanvasCall& call : drawn) {
        if (call.kind == Kind::kText) continue;  // the thickness label
        EXPECT_EQ(call.pen.style, PenStyle::kDotted) << routine.name << " " << line;
        EXPECT_EQ(call.pen.colour, highlight ? kRed : kGreen) << routine.name << " " << line;
      }
    }
  }
}

// Previews change their own copy of a record through this dispatch, so it must tell the kinds
// apart as VisitEntity does and hand out the record itself.
TEST(VisitEntityToChange, HandsOutTheRecordOfEachKind) {
  struct Case {
    const char* line;
    const char* seen;  // "" when not visited
  };
  for (const Case& c :
       {Case{"L(0,0)-(1,1)", "line"}, Case{" p (0,0)-(1,1)", "rect"}, Case{"O(0,0,1)", "circle"},
        Case{"LUK(0,0,1,0,90)", "arc"}, Case{"T(0,0,'a',1,1,0)", "text"},
        Case{"K(czerwony)", "colour"}, Case{"GR(2)", "gr"}, Case{"P(0,0)-(1,x)", ""},
        Case{"// L(0,0)-(1,1)", ""}, Case{"", ""}}) {
    ParsedEntity entity = ParseEntity(c.line);
    std::string seen;
    const bool visited = VisitEntityToChange(
        entity, Overloaded{
                    [&](const MutableLineEntity& l) { seen = "line", l.segment.x1 = 7; },
                    [&](const MutableRectangleEntity& r) { seen = "rect", r.segment.x1 = 7; },
                    [&](CircleRecord& r) { seen = "circle", r.x = 7; },
                    [&](ArcRecord& r) { seen = "arc", r.x = 7; },
                    [&](TextRecord& r) { seen = "text", r.x = 7; },
                    [&](ColourRecord& r) { seen = "colour", r.colour = 7; },
                    [&](ThicknessRecord& r) { seen = "gr", r.thickness = 7; },
                });
    EXPECT_EQ(seen, c.seen) << c.line;
    EXPECT_EQ(visited, !seen.empty()) << c.line;
    if (seen.empty()) continue;
    double changed = 0;
    VisitEntity(entity, Overloaded{
                            [&](const LineEntity& l) { changed = l.segment.x1; },
                            [&](const RectangleEntity& r) { changed = r.segment.x1; },
                            [&](const CircleRecord& r) { changed = r.x; },
                            [&](const ArcRecord& r) { changed = r.x; },
                            [&](const TextRecord& r) { changed = r.x; },
                            [&](const ColourRecord& r) { changed = r.colour; },
                            [&](const ThicknessRecord& r) { changed = r.thickness; },
                        });
    EXPECT_EQ(changed, 7) << c.line;
  }
}

TEST(WorkingText, EmptyTextShowsAsTekst) {
  RecordingCanvas empty, tekst;
  WorkingText(empty, HundredPixelView(), TestFont(), "", kRed, 0, 1, 1, 0, 0, 0);
  DrawText(tekst, TestFont(), "Tekst", kRed, 0, 1, 1, 0, 100, 100, 10);
  EXPECT_EQ(empty.calls(), tekst.calls());
}

}  // namespace
}  // namespace blok
