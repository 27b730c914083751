#pragma once

#include <string>
#include <vector>

namespace blok {

// A block's lines on a grid of 100 columns: lines with their own tail, circles, rectangles and
// texts in turn, as the benches in the real window draw, list and place them.
inline std::vector<std::string> GridLines(int count) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    const std::string x = std::to_string(i % 100), y = std::to_string(i / 100);
    switch (i % 4) {
      case 0:
        lines.push_back("L(" + x + "," + y + ")-(" + x + ".5," + y + ".5);K(0,0,0);GR(0,10)");
        break;
      case 1:
        lines.push_back("O(" + x + "," + y + ",0.25)");
        break;
      case 2:
        lines.push_back("P(" + x + "," + y + ")-(" + x + ".2," + y + ".2)");
        break;
      default:
        lines.push_back("T(" + x + "," + y + ",'A" + std::to_string(i) + "',0.2,0.2,0)");
        break;
    }
  }
  return lines;
}

}  // namespace blok
