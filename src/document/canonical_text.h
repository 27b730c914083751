#pragma once

#include <optional>
#include <string>

#include "model/parsed_entity.h"

namespace blok {

// The canonical text the editing operations write for a line, rectangle, circle, arc or text:
// every number "#############0.####" with a point, arc angles in degrees, the colour as
// K(r,g,b) and the thickness as a number, those the line does not name taken from in_force.
// Nothing for other kinds, for a number that is not finite or too large to write, and for a
// text that would not read back as it is.
std::optional<std::string> CanonicalShapeText(const ParsedEntity& entity,
                                              const ReadingDefaults& in_force);

// The same as a key (EntityLineKey), written at the end of out: equal exactly where the texts
// are, made without printing. False, and out as it was, when there is none.
bool AppendCanonicalShapeKey(std::string& out, const ParsedEntity& entity,
                             const ReadingDefaults& in_force);

}  // namespace blok
