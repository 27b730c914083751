// The font files that the build makes from the Hershey fonts, read as the program reads them.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "model/cp1250.h"
#include "support/recording_canvas.h"
#include "view/stroke_font.h"

namespace blok {
namespace {

const std::filesystem::path kFontDir = std::filesystem::path(BLOK_BIN_DIR) / "Dane";

const StrokeFont& Romans() {
  static const StrokeFont font = [] {
    Result<StrokeFont> loaded = LoadStrokeFont(kFontDir / "Romans100.Lzs");
    if (!loaded) ADD_FAILURE() << loaded.error().message;
    return loaded.value_or(StrokeFont{});
  }();
  return font;
}

const Glyph& RomansGlyph(std::string_view utf8) {
  const std::string byte = Utf8ToCp1250(utf8);
  EXPECT_EQ(byte.size(), 1u) << utf8;
  return Romans().glyphs[static_cast<unsigned char>(byte[0])];
}

struct Extent {
  int left = 255, right = 0, bottom = 255, top = 0;
};

Extent ExtentOf(std::span<const GlyphStroke> strokes) {
  Extent e;
  for (const GlyphStroke& s : strokes) {
    e.left = std::min({e.left, int{s.x1}, int{s.x2}});
    e.right = std::max({e.right, int{s.x1}, int{s.x2}});
    e.bottom = std::min({e.bottom, int{s.y1}, int{s.y2}});
    e.top = std::max({e.top, int{s.y1}, int{s.y2}});
  }
  return e;
}

TEST(GeneratedFonts, AreWholeFontFiles) {
  for (const char* name : {"Romans100.Lzs", "Greeks100.Lzs"}) {
    EXPECT_EQ(std::filesystem::file_size(kFontDir / name), std::uintmax_t{kFontFileSize}) << name;
    const Result<StrokeFont> font = LoadStrokeFont(kFontDir / name);
    ASSERT_TRUE(font.has_value()) << font.error().message;
    EXPECT_GT(font->glyphs['A'].stroke_count, 0) << name;
    EXPECT_GT(font->glyphs[0xB0].stroke_count, 0) << name << ": degree sign";
    // Greek letters take no Latin accents.
    if (name[0] == 'G') {
      EXPECT_EQ(font->glyphs[0xB9].stroke_count, 0);
    }
  }
}

TEST(GeneratedFonts, RomansHasEveryLetterAndDigit) {
  const std::string letters =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"
      "ąćęłńóśźżĄĆĘŁŃÓŚŹŻéöüčřšžůőđďÉÖÜČŘŠŽŮŐĐĎ°";
  for (const char c : Utf8ToCp1250(letters)) {
    const auto code = static_cast<unsigned char>(c);
    EXPECT_GT(Romans().glyphs[code].stroke_count, 0) << Cp1250ToUtf8(std::string(1, c));
    EXPECT_GT(Romans().glyphs[code].advance, 0) << Cp1250ToUtf8(std::string(1, c));
  }
}

TEST(GeneratedFonts, CapitalsReachOneHundredAndDescendersZero) {
  for (char c = 'A'; c <= 'Z'; ++c) {
    EXPECT_EQ(ExtentOf(Romans().glyphs[c].used_strokes()).top, 100) << c;
  }
  int lowest = 255;
  for (const Glyph& glyph : Romans().glyphs) {
    lowest = std::min(lowest, ExtentOf(glyph.used_strokes()).bottom);
  }
  EXPECT_EQ(lowest, 0);
  EXPECT_EQ(ExtentOf(Romans().glyphs['g'].used_strokes()).bottom, 0);
}

TEST(GeneratedFonts, CodesWithoutGlyphAreBlanks) {
  const Glyph& blank = Romans().glyphs[' '];
  EXPECT_EQ(blank.stroke_count, 0);
  EXPECT_GT(blank.advance, 0);
  for (const int code : {0x00, 0x0D, 0x7F, 0x81, 0xA0, 0xDF}) {
    EXPECT_EQ(Romans().glyphs[code].stroke_count, 0) << code;
    EXPECT_EQ(Romans().glyphs[code].advance, blank.advance) << code;
  }
}

enum class Shows { kItsStrokes, kNothing, kCell, kStrokesOf };

struct CharacterCase {
  const char* name;
  const char* text;
  Shows shows;
  const char* plain = "";  // kStrokesOf: the text drawn the same
};
void PrintTo(const CharacterCase& c, std::ostream* out) { *out << c.name; }

using Lines = std::vector<std::vector<int>>;

// One font unit a pixel from (100, 200).
Lines DrawnLines(std::string_view text) {
  blok::testing::RecordingCanvas canvas;
  DrawText(canvas, Romans(), text, 0, 1, 1, 1, 0, 100, 200, 12);
  return canvas.Lines();
}

class CharacterPicture : public ::testing::TestWithParam<CharacterCase> {};

// Whatever is typed is seen, but for blanks, and where it is seen the text's span (culling,
// picking) reaches.
TEST_P(CharacterPicture, ShowsWhatItIs) {
  const CharacterCase& c = GetParam();
  const Lines lines = DrawnLines(c.text);
  switch (c.shows) {
    case Shows::kItsStrokes:
      EXPECT_EQ(lines.size(), RomansGlyph(c.text).used_strokes().size());
      EXPECT_FALSE(lines.empty());
      break;
    case Shows::kNothing:
      EXPECT_THAT(lines, ::testing::IsEmpty());
      break;
    case Shows::kCell:
      // The blank's advance of 57.14 units wide, from the foot of H (25) to its top (100).
      EXPECT_THAT(lines, ::testing::ElementsAreArray(Lines{{100, 175, 157, 175},
                                                           {157, 175, 157, 100},
                                                           {157, 100, 100, 100},
                                                           {100, 100, 100, 175}}));
      break;
    case Shows::kStrokesOf:
      EXPECT_EQ(lines, DrawnLines(c.plain));
      EXPECT_FALSE(lines.empty());
      EXPECT_EQ(TextLength(Romans(), c.text, 1), TextLength(Romans(), c.plain, 1));
      break;
  }
  const TextSpan span = TextStrokeSpan(Romans(), c.text, 1, 1, 0, 100, 12);
  EXPECT_EQ(span.empty(), lines.empty());
  for (const std::vector<int>& line : lines) {
    for (const int k : {0, 2}) {
      const int u = line[k] - 100;
      const int v = 200 - line[k + 1];
      EXPECT_TRUE(u >= span.u_low - 1 && u <= span.u_high + 1 && v >= span.v_low - 1 &&
                  v <= span.v_high + 1)
          << u << ", " << v;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Romans, CharacterPicture,
    ::testing::Values(CharacterCase{"Letter", "A", Shows::kItsStrokes},
                      CharacterCase{"LetterOfTheUpperHalf", "ą", Shows::kItsStrokes},
                      CharacterCase{"DegreeSign", "°", Shows::kItsStrokes},
                      CharacterCase{"Space", " ", Shows::kNothing},
                      CharacterCase{"NoBreakSpace", "\u00A0", Shows::kNothing},
                      CharacterCase{"Euro", "€", Shows::kCell},
                      CharacterCase{"Multiplication", "×", Shows::kCell},
                      CharacterCase{"Section", "§", Shows::kCell},
                      CharacterCase{"RightSingleQuote", "’", Shows::kStrokesOf, "'"},
                      CharacterCase{"LeftSingleQuote", "‘", Shows::kStrokesOf, "'"},
                      CharacterCase{"LowDoubleQuote", "„", Shows::kStrokesOf, "\""},
                      CharacterCase{"RightDoubleQuote", "”", Shows::kStrokesOf, "\""},
                      CharacterCase{"LeftDoubleQuote", "“", Shows::kStrokesOf, "\""},
                      CharacterCase{"ApostropheInAWord", "Rock’n roll", Shows::kStrokesOf,
                                    "Rock'n roll"}),
    [](const auto& info) { return std::string(info.param.name); });

enum class Place { kAbove, kBelow, kAcrossStem, kBesideStemTop };

struct ComposedCase {
  const char* letter;
  char base;
  Place place;
};
void PrintTo(const ComposedCase& c, std::ostream* out) { *out << c.letter; }

class ComposedLetter : public ::testing::TestWithParam<ComposedCase> {};

// The strokes a letter has beyond its base letter are its mark; where they lie is what a
// reader sees. A coordinate that wrapped round a byte would land far from where it belongs.
TEST_P(ComposedLetter, CarriesItsMarkInPlace) {
  const ComposedCase& c = GetParam();
  const Glyph& glyph = RomansGlyph(c.letter);
  const Glyph& base = Romans().glyphs[static_cast<unsigned char>(c.base)];
  std::vector<GlyphStroke> kept, mark;
  for (const GlyphStroke& s : glyph.used_strokes()) {
    (std::ranges::find(base.used_strokes(), s) != base.used_strokes().end() ? kept : mark)
        .push_back(s);
  }
  ASSERT_FALSE(mark.empty());
  // Nothing of the base letter is lost, but the dot of i.
  EXPECT_EQ(kept.size(), base.used_strokes().size() - (c.base == 'i' ? 4 : 0));
  EXPECT_GE(glyph.advance, base.advance);
  const Extent letter = ExtentOf(kept);
  const Extent accent = ExtentOf(mark);
  const int baseline = ExtentOf(Romans().glyphs['H'].used_strokes()).bottom;
  const auto stem = *std::ranges::max_element(
      kept, {}, [](const GlyphStroke& s) { return s.x1 == s.x2 ? std::abs(s.y1 - s.y2) : -1; });
  switch (c.place) {
    case Place::kAbove:
      EXPECT_GT(accent.bottom, letter.top);
      EXPECT_LT(accent.top, 150);
      EXPECT_GE((accent.left + accent.right) / 2, letter.left);
      EXPECT_LE((accent.left + accent.right) / 2, letter.right);
      break;
    case Place::kBelow:
      EXPECT_LT(accent.top, baseline + 2);
      EXPECT_LT(accent.bottom, baseline);
      EXPECT_GE(accent.left + 3, letter.left);
      EXPECT_LE(accent.right, letter.right + 5);
      break;
    case Place::kAcrossStem:
      EXPECT_LT(accent.left, stem.x1);
      EXPECT_GT(accent.right, stem.x1);
      EXPECT_GT(accent.bottom, std::min(stem.y1, stem.y2));
      EXPECT_LT(accent.top, std::max(stem.y1, stem.y2));
      break;
    case Place::kBesideStemTop:
      EXPECT_GT(accent.left, stem.x1);
      EXPECT_GT(accent.bottom, (baseline + 100) / 2);
      EXPECT_LE(accent.top, std::max(stem.y1, stem.y2));
      break;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Romans, ComposedLetter,
    ::testing::Values(
        ComposedCase{"Ą", 'A', Place::kBelow}, ComposedCase{"ą", 'a', Place::kBelow},
        ComposedCase{"Ć", 'C', Place::kAbove}, ComposedCase{"ć", 'c', Place::kAbove},
        ComposedCase{"Ę", 'E', Place::kBelow}, ComposedCase{"ę", 'e', Place::kBelow},
        ComposedCase{"Ł", 'L', Place::kAcrossStem}, ComposedCase{"ł", 'l', Place::kAcrossStem},
        ComposedCase{"Ń", 'N', Place::kAbove}, ComposedCase{"ń", 'n', Place::kAbove},
        ComposedCase{"Ó", 'O', Place::kAbove}, ComposedCase{"ó", 'o', Place::kAbove},
        ComposedCase{"Ś", 'S', Place::kAbove}, ComposedCase{"ś", 's', Place::kAbove},
        ComposedCase{"Ź", 'Z', Place::kAbove}, ComposedCase{"ź", 'z', Place::kAbove},
        ComposedCase{"Ż", 'Z', Place::kAbove}, ComposedCase{"ż", 'z', Place::kAbove},
        ComposedCase{"í", 'i', Place::kAbove}, ComposedCase{"É", 'E', Place::kAbove},
        ComposedCase{"Ť", 'T', Place::kAbove}, ComposedCase{"Ö", 'O', Place::kAbove},
        ComposedCase{"ü", 'u', Place::kAbove}, ComposedCase{"Č", 'C', Place::kAbove},
        ComposedCase{"ř", 'r', Place::kAbove}, ComposedCase{"ů", 'u', Place::kAbove},
        ComposedCase{"Ő", 'O', Place::kAbove}, ComposedCase{"ç", 'c', Place::kBelow},
        ComposedCase{"Ţ", 'T', Place::kBelow}, ComposedCase{"Đ", 'D', Place::kAcrossStem},
        ComposedCase{"đ", 'd', Place::kAcrossStem}, ComposedCase{"ď", 'd', Place::kBesideStemTop},
        ComposedCase{"ť", 't', Place::kBesideStemTop},
        ComposedCase{"Ľ", 'L', Place::kBesideStemTop}),
    // Letters of several alphabets share a base letter: the place in the list tells them apart.
    [](const ::testing::TestParamInfo<ComposedCase>& info) {
      return std::to_string(info.index) + "_" + std::string(1, info.param.base);
    });

}  // namespace
}  // namespace blok
