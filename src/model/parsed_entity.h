#pragma once

#include <cmath>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/entity.h"
#include "model/entity_reader.h"

namespace blok {

// A record's colour when its line names none: the pass that draws it supplies the colour in
// force there. No colour a line can name has its top byte set.
inline constexpr Colour kColourFromPass = 0xFF000000;
// A record's thickness when its line gives none (a quiet NaN, never a thickness a line gives).
inline constexpr float kThicknessFromPass = std::numeric_limits<float>::quiet_NaN();

// The world box round an entity's geometry: both points of a line or rectangle, the whole
// circle of a circle or an arc, the insertion point of a text (a text's extent needs the
// font). Empty (left > right) for colour and thickness commands and unreadable lines.
struct WorldBox {
  double left = 1, right = 0, bottom = 1, top = 0;
  bool empty() const { return left > right; }
};

// One line of the drawing read once, when it entered the drawing. Redraw, picking and
// snapping use these instead of reading the lines again.
struct ParsedEntity {
  EntityKind kind = EntityKind::kNone;
  // Read with kColourFromPass and kThicknessFromPass as the defaults, so that a tail the line
  // lacks is told apart from one it gives.
  EntityRecord record;
  WorldBox box;
  bool valid() const { return IsValid(record); }
};

ParsedEntity ParseEntity(std::string_view line);
// The box ParseEntity gives a record.
WorldBox WorldBoxOf(const EntityRecord& record);

// For callers that hold lines only (files, tests): each line parsed as the drawing keeps it.
std::vector<ParsedEntity> ParseLines(std::span<const std::string> lines);

// A valid line, rectangle, circle, arc or text: an entity that draws something (not a colour or
// thickness command, nor a line that does not read).
bool IsShape(const ParsedEntity& entity);

// An entity's world box in single precision, rounded outwards so that it holds the whole box: a
// small part of the record's size, for passes over a large drawing that mostly decide by box
// alone. A text's holds everything (its extent needs the font). An empty box is inside out by
// infinities, so that no test of overlap needs to ask whether it is empty.
struct CompactBox {
  float left = std::numeric_limits<float>::infinity();
  float right = -std::numeric_limits<float>::infinity();
  float bottom = std::numeric_limits<float>::infinity();
  float top = -std::numeric_limits<float>::infinity();
};

CompactBox CompactBoxOf(const ParsedEntity& entity);

// The float nearest to value that is not above it, and the one not below it; for NaN (nothing
// known) the infinity on that side.
float FloatAtOrBelow(double value);
float FloatAtOrAbove(double value);

// The colour and thickness a parsed record is drawn with under the pass's defaults.
inline Colour ResolveColour(Colour colour, const ReadingDefaults& defaults) {
  return colour == kColourFromPass ? defaults.colour : colour;
}
inline float ResolveThickness(float thickness, const ReadingDefaults& defaults) {
  return std::isnan(thickness) ? defaults.thickness : thickness;
}

}  // namespace blok
