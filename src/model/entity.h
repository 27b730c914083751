#pragma once

#include <cstdint>
#include <string>

namespace blok {

// 0x00BBGGRR: red in the lowest byte.
using Colour = uint32_t;

inline constexpr Colour RgbColour(int r, int g, int b) {
  return static_cast<Colour>((r & 255) | (g & 255) << 8 | (b & 255) << 16);
}
inline constexpr int Red(Colour c) { return c & 255; }
inline constexpr int Green(Colour c) { return (c >> 8) & 255; }
inline constexpr int Blue(Colour c) { return (c >> 16) & 255; }

inline constexpr float kDefaultThickness = 0.1f;

// What a reader assumes for a missing or unreadable tail field, and the separator with which
// numbers are converted. A drawing pass starts from black and 0.1 and updates the defaults as
// it meets colour and thickness commands.
struct ReadingDefaults {
  Colour colour = 0;
  float thickness = kDefaultThickness;
  char decimal_separator = ',';
};

enum class EntityKind { kNone, kLine, kRectangle, kCircle, kArc, kText, kColour, kThickness };

// Lines and rectangles.
struct SegmentRecord {
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  bool valid = false;
  Colour colour = 0;
  float thickness = kDefaultThickness;
  int32_t index = 0;  // line index; set by whoever picks the entity
  char kind = 'L';    // 'L' or 'P'; set by whoever picks the entity
};

struct CircleRecord {
  double x = 0, y = 0, radius = 0;
  bool valid = false;
  Colour colour = 0;
  float thickness = kDefaultThickness;
  int32_t index = 0;
};

// Angles in radians, counter-clockwise from start to end.
struct ArcRecord {
  double x = 0, y = 0, radius = 0, start_angle = 0, end_angle = 0;
  bool valid = false;
  Colour colour = 0;
  float thickness = kDefaultThickness;
  int32_t index = 0;
};

// The angle in degrees; the text at most 255 characters.
struct TextRecord {
  double x = 0, y = 0;
  std::string text;
  float height = 0, width = 0, angle = 0;
  bool valid = false;
  Colour colour = 0;
  float thickness = kDefaultThickness;
  int32_t index = 0;
};

struct ColourRecord {
  Colour colour = 0;
  bool valid = false;
};

struct ThicknessRecord {
  float thickness = kDefaultThickness;
  bool valid = false;
};

}  // namespace blok
