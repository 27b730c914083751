// blk parse: an entity line read as the editor reads it, as JSON.
#include "parse_json.h"

#include <variant>

#include "model/entity_reader.h"
#include "model/entity_visit.h"
#include "model/numbers.h"

namespace blok {
namespace {

nlohmann::json ColourJson(Colour c) { return nlohmann::json::array({Red(c), Green(c), Blue(c)}); }

// Floats are shown as the shortest decimal that reads back as the same float: 0.1, not
// 0.100000001490116.
double Short(float value) { return FloatAsDecimal(value); }

template <typename Record>
nlohmann::json WithTail(nlohmann::json j, const Record& r) {
  j["colour"] = ColourJson(r.colour);
  j["thickness"] = Short(r.thickness);
  return j;
}

}  // namespace

nlohmann::json ParseJson(const std::string& line) {
  const ReadingDefaults defaults;  // black and 0.1
  return std::visit(
      Overloaded{
          [](const std::monostate&) -> nlohmann::json {
            return {{"kind", "none"}, {"valid", false}};
          },
          [](const SegmentRecord& r) {
            return WithTail({{"kind", r.kind == 'P' ? "rectangle" : "line"},
                             {"valid", r.valid},
                             {"x1", r.x1},
                             {"y1", r.y1},
                             {"x2", r.x2},
                             {"y2", r.y2}},
                            r);
          },
          [](const CircleRecord& r) {
            return WithTail(
                {{"kind", "circle"}, {"valid", r.valid}, {"x", r.x}, {"y", r.y}, {"r", r.radius}},
                r);
          },
          [](const ArcRecord& r) {
            return WithTail({{"kind", "arc"},
                             {"valid", r.valid},
                             {"x", r.x},
                             {"y", r.y},
                             {"r", r.radius},
                             {"a1", r.start_angle},
                             {"a2", r.end_angle}},
                            r);
          },
          [](const TextRecord& r) {
            return WithTail({{"kind", "text"},
                             {"valid", r.valid},
                             {"x", r.x},
                             {"y", r.y},
                             {"text", r.text},
                             {"h", Short(r.height)},
                             {"w", Short(r.width)},
                             {"angle", Short(r.angle)}},
                            r);
          },
          [](const ColourRecord& r) -> nlohmann::json {
            return {{"kind", "colour"}, {"valid", r.valid}, {"colour", ColourJson(r.colour)}};
          },
          [](const ThicknessRecord& r) -> nlohmann::json {
            return {{"kind", "thickness"}, {"valid", r.valid}, {"thickness", Short(r.thickness)}};
          },
      },
      ReadEntity(line, defaults));
}

}  // namespace blok
