// The font generator: reading Hershey glyphs, and refusing to write a font that would be wrong.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "mkfont/font_builder.h"
#include "mkfont/hershey.h"
#include "support/case_names.h"
#include "support/test_dir.h"

namespace blok::mkfont {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;

using Points = std::vector<HersheyPoint>;

struct ParseCase {
  const char* name;
  std::string text;
};
void PrintTo(const ParseCase& c, std::ostream* out) { *out << c.name; }

class ParseHersheyGood : public ::testing::TestWithParam<ParseCase> {};

// The capital A of the simplex Roman font, however its lines are laid out.
TEST_P(ParseHersheyGood, ReadsBearingsAndPenPaths) {
  const auto glyphs = ParseHershey(GetParam().text);
  ASSERT_TRUE(glyphs.has_value()) << glyphs.error().message;
  ASSERT_EQ(glyphs->size(), 2u);
  EXPECT_EQ((*glyphs)[0].left, -8);
  EXPECT_EQ((*glyphs)[0].right, 8);
  EXPECT_TRUE((*glyphs)[0].paths.empty());
  const HersheyGlyph& a = (*glyphs)[1];
  EXPECT_EQ(a.left, -9);
  EXPECT_EQ(a.right, 9);
  EXPECT_THAT(a.paths, ElementsAre(Points{{0, -12}, {-8, 9}}, Points{{0, -12}, {8, 9}},
                                   Points{{-5, 2}, {5, 2}}));
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, ParseHersheyGood,
    ::testing::Values(ParseCase{"OneLineEach", "  699  1JZ\n  501  9I[RFJ[ RRFZ[ RMTWT\n"},
                      ParseCase{"CrLf", "  699  1JZ\r\n  501  9I[RFJ[ RRFZ[ RMTWT\r\n"},
                      ParseCase{"RunsOnOverNextLine", "  699  1JZ\n  501  9I[RFJ[ RR\nFZ[ RMTWT"},
                      ParseCase{"BlankLinesBetween", "\n  699  1JZ\n\n  501  9I[RFJ[ RRFZ[ RMTWT"}),
    [](const auto& info) { return std::string(info.param.name); });

class ParseHersheyBad : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseHersheyBad, FailsNamingTheLine) {
  const auto glyphs = ParseHershey(GetParam().text);
  ASSERT_FALSE(glyphs.has_value());
  EXPECT_THAT(glyphs.error().message, StartsWith("line 2:"));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ParseHersheyBad,
    ::testing::Values(ParseCase{"ShortHeader", "  699  1JZ\n  50"},
                      ParseCase{"CountNotANumber", "  699  1JZ\n  501  xI[RFJ["},
                      ParseCase{"ZeroCount", "  699  1JZ\n  501  0I["},
                      ParseCase{"DataCutShort", "  699  1JZ\n  501  9I[RFJ[ RRFZ["}),
    [](const auto& info) { return std::string(info.param.name); });

// ASCII 32..126 with blanks everywhere but H, x and a descender, and A zigzagging
// `strokes_in_a` times across its width.
std::vector<HersheyGlyph> SyntheticAscii(int strokes_in_a, double a_width = 10) {
  std::vector<HersheyGlyph> glyphs(95, HersheyGlyph{-8, 8, {}});
  glyphs['H' - 32].paths = {{{-7, -12}, {-7, 9}}, {{7, -12}, {7, 9}}, {{-7, -2}, {7, -2}}};
  glyphs['x' - 32].paths = {{{-6, -5}, {6, 9}}, {{6, -5}, {-6, 9}}};
  glyphs['g' - 32].paths = {{{0, -5}, {0, 16}}};
  HersheyGlyph& a = glyphs['A' - 32];
  a = {-a_width / 2, a_width / 2, {{}}};
  for (int k = 0; k <= strokes_in_a; ++k) a.paths[0].push_back({(k % 2 - 0.5) * a_width, 0});
  return glyphs;
}

TEST(BuildStrokeFont, MapsCapitalTopToHundredAndDescenderToZero) {
  const auto font = BuildStrokeFont(SyntheticAscii(1), false);
  ASSERT_TRUE(font.has_value()) << font.error().message;
  // 28 Hershey units from the capital top to the lowest descender become 100 font units.
  EXPECT_EQ(font->glyphs['H'].used_strokes()[0], (GlyphStroke{4, 100, 4, 25}));
  EXPECT_EQ(font->glyphs['g'].used_strokes()[0], (GlyphStroke{29, 75, 29, 0}));
  EXPECT_FLOAT_EQ(font->glyphs['H'].advance, 16 * 100 / 28.0);
  EXPECT_FLOAT_EQ(font->glyphs[0x01].advance, 16 * 100 / 28.0);  // blank
}

struct LimitCase {
  int strokes;
  double width;
  const char* error;  // empty when the font builds
};
void PrintTo(const LimitCase& c, std::ostream* out) {
  *out << c.strokes << " strokes, " << c.width << " wide";
}

class BuildStrokeFontLimits : public ::testing::TestWithParam<LimitCase> {};

TEST_P(BuildStrokeFontLimits, RefusesWhatARecordCannotHold) {
  const LimitCase& c = GetParam();
  const auto font = BuildStrokeFont(SyntheticAscii(c.strokes, c.width), false);
  if (std::string(c.error).empty()) {
    ASSERT_TRUE(font.has_value()) << font.error().message;
    EXPECT_EQ(font->glyphs['A'].stroke_count, c.strokes);
  } else {
    ASSERT_FALSE(font.has_value());
    EXPECT_THAT(font.error().message, HasSubstr("0x41"));
    EXPECT_THAT(font.error().message, HasSubstr(c.error));
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, BuildStrokeFontLimits,
                         ::testing::Values(LimitCase{150, 10, ""}, LimitCase{151, 10, "151"},
                                           LimitCase{1, 71, ""}, LimitCase{1, 72, "0..255"}),
                         blok::testing::PrintedName());

// The build runs the generator; a glyph it cannot store must stop the build, not cut the glyph.
TEST(Mkfont, FailsLoudlyAndWritesNothing) {
  blok::testing::TestDir dir;
  std::string jhf;
  for (int code = 32; code <= 126; ++code) {
    std::string data = "JZ";
    if (code == 'H') data = "G]KFK[ RYFY[";
    if (code == 'x') data = "IZLMX[";
    if (code == 'A') {
      for (int k = 0; k < 152; ++k) data += k % 2 ? "QR" : "SR";
    }
    char header[32];
    std::snprintf(header, sizeof header, "%5d%3zu", code, data.size() / 2);
    jhf += header + data + "\n";
  }
  blok::testing::WriteBytes(dir / "big.jhf", jhf);
  blok::testing::WriteBytes(dir / "out.Lzs", "old");
  const std::filesystem::path mkfont =
      std::filesystem::path(BLOK_BIN_DIR).parent_path() / "tools" / "mkfont" / "mkfont";
  const std::string command = mkfont.string() + " --no-accented " + (dir / "big.jhf").string() +
                              " " + (dir / "out.Lzs").string() + " 2>" + (dir / "err.txt").string();
  EXPECT_NE(std::system(command.c_str()), 0);
  EXPECT_FALSE(std::filesystem::exists(dir / "out.Lzs"));
  EXPECT_THAT(blok::testing::ReadBytes(dir / "err.txt"), HasSubstr("151 strokes"));
}

}  // namespace
}  // namespace blok::mkfont
