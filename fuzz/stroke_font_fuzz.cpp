// A damaged or foreign font file must load safely or be refused, and drawing with whatever
// loaded must stay within the glyph records.
//
// An input as long as a font file is the file. A shorter one is refused as it is, and is then
// laid over a real font from the offset its first three bytes give: a font damaged in places,
// which the fuzzer reaches without carrying a whole file in every input.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "view/null_canvas.h"
#include "view/stroke_font.h"

namespace {

using blok::fuzz::Require;

const std::string& RealFont() {
  static const std::string bytes = [] {
    std::string read = blok::fuzz::ReadFile(BLOK_BIN_DIR "/Dane/Romans100.Lzs");
    Require(read.size() == blok::kFontFileSize);
    return read;
  }();
  return bytes;
}

// Into one buffer kept from run to run: a fresh copy of the font each run would cost more than
// reading it.
std::string_view Damaged(std::string_view patch) {
  static std::string bytes;
  bytes = RealFont();
  if (patch.size() < 3) return bytes;
  const size_t at =
      (static_cast<unsigned char>(patch[0]) | static_cast<unsigned char>(patch[1]) << 8 |
       static_cast<unsigned char>(patch[2]) << 16) %
      bytes.size();
  patch = patch.substr(3, bytes.size() - at);
  bytes.replace(at, patch.size(), patch);
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::string_view bytes = input;
  if (size < blok::kFontFileSize) {
    const auto refused = blok::DecodeStrokeFont(input);
    Require(!refused && !refused.error().message.empty());
    bytes = Damaged(input);
  }
  const auto decoded = blok::DecodeStrokeFont(bytes);
  if (!decoded) return 0;
  const blok::StrokeFont& font = *decoded;
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
