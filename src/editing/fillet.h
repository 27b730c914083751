#pragma once

#include <expected>
#include <span>
#include <string>

#include "editing/edit_change.h"
#include "geometry/geometry.h"
#include "model/parsed_entity.h"

namespace blok {

// A rounded corner: the two lines' replacements and the arc that joins them, for the caller to
// write with the colour and thickness in force.
struct FilletResult {
  EditChanges changes;  // the first line's replacement, then the second's
  Point centre;         // of the arc; with radius 0 the corner the lines now end at
  double radius = 0;    // 0: a plain corner, no arc to write
  // Radians, counter-clockwise from start to end, less than half a turn apart; start in
  // [0, 2 pi), so end may pass 2 pi.
  double start = 0, end = 0;
};

// Both lines trimmed or lengthened to the points where an arc of the radius touches them, on
// the sides of their crossing that ChamferLines keeps for the same clicks (a line short of the
// crossing is lengthened), the arc joining them. Radius 0 gives exactly ChamferLines' changes.
// Refused with a message, nothing changed: a negative radius, an entity that is not a line,
// parallel or collinear lines, a radius whose touching point lies beyond the far end of what is
// kept of a line, a result that cannot be written.
std::expected<FilletResult, std::string> FilletLines(std::span<const ParsedEntity> records,
                                                     int first, int second, Point click_first,
                                                     Point click_second, double radius);

}  // namespace blok
