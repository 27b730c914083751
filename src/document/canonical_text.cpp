#include "document/canonical_text.h"

#include <utility>

#include "model/angles.h"
#include "model/entity_writer.h"

namespace blok {
namespace {

struct ShapeToWrite {
  EntityFields fields;
  LineFormat format;
};

// What the writer is given for a shape; its text stays the entity's.
std::optional<ShapeToWrite> ShapeToWriteOf(const ParsedEntity& entity,
                                           const ReadingDefaults& in_force) {
  const auto shape = [&](EntityFields fields, Colour colour, float thickness) {
    return ShapeToWrite{fields,
                        {.colour = ResolveColour(colour, in_force),
                         .thickness = ThicknessNumber{ResolveThickness(thickness, in_force)}}};
  };
  if (!entity.valid()) return std::nullopt;
  const EntityRecord& record = entity.record;
  if (const auto* s = std::get_if<SegmentRecord>(&record)) {
    const char kind = entity.kind == EntityKind::kRectangle ? 'P' : 'L';
    return shape(SegmentFields{kind, s->x1, s->y1, s->x2, s->y2}, s->colour, s->thickness);
  }
  if (const auto* c = std::get_if<CircleRecord>(&record)) {
    return shape(CircleFields{c->x, c->y, c->radius}, c->colour, c->thickness);
  }
  if (const auto* a = std::get_if<ArcRecord>(&record)) {
    return shape(ArcFields{a->x, a->y, a->radius, a->start_angle / kDegreesToRadians,
                           a->end_angle / kDegreesToRadians},
                 a->colour, a->thickness);
  }
  if (const auto* t = std::get_if<TextRecord>(&record)) {
    return shape(TextFields{t->x, t->y, t->text, t->height, t->width, t->angle}, t->colour,
                 t->thickness);
  }
  return std::nullopt;  // a colour or thickness command draws nothing
}

}  // namespace

std::optional<std::string> CanonicalShapeText(const ParsedEntity& entity,
                                              const ReadingDefaults& in_force) {
  const auto shape = ShapeToWriteOf(entity, in_force);
  if (!shape) return std::nullopt;
  auto line = WriteEntityLine(shape->fields, shape->format);
  return line ? std::optional(std::move(*line)) : std::nullopt;
}

bool AppendCanonicalShapeKey(std::string& out, const ParsedEntity& entity,
                             const ReadingDefaults& in_force) {
  const auto shape = ShapeToWriteOf(entity, in_force);
  return shape && AppendEntityLineKey(out, shape->fields, shape->format);
}

}  // namespace blok
