#include "editing/canonical.h"

#include <cstdint>
#include <utility>
#include <variant>

#include "document/canonical_text.h"
#include "model/angles.h"
#include "model/entity_visit.h"
#include "model/numbers.h"

namespace blok {
namespace {

void Resolve(Colour& colour, float& thickness, const ReadingDefaults& defaults) {
  colour = ResolveColour(colour, defaults);
  thickness = ResolveThickness(thickness, defaults);
}

// A number as the canonical text reads back: its pattern's units over the pattern's scale. Both
// are whole doubles, so the one rounding of the division gives the double nearest to the digits,
// as reading them does. False where the units are too many for a double to hold whole.
bool ReadBack(double& value) {
  constexpr int kDecimals = PatternDecimals(kValuePattern).maximum;
  static_assert(kDecimals == 4);
  constexpr double kScale = 1e4;
  const std::optional<PatternUnits> units = RoundToDecimals(value, kDecimals);
  if (!units || units->units > (std::uint64_t{1} << 53)) return false;
  const double magnitude = static_cast<double>(units->units) / kScale;
  value = units->negative ? -magnitude : magnitude;
  return true;
}
// A single-precision field is read as a double and taken to the nearest float.
bool ReadBack(float& value) {
  double wide = value;
  if (!ReadBack(wide)) return false;
  value = static_cast<float>(wide);
  return true;
}
template <class... Number>
bool ReadBackAll(Number&... numbers) {
  return (ReadBack(numbers) && ...);
}

// The tail as read: the colour's three components and the thickness as written.
bool ReadBackTail(Colour& colour, float& thickness) {
  colour = RgbColour(Red(colour), Green(colour), Blue(colour));
  return ReadBack(thickness);
}

// The record of a written shape made what the reader builds from its line; false where a
// number cannot be told without reading it.
bool ReadBackAsWritten(ParsedEntity& entity) {
  const auto degrees_read_back = [](double& radians) {
    double degrees = radians / kDegreesToRadians;
    if (!ReadBack(degrees)) return false;
    radians = degrees * kDegreesToRadians;
    return true;
  };
  const bool read = std::visit(
      Overloaded{
          [&](SegmentRecord& s) {
            s.kind = entity.kind == EntityKind::kRectangle ? 'P' : 'L';
            s.index = 0;
            return ReadBackAll(s.x1, s.y1, s.x2, s.y2) && ReadBackTail(s.colour, s.thickness);
          },
          [](CircleRecord& c) {
            c.index = 0;
            return ReadBackAll(c.x, c.y, c.radius) && ReadBackTail(c.colour, c.thickness);
          },
          [&](ArcRecord& a) {
            a.index = 0;
            return ReadBackAll(a.x, a.y, a.radius) && degrees_read_back(a.start_angle) &&
                   degrees_read_back(a.end_angle) && ReadBackTail(a.colour, a.thickness);
          },
          [](TextRecord& t) {
            t.index = 0;
            return ReadBackAll(t.x, t.y, t.height, t.width, t.angle) &&
                   ReadBackTail(t.colour, t.thickness);
          },
          [](auto&) { return false; },
      },
      entity.record);
  if (!read) return false;
  entity.box = WorldBoxOf(entity.record);
  return true;
}

}  // namespace

ReadingDefaults DefaultsAt(std::span<const ParsedEntity> records, size_t index) {
  ReadingDefaults defaults;
  bool colour_found = false;
  bool thickness_found = false;
  for (size_t i = index + 1; i < records.size() && !(colour_found && thickness_found); ++i) {
    if (const auto* c = std::get_if<ColourRecord>(&records[i].record);
        c && c->valid && !colour_found) {
      defaults.colour = c->colour;
      colour_found = true;
    } else if (const auto* t = std::get_if<ThicknessRecord>(&records[i].record);
               t && t->valid && !thickness_found) {
      defaults.thickness = t->thickness;
      thickness_found = true;
    }
  }
  return defaults;
}

ParsedEntity Resolved(ParsedEntity entity, const ReadingDefaults& defaults) {
  VisitEntityToChange(
      entity,
      Overloaded{
          [&](MutableLineEntity l) { Resolve(l.segment.colour, l.segment.thickness, defaults); },
          [&](MutableRectangleEntity r) {
            Resolve(r.segment.colour, r.segment.thickness, defaults);
          },
          [&](CircleRecord& c) { Resolve(c.colour, c.thickness, defaults); },
          [&](ArcRecord& a) { Resolve(a.colour, a.thickness, defaults); },
          [&](TextRecord& t) { Resolve(t.colour, t.thickness, defaults); },
          [](ColourRecord&) {},
          [](ThicknessRecord&) {},
      });
  return entity;
}

std::optional<std::string> CanonicalText(const ParsedEntity& entity) {
  // Resolved already: what the record names is written, and the pass adds nothing.
  return CanonicalShapeText(entity, {kColourFromPass, kThicknessFromPass});
}

std::optional<WrittenShape> CanonicalShape(ParsedEntity entity) {
  std::optional<std::string> line = CanonicalText(entity);
  if (!line) return std::nullopt;
  std::optional<WrittenShape> shape(std::in_place, std::move(*line), std::move(entity));
  if (!ReadBackAsWritten(shape->record)) shape->record = ParseEntity(shape->line);
  return shape;
}

EditChange Replacement(int index, WrittenShape&& shape) {
  return {EditChange::Kind::kReplace, index, std::move(shape.line), std::move(shape.record)};
}

EditChange Addition(WrittenShape&& shape) {
  return {EditChange::Kind::kAdd, -1, std::move(shape.line), std::move(shape.record)};
}

}  // namespace blok
