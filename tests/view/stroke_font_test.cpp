#include "view/stroke_font.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "support/case_names.h"
#include "support/recording_canvas.h"
#include "support/test_dir.h"
#include "view/font_file.h"

namespace blok {
namespace {

using ::blok::testing::FontFileBytes;
using ::blok::testing::FontFileGlyph;
using ::blok::testing::MakeGlyph;
using ::blok::testing::RecordingCanvas;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using Lines = std::vector<std::vector<int>>;

// Writes the glyphs as a font file and loads it back, so every drawing test also reads a file.
StrokeFont LoadGlyphs(const std::vector<FontFileGlyph>& glyphs) {
  blok::testing::TestDir dir;
  blok::testing::WriteBytes(dir / "font.Lzs", FontFileBytes(glyphs));
  Result<StrokeFont> font = LoadStrokeFont(dir / "font.Lzs");
  EXPECT_TRUE(font.has_value()) << font.error().message;
  return font.value_or(StrokeFont{});
}

struct DrawCase {
  const char* name;
  std::vector<FontFileGlyph> glyphs;
  std::string text;
  double height, width, angle;
  int px, py;
  double scale;
  Lines lines;
};
void PrintTo(const DrawCase& c, std::ostream* out) { *out << c.name; }

// Scale 12 and size 1 make one font unit one pixel; 12 / 1.05 makes it 1.05 pixels, and 9.6
// makes it 1.25.
constexpr double kOnePixel = 12;
const double kWiderPixel = 12 / 1.05;

class DrawTextArithmetic : public ::testing::TestWithParam<DrawCase> {};

TEST_P(DrawTextArithmetic, DrawsTheseLines) {
  const DrawCase& c = GetParam();
  const StrokeFont font = LoadGlyphs(c.glyphs);
  RecordingCanvas canvas;
  DrawText(canvas, font, c.text, 0, 1, c.height, c.width, c.angle, c.px, c.py, c.scale);
  EXPECT_THAT(canvas.Lines(), ElementsAreArray(c.lines));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Cases, DrawTextArithmetic,
    ::testing::Values(
        DrawCase{"UpStrokeAtAngle0RunsStraightUp",
                 {MakeGlyph('A', 50, {{0, 0, 0, 100}})}, "A", 1, 1, 0, 100, 200, kOnePixel,
                 {{100, 200, 100, 100}}},
        // 0.0174532 falls just short of a right angle; truncation keeps the ends on the pixel
        // along the text but lets an offset across it lose one.
        DrawCase{"BaselineAtAngle90RunsUp",
                 {MakeGlyph('A', 50, {{0, 0, 100, 0}, {0, 0, 0, 100}})}, "A", 1, 1, 90, 100, 200,
                 kOnePixel, {{100, 200, 100, 100}, {100, 200, 0, 199}}},
        DrawCase{"WidthTwiceHeightStretchesAcross",
                 {MakeGlyph('A', 50, {{0, 0, 50, 50}})}, "A", 1, 2, 0, 100, 200, kOnePixel,
                 {{100, 200, 200, 150}}},
        // 12.5 pixels a character: 112.5 and 125 untruncated.
        DrawCase{"PenIsTruncatedAfterEveryCharacter",
                 {MakeGlyph('A', 10, {{0, 0, 0, 10}})}, "AAA", 1, 1, 0, 100, 200, 9.6,
                 {{100, 200, 100, 187}, {112, 200, 112, 187}, {124, 200, 124, 187}}},
        DrawCase{"PixelsAreTruncatedTowardsZero",
                 {MakeGlyph('A', 10, {{0, 0, 0, 100}})}, "A", 1, 1, 0, 100, 10, kWiderPixel,
                 {{100, 10, 100, -94}}},
        // 12 / 12 * 0.7 is 0.699999988 in single precision: ten units make 6.99999988 pixels.
        DrawCase{"ScaleFactorsAreSinglePrecision",
                 {MakeGlyph('A', 10, {{10, 0, 10, 0}})}, "A", 1, 0.7, 0, 100, 200, kOnePixel,
                 {{106, 200, 106, 200}}},
        DrawCase{"CharactersWithoutStrokesLeaveTheirAdvance",
                 {MakeGlyph(' ', 30, {}), MakeGlyph('A', 10, {{0, 0, 0, 10}})}, "  A", 1, 1, 0,
                 100, 200, kOnePixel, {{160, 200, 160, 190}}},
        DrawCase{"OnlyCharactersWithoutStrokesDrawNothing",
                 {MakeGlyph(' ', 30, {})}, "   ", 1, 1, 0, 100, 200, kOnePixel, {}},
        DrawCase{"PolishLetterUsesItsCodePageByte",
                 {MakeGlyph(0xB9, 20, {{0, 0, 5, 5}}), MakeGlyph('A', 10, {{0, 0, 0, 10}})},
                 "\xC4\x85" "A", 1, 1, 0, 100, 200, kOnePixel,
                 {{100, 200, 105, 195}, {120, 200, 120, 190}}},
        DrawCase{"CharacterOutsideCodePageDrawsQuestionMark",
                 {MakeGlyph('?', 10, {{0, 0, 0, 10}})}, "\xCE\xA9", 1, 1, 0, 100, 200, kOnePixel,
                 {{100, 200, 100, 190}}},
        DrawCase{"MalformedUtf8DrawsQuestionMark",
                 {MakeGlyph('?', 10, {{0, 0, 0, 10}})}, "\xC4", 1, 1, 0, 100, 200, kOnePixel,
                 {{100, 200, 100, 190}}},
        // Without an H the capitals are taken as 100 units high from the baseline.
        DrawCase{"CharacterWithoutStrokesShowsItsCell",
                 {MakeGlyph(0x80, 40, {}), MakeGlyph('A', 10, {{0, 0, 0, 10}})},
                 "\xE2\x82\xAC" "A", 1, 1, 0, 100, 200, kOnePixel,
                 {{100, 200, 140, 200}, {140, 200, 140, 100}, {140, 100, 100, 100},
                  {100, 100, 100, 200}, {140, 200, 140, 190}}},
        DrawCase{"CellStandsOnTheCapitalsFoot",
                 {MakeGlyph('H', 50, {{0, 20, 0, 80}}), MakeGlyph(0x80, 40, {})},
                 "\xE2\x82\xAC", 1, 1, 0, 100, 200, kOnePixel,
                 {{100, 180, 140, 180}, {140, 180, 140, 120}, {140, 120, 100, 120},
                  {100, 120, 100, 180}}},
        DrawCase{"CharacterWithoutWidthShowsNothing",
                 {MakeGlyph(0x80, 0, {})}, "\xE2\x82\xAC", 1, 1, 0, 100, 200, kOnePixel, {}},
        DrawCase{"BlanksShowNothing",
                 {MakeGlyph(' ', 30, {}), MakeGlyph(0xA0, 30, {}), MakeGlyph('\t', 30, {}),
                  MakeGlyph(0x81, 30, {})},
                 " \xC2\xA0\t\xC2\x81", 1, 1, 0, 100, 200, kOnePixel, {}},
        DrawCase{"QuoteDrawnAsThePlainOne",
                 {MakeGlyph('\'', 8, {{0, 90, 0, 100}}), MakeGlyph('"', 12, {{0, 90, 4, 100}}),
                  MakeGlyph('A', 10, {{0, 0, 0, 10}})},
                 "\xE2\x80\x99\xE2\x80\x9E" "A", 1, 1, 0, 100, 200, kOnePixel,
                 {{100, 110, 100, 100}, {108, 110, 112, 100}, {120, 200, 120, 190}}},
        DrawCase{"QuoteOfTheFontsOwnIsKept",
                 {MakeGlyph('\'', 8, {{0, 90, 0, 100}}), MakeGlyph(0x92, 6, {{0, 0, 3, 3}})},
                 "\xE2\x80\x99", 1, 1, 0, 100, 200, kOnePixel, {{100, 200, 103, 197}}},
        DrawCase{"QuoteWithoutThePlainOneShowsItsCell",
                 {MakeGlyph(0x92, 20, {})}, "\xE2\x80\x99", 1, 1, 0, 100, 200, kOnePixel,
                 {{100, 200, 120, 200}, {120, 200, 120, 100}, {120, 100, 100, 100},
                  {100, 100, 100, 200}}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

class DrawTextAnywhere : public ::testing::TestWithParam<int> {};

// A long text is drawn whole wherever its insertion pixel lies, here in a view 500 wide: the
// canvas clips what falls outside, and its letters may reach far into the view.
TEST_P(DrawTextAnywhere, WhateverItsInsertionPixel) {
  const StrokeFont font = LoadGlyphs({MakeGlyph('A', 10, {{0, 0, 0, 10}})});
  RecordingCanvas canvas;
  DrawText(canvas, font, "AAAAAAAAAA", 0, 3, 1, 1, 0, GetParam(), 200, kOnePixel);
  EXPECT_EQ(canvas.Lines().size(), 10u);
  EXPECT_EQ(canvas.pen().width, 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, DrawTextAnywhere, ::testing::Values(-11, -10, -9, 500, 501));

struct SpanCase {
  const char* name;
  std::vector<FontFileGlyph> glyphs;
  std::string text;
  double height, width, scale;
  TextSpan span;
};
void PrintTo(const SpanCase& c, std::ostream* out) { *out << c.name; }

class StrokeSpan : public ::testing::TestWithParam<SpanCase> {};

// The span is where DrawText puts the strokes, so it follows the same pen and scale arithmetic.
TEST_P(StrokeSpan, CoversTheStrokesAsDrawn) {
  const SpanCase& c = GetParam();
  const TextSpan span =
      TextStrokeSpan(LoadGlyphs(c.glyphs), c.text, c.height, c.width, 0, 100, c.scale);
  if (c.span.empty()) {
    EXPECT_TRUE(span.empty());
    return;
  }
  EXPECT_DOUBLE_EQ(span.u_low, c.span.u_low);
  EXPECT_DOUBLE_EQ(span.u_high, c.span.u_high);
  EXPECT_DOUBLE_EQ(span.v_low, c.span.v_low);
  EXPECT_DOUBLE_EQ(span.v_high, c.span.v_high);
}

constexpr TextSpan kNoSpan{1, 0, 1, 0};

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Cases, StrokeSpan,
    ::testing::Values(
        // 12.5 pixels a character, the pen truncated to 112 and 124.
        SpanCase{"PenIsTruncatedAsDrawn", {MakeGlyph('A', 10, {{0, 0, 0, 10}})}, "AAA", 1, 1,
                 9.6, {0, 24, 0, 12.5}},
        SpanCase{"LastLetterReachesPastItsPen", {MakeGlyph('A', 10, {{2, 3, 30, 8}})}, "AA", 2, 1,
                 kOnePixel, {2, 40, 6, 16}},
        SpanCase{"NegativeWidthRunsBack", {MakeGlyph('A', 10, {{0, 0, 5, 10}})}, "AA", 1, -1,
                 kOnePixel, {-15, 0, 0, 10}},
        SpanCase{"NegativeHeightHangsDown", {MakeGlyph('A', 10, {{0, 0, 5, 10}})}, "A", -1, 1,
                 kOnePixel, {0, 5, -10, 0}},
        SpanCase{"BlanksOnly", {MakeGlyph(' ', 30, {})}, "  ", 1, 1, kOnePixel, kNoSpan},
        SpanCase{"CellOfACharacterWithoutStrokes",
                 {MakeGlyph('A', 10, {{0, 0, 0, 10}}), MakeGlyph(0x80, 40, {})},
                 "A\xE2\x82\xAC", 2, 1, kOnePixel, {0, 50, 0, 200}},
        SpanCase{"CellRunningBack", {MakeGlyph(0x80, 40, {})}, "\xE2\x82\xAC", 1, -1, kOnePixel,
                 {-40, 0, 0, 100}},
        SpanCase{"NoText", {MakeGlyph('A', 10, {{0, 0, 5, 10}})}, "", 1, 1, kOnePixel, kNoSpan},
        SpanCase{"NoPicture", {MakeGlyph('A', 10, {{0, 0, 5, 10}})}, "A", 1, 1, 0, kNoSpan}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(DrawText, DrawsWithGivenPenKeepsStyleAndEndsWithWidthOne) {
  const StrokeFont font = LoadGlyphs({MakeGlyph('A', 10, {{0, 0, 0, 10}, {0, 10, 5, 10}})});
  RecordingCanvas canvas;
  canvas.SetPenStyle(PenStyle::kDotted);
  canvas.SetPenWidth(7);
  DrawText(canvas, font, "A", 0x0000FF, 3, 1, 1, 0, 100, 200, kOnePixel);
  const auto lines = canvas.CallsOf(blok::testing::CanvasCall::Kind::kLine);
  ASSERT_EQ(lines.size(), 2u);
  for (const auto& line : lines) {
    EXPECT_EQ(line.pen, (blok::testing::PenState{0x0000FF, 3, PenStyle::kDotted})) << line;
  }
  EXPECT_EQ(canvas.pen(), (blok::testing::PenState{0x0000FF, 1, PenStyle::kDotted}));
}

TEST(DrawText, ScaleWithoutPictureDrawsNothing) {
  const StrokeFont font = LoadGlyphs({MakeGlyph('A', 10, {{0, 0, 0, 10}})});
  for (double scale : {0.0, std::numeric_limits<double>::quiet_NaN()}) {
    RecordingCanvas canvas;
    DrawText(canvas, font, "AA", 0, 1, 1, 1, 0, 100, 200, scale);
    EXPECT_TRUE(canvas.Lines().empty()) << scale;
  }
}

// Zoomed in far enough, the pen would run past what an int holds; it must not wrap round.
TEST(DrawText, TinyScaleNeverWrapsPenBackwards) {
  const StrokeFont font = LoadGlyphs({MakeGlyph('A', 200, {{0, 0, 0, 0}})});
  RecordingCanvas canvas;
  DrawText(canvas, font, "AAAA", 0, 1, 1, 1, 0, 100, 200, 1e-6);
  const Lines lines = canvas.Lines();
  ASSERT_EQ(lines.size(), 4u);
  for (const auto& line : lines) EXPECT_GE(line[0], 100);
}

TEST(TextLength, SumsAdvancesOfCharacters) {
  const StrokeFont font =
      LoadGlyphs({MakeGlyph('A', 10, {}), MakeGlyph('B', 20, {}), MakeGlyph(0xB9, 25, {}),
                  MakeGlyph(0x92, 40, {}), MakeGlyph('\'', 5, {{0, 90, 0, 100}})});
  EXPECT_EQ(TextLength(font, "", 2), 0);
  EXPECT_NEAR(TextLength(font, "AB", 2), 30 * 2 * 0.0118, 1e-9);
  EXPECT_NEAR(TextLength(font, "\xC4\x85", 2), 25 * 2 * 0.0118, 1e-9);  // one character
  // ’ is drawn as ', so it is as long.
  EXPECT_NEAR(TextLength(font, "\xE2\x80\x99", 2), 5 * 2 * 0.0118, 1e-9);
}

struct DamageCase {
  const char* name;
  std::int32_t stroke_count;
  float advance;
  std::size_t lines_of_a;
  int b_at;  // where the B after it starts
};
void PrintTo(const DamageCase& c, std::ostream* out) { *out << c.name; }

class DamagedFont : public ::testing::TestWithParam<DamageCase> {};

TEST_P(DamagedFont, IsReadSafely) {
  const DamageCase& c = GetParam();
  FontFileGlyph a{'A', c.stroke_count, c.advance, {}};
  for (int k = 0; k < kMaxGlyphStrokes; ++k) a.strokes.push_back({0, 0, 0, 1});
  const StrokeFont font = LoadGlyphs({a, MakeGlyph('B', 10, {{0, 0, 0, 50}})});
  RecordingCanvas canvas;
  DrawText(canvas, font, "AB", 0, 1, 1, 1, 0, 100, 200, kOnePixel);
  const Lines lines = canvas.Lines();
  ASSERT_EQ(lines.size(), c.lines_of_a + 1);
  EXPECT_EQ(lines.back(), (std::vector<int>{c.b_at, 200, c.b_at, 150}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedFont,
    ::testing::Values(
        DamageCase{"CountAboveRecordIsClamped", 9999, 10, 150, 110},
        DamageCase{"NegativeCountDrawsNothingButAdvances", -5, 10, 4, 110},
        DamageCase{"AdvanceNotANumberIsZero", 1, std::numeric_limits<float>::quiet_NaN(), 1, 100},
        DamageCase{"InfiniteAdvanceIsZero", 1, std::numeric_limits<float>::infinity(), 1, 100}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LoadStrokeFont, FailsNamingTheFile) {
  blok::testing::TestDir dir;
  blok::testing::WriteBytes(dir / "short.Lzs", std::string(kFontFileSize - 1, '\0'));
  std::filesystem::create_directory(dir / "folder.Lzs");
  for (const char* name : {"missing.Lzs", "short.Lzs", "folder.Lzs"}) {
    const Result<StrokeFont> font = LoadStrokeFont(dir / name);
    ASSERT_FALSE(font.has_value()) << name;
    EXPECT_THAT(font.error().message, HasSubstr((dir / name).string()));
  }
}

TEST(LoadStrokeFont, IgnoresBytesAfterLastRecord) {
  blok::testing::TestDir dir;
  blok::testing::WriteBytes(
      dir / "long.Lzs",
      FontFileBytes(std::vector{MakeGlyph(255, 7, {{1, 2, 3, 4}})}) + "trailing bytes");
  const Result<StrokeFont> font = LoadStrokeFont(dir / "long.Lzs");
  ASSERT_TRUE(font.has_value()) << font.error().message;
  EXPECT_EQ(font->glyphs[255].advance, 7);
  EXPECT_THAT(font->glyphs[255].used_strokes(), ElementsAreArray({GlyphStroke{1, 2, 3, 4}}));
}

}  // namespace
}  // namespace blok
