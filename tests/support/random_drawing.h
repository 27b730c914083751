#pragma once

#include <random>
#include <string>
#include <vector>

namespace blok::testing {

// A crowded drawing for the tests that hold a fast search against a plain one: count lines,
// rectangles, circles, arcs and texts of the letters "A" and "i" at random within 12 units of
// the origin; with commands, colour and thickness commands and lines that do not read among
// them too.
inline std::vector<std::string> RandomLines(std::mt19937& random, int count,
                                            bool with_commands = false) {
  std::uniform_real_distribution<double> where(-12, 12);
  std::uniform_real_distribution<double> size(0, 4);
  std::uniform_int_distribution<int> kind(0, with_commands ? 6 : 4);
  std::uniform_int_distribution<int> angle(0, 359);
  const auto n = [](double v) { return std::to_string(v); };
  std::vector<std::string> lines;
  for (int i = 0; i < count; ++i) {
    const double x = where(random), y = where(random), s = size(random), t = size(random);
    switch (kind(random)) {
      case 0:
        lines.push_back("L(" + n(x) + "," + n(y) + ")-(" + n(x + s - 2) + "," + n(y + t - 2) + ")");
        break;
      case 1:
        lines.push_back("P(" + n(x) + "," + n(y) + ")-(" + n(x + s) + "," + n(y - t) + ")");
        break;
      case 2:
        lines.push_back("O(" + n(x) + "," + n(y) + "," + n(s) + ")");
        break;
      case 3:
        lines.push_back("LUK(" + n(x) + "," + n(y) + "," + n(s) + ",10,200)");
        break;
      case 4:
        lines.push_back("T(" + n(x) + "," + n(y) + ",'AiAAi'," + n(s) + "," + n(t) + "," +
                        std::to_string(angle(random)) + ")");
        break;
      case 5:
        lines.push_back(i % 2 == 0 ? "K(255,0,0)" : "GR(0,5)");
        break;
      default:
        lines.push_back("L(" + n(x) + ",");
    }
  }
  return lines;
}

}  // namespace blok::testing
