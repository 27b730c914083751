// Visitors the entity dispatch must refuse when compiled. Each ctest compiles this file with one
// of them chosen and expects the refusal's message; with none chosen the file compiles.
#include <type_traits>

#include "model/entity_visit.h"

namespace blok {

#if defined(CATCH_ALL)
bool Visit(const ParsedEntity& entity) {
  return VisitEntity(entity, Overloaded{[](const LineEntity&) {}, [](const auto&) {}});
}
#elif defined(FORWARDING_CATCH_ALL)
bool Visit(ParsedEntity& entity) {
  return VisitEntityToChange(entity, Overloaded{[](MutableLineEntity) {}, [](auto&&) {}});
}
#elif defined(KIND_CHOSEN_INSIDE)
bool Visit(const ParsedEntity& entity) {
  double radius = 0;
  return VisitEntity(entity, [&](const auto& kind) {
    if constexpr (std::is_same_v<std::remove_cvref_t<decltype(kind)>, CircleRecord>) {
      radius = kind.radius;
    }
  });
}
#elif defined(KIND_LEFT_OUT)
bool Visit(const ParsedEntity& entity) {
  return VisitEntity(entity, Overloaded{
                                 [](const LineEntity&) {},
                                 [](const RectangleEntity&) {},
                                 [](const CircleRecord&) {},
                                 [](const ArcRecord&) {},
                                 [](const TextRecord&) {},
                                 [](const ColourRecord&) {},
                             });
}
#else
bool Visit(ParsedEntity& entity) {
  return VisitEntityToChange(entity, Overloaded{
                                         [](MutableLineEntity) {},
                                         [](const MutableRectangleEntity&) {},
                                         [](CircleRecord&) {},
                                         [](const ArcRecord&) {},
                                         [](TextRecord&) {},
                                         [](const ColourRecord&) {},
                                         [](ThicknessRecord&) {},
                                     });
}
#endif

}  // namespace blok
