#pragma once

#include <span>
#include <string>

#include "mkfont/hershey.h"
#include "model/error.h"
#include "view/stroke_font.h"

namespace blok::mkfont {

// Builds the 256 glyphs from the glyphs of a .jhf file, which hold ASCII 32..126 in order.
// Font units: the lowest descender of the source font at y = 0, the top of the capitals at
// y = 100, x = 0 at the left bearing; the advance runs from bearing to bearing. With
// compose_letters the letters of code page 1250 that are a Latin letter and a diacritic are
// added (ą ć ę ł ń ó ś ź ż, é ö ü č ř š ž ů ő đ ď and the rest); the degree sign always is.
// Codes without a glyph get no strokes and the advance of the blank. A glyph with more than
// 150 strokes or a coordinate outside 0..255 is an error: the file would be wrong otherwise.
Result<StrokeFont> BuildStrokeFont(std::span<const HersheyGlyph> ascii, bool compose_letters);

// The font file's bytes.
std::string EncodeStrokeFont(const StrokeFont& font);

}  // namespace blok::mkfont
