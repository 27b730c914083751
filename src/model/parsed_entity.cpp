#include "model/parsed_entity.h"

#include <algorithm>

namespace blok {
namespace {

WorldBox Span(double x1, double y1, double x2, double y2) {
  return {std::min(x1, x2), std::max(x1, x2), std::min(y1, y2), std::max(y1, y2)};
}

WorldBox Round(double x, double y, double r) {
  const double reach = std::fabs(r);
  return {x - reach, x + reach, y - reach, y + reach};
}

}  // namespace

ParsedEntity ParseEntity(std::string_view line) {
  static constexpr ReadingDefaults kFromPass{kColourFromPass, kThicknessFromPass, ','};
  ParsedEntity parsed;
  parsed.kind = ClassifyLine(line);
  parsed.record = ReadEntity(line, kFromPass);
  if (const auto* s = std::get_if<SegmentRecord>(&parsed.record); s && s->valid) {
    parsed.box = Span(s->x1, s->y1, s->x2, s->y2);
  } else if (const auto* c = std::get_if<CircleRecord>(&parsed.record); c && c->valid) {
    parsed.box = Round(c->x, c->y, c->radius);
  } else if (const auto* a = std::get_if<ArcRecord>(&parsed.record); a && a->valid) {
    parsed.box = Round(a->x, a->y, a->radius);
  } else if (const auto* t = std::get_if<TextRecord>(&parsed.record); t && t->valid) {
    parsed.box = {t->x, t->x, t->y, t->y};
  }
  return parsed;
}

}  // namespace blok
