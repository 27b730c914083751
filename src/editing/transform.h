#pragma once

#include <span>
#include <vector>

#include "editing/edit_change.h"
#include "model/entity.h"
#include "model/parsed_entity.h"

// Move, copy, stretch, rotate, scale and change of properties of the selected entities. Each
// works on the drawing's current records (records = drawing.records()), never on the copies in
// the selection, and returns the changes to apply in order. Every rewritten entity is written in
// the canonical form with the colour and thickness in force at its own line; an entity that does
// not read, or whose result cannot be written (not finite, too large), is skipped.
//
// The rewriting operations walk the selection from the highest selected line down, as many
// entities as the selection holds lines, and clear the flag of each line they visit, rewritten
// or not. Each visited entity is replaced, even when nothing about it changes.

namespace blok {

// Every selected entity moved by (dx, dy).
EditChanges MoveSelection(std::span<const ParsedEntity> records, Selection& selection, float dx,
                          float dy);

// A copy of every selected entity moved by (dx, dy), added in drawing order of the originals, so
// that the copy of the last selected entity ends up as line 0. The flags are left alone.
EditChanges CopySelection(std::span<const ParsedEntity> records, const Selection& selection,
                          float dx, float dy);

// The defining points of the selected entities that lie strictly inside the selection window
// moved by (dx, dy): the ends of a line, the corners of a rectangle (all four, so that the two
// ways of writing one rectangle stretch alike), the centre of a circle or arc, the insertion
// point of a text.
EditChanges StretchSelection(std::span<const ParsedEntity> records, Selection& selection, float dx,
                             float dy);

// Every selected entity turned by angle (radians, counter-clockwise) about (cx, cy). A rectangle
// turned by other than a multiple of a right angle becomes its four edges as lines: the first
// replaces it, the other three are added after all replacements.
EditChanges RotateSelection(std::span<const ParsedEntity> records, Selection& selection, double cx,
                            double cy, float angle);

// Every selected entity scaled by factor about (bx, by). A factor of at most 0.000001 in
// magnitude changes nothing. Radii stay positive under a negative factor (an arc turns half a
// circle instead); line thickness is never scaled.
EditChanges ScaleSelection(std::span<const ParsedEntity> records, Selection& selection, double bx,
                           double by, float factor);

// Where entities from elsewhere (a library block, the clipboard) go: scaled by scale (the same
// in x and y, so circles stay circles) about their own origin, turned by angle radians
// counter-clockwise about it, and moved so that the origin lands on (x, y).
struct Placement {
  double x = 0, y = 0;
  double scale = 1;
  double angle = 0;
};

// Every shape of records (a whole drawing, whose colour and thickness commands act on the lines
// above them) placed, in the order of records, each with the colour and thickness in force at
// its line written into it; the commands themselves are not placed. A rectangle turned off a
// right angle becomes its four edges as lines. The records' boxes are not kept up to date.
std::vector<ParsedEntity> PlacedEntities(std::span<const ParsedEntity> records,
                                         const Placement& placement);
// Placed entities as the adds that make them the drawing's first lines in the same order, with
// how many could not be written (too large, too long).
EditChanges AddsInOrder(std::span<const ParsedEntity> placed);

// The properties switched on, set on every selected entity: colour and thickness on all kinds,
// text height and width on texts.
struct PropertyChange {
  bool colour = false, thickness = false, height = false, width = false;
  Colour colour_value = 0;
  float thickness_value = 0, height_value = 0, width_value = 0;
};
EditChanges ChangeSelectionProperties(std::span<const ParsedEntity> records, Selection& selection,
                                      const PropertyChange& change);

}  // namespace blok
