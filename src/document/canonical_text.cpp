#include "document/canonical_text.h"

#include <utility>

#include "model/angles.h"
#include "model/entity_writer.h"

namespace blok {

std::optional<std::string> CanonicalShapeText(const ParsedEntity& entity,
                                              const ReadingDefaults& in_force) {
  const auto write = [&](const EntityFields& fields, Colour colour,
                         float thickness) -> std::optional<std::string> {
    auto line = WriteEntityLine(
        fields, {.colour = ResolveColour(colour, in_force),
                 .thickness = ThicknessNumber{ResolveThickness(thickness, in_force)}});
    if (!line) return std::nullopt;
    return std::move(*line);
  };
  if (!entity.valid()) return std::nullopt;
  const EntityRecord& record = entity.record;
  if (const auto* s = std::get_if<SegmentRecord>(&record)) {
    const char kind = entity.kind == EntityKind::kRectangle ? 'P' : 'L';
    return write(SegmentFields{kind, s->x1, s->y1, s->x2, s->y2}, s->colour, s->thickness);
  }
  if (const auto* c = std::get_if<CircleRecord>(&record)) {
    return write(CircleFields{c->x, c->y, c->radius}, c->colour, c->thickness);
  }
  if (const auto* a = std::get_if<ArcRecord>(&record)) {
    return write(ArcFields{a->x, a->y, a->radius, a->start_angle / kDegreesToRadians,
                           a->end_angle / kDegreesToRadians},
                 a->colour, a->thickness);
  }
  if (const auto* t = std::get_if<TextRecord>(&record)) {
    return write(TextFields{t->x, t->y, t->text, t->height, t->width, t->angle}, t->colour,
                 t->thickness);
  }
  return std::nullopt;  // a colour or thickness command draws nothing
}

}  // namespace blok
