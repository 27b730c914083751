#pragma once

#include <type_traits>
#include <variant>

#include "model/parsed_entity.h"

namespace blok {

// A set of lambdas as one visitor: VisitEntity(entity, Overloaded{[](const CircleRecord&) {...},
// [](const auto&) {}}).
template <class... F>
struct Overloaded : F... {
  using F::operator()...;
};

// Lines and rectangles share SegmentRecord; a visitor gets them apart as these.
struct LineEntity {
  const SegmentRecord& segment;
};
struct RectangleEntity {
  const SegmentRecord& segment;
};

// The one dispatch on a parsed line for everything that walks the records (redraw, extents,
// previews, snapping, picking): calls visitor with a LineEntity, RectangleEntity, CircleRecord,
// ArcRecord, TextRecord, ColourRecord or ThicknessRecord. Unreadable lines and lines of no kind
// are not visited. Returns whether the visitor was called.
template <class Visitor>
bool VisitEntity(const ParsedEntity& entity, Visitor&& visitor) {
  return std::visit(
      [&](const auto& record) {
        using Record = std::decay_t<decltype(record)>;
        if constexpr (std::is_same_v<Record, std::monostate>) {
          return false;
        } else {
          if (!record.valid) return false;
          if constexpr (std::is_same_v<Record, SegmentRecord>) {
            if (entity.kind == EntityKind::kRectangle) {
              visitor(RectangleEntity{record});
            } else {
              visitor(LineEntity{record});
            }
          } else {
            visitor(record);
          }
          return true;
        }
      },
      entity.record);
}

}  // namespace blok
