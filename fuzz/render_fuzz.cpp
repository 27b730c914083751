// A whole block, drawn: arbitrary entity lines through extents, zoom to everything and a full
// frame. Huge, tiny and odd numbers must never turn into undefined pixel arithmetic.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/cp1250.h"
#include "view/null_canvas.h"
#include "view/renderer.h"
#include "view/stroke_font.h"
#include "view/view_transform.h"

namespace {

// Every glyph a box with a diagonal, so that texts draw strokes.
const blok::StrokeFont& Font() {
  static const auto font = [] {
    auto f = std::make_unique<blok::StrokeFont>();
    for (auto& glyph : f->glyphs) {
      glyph.stroke_count = 2;
      glyph.advance = 60;
      glyph.strokes[0] = {0, 0, 50, 100};
      glyph.strokes[1] = {50, 0, 0, 100};
    }
    return f;
  }();
  return *font;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text =
      blok::Cp1250ToUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  blok::NullCanvas canvas;
  blok::ViewTransform view;
  view.SetViewSize(640, 480);
  const std::vector<blok::ParsedEntity> records = blok::ParseLines(lines);
  blok::ReadingDefaults defaults;
  view.ZoomAll(blok::ComputeExtents(records, Font()));
  blok::ViewSettings settings;
  settings.grid_snap = true;
  blok::RenderFrame(canvas, view, 640, 480, records, Font(), settings, defaults);
  view.ZoomIn();
  view.ZoomOut();
  return 0;
}
