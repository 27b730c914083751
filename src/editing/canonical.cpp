#include "editing/canonical.h"

#include <utility>

#include "model/angles.h"
#include "model/entity_visit.h"
#include "model/entity_writer.h"

namespace blok {
namespace {

void Resolve(Colour& colour, float& thickness, const ReadingDefaults& defaults) {
  colour = ResolveColour(colour, defaults);
  thickness = ResolveThickness(thickness, defaults);
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
  std::optional<std::string> text;
  const auto write = [&](const EntityFields& fields, Colour colour, float thickness) {
    auto line =
        WriteEntityLine(fields, {.colour = colour, .thickness = ThicknessNumber{thickness}});
    if (line) text = std::move(*line);
  };
  const auto segment = [&](char kind, const SegmentRecord& s) {
    write(SegmentFields{kind, s.x1, s.y1, s.x2, s.y2}, s.colour, s.thickness);
  };
  VisitEntity(
      entity,
      Overloaded{
          [&](LineEntity l) { segment('L', l.segment); },
          [&](RectangleEntity r) { segment('P', r.segment); },
          [&](const CircleRecord& c) {
            write(CircleFields{c.x, c.y, c.radius}, c.colour, c.thickness);
          },
          [&](const ArcRecord& a) {
            write(ArcFields{a.x, a.y, a.radius, a.start_angle / kDegreesToRadians,
                            a.end_angle / kDegreesToRadians},
                  a.colour, a.thickness);
          },
          [&](const TextRecord& t) {
            write(TextFields{t.x, t.y, t.text, t.height, t.width, t.angle}, t.colour, t.thickness);
          },
          [](const ColourRecord&) {},
          [](const ThicknessRecord&) {},
      });
  return text;
}

}  // namespace blok
