#include "model/parsed_entity.h"

#include <algorithm>
#include <cmath>
#include <limits>

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
  parsed.box = WorldBoxOf(parsed.record);
  return parsed;
}

WorldBox WorldBoxOf(const EntityRecord& record) {
  if (const auto* s = std::get_if<SegmentRecord>(&record); s && s->valid) {
    return Span(s->x1, s->y1, s->x2, s->y2);
  }
  if (const auto* c = std::get_if<CircleRecord>(&record); c && c->valid) {
    return Round(c->x, c->y, c->radius);
  }
  if (const auto* a = std::get_if<ArcRecord>(&record); a && a->valid) {
    return Round(a->x, a->y, a->radius);
  }
  if (const auto* t = std::get_if<TextRecord>(&record); t && t->valid) {
    return {t->x, t->x, t->y, t->y};
  }
  return {};
}

std::vector<ParsedEntity> ParseLines(std::span<const std::string> lines) {
  std::vector<ParsedEntity> records;
  records.reserve(lines.size());
  for (const std::string& line : lines) records.push_back(ParseEntity(line));
  return records;
}

float FloatAtOrBelow(double value) {
  constexpr float kInfinity = std::numeric_limits<float>::infinity();
  constexpr double kLargest = std::numeric_limits<float>::max();
  if (std::isnan(value)) return -kInfinity;
  // Converting a finite double beyond the float range is undefined.
  if (std::isfinite(value) && std::fabs(value) > kLargest) {
    return value > 0 ? static_cast<float>(kLargest) : -kInfinity;
  }
  const float f = static_cast<float>(value);
  return f > value ? std::nextafter(f, -kInfinity) : f;
}

float FloatAtOrAbove(double value) { return -FloatAtOrBelow(-value); }

CompactBox CompactBoxOf(const ParsedEntity& entity) {
  if (const auto* t = std::get_if<TextRecord>(&entity.record); t && t->valid) {
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    return {-kInfinity, kInfinity, -kInfinity, kInfinity};
  }
  const WorldBox& box = entity.box;
  if (box.empty()) return {};
  return {FloatAtOrBelow(box.left), FloatAtOrAbove(box.right), FloatAtOrBelow(box.bottom),
          FloatAtOrAbove(box.top)};
}

bool IsShape(const ParsedEntity& entity) {
  switch (entity.kind) {
    case EntityKind::kLine:
    case EntityKind::kRectangle:
    case EntityKind::kCircle:
    case EntityKind::kArc:
    case EntityKind::kText:
      return entity.valid();
    case EntityKind::kNone:
    case EntityKind::kColour:
    case EntityKind::kThickness:
      break;
  }
  return false;
}

}  // namespace blok
