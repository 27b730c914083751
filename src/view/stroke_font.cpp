#include "view/stroke_font.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <string>

#include "model/angles.h"
#include "model/cp1250.h"
#include "view/font_capital.h"

namespace blok {
namespace {

constexpr int kX1Offset = 8;
constexpr int kY1Offset = kX1Offset + kMaxGlyphStrokes;
constexpr int kX2Offset = kY1Offset + kMaxGlyphStrokes;
constexpr int kY2Offset = kX2Offset + kMaxGlyphStrokes;
static_assert(kY2Offset + kMaxGlyphStrokes == kGlyphRecordSize);

constexpr double kPixelsPerFontUnit = 12.0;  // at scale 1 and size 1; one font unit is 0.012 h
constexpr double kLengthPerFontUnit = 0.0118;

std::uint32_t ReadUint32(const unsigned char* p) {
  return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
         std::uint32_t{p[3]} << 24;
}

// The CP1250 byte of the UTF-8 character at text[i]; moves i past it. A malformed sequence
// counts as one '?', as in the codec.
unsigned char NextCp1250Byte(std::string_view text, std::size_t& i) {
  const auto lead = static_cast<unsigned char>(text[i++]);
  if (lead < 0x80) return lead;
  int extra = 0;
  char32_t code_point = 0;
  char32_t smallest = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1, code_point = lead & 0x1F, smallest = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, code_point = lead & 0x0F, smallest = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, code_point = lead & 0x07, smallest = 0x10000;
  } else {
    return '?';
  }
  for (int k = 0; k < extra; ++k) {
    if (i >= text.size()) return '?';
    const auto next = static_cast<unsigned char>(text[i]);
    if ((next & 0xC0) != 0x80) return '?';
    code_point = code_point << 6 | (next & 0x3F);
    ++i;
  }
  if (code_point < smallest || code_point > 0x10FFFF ||
      (code_point >= 0xD800 && code_point <= 0xDFFF)) {
    return '?';
  }
  return CodePointToCp1250(code_point);
}

// The fonts have no strokes for the typographic quotes, which typing an apostrophe now writes;
// the plain character they stand for reads the same.
struct StandIn {
  char32_t character;
  unsigned char plain;
};
constexpr StandIn kStandIns[] = {
    {U'‘', '\''}, {U'’', '\''}, {U'„', '"'}, {U'“', '"'}, {U'”', '"'},
};

// Characters that show nothing by nature: the spaces and the control characters (the code
// page's five undefined bytes read as C1 controls).
bool IsBlank(char32_t code_point) {
  return code_point <= 0x20 || (code_point >= 0x7F && code_point <= 0x9F) || code_point == 0xA0;
}

// Of every byte, worked out once: lengths are summed a character at a time while selecting.
struct ByteKind {
  unsigned char plain = 0;  // the stand-in's, or 0
  bool blank = false;
};
const std::array<ByteKind, kFontGlyphCount>& ByteKinds() {
  static const std::array<ByteKind, kFontGlyphCount> kinds = [] {
    std::array<ByteKind, kFontGlyphCount> k{};
    for (int code = 0; code < kFontGlyphCount; ++code) {
      k[code].blank = IsBlank(Cp1250ToCodePoint(static_cast<unsigned char>(code)));
    }
    for (const StandIn& stand_in : kStandIns) {
      k[CodePointToCp1250(stand_in.character)].plain = stand_in.plain;
    }
    return k;
  }();
  return kinds;
}

// Truncation towards zero, as for every pixel; a tiny scale must not overflow the int.
int TruncPixel(double value) {
  constexpr double kLimit = 1e9;
  return static_cast<int>(std::clamp(value, -kLimit, kLimit));
}

std::string ReasonOf(int error) {
  switch (error) {
    case ENOENT:
      return "nie ma takiego pliku";
    case EACCES:
      return "brak dostępu";
    case EISDIR:
      return "to jest katalog";
    default:
      return std::strerror(error);
  }
}

}  // namespace

Result<StrokeFont> DecodeStrokeFont(std::string_view bytes) {
  if (bytes.size() < static_cast<std::size_t>(kFontFileSize)) {
    return Fail("plik jest za krótki (" + std::to_string(bytes.size()) + " B zamiast " +
                std::to_string(kFontFileSize) + " B)");
  }
  StrokeFont font;
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  for (int code = 0; code < kFontGlyphCount; ++code) {
    // A copy of the record, which the glyph cannot overlap, lets the loop below run as a plain
    // shuffle of bytes.
    std::array<unsigned char, kGlyphRecordSize> copy;
    std::memcpy(copy.data(), data + code * kGlyphRecordSize, copy.size());
    const unsigned char* record = copy.data();
    Glyph& glyph = font.glyphs[code];
    const auto count = static_cast<std::int32_t>(ReadUint32(record));
    glyph.stroke_count = std::clamp<std::int32_t>(count, 0, kMaxGlyphStrokes);
    glyph.advance = std::bit_cast<float>(ReadUint32(record + 4));
    if (!std::isfinite(glyph.advance)) glyph.advance = 0;
    for (int k = 0; k < kMaxGlyphStrokes; ++k) {
      glyph.strokes[k] = {record[kX1Offset + k], record[kY1Offset + k], record[kX2Offset + k],
                          record[kY2Offset + k]};
    }
  }
  return font;
}

Result<StrokeFont> LoadStrokeFont(const std::filesystem::path& file) {
  const auto fail = [&](const std::string& reason) {
    return Fail("Nie można wczytać czcionki " + file.string() + ": " + reason);
  };
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(file.c_str(), "rb"), std::fclose);
  if (!in) return fail(ReasonOf(errno));
  std::string bytes(kFontFileSize, '\0');
  errno = 0;
  const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), in.get());
  if (std::ferror(in.get())) return fail(ReasonOf(errno != 0 ? errno : EIO));
  bytes.resize(got);
  Result<StrokeFont> font = DecodeStrokeFont(bytes);
  if (!font) return fail(font.error().message);
  return font;
}

CharacterPicture PictureOf(const StrokeFont& font, unsigned char code) {
  const Glyph& own = font.glyphs[code];
  if (!own.used_strokes().empty()) return {&own, false};
  const ByteKind kind = ByteKinds()[code];
  if (kind.plain != 0 && !font.glyphs[kind.plain].used_strokes().empty()) {
    return {&font.glyphs[kind.plain], false};
  }
  // A cell without width has nothing to outline.
  return {&own, own.advance > 0 && !kind.blank};
}

GlyphCell CellOf(const StrokeFont& font, const Glyph& glyph) {
  const FontCapital capital = CapitalOf(font);
  return {0, glyph.advance, capital.foot, capital.foot + capital.height};
}

double TextLength(const StrokeFont& font, std::string_view text, double width) {
  double length = 0;
  for (std::size_t i = 0; i < text.size();) {
    length += PictureOf(font, NextCp1250Byte(text, i)).glyph->advance * width * kLengthPerFontUnit;
  }
  return length;
}

namespace {

// Walks the characters of a text as DrawText places them: calls visit(glyph, cell, along, sx,
// sy) with the glyph whose strokes are drawn, the cell to outline (null but for a character
// without strokes), the pen's distance along the baseline from the insertion pixel and the
// pixels per font unit across and up. False when the scale or size leaves the text without a
// picture.
template <typename Visit>
bool ForEachPlacedGlyph(const StrokeFont& font, std::string_view text, double height, double width,
                        double angle, int px, double scale, Visit visit) {
  const double wide_sx = kPixelsPerFontUnit / scale * width;
  const double wide_sy = kPixelsPerFontUnit / scale * height;
  const auto fits_float = [](double v) { return std::abs(v) <= std::numeric_limits<float>::max(); };
  if (!fits_float(wide_sx) || !fits_float(wide_sy) || !std::isfinite(std::cos(angle))) {
    return false;
  }
  // Single precision, as the font's own numbers are; it shows in the last pixel.
  const auto sx = static_cast<float>(wide_sx);
  const auto sy = static_cast<float>(wide_sy);
  double pen = px;
  for (std::size_t i = 0; i < text.size();) {
    const CharacterPicture picture = PictureOf(font, NextCp1250Byte(text, i));
    const Glyph& glyph = *picture.glyph;
    if (picture.outlined) {
      const GlyphCell cell = CellOf(font, glyph);
      visit(glyph, &cell, pen - px, double{sx}, double{sy});
    } else {
      visit(glyph, nullptr, pen - px, double{sx}, double{sy});
    }
    // The pen lands on a whole pixel after every character, so long texts drift a little.
    pen = TruncPixel(pen + static_cast<double>(sx) * glyph.advance);
  }
  return true;
}

}  // namespace

TextSpan TextStrokeSpan(const StrokeFont& font, std::string_view text, double height, double width,
                        double angle, int px, double scale) {
  TextSpan span{std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
  ForEachPlacedGlyph(
      font, text, height, width, angle * kTextDegreesToRadians, px, scale,
      [&](const Glyph& glyph, const GlyphCell* cell, double along, double sx, double sy) {
        const auto widen = [&](double x1, double y1, double x2, double y2) {
          for (const double u : {along + sx * x1, along + sx * x2}) {
            span.u_low = std::min(span.u_low, u);
            span.u_high = std::max(span.u_high, u);
          }
          for (const double v : {sy * y1, sy * y2}) {
            span.v_low = std::min(span.v_low, v);
            span.v_high = std::max(span.v_high, v);
          }
        };
        for (const GlyphStroke& s : glyph.used_strokes()) {
          widen(s.x1, s.y1, s.x2, s.y2);
        }
        if (cell) widen(cell->left, cell->bottom, cell->right, cell->top);
      });
  return span;
}

void DrawText(Canvas& canvas, const StrokeFont& font, std::string_view text, std::uint32_t colour,
              int pen_width, double height, double width, double angle, int px, int py,
              double scale) {
  canvas.SetPenColour(colour);
  canvas.SetPenWidth(pen_width);
  const double alpha = angle * kTextDegreesToRadians;
  const double cos_a = std::cos(alpha);
  const double sin_a = std::sin(alpha);
  LineBatch strokes(canvas);
  ForEachPlacedGlyph(
      font, text, height, width, alpha, px, scale,
      [&](const Glyph& glyph, const GlyphCell* cell, double along, double sx, double sy) {
        const auto to_pixel = [&](double gx, double gy) {
          const double u = along + sx * gx;
          const double v = sy * gy;
          return PixelPoint{TruncPixel(px + u * cos_a - v * sin_a),
                            TruncPixel(py - (u * sin_a + v * cos_a))};
        };
        const auto line = [&](double x1, double y1, double x2, double y2) {
          const PixelPoint a = to_pixel(x1, y1);
          const PixelPoint b = to_pixel(x2, y2);
          strokes.Add(a.x, a.y, b.x, b.y);
        };
        for (const GlyphStroke& stroke : glyph.used_strokes()) {
          line(stroke.x1, stroke.y1, stroke.x2, stroke.y2);
        }
        if (!cell) return;
        line(cell->left, cell->bottom, cell->right, cell->bottom);
        line(cell->right, cell->bottom, cell->right, cell->top);
        line(cell->right, cell->top, cell->left, cell->top);
        line(cell->left, cell->top, cell->left, cell->bottom);
      });
  strokes.Flush();
  canvas.SetPenWidth(1);
}

}  // namespace blok
