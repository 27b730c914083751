#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

#include "model/error.h"
#include "view/canvas.h"

namespace blok {

// A font file is 256 records of 608 bytes, little-endian: stroke count (int32), advance in font
// units (float32), then x1[150], y1[150], x2[150], y2[150] as unsigned bytes. Record i is the
// glyph of code-page-1250 byte i. Font units run x right along the baseline and y up.
inline constexpr int kFontGlyphCount = 256;
inline constexpr int kMaxGlyphStrokes = 150;
inline constexpr int kGlyphRecordSize = 608;
inline constexpr int kFontFileSize = kFontGlyphCount * kGlyphRecordSize;

struct GlyphStroke {
  std::uint8_t x1 = 0;
  std::uint8_t y1 = 0;
  std::uint8_t x2 = 0;
  std::uint8_t y2 = 0;
  bool operator==(const GlyphStroke&) const = default;
};

struct Glyph {
  int stroke_count = 0;  // 0..kMaxGlyphStrokes once loaded
  float advance = 0;
  std::array<GlyphStroke, kMaxGlyphStrokes> strokes{};

  std::span<const GlyphStroke> used_strokes() const {
    const int n = stroke_count < 0                  ? 0
                  : stroke_count > kMaxGlyphStrokes ? kMaxGlyphStrokes
                                                    : stroke_count;
    return {strokes.data(), static_cast<std::size_t>(n)};
  }
};

// The glyph table, fixed arrays only, so drawing a text allocates nothing.
struct StrokeFont {
  std::array<Glyph, kFontGlyphCount> glyphs{};
};

// Reads the first 256 records of a font file; bytes after them are ignored. A stroke count
// outside 0..150 is clamped and an advance that is not a number becomes 0, so a damaged file
// draws oddly but safely.
Result<StrokeFont> LoadStrokeFont(const std::filesystem::path& file);

// The same from the file's bytes; the error says what is wrong without naming a file.
Result<StrokeFont> DecodeStrokeFont(std::string_view bytes);

// What a text shows of one character, given as its code-page-1250 byte: the strokes of its own
// glyph or, where the font has none for it, of the plain character it stands for (’ drawn as ').
// A character still without strokes that is not a blank shows the outline of its cell instead,
// so that nothing typed goes unseen. The pen moves on by the advance of the glyph shown.
struct CharacterPicture {
  const Glyph* glyph;
  bool outlined;
};
CharacterPicture PictureOf(const StrokeFont& font, unsigned char code);

// The cell an outlined character shows, in font units: from the pen its advance wide, from the
// foot of the capitals to their top (as CapitalOf finds them).
struct GlyphCell {
  double left, right, bottom, top;
};
GlyphCell CellOf(const StrokeFont& font, const Glyph& glyph);

// Estimated length of a UTF-8 text of width w in world units: sum of advances × w × 0.0118.
double TextLength(const StrokeFont& font, std::string_view text, double width);

// Where the strokes and outlines of a text lie as DrawText places them, in pixels from the
// insertion pixel: u along the baseline, v up from it, before the text is turned. Width and
// height may be negative. With nothing drawn (no text, blanks only, no picture at this scale)
// it is empty.
struct TextSpan {
  double u_low, u_high, v_low, v_high;
  bool empty() const { return !(u_low <= u_high && v_low <= v_high); }
};
TextSpan TextStrokeSpan(const StrokeFont& font, std::string_view text, double height, double width,
                        double angle, int px, double scale);

// Draws a UTF-8 text with its baseline starting at the insertion pixel (px, py), turned
// counter-clockwise by angle degrees. Height and width are in world units, scale in world units
// per 1000 pixels. Every stroke is drawn wherever the insertion pixel lies, since the letters of
// a long text reach far from it; the canvas clips, and callers that draw many texts cull them
// by TextStrokeSpan. Leaves the pen width at 1 and the pen style as it was.
void DrawText(Canvas& canvas, const StrokeFont& font, std::string_view text, std::uint32_t colour,
              int pen_width, double height, double width, double angle, int px, int py,
              double scale);

}  // namespace blok
