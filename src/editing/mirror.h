#pragma once

#include <span>

#include "editing/edit_change.h"
#include "geometry/geometry.h"
#include "model/parsed_entity.h"

namespace blok {

// A mirror image of every selected entity about the infinite line through axis_a and axis_b,
// added as CopySelection adds its copies: in drawing order of the originals, each written with
// the colour and thickness in force at its original's line; the originals stay. A rectangle
// stays one when the axis is level or plumb and otherwise becomes its four edges as lines, added
// one after the other in the order the rectangle writer adds them. An arc keeps its sweep and
// turns the other way round: its new start is the image of its old end. A text is reflected
// stroke for stroke: its angle becomes 2φ - θ (φ the axis's angle) and its height changes sign,
// which the renderer draws with the same advances as the original, glyph for glyph. Angles are
// brought into [0, 360) degrees, so both directions of one axis give the same lines. No change
// for an axis of no length.
EditChanges MirrorSelection(std::span<const ParsedEntity> records, const Selection& selection,
                            Point axis_a, Point axis_b);

}  // namespace blok
