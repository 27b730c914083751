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

// A line built piece by piece in one string.
class LineText {
 public:
  explicit LineText(std::string_view head) {
    text_.reserve(96);
    text_.append(head);
  }
  LineText& Number(double v) {
    AppendPattern(text_, v, kValuePattern, '.');
    return *this;
  }
  LineText& Numbers(std::initializer_list<double> values) {
    bool first = true;
    for (double v : values) {
      if (!first) text_.push_back(',');
      first = false;
      Number(v);
    }
    return *this;
  }
  LineText& Text(std::string_view s) {
    text_.append(s);
    return *this;
  }
  std::string Finish(Colour colour, double thickness) {
    std::string thickness_text;
    AppendPattern(thickness_text, thickness, kValuePattern, '.');
    AppendStyleTail(text_, colour, thickness_text);
    return std::move(text_);
  }

 private:
  std::string text_;
};

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
    } else if constexpr (requires {
                           shape.colour;
                           shape.thickness;
                         }) {
      shape.colour = ResolveColour(shape.colour, defaults);
      shape.thickness = ResolveThickness(shape.thickness, defaults);
    }
  });
  return entity;
}

std::optional<std::string> CanonicalText(const ParsedEntity& entity) {
  std::optional<std::string> text;
  const auto segment = [&](const char* head, const SegmentRecord& s) {
    if (!Writable({s.x1, s.y1, s.x2, s.y2, s.thickness})) return;
    text = LineText(head)
               .Numbers({s.x1, s.y1})
               .Text(")-(")
               .Numbers({s.x2, s.y2})
               .Text(")")
               .Finish(s.colour, s.thickness);
  };
  VisitEntity(entity, Overloaded{
                          [&](const LineEntity& l) { segment("L(", l.segment); },
                          [&](const RectangleEntity& r) { segment("P(", r.segment); },
                          [&](const CircleRecord& c) {
                            if (!Writable({c.x, c.y, c.radius, c.thickness})) return;
                            text = LineText("O(")
                                       .Numbers({c.x, c.y, c.radius})
                                       .Text(")")
                                       .Finish(c.colour, c.thickness);
                          },
                          [&](const ArcRecord& a) {
                            const double start = a.start_angle / kDegreesToRadians;
                            const double end = a.end_angle / kDegreesToRadians;
                            if (!Writable({a.x, a.y, a.radius, start, end, a.thickness})) return;
                            text = LineText("LUK(")
                                       .Numbers({a.x, a.y, a.radius, start, end})
                                       .Text(")")
                                       .Finish(a.colour, a.thickness);
                          },
                          [&](const TextRecord& t) {
                            if (!Writable({t.x, t.y, t.height, t.width, t.angle, t.thickness})) {
                              return;
                            }
                            std::string line = LineText("T(")
                                                   .Numbers({t.x, t.y})
                                                   .Text(",'")
                                                   .Text(t.text)
                                                   .Text("',")
                                                   .Numbers({t.height, t.width, t.angle})
                                                   .Text(")")
                                                   .Finish(t.colour, t.thickness);
                            // A text that would read back as something else, or would not stay
                            // one line, is not written.
                            if (line.find('\r') != std::string::npos ||
                                line.find('\n') != std::string::npos) {
                              return;
                            }
                            const ParsedEntity back = ParseEntity(line);
                            const auto* read = std::get_if<TextRecord>(&back.record);
                            if (read && read->valid && read->text == t.text) text = std::move(line);
                          },
                          [](const auto&) {},
                      });
  // Characters are never more than bytes: most lines need no count.
  if (text && text->size() > kLongestLine && CharacterCount(*text) > kLongestLine) {
    return std::nullopt;
  }
  return text;
}

}  // namespace blok
