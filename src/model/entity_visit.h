#pragma once

#include <type_traits>
#include <variant>

#include "model/parsed_entity.h"

namespace blok {

// A set of lambdas as one visitor: VisitEntity(entity, Overloaded{[](const CircleRecord&) {...},
// [](const ColourRecord&) {}, ...}). Each kind is named, with an empty body where it does
// nothing, so that a new kind is not passed over unseen.
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
// The same for a visitor that changes the record.
struct MutableLineEntity {
  SegmentRecord& segment;
};
struct MutableRectangleEntity {
  SegmentRecord& segment;
};

namespace entity_visit_internal {

// No entity is of this kind: a visitor that takes it would take anything, a new kind too.
struct NotAnEntityKind {};

// A record as the dispatch hands it out: const for VisitEntity, changeable for
// VisitEntityToChange.
template <class Entity, class Record>
using RecordOf = std::conditional_t<std::is_const_v<Entity>, const Record, Record>&;

template <class Line, class Rectangle, class Entity, class Visitor>
bool Dispatch(Entity& entity, Visitor& visitor) {
  static_assert(!std::is_invocable_v<Visitor&, NotAnEntityKind&>,
                "a visitor names every entity kind: no catch-all (auto) overload, so that a new "
                "kind cannot pass unseen; give a kind that does nothing an empty body");
  static_assert(std::is_invocable_v<Visitor&, Line> && std::is_invocable_v<Visitor&, Rectangle> &&
                    std::is_invocable_v<Visitor&, RecordOf<Entity, CircleRecord>> &&
                    std::is_invocable_v<Visitor&, RecordOf<Entity, ArcRecord>> &&
                    std::is_invocable_v<Visitor&, RecordOf<Entity, TextRecord>> &&
                    std::is_invocable_v<Visitor&, RecordOf<Entity, ColourRecord>> &&
                    std::is_invocable_v<Visitor&, RecordOf<Entity, ThicknessRecord>>,
                "a visitor names every entity kind: LineEntity and RectangleEntity (the "
                "Mutable... pair to change them), CircleRecord, ArcRecord, TextRecord, "
                "ColourRecord and ThicknessRecord");
  return std::visit(
      [&](auto& record) {
        using Record = std::remove_cvref_t<decltype(record)>;
        if constexpr (std::is_same_v<Record, std::monostate>) {
          return false;
        } else {
          if (!record.valid) return false;
          if constexpr (std::is_same_v<Record, SegmentRecord>) {
            if (entity.kind == EntityKind::kRectangle) {
              visitor(Rectangle{record});
            } else {
              visitor(Line{record});
            }
          } else {
            visitor(record);
          }
          return true;
        }
      },
      entity.record);
}

}  // namespace entity_visit_internal

// The one dispatch on a parsed line for everything that walks the records (redraw, extents,
// previews, snapping, picking): calls visitor with a LineEntity, RectangleEntity, CircleRecord,
// ArcRecord, TextRecord, ColourRecord or ThicknessRecord. Unreadable lines and lines of no kind
// are not visited. Returns whether the visitor was called.
// The visitor names every one of these kinds and nothing catches all (checked when compiled).
template <class Visitor>
bool VisitEntity(const ParsedEntity& entity, Visitor&& visitor) {
  return entity_visit_internal::Dispatch<LineEntity, RectangleEntity>(entity, visitor);
}

// The same dispatch for a visitor that changes the record in place (a preview changes its own
// copy): lines and rectangles come as MutableLineEntity and MutableRectangleEntity, the other
// records by non-const reference. A name of its own, so that a non-const entity never picks it
// by accident.
template <class Visitor>
bool VisitEntityToChange(ParsedEntity& entity, Visitor&& visitor) {
  return entity_visit_internal::Dispatch<MutableLineEntity, MutableRectangleEntity>(entity,
                                                                                    visitor);
}

}  // namespace blok
