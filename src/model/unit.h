#pragma once

#include <array>
#include <string>
#include <string_view>

namespace blok {

// A drawing unit that a block's numbers are in.
struct Unit {
  std::string_view name;
  double millimetres;  // whole numbers, so that ratios of two units come out exact
};

// The units a block may have, in the order the unit box lists them.
inline constexpr std::array<Unit, 3> kUnits = {{{"m", 1000}, {"cm", 10}, {"mm", 1}}};

// The unit of that name, or nothing for a text that is none (names are case-sensitive).
const Unit* FindUnit(std::string_view name);
inline bool IsUnit(std::string_view name) { return FindUnit(name) != nullptr; }

// The size of one unit in metres; a text that is no unit counts as metres.
double MetresIn(std::string_view unit);

// "m, cm i mm": the units as the messages that refuse another one list them.
std::string AllowedUnits();

}  // namespace blok
