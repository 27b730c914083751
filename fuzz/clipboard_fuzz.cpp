// What another program leaves on the clipboard, pasted: our own form or plain text, any bytes.
// Nothing may crash; every line taken reads as an entity, and every placed entity that can be
// written reads back as a shape.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "document/entity_clipboard.h"
#include "editing/transform.h"
#include "fuzz_support.h"
#include "model/parsed_entity.h"

namespace {

using blok::fuzz::Require;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte: whether our own form is there, and a placement's scale and turn.
  const uint8_t head = data[0];
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  blok::ClipboardContents contents;
  contents.text = text;
  if ((head & 1) != 0) contents.entities = text;
  const blok::LinesToPaste paste = blok::ReadLinesToPaste(contents);
  for (const std::string& line : paste.lines) {
    const blok::ParsedEntity entity = blok::ParseEntity(line);
    Require(entity.kind != blok::EntityKind::kNone && entity.valid());
  }
  const blok::Placement placement{
      .x = 1.5, .y = -2, .scale = 0.5 + (head >> 4), .angle = ((head >> 1) & 7) * 0.7};
  const auto placed = blok::PlacedEntities(blok::ParseLines(paste.lines), placement);
  const blok::EditChanges adds = blok::AddsInOrder(placed);
  Require(adds.size() + adds.unwritable == placed.size());
  for (const blok::EditChange& add : adds) Require(blok::IsShape(blok::ParseEntity(add.line)));
  return 0;
}
