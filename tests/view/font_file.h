#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "view/stroke_font.h"

namespace blok::testing {

// One glyph of a synthetic font file. The stroke count is written as given, so a test can make
// it disagree with the strokes.
struct FontFileGlyph {
  unsigned char code = 0;
  std::int32_t stroke_count = 0;
  float advance = 0;
  std::vector<GlyphStroke> strokes;
};

inline FontFileGlyph MakeGlyph(unsigned char code, float advance,
                               std::vector<GlyphStroke> strokes) {
  const auto count = static_cast<std::int32_t>(strokes.size());
  return {code, count, advance, std::move(strokes)};
}

// The bytes of a font file of `records` records, zero but for the given glyphs. Laid out here by
// hand, from the format, so that the reader is not checked against itself.
inline std::string FontFileBytes(std::span<const FontFileGlyph> glyphs,
                                 std::size_t records = kFontGlyphCount) {
  std::string bytes(records * 608, '\0');
  const auto put_le32 = [&](std::size_t at, std::uint32_t value) {
    for (int k = 0; k < 4; ++k) bytes[at + k] = static_cast<char>((value >> (8 * k)) & 0xFF);
  };
  for (const FontFileGlyph& glyph : glyphs) {
    const std::size_t record = glyph.code * std::size_t{608};
    if (record + 608 > bytes.size()) continue;
    put_le32(record, static_cast<std::uint32_t>(glyph.stroke_count));
    std::uint32_t advance_bits = 0;
    std::memcpy(&advance_bits, &glyph.advance, 4);
    put_le32(record + 4, advance_bits);
    for (std::size_t k = 0; k < glyph.strokes.size() && k < 150; ++k) {
      bytes[record + 8 + k] = static_cast<char>(glyph.strokes[k].x1);
      bytes[record + 158 + k] = static_cast<char>(glyph.strokes[k].y1);
      bytes[record + 308 + k] = static_cast<char>(glyph.strokes[k].x2);
      bytes[record + 458 + k] = static_cast<char>(glyph.strokes[k].y2);
    }
  }
  return bytes;
}

}  // namespace blok::testing
