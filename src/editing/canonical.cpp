#include "editing/canonical.h"

#include <cmath>
#include <initializer_list>

#include "model/angles.h"
#include "model/cp1250.h"
#include "model/entity_reader.h"
#include "model/numbers.h"
#include "view/entity_visit.h"

namespace blok {
namespace {

// As the writers: larger numbers print past what the patterns are meant for.
constexpr double kLargestWritten = 1e15;
constexpr size_t kLongestLine = 255;

bool Writable(std::initializer_list<double> values) {
  for (double v : values) {
    if (!std::isfinite(v) || std::abs(v) >= kLargestWritten) return false;
  }
  return true;
}

std::string Number(double v) { return FormatPattern(v, kValuePattern, '.'); }

std::string Tail(Colour colour, float thickness) {
  return ";" + FormatColour(colour) + ";GR(" + Number(thickness) + ")";
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
  VisitEntityToChange(entity, [&](auto&& shape) {
    using Shape = std::decay_t<decltype(shape)>;
    if constexpr (std::is_same_v<Shape, MutableLineEntity> ||
                  std::is_same_v<Shape, MutableRectangleEntity>) {
      shape.segment.colour = ResolveColour(shape.segment.colour, defaults);
      shape.segment.thickness = ResolveThickness(shape.segment.thickness, defaults);
    } else if constexpr (requires { shape.colour; shape.thickness; }) {
      shape.colour = ResolveColour(shape.colour, defaults);
      shape.thickness = ResolveThickness(shape.thickness, defaults);
    }
  });
  return entity;
}

std::optional<std::string> CanonicalText(const ParsedEntity& entity) {
  std::optional<std::string> text;
  VisitEntity(entity, Overloaded{
                          [&](const LineEntity& l) {
                            const SegmentRecord& s = l.segment;
                            if (!Writable({s.x1, s.y1, s.x2, s.y2, s.thickness})) return;
                            text = "L(" + Number(s.x1) + "," + Number(s.y1) + ")-(" +
                                   Number(s.x2) + "," + Number(s.y2) + ")" +
                                   Tail(s.colour, s.thickness);
                          },
                          [&](const RectangleEntity& r) {
                            const SegmentRecord& s = r.segment;
                            if (!Writable({s.x1, s.y1, s.x2, s.y2, s.thickness})) return;
                            text = "P(" + Number(s.x1) + "," + Number(s.y1) + ")-(" +
                                   Number(s.x2) + "," + Number(s.y2) + ")" +
                                   Tail(s.colour, s.thickness);
                          },
                          [&](const CircleRecord& c) {
                            if (!Writable({c.x, c.y, c.radius, c.thickness})) return;
                            text = "O(" + Number(c.x) + "," + Number(c.y) + "," +
                                   Number(c.radius) + ")" + Tail(c.colour, c.thickness);
                          },
                          [&](const ArcRecord& a) {
                            const double start = a.start_angle / kDegreesToRadians;
                            const double end = a.end_angle / kDegreesToRadians;
                            if (!Writable({a.x, a.y, a.radius, start, end, a.thickness})) return;
                            text = "LUK(" + Number(a.x) + "," + Number(a.y) + "," +
                                   Number(a.radius) + "," + Number(start) + "," + Number(end) +
                                   ")" + Tail(a.colour, a.thickness);
                          },
                          [&](const TextRecord& t) {
                            if (!Writable({t.x, t.y, t.height, t.width, t.angle, t.thickness})) {
                              return;
                            }
                            std::string line = "T(" + Number(t.x) + "," + Number(t.y) + ",'" +
                                               t.text + "'," + Number(t.height) + "," +
                                               Number(t.width) + "," + Number(t.angle) + ")" +
                                               Tail(t.colour, t.thickness);
                            // A text that would read back as something else is not written.
                            const ParsedEntity back = ParseEntity(line);
                            const auto* read = std::get_if<TextRecord>(&back.record);
                            if (read && read->valid && read->text == t.text) text = std::move(line);
                          },
                          [](const auto&) {},
                      });
  if (text && (text->find_first_of("\r\n") != std::string::npos ||
               CharacterCount(*text) > kLongestLine)) {
    return std::nullopt;
  }
  return text;
}

}  // namespace blok
