#include "view/font_capital.h"

#include <algorithm>

#include "view/view_transform.h"

namespace blok {

FontCapital CapitalOf(const StrokeFont& font) {
  const Glyph& glyph = font.glyphs['H'];
  if (glyph.used_strokes().empty()) return {};
  int low = 255, high = 0;
  for (const GlyphStroke& s : glyph.used_strokes()) {
    low = std::min({low, int{s.y1}, int{s.y2}});
    high = std::max({high, int{s.y1}, int{s.y2}});
  }
  if (!(high > low)) return {};
  return {static_cast<double>(low), static_cast<double>(high - low)};
}

DxfExportFont ExportFontOf(const StrokeFont& font) {
  return {CapitalOf(font),
          [&font](std::span<const ParsedEntity> records) { return ComputeExtents(records, font); }};
}

}  // namespace blok
