#pragma once

#include <span>

#include "editing/edit_change.h"
#include "geometry/geometry.h"
#include "model/parsed_entity.h"

// Trim and extend with any edge a draughtsman draws: a line, a rectangle's four sides, a circle
// or an arc (only where it is drawn). Two lines go by the line rules of trim_extend.h; every
// other pair is worked out here, exactly, and the points written are not rounded to single.

namespace blok {

// What a pick came to: the changes to apply (none when the object is already where the tool
// would put it), and whether the object met the edge where the tool looks at all, so that the
// command can say that it did not.
struct TrimOutcome {
  EditChanges changes;
  bool met = true;
};

// Whether the entity at index can be the cutting edge or boundary, and whether it can be the
// object of a trim (lines, circles, arcs) or of an extension (lines, arcs).
bool TakesAsEdge(std::span<const ParsedEntity> records, int index);
bool TakesAsObject(std::span<const ParsedEntity> records, int index, bool extend);

// A line or an arc cut at the crossing nearest the click, the part on the click's side removed;
// a circle cut at the two crossings about the click, the arc on the other side kept.
TrimOutcome TrimObject(std::span<const ParsedEntity> records, int edge, int object, Point click);

// A line's nearer end moved to the nearest crossing of its extension with the boundary; an
// arc's end nearer the click carried along its circle to the first crossing met.
TrimOutcome ExtendObject(std::span<const ParsedEntity> records, int edge, int object, Point click);

}  // namespace blok
