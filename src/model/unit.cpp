#include "model/unit.h"

namespace blok {

const Unit* FindUnit(std::string_view name) {
  for (const Unit& unit : kUnits) {
    if (unit.name == name) return &unit;
  }
  return nullptr;
}

double MetresIn(std::string_view unit) {
  const Unit* found = FindUnit(unit);
  return found ? found->millimetres / 1000 : 1;
}

std::string AllowedUnits() {
  std::string list;
  for (size_t i = 0; i < kUnits.size(); ++i) {
    if (i > 0) list += i + 1 == kUnits.size() ? " i " : ", ";
    list += kUnits[i].name;
  }
  return list;
}

}  // namespace blok
