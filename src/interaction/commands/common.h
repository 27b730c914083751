#pragma once

// Small things the command units share: the read-outs' number forms and the rubber colours.

#include <string>
#include <string_view>

#include "geometry/geometry.h"
#include "model/angles.h"
#include "model/entity.h"
#include "model/numbers.h"
#include "view/canvas.h"

namespace blok::commands {

inline constexpr Colour kRed = 0x0000FF;
inline constexpr Colour kYellow = 0x00FFFF;
inline constexpr Colour kGreen = 0x008000;
inline constexpr Colour kGrey = 0x808080;
inline constexpr float kRubberThickness = 0.2f;

inline std::string Fixed(double value, std::string_view pattern = kFixed3Pattern) {
  return FormatPattern(value, pattern, kWorkingSeparator);
}

inline std::string XY(Point p) { return "X=" + Fixed(p.x) + " Y=" + Fixed(p.y); }

inline float Degrees(double radians) { return static_cast<float>(radians * kDegreesPerRadian); }

// A typed value as the parsers of typed input take it.
inline std::string Wrapped(const std::string& entry) { return "(" + entry + ")"; }

}  // namespace blok::commands
