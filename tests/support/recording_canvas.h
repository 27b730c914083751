#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "view/canvas.h"

namespace blok::testing {

struct PenState {
  std::uint32_t colour = 0x000000;
  int width = 1;
  PenStyle style = PenStyle::kSolid;
  bool operator==(const PenState&) const = default;
};

struct BrushState {
  std::uint32_t colour = 0xFFFFFF;
  BrushStyle style = BrushStyle::kSolid;
  bool operator==(const BrushState&) const = default;
};

// One call made on a RecordingCanvas.
struct CanvasCall {
  enum class Kind {
    kPenColour,
    kPenWidth,
    kPenStyle,
    kBrushColour,
    kBrushStyle,
    kLine,
    kPolyline,
    kRectangle,
    kEllipse,
    kPolygon,
    kText,
    kFocusRectangle,
  };
  Kind kind = Kind::kLine;
  // Coordinates in argument order (x1, y1, x2, y2, ...; text: x, y, pixel height); for a pen
  // width or a style setter the value set.
  std::vector<int> ints;
  // The colour set by a colour setter; the text colour of a text; else the pen colour.
  std::uint32_t colour = 0;
  std::string text;
  std::optional<std::uint32_t> background;  // text only
  // The state in force when the call was made.
  PenState pen;
  BrushState brush;

  bool operator==(const CanvasCall&) const = default;
};

std::ostream& operator<<(std::ostream& out, const CanvasCall& call);

// A Canvas that remembers every call and the pen and brush each was drawn with.
class RecordingCanvas : public Canvas {
 public:
  void SetPenColour(std::uint32_t colour) override;
  void SetPenWidth(int width) override;
  void SetPenStyle(PenStyle style) override;
  void SetBrushColour(std::uint32_t colour) override;
  void SetBrushStyle(BrushStyle style) override;
  void Line(int x1, int y1, int x2, int y2) override;
  void Polyline(std::span<const PixelPoint> points) override;
  void Rectangle(int x1, int y1, int x2, int y2) override;
  void Ellipse(int x1, int y1, int x2, int y2) override;
  void Polygon(std::span<const PixelPoint> points) override;
  void Text(int x, int y, std::string_view text, const TextStyle& style) override;
  // Every character kCharacterWidth pixels wide.
  static constexpr int kCharacterWidth = 7;
  int TextWidth(std::string_view text, const TextStyle& style) override;
  void FocusRectangle(int x1, int y1, int x2, int y2) override;

  const std::vector<CanvasCall>& calls() const { return calls_; }
  std::vector<CanvasCall> CallsOf(CanvasCall::Kind kind) const;
  // The end points of every Line call, {x1, y1, x2, y2} each.
  std::vector<std::vector<int>> Lines() const;
  const PenState& pen() const { return pen_; }
  const BrushState& brush() const { return brush_; }
  void Clear() { calls_.clear(); }

 private:
  void Record(CanvasCall::Kind kind, std::vector<int> ints, std::uint32_t colour);

  std::vector<CanvasCall> calls_;
  PenState pen_;
  BrushState brush_;
};

}  // namespace blok::testing
