#pragma once

#include <expected>
#include <optional>
#include <span>
#include <string>

#include "editing/edit_change.h"
#include "geometry/geometry.h"
#include "model/parsed_entity.h"

// Chamfer, offset and delete: the editing commands that do not transform a selection.

namespace blok {

// Both lines rewritten so that they end where their infinite lines cross: on each line the part
// on its click's side of the crossing stays, and a line that does not reach the crossing is
// lengthened from its nearer end. Two replacements, first line first, also for a line the rule
// leaves as it was; no change for parallel lines, for an entity that is not a line, or when
// either line cannot be written.
EditChanges ChamferLines(std::span<const ParsedEntity> records, int first, int second,
                         Point click_second, Point click_first);

// A chamfer by two distances: each line cornered as ChamferLines corners it for the same
// clicks (a line short of the crossing lengthened), then its end at the corner taken back
// toward its kept end by its distance, for the caller to join the two new ends with a line in
// the colour and thickness in force.
struct DistanceChamfer {
  EditChanges changes;  // the first line's replacement, then the second's
  // The joining line's ends; both the corner when both distances are 0 (no line to write).
  Point first_end, second_end;
};

// Both distances 0 give exactly ChamferLines' changes. Refused with a message, nothing changed:
// a negative distance, an entity that is not a line, parallel lines, a distance that leaves
// nothing of what is kept of its line, a result that cannot be written.
std::expected<DistanceChamfer, std::string> ChamferByDistances(
    std::span<const ParsedEntity> records, int first, int second, Point click_first,
    Point click_second, double first_distance, double second_distance);

// The offset copy of entity `index` at `distance` toward `side` (a kAdd), or no change: a line
// moved sideways, a rectangle grown or (with the side inside it) shrunk on every side, a circle
// or arc with its radius grown or (with the side inside it) shrunk. Nothing for a text, a
// zero-length line, a rectangle shrunk by half its width or height or more, or a radius that
// would not stay above 0. A distance of 0 gives a plain copy.
EditChanges OffsetEntity(std::span<const ParsedEntity> records, int index, double distance,
                         Point side);

// The same shape for the preview while the side is awaited: the entity line it would add, or
// nothing.
std::optional<std::string> OffsetPreviewLine(std::span<const ParsedEntity> records, int index,
                                             double distance, Point side);

// Deletes the selected entities, as many as the selection holds lines, highest index first so
// that each index is still valid when its deletion is applied.
EditChanges DeleteSelection(std::span<const ParsedEntity> records, const Selection& selection);

}  // namespace blok
