// Every reader of entity command lines, on arbitrary text: none may crash or read out of bounds,
// and a valid record must hold finite numbers.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "model/command_text.h"
#include "model/cp1250.h"
#include "model/entity_reader.h"
#include "model/numbers.h"
#include "model/syntax_check.h"

namespace {

using blok::fuzz::Require;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Lines come from CP1250 files, so any byte string is a possible line once converted.
  const std::string line =
      blok::Cp1250ToUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
  for (const char separator : {',', '.'}) {
    const blok::ReadingDefaults defaults{0x123456, 0.25f, separator};
    const auto segment = blok::ReadSegment(line, defaults);
    Require(!segment.valid || (std::isfinite(segment.x1) && std::isfinite(segment.y2)));
    const auto circle = blok::ReadCircle(line, defaults);
    Require(!circle.valid || std::isfinite(circle.radius));
    const auto arc = blok::ReadArc(line, defaults);
    Require(!arc.valid || std::isfinite(arc.end_angle));
    const auto text = blok::ReadText(line, defaults);
    Require(text.text.size() <= 255 * 4);
    blok::ReadColourCommand(line, defaults);
    blok::ReadThicknessCommand(line, defaults);
    blok::ReadEntity(line, defaults);
    if (const auto value = blok::ParseNumber(line, separator)) {
      Require(std::isfinite(*value));
      // What the writers print must read back.
      Require(blok::ParseNumber(blok::FormatPattern(*value, blok::kValuePattern), separator)
                  .has_value());
    }
  }
  blok::ClassifyLine(line);
  blok::CheckSyntax({line, blok::TrimLineStart(line), blok::StripBlanksOutsideQuotes(line)});
  // The code page round trip is lossless for every byte.
  Require(blok::Utf8ToCp1250(line) == std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
