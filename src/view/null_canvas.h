#pragma once

#include "view/canvas.h"

namespace blok {

// A canvas that draws nothing: fuzzers and benchmarks exercise the arithmetic, not a rasteriser.
class NullCanvas : public Canvas {
 public:
  void SetPenColour(std::uint32_t) override {}
  void SetPenWidth(int) override {}
  void SetPenStyle(PenStyle) override {}
  void SetBrushColour(std::uint32_t) override {}
  void SetBrushStyle(BrushStyle) override {}
  void Line(int, int, int, int) override {}
  void Polyline(std::span<const PixelPoint>) override {}
  void Rectangle(int, int, int, int) override {}
  void Ellipse(int, int, int, int) override {}
  void Polygon(std::span<const PixelPoint>) override {}
  void Text(int, int, std::string_view, const TextStyle&) override {}
  int TextWidth(std::string_view, const TextStyle&) override { return 0; }
  void FocusRectangle(int, int, int, int) override {}
};

}  // namespace blok
