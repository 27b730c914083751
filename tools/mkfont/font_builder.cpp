#include "mkfont/font_builder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <numbers>
#include <optional>

#include "model/cp1250.h"

namespace blok::mkfont {
namespace {

using Path = std::vector<HersheyPoint>;

constexpr int kFirstAscii = 32;
constexpr int kLastAscii = 126;
constexpr int kAsciiGlyphs = kLastAscii - kFirstAscii + 1;
constexpr unsigned char kDegreeSign = 0xB0;
constexpr double kCapTopInFontUnits = 100;
constexpr double kMarkGap = 1.5;  // between a letter and the mark above it, Hershey units

// Diacritics that letters of code page 1250 are built from.
enum class Mark {
  kAcute,
  kDoubleAcute,
  kDotAbove,
  kDiaeresis,
  kCaron,
  kCaronApostrophe,  // the caron of ď ť ľ Ľ, written as an apostrophe beside the stem
  kCircumflex,
  kBreve,
  kRingAbove,
  kOgonek,
  kCedilla,
  kStroke,       // slanted, through the stem: ł Ł
  kBar,          // level, through the middle of the stem: Đ
  kAscenderBar,  // level, through the ascender above the x-height: đ
};
using enum Mark;

struct ComposedLetter {
  char32_t letter;
  char base;  // an ASCII letter of the source font
  Mark mark;
};

// clang-format off
constexpr ComposedLetter kComposedLetters[] = {
    // Polish first; then what the same and a few more marks give of code page 1250.
    {U'Ą', 'A', kOgonek},              {U'ą', 'a', kOgonek},
    {U'Ć', 'C', kAcute},               {U'ć', 'c', kAcute},
    {U'Ę', 'E', kOgonek},              {U'ę', 'e', kOgonek},
    {U'Ł', 'L', kStroke},              {U'ł', 'l', kStroke},
    {U'Ń', 'N', kAcute},               {U'ń', 'n', kAcute},
    {U'Ó', 'O', kAcute},               {U'ó', 'o', kAcute},
    {U'Ś', 'S', kAcute},               {U'ś', 's', kAcute},
    {U'Ź', 'Z', kAcute},               {U'ź', 'z', kAcute},
    {U'Ż', 'Z', kDotAbove},            {U'ż', 'z', kDotAbove},
    {U'Á', 'A', kAcute},               {U'á', 'a', kAcute},
    {U'É', 'E', kAcute},               {U'é', 'e', kAcute},
    {U'Í', 'I', kAcute},               {U'í', 'i', kAcute},
    {U'Ú', 'U', kAcute},               {U'ú', 'u', kAcute},
    {U'Ý', 'Y', kAcute},               {U'ý', 'y', kAcute},
    {U'Ŕ', 'R', kAcute},               {U'ŕ', 'r', kAcute},
    {U'Ĺ', 'L', kAcute},               {U'ĺ', 'l', kAcute},
    {U'Ő', 'O', kDoubleAcute},         {U'ő', 'o', kDoubleAcute},
    {U'Ű', 'U', kDoubleAcute},         {U'ű', 'u', kDoubleAcute},
    {U'Ä', 'A', kDiaeresis},           {U'ä', 'a', kDiaeresis},
    {U'Ë', 'E', kDiaeresis},           {U'ë', 'e', kDiaeresis},
    {U'Ö', 'O', kDiaeresis},           {U'ö', 'o', kDiaeresis},
    {U'Ü', 'U', kDiaeresis},           {U'ü', 'u', kDiaeresis},
    {U'Č', 'C', kCaron},               {U'č', 'c', kCaron},
    {U'Ď', 'D', kCaron},               {U'ď', 'd', kCaronApostrophe},
    {U'Ě', 'E', kCaron},               {U'ě', 'e', kCaron},
    {U'Ň', 'N', kCaron},               {U'ň', 'n', kCaron},
    {U'Ř', 'R', kCaron},               {U'ř', 'r', kCaron},
    {U'Š', 'S', kCaron},               {U'š', 's', kCaron},
    {U'Ť', 'T', kCaron},               {U'ť', 't', kCaronApostrophe},
    {U'Ž', 'Z', kCaron},               {U'ž', 'z', kCaron},
    {U'Ľ', 'L', kCaronApostrophe},     {U'ľ', 'l', kCaronApostrophe},
    {U'Â', 'A', kCircumflex},          {U'â', 'a', kCircumflex},
    {U'Î', 'I', kCircumflex},          {U'î', 'i', kCircumflex},
    {U'Ô', 'O', kCircumflex},          {U'ô', 'o', kCircumflex},
    {U'Ă', 'A', kBreve},               {U'ă', 'a', kBreve},
    {U'Ů', 'U', kRingAbove},           {U'ů', 'u', kRingAbove},
    {U'Ç', 'C', kCedilla},             {U'ç', 'c', kCedilla},
    {U'Ş', 'S', kCedilla},             {U'ş', 's', kCedilla},
    {U'Ţ', 'T', kCedilla},             {U'ţ', 't', kCedilla},
    {U'Đ', 'D', kBar},                 {U'đ', 'd', kAscenderBar},
};
// clang-format on

// Heights of the source font, Hershey units (y down).
struct Metrics {
  double cap_top;    // top of 'H'
  double baseline;   // bottom of 'H'
  double x_height;   // top of 'x'
  double descender;  // the lowest point of any glyph
  double blank_left;
  double blank_right;
};

struct Box {
  double left = std::numeric_limits<double>::max();
  double right = std::numeric_limits<double>::lowest();
  double top = std::numeric_limits<double>::max();
  double bottom = std::numeric_limits<double>::lowest();
};

Box BoundsOf(const std::vector<Path>& paths) {
  Box box;
  for (const Path& path : paths) {
    for (const HersheyPoint& p : path) {
      box.left = std::min(box.left, p.x);
      box.right = std::max(box.right, p.x);
      box.top = std::min(box.top, p.y);
      box.bottom = std::max(box.bottom, p.y);
    }
  }
  return box;
}

// The longest vertical segment: the stem that a stroke, bar or apostrophe goes with.
struct Stem {
  double x;
  double top;
  double bottom;
};

std::optional<Stem> FindStem(const std::vector<Path>& paths) {
  std::optional<Stem> stem;
  for (const Path& path : paths) {
    for (std::size_t i = 1; i < path.size(); ++i) {
      const HersheyPoint& a = path[i - 1];
      const HersheyPoint& b = path[i];
      if (a.x != b.x) continue;
      const Stem candidate{a.x, std::min(a.y, b.y), std::max(a.y, b.y)};
      if (!stem || candidate.bottom - candidate.top > stem->bottom - stem->top) stem = candidate;
    }
  }
  return stem;
}

// An elliptic arc in y-down coordinates, angles in degrees, clockwise on paper as they grow.
Path Arc(double cx, double cy, double rx, double ry, double from, double to, int segments) {
  Path path;
  for (int k = 0; k <= segments; ++k) {
    const double t = (from + (to - from) * k / segments) * std::numbers::pi / 180;
    path.push_back({cx + rx * std::cos(t), cy + ry * std::sin(t)});
  }
  return path;
}

Path Diamond(double cx, double cy) {
  return {{cx, cy - 1}, {cx - 1, cy}, {cx, cy + 1}, {cx + 1, cy}, {cx, cy - 1}};
}

// A mark in its own coordinates. Marks above sit on (0, 0) and reach up (y < 0); marks below
// hang from (0, 0); the others are centred on it.
std::vector<Path> MarkShape(Mark mark) {
  switch (mark) {
    case kAcute:
      return {{{-1.5, 0}, {1.5, -3.5}}};
    case kDoubleAcute:
      return {{{-3, 0}, {-0.5, -3.5}}, {{0.5, 0}, {3, -3.5}}};
    case kDotAbove:
      return {Diamond(0, -1)};
    case kDiaeresis:
      return {Diamond(-2.5, -1), Diamond(2.5, -1)};
    case kCaron:
      return {{{-2.5, -3}, {0, 0}, {2.5, -3}}};
    case kCircumflex:
      return {{{-2.5, 0}, {0, -3}, {2.5, 0}}};
    case kBreve:
      return {Arc(0, -3, 2.5, 3, 0, 180, 6)};
    case kRingAbove:
      return {Arc(0, -1.8, 1.8, 1.8, 0, 360, 10)};
    case kCaronApostrophe:  // the font's apostrophe, a little smaller
      return {{{0, 1.6}, {-0.8, 0.8}, {0, 0}, {0.8, 0.8}, {0.8, 2.4}, {0, 4}, {-0.8, 4.8}}};
    case kOgonek:
      return {{{0, 0}, {-1.5, 1.3}, {-2.3, 2.8}, {-2.2, 4.2}, {-1.4, 5}, {0, 5.2}, {1, 4.8}}};
    case kCedilla:
      return {{{0, 0}, {0, 1.2}, {1.3, 1.9}, {1.6, 3}, {0.9, 4}, {-0.9, 4.3}}};
    case kStroke:
      return {{{-3, 2}, {3, -2}}};
    case kBar:
      return {{{-2.5, 0}, {3.5, 0}}};
    case kAscenderBar:
      return {{{-3, 0}, {2, 0}}};
  }
  return {};
}

bool IsAbove(Mark mark) {
  switch (mark) {
    case kAcute:
    case kDoubleAcute:
    case kDotAbove:
    case kDiaeresis:
    case kCaron:
    case kCircumflex:
    case kBreve:
    case kRingAbove:
      return true;
    default:
      return false;
  }
}

// The vertices of a glyph that rest on the baseline.
std::vector<HersheyPoint> BaselinePoints(const std::vector<Path>& paths, double baseline) {
  std::vector<HersheyPoint> found;
  for (const Path& path : paths) {
    for (const HersheyPoint& p : path) {
      if (std::abs(p.y - baseline) < 0.01) found.push_back(p);
    }
  }
  return found;
}

Result<HersheyGlyph> Compose(const HersheyGlyph& base, bool lower_case, Mark mark,
                             const Metrics& metrics) {
  if (base.paths.empty()) return Fail("the base letter has no strokes");
  HersheyGlyph glyph{base.left, base.right, {}};
  for (const Path& path : base.paths) {
    // A mark above replaces the dot of i: the only part of a small letter above the x-height.
    const bool dot = lower_case && std::ranges::all_of(path, [&](const HersheyPoint& p) {
                       return p.y < metrics.x_height;
                     });
    if (!(IsAbove(mark) && dot)) glyph.paths.push_back(path);
  }
  const Box box = BoundsOf(glyph.paths);
  const double centre = (box.left + box.right) / 2;
  const std::optional<Stem> stem = FindStem(glyph.paths);
  const std::vector<HersheyPoint> on_baseline = BaselinePoints(glyph.paths, metrics.baseline);

  HersheyPoint anchor{centre, box.top - kMarkGap};
  switch (mark) {
    case kOgonek:  // hangs from the rightmost foot
      anchor = {box.right, metrics.baseline};
      if (!on_baseline.empty()) {
        anchor = *std::ranges::max_element(on_baseline, {}, &HersheyPoint::x);
      }
      break;
    case kCedilla:  // under the foot nearest the middle
      anchor = {centre, metrics.baseline};
      if (!on_baseline.empty()) {
        anchor = *std::ranges::min_element(
            on_baseline, {}, [&](const HersheyPoint& p) { return std::abs(p.x - centre); });
      }
      break;
    case kStroke:
    case kBar:
    case kAscenderBar:
    case kCaronApostrophe:
      if (!stem) return Fail("the letter has no upright stem for its mark");
      if (mark == kCaronApostrophe) {
        anchor = {stem->x + 3, stem->top};
      } else if (mark == kAscenderBar) {
        anchor = {stem->x, (stem->top + metrics.x_height) / 2};
      } else {
        anchor = {stem->x, (stem->top + stem->bottom) / 2};
      }
      break;
    default:
      break;
  }
  for (Path path : MarkShape(mark)) {
    for (HersheyPoint& p : path) {
      p = {p.x + anchor.x, p.y + anchor.y};
      // An apostrophe beside the stem may need more room than the letter had.
      glyph.left = std::min(glyph.left, p.x - 1);
      glyph.right = std::max(glyph.right, p.x + 1);
    }
    glyph.paths.push_back(std::move(path));
  }
  return glyph;
}

HersheyGlyph DegreeSign(const Metrics& metrics) {
  constexpr double kRadius = 3.5;
  return {-5, 5, {Arc(0, metrics.cap_top + kRadius, kRadius, kRadius, 0, 360, 12)}};
}

std::string Hex(unsigned value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*X", digits, value);
  return text;
}

Result<Glyph> ToGlyph(const HersheyGlyph& source, const Metrics& metrics, int code) {
  const double units = kCapTopInFontUnits / (metrics.descender - metrics.cap_top);
  Glyph glyph;
  glyph.advance = static_cast<float>((source.right - source.left) * units);
  int count = 0;
  for (const Path& path : source.paths) count += static_cast<int>(path.size()) - 1;
  if (count > kMaxGlyphStrokes) {
    return Fail("glyph of code 0x" + Hex(code, 2) + " has " + std::to_string(count) +
                " strokes; a font record holds " + std::to_string(kMaxGlyphStrokes));
  }
  const auto to_byte = [&](double value, std::uint8_t& out) {
    const long rounded = std::lround(value);
    if (rounded < 0 || rounded > 255) return false;
    out = static_cast<std::uint8_t>(rounded);
    return true;
  };
  for (const Path& path : source.paths) {
    for (std::size_t i = 1; i < path.size(); ++i) {
      GlyphStroke& stroke = glyph.strokes[glyph.stroke_count++];
      if (!to_byte((path[i - 1].x - source.left) * units, stroke.x1) ||
          !to_byte((metrics.descender - path[i - 1].y) * units, stroke.y1) ||
          !to_byte((path[i].x - source.left) * units, stroke.x2) ||
          !to_byte((metrics.descender - path[i].y) * units, stroke.y2)) {
        return Fail("glyph of code 0x" + Hex(code, 2) + " reaches outside the font's 0..255 box");
      }
    }
  }
  return glyph;
}

void PutUint32(std::string& out, std::size_t at, std::uint32_t value) {
  for (int k = 0; k < 4; ++k) out[at + k] = static_cast<char>(value >> (8 * k) & 0xFF);
}

}  // namespace

Result<StrokeFont> BuildStrokeFont(std::span<const HersheyGlyph> ascii, bool compose_letters) {
  if (ascii.size() < kAsciiGlyphs) {
    return Fail(std::to_string(ascii.size()) + " glyphs; ASCII 32..126 needs " +
                std::to_string(kAsciiGlyphs));
  }
  std::array<std::optional<HersheyGlyph>, kFontGlyphCount> sources;
  for (int code = kFirstAscii; code <= kLastAscii; ++code) {
    sources[code] = ascii[code - kFirstAscii];
  }

  const Box capital = BoundsOf(sources['H']->paths);
  const Box small = BoundsOf(sources['x']->paths);
  Metrics metrics{.cap_top = capital.top,
                  .baseline = capital.bottom,
                  .x_height = small.top,
                  .descender = capital.bottom,
                  .blank_left = sources[' ']->left,
                  .blank_right = sources[' ']->right};
  for (int code = kFirstAscii; code <= kLastAscii; ++code) {
    metrics.descender = std::max(metrics.descender, BoundsOf(sources[code]->paths).bottom);
  }
  if (!(metrics.descender > metrics.cap_top)) return Fail("the letter H has no height");

  if (compose_letters) {
    for (const ComposedLetter& composed : kComposedLetters) {
      const unsigned char code = CodePointToCp1250(composed.letter);
      if (code == '?') {
        return Fail("U+" + Hex(composed.letter, 4) + " has no code page 1250 byte");
      }
      Result<HersheyGlyph> glyph =
          Compose(*sources[composed.base], composed.base >= 'a' && composed.base <= 'z',
                  composed.mark, metrics);
      if (!glyph) {
        return Fail("code 0x" + Hex(code, 2) + ": " + glyph.error().message);
      }
      sources[code] = std::move(*glyph);
    }
  }
  sources[kDegreeSign] = DegreeSign(metrics);

  StrokeFont font;
  const HersheyGlyph blank{metrics.blank_left, metrics.blank_right, {}};
  for (int code = 0; code < kFontGlyphCount; ++code) {
    Result<Glyph> glyph = ToGlyph(sources[code] ? *sources[code] : blank, metrics, code);
    if (!glyph) return Fail(glyph.error().message);
    font.glyphs[code] = *glyph;
  }
  return font;
}

std::string EncodeStrokeFont(const StrokeFont& font) {
  std::string bytes(kFontFileSize, '\0');
  for (int code = 0; code < kFontGlyphCount; ++code) {
    const Glyph& glyph = font.glyphs[code];
    const std::size_t record = static_cast<std::size_t>(code) * kGlyphRecordSize;
    PutUint32(bytes, record, static_cast<std::uint32_t>(glyph.stroke_count));
    PutUint32(bytes, record + 4, std::bit_cast<std::uint32_t>(glyph.advance));
    for (int k = 0; k < kMaxGlyphStrokes; ++k) {
      const GlyphStroke& stroke = glyph.strokes[k];
      bytes[record + 8 + k] = static_cast<char>(stroke.x1);
      bytes[record + 158 + k] = static_cast<char>(stroke.y1);
      bytes[record + 308 + k] = static_cast<char>(stroke.x2);
      bytes[record + 458 + k] = static_cast<char>(stroke.y2);
    }
  }
  return bytes;
}

}  // namespace blok::mkfont
