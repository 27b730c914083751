#include "editing/canonical.h"

#include <utility>

#include "document/canonical_text.h"
#include "model/entity_visit.h"

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
  // Resolved already: what the record names is written, and the pass adds nothing.
  return CanonicalShapeText(entity, {kColourFromPass, kThicknessFromPass});
}

}  // namespace blok
