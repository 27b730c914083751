#pragma once

#include <limits>

namespace blok {

// The box that ZoomAll fits; empty (xmin > xmax) until an entity widens it. It starts empty
// rather than at a fixed large box so that a drawing lying far from the origin is fitted alone.
struct DrawingExtents {
  float xmin = std::numeric_limits<float>::max();
  float xmax = std::numeric_limits<float>::lowest();
  float ymin = std::numeric_limits<float>::max();
  float ymax = std::numeric_limits<float>::lowest();

  bool empty() const { return xmin > xmax; }
};

}  // namespace blok
