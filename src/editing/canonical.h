#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>

#include "editing/edit_change.h"
#include "model/parsed_entity.h"

namespace blok {

// The colour and thickness in force at a line of the drawing: those of the nearest valid colour
// and thickness commands below it (the redraw goes from the last line up), else black and 0.1.
ReadingDefaults DefaultsAt(std::span<const ParsedEntity> records, size_t index);

// The record with the colour and thickness its line lacks taken from the defaults.
ParsedEntity Resolved(ParsedEntity entity, const ReadingDefaults& defaults);

// The canonical text the editing operations write for a (resolved) line, rectangle, circle,
// arc or text: every number "#############0.####" with a point, arc angles in degrees, the
// colour as K(r,g,b) and the thickness as a number. Nothing for other kinds, for a number that
// is not finite or too large to write, and for a text that would not read back as it is.
std::optional<std::string> CanonicalText(const ParsedEntity& entity);

// A shape as an operation writes it: its canonical text and the record reading that text gives,
// exactly ParseEntity(line), made from the numbers as written rather than by reading them.
struct WrittenShape {
  std::string line;
  ParsedEntity record;
};
std::optional<WrittenShape> CanonicalShape(ParsedEntity entity);

// The changes that put a written shape in place of line index, or add it as line 0.
EditChange Replacement(int index, WrittenShape&& shape);
EditChange Addition(WrittenShape&& shape);

}  // namespace blok
