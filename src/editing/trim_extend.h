#pragma once

#include <optional>
#include <span>

#include "editing/edit_change.h"
#include "geometry/geometry.h"
#include "model/parsed_entity.h"

// Trim and extend rewrite one line in place where it meets another. Both act only when the edge
// and the object are lines; every case they cannot carry out returns no change.

namespace blok {

// An object that ends this close to the crossing already ends there.
inline constexpr double kTrimAtEnd = 0.01;

// The object line cut where it crosses the edge line, the part on the click's side of the
// crossing removed. No change when the segments do not meet (0.001 allowed) or the object
// already ends within 0.01 of the crossing.
EditChanges TrimLine(std::span<const ParsedEntity> records, int edge, int object, Point click);

// The object line's nearer end moved onto the boundary line (the edge), when the crossing of
// their infinite lines lies strictly within the boundary and outside the object. Otherwise the
// object is rewritten as it is, so every pick that meets the boundary leaves a record. No change
// for parallel lines or a crossing within 0.01 of an object end. The click is not used.
EditChanges ExtendLine(std::span<const ParsedEntity> records, int edge, int object, Point click);

// Shared with the chamfer.

// The record of the entity at index when it is a line (not a rectangle) that reads.
std::optional<SegmentRecord> LineRecordAt(std::span<const ParsedEntity> records, int index);

// The line at index replaced by one with the given ends, in the colour and thickness in force at
// its own line; no change when a number cannot be written.
EditChanges ReplacedLine(std::span<const ParsedEntity> records, int index,
                         const SegmentRecord& ends);

// Where a crossing lies along a line: the x of both ends and of the crossing, or their y when the
// line is narrower in x than the kernel's vertical tolerance and x tells nothing.
struct CrossingSpan {
  double low = 0, high = 0, at = 0;
  bool StrictlyInside() const { return low < at && at < high; }
  bool Inside(double grown = 0) const { return low - grown <= at && at <= high + grown; }
};
CrossingSpan SpanOfCrossing(const SegmentRecord& line, LineHit crossing);

}  // namespace blok
