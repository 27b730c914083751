#pragma once

#include <string_view>
#include <vector>

#include "model/error.h"

namespace blok::mkfont {

// A point in Hershey units: x to the right, y downwards, (0, 0) near the glyph's centre.
// Doubles, because composed accents sit between the grid points.
struct HersheyPoint {
  double x = 0;
  double y = 0;
  bool operator==(const HersheyPoint&) const = default;
};

// One glyph of a .jhf file: the left and right bearing (the advance runs from one to the
// other) and the pen paths, each drawn without lifting the pen.
struct HersheyGlyph {
  double left = 0;
  double right = 0;
  std::vector<std::vector<HersheyPoint>> paths;
};

// Parses the glyphs of a .jhf file in file order. Each glyph starts a line: a 5-column glyph
// number, a 3-column vertex count (the bearings included) and two characters per vertex,
// each the coordinate plus 'R'; " R" lifts the pen. A glyph may run on over following lines.
Result<std::vector<HersheyGlyph>> ParseHershey(std::string_view text);

}  // namespace blok::mkfont
