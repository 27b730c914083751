#pragma once

#include <string>
#include <string_view>

namespace blok {

// The form of a Polish noun that follows a count: one for 1, few for 2–4 (and 22–24, 32–34…,
// but not 12–14), many for the rest: "1 linia", "3 linie", "12 linii".
constexpr std::string_view PolishPlural(long long count, std::string_view one, std::string_view few,
                                        std::string_view many) {
  if (count == 1) return one;
  const long long tens = count % 100, units = count % 10;
  return units >= 2 && units <= 4 && (tens < 12 || tens > 14) ? few : many;
}

// The count and its noun: "2 bloki".
inline std::string Counted(long long count, std::string_view one, std::string_view few,
                           std::string_view many) {
  return std::to_string(count) + " " + std::string(PolishPlural(count, one, few, many));
}

}  // namespace blok
