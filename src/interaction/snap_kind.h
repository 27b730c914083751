#pragma once

namespace blok {

// The object snaps: the kinds of point a snap catches, each with its switch in the bottom bar
// ("Koniec", "Środek", "Przecięcie", "Centrum", "Prostopadły", "Styczny", "Najbliższy",
// "Kwadrant").
enum class Snap {
  kEnd,
  kMiddle,
  kIntersection,
  kCentre,
  kPerpendicular,
  kTangent,
  kNearest,
  kQuadrant
};

}  // namespace blok
