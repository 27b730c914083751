// A damaged or foreign font file must load safely or be refused, and drawing with whatever
// loaded must stay within the glyph records.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "view/null_canvas.h"
#include "view/stroke_font.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static blok::StrokeFont font;  // large: not on the stack
  auto decoded =
      blok::DecodeStrokeFont(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!decoded) return 0;
  font = *decoded;
  blok::NullCanvas canvas;
  const std::string_view texts[] = {"Zażółć gęślą jaźń 90°", "\x7f\x01 ~", ""};
  for (const auto text : texts) {
    blok::TextLength(font, text, 0.5);
    for (const double scale : {12.0, 1e-9, 1e9}) {
      blok::DrawText(canvas, font, text, 0, 1, 0.6, 0.5, 33, 100, 100, scale);
    }
  }
  return 0;
}
