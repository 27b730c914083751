#include "view/renderer.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "model/entity_reader.h"
#include "model/numbers.h"

namespace blok {
namespace {

constexpr double kChordAngle = 0.17453292522222222;  // 10 degrees
constexpr double kTurn = 6.283185308;
// Two turns of chords and the closing one. More than two turns are cut to one before the loop,
// so this only stops a start angle so large that adding a chord no longer moves it.
constexpr int kMaxChords = 2 * 36 + 1;
constexpr double kNegligibleAngle = 4e-6;  // some units in the last place of a float near 2 pi
// More grid lines than this across the view lie several to a pixel on any screen and draw a
// grey smear; a typed size of millions must not stall every redraw.
constexpr double kMaxGridLines = 50000;

// The world box of the view, widened by a margin that covers wide pens and the labels that
// start off the view but reach into it.
struct WorldBox {
  double left, right, bottom, top;
};

WorldBox VisibleBox(const ViewTransform& view, double step) {
  const double margin = step + (view.PenWidth(kGridThickness) + 12) * view.scale() / 1000;
  return {view.ScreenToWorldX(0) - margin, view.ScreenToWorldX(view.view_width()) + margin,
          view.ScreenToWorldY(view.view_height()) - margin, view.ScreenToWorldY(0) + margin};
}

// Calls draw(position) for the grid positions -size + i x step (i = 0, 1, ...) up to size that
// lie within [lo, hi]. Positions come from their index, not from adding steps, so that the far
// end is reached and a step too small to move a large value cannot loop forever.
template <typename Draw>
void ForEachGridPosition(double size, double step, double lo, double hi, Draw draw) {
  if (!(step > 0) || !std::isfinite(step) || !(size >= 0) || !std::isfinite(size)) return;
  // A little slack: a single-precision step such as 0.1 lands a hair short of the far end.
  const double last = std::floor(2 * size / step * (1 + 1e-7));
  const double first_seen = std::max(0.0, std::ceil((lo + size) / step));
  const double last_seen = std::min(last, std::floor((hi + size) / step));
  const double count = last_seen - first_seen + 1;
  if (!(count >= 1) || count > kMaxGridLines) return;
  for (int k = 0; k < static_cast<int>(count); ++k) draw(-size + (first_seen + k) * step);
}

void DrawArrowhead(Canvas& canvas, const ViewTransform& view,
                   const std::array<double, 6>& corners) {
  std::array<PixelPoint, 3> points;
  for (std::size_t i = 0; i < points.size(); ++i) {
    points[i] = {view.WorldToScreenX(corners[2 * i]), view.WorldToScreenY(corners[2 * i + 1])};
  }
  canvas.SetPenColour(kAxisColour);
  canvas.SetPenWidth(view.PenWidth(kGridThickness));
  canvas.SetBrushColour(kAxisColour);
  canvas.SetBrushStyle(BrushStyle::kSolid);
  canvas.Polygon(points);
}

void DrawAxisLabel(Canvas& canvas, const ViewTransform& view, const StrokeFont& font, double value,
                   double x, double y, double step) {
  DrawText(canvas, font, FormatPattern(value, kAxisLabelPattern, kWorkingSeparator), kAxisColour,
           view.PenWidth(kGridThickness), 0.3 * step, 0.2 * step, 0, view.WorldToScreenX(x),
           view.WorldToScreenY(y), view.scale(), view.view_width());
}

}  // namespace

double GridSize(std::string_view text) {
  const std::optional<double> size = ParseNumber(text, kWorkingSeparator);
  if (!size) return 10;
  return std::max(*size, 0.1);
}

double GridStep(float step) { return step >= 0.01f ? step : 0.01f; }

void DrawSegment(Canvas& canvas, const ViewTransform& view, Colour colour, float thickness,
                 double x1, double y1, double x2, double y2) {
  canvas.SetPenColour(colour);
  canvas.SetPenWidth(view.PenWidth(thickness));
  canvas.Line(view.WorldToScreenX(x1), view.WorldToScreenY(y1), view.WorldToScreenX(x2),
              view.WorldToScreenY(y2));
}

void DrawRectangle(Canvas& canvas, const ViewTransform& view, Colour colour, Colour fill,
                   float thickness, bool filled, double x1, double y1, double x2, double y2) {
  canvas.SetPenColour(colour);
  canvas.SetPenWidth(view.PenWidth(thickness));
  canvas.SetBrushColour(fill);
  canvas.SetBrushStyle(filled ? BrushStyle::kSolid : BrushStyle::kClear);
  const int px1 = view.WorldToScreenX(x1);
  const int py1 = view.WorldToScreenY(y1);
  const int px2 = view.WorldToScreenX(x2);
  const int py2 = view.WorldToScreenY(y2);
  canvas.Rectangle(std::min(px1, px2), std::min(py1, py2), std::max(px1, px2), std::max(py1, py2));
}

void DrawArc(Canvas& canvas, const ViewTransform& view, Colour colour, float thickness, double cx,
             double cy, double r, double start, double end) {
  const float x = ToSingle(cx);
  const float y = ToSingle(cy);
  const float radius = ToSingle(r);
  float t = ToSingle(start);
  float stop = ToSingle(end);
  if (t > stop) stop = ToSingle(stop + kTurn);
  // Beyond two turns the chords only go round the same circle again.
  if (stop - double{t} > 2 * kTurn) stop = ToSingle(t + kTurn);
  canvas.SetPenColour(colour);
  canvas.SetPenWidth(view.PenWidth(thickness));
  const auto chord = [&](double from, double to) {
    canvas.Line(view.WorldToScreenX(x + radius * std::cos(from)),
                view.WorldToScreenY(y + radius * std::sin(from)),
                view.WorldToScreenX(x + radius * std::cos(to)),
                view.WorldToScreenY(y + radius * std::sin(to)));
  };
  int chords = 0;
  for (; stop - kChordAngle > t && chords < kMaxChords; ++chords) {
    chord(t, t + kChordAngle);
    t = ToSingle(t + kChordAngle);
  }
  // Single-precision steps end a whole turn a few units in the last place short of its end; a
  // closing chord that short would only add a call, 37 a circle instead of 36. An arc whose
  // start is its end still draws its one point.
  if (stop - double{t} > kNegligibleAngle || chords == 0) chord(t, stop);
}

void DrawTextEntity(Canvas& canvas, const ViewTransform& view, const StrokeFont& font,
                    const TextRecord& text) {
  DrawText(canvas, font, text.text, text.colour, view.PenWidth(text.thickness), text.height,
           text.width, text.angle, view.WorldToScreenX(text.x), view.WorldToScreenY(text.y),
           view.scale(), view.view_width());
}

void DrawGrid(Canvas& canvas, const ViewTransform& view, double size, double step) {
  const WorldBox box = VisibleBox(view, step);
  // Only the visible stretch of each line: the picture is the same, the pixels stay small.
  const double x_from = std::max(-size, box.left);
  const double x_to = std::min(size, box.right);
  if (x_from <= x_to) {
    ForEachGridPosition(size, step, box.bottom, box.top, [&](double y) {
      DrawSegment(canvas, view, kGridColour, kGridThickness, x_from, y, x_to, y);
    });
  }
  const double y_from = std::max(-size, box.bottom);
  const double y_to = std::min(size, box.top);
  if (y_from <= y_to) {
    ForEachGridPosition(size, step, box.left, box.right, [&](double x) {
      DrawSegment(canvas, view, kGridColour, kGridThickness, x, y_from, x, y_to);
    });
  }
}

void DrawAxes(Canvas& canvas, const ViewTransform& view, const StrokeFont& font, double size,
              double step) {
  const WorldBox box = VisibleBox(view, step);
  const double end = size + step;
  const double tick = 0.1 * step;
  const double barb = 0.15 * step;
  DrawSegment(canvas, view, kAxisColour, kGridThickness, std::max(-end, box.left), 0,
              std::min(end, box.right), 0);
  DrawArrowhead(canvas, view, {end, 0, size + step / 2, barb, size + step / 2, -barb});
  DrawSegment(canvas, view, kAxisColour, kGridThickness, 0, std::max(-end, box.bottom), 0,
              std::min(end, box.top));
  DrawArrowhead(canvas, view, {0, end, barb, size + step / 2, -barb, size + step / 2});
  ForEachGridPosition(size, step, box.left, box.right, [&](double x) {
    DrawSegment(canvas, view, kAxisColour, kGridThickness, x, -tick, x, tick);
    // The origin is labelled once, on the Y axis.
    if (std::fabs(x) > 0.001) DrawAxisLabel(canvas, view, font, x, x, tick, step);
  });
  ForEachGridPosition(size, step, box.bottom, box.top, [&](double y) {
    DrawSegment(canvas, view, kAxisColour, kGridThickness, -tick, y, tick, y);
    DrawAxisLabel(canvas, view, font, y, tick, y, step);
  });
}

void DrawAxisIcon(Canvas& canvas, int view_height) {
  const int h = view_height;
  canvas.SetPenStyle(PenStyle::kSolid);
  canvas.SetPenColour(kFrameColour);
  canvas.SetPenWidth(1);
  canvas.SetBrushStyle(BrushStyle::kClear);
  TextStyle letter;
  letter.colour = kFrameColour;
  const std::array<PixelPoint, 7> y_arrow{{{20, h - 20},
                                           {20, h - 55},
                                           {14, h - 55},
                                           {28, h - 63},
                                           {42, h - 55},
                                           {36, h - 55},
                                           {36, h - 20}}};
  canvas.Polyline(y_arrow);
  canvas.Text(25, h - 52, "Y", letter);
  const std::array<PixelPoint, 7> x_arrow{{{20, h - 20},
                                           {55, h - 20},
                                           {55, h - 14},
                                           {63, h - 28},
                                           {55, h - 42},
                                           {55, h - 36},
                                           {20, h - 36}}};
  canvas.Polyline(x_arrow);
  canvas.Text(45, h - 34, "X", letter);
}

void DrawEntities(Canvas& canvas, const ViewTransform& view, std::span<const std::string> lines,
                  const StrokeFont& font, ReadingDefaults& defaults) {
  defaults.colour = 0;
  defaults.thickness = kDefaultThickness;
  for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
    const std::string_view line = *it;
    switch (ClassifyLine(line)) {
      case EntityKind::kLine:
        if (const SegmentRecord r = ReadSegment(line, defaults); r.valid) {
          DrawSegment(canvas, view, r.colour, r.thickness, r.x1, r.y1, r.x2, r.y2);
        }
        break;
      case EntityKind::kRectangle:
        if (const SegmentRecord r = ReadSegment(line, defaults); r.valid) {
          DrawRectangle(canvas, view, r.colour, kRectangleFill, r.thickness, false, r.x1, r.y1,
                        r.x2, r.y2);
        }
        break;
      case EntityKind::kCircle:
        if (const CircleRecord r = ReadCircle(line, defaults); r.valid) {
          DrawArc(canvas, view, r.colour, r.thickness, r.x, r.y, r.radius, 0, kFullCircle);
        }
        break;
      case EntityKind::kArc:
        if (const ArcRecord r = ReadArc(line, defaults); r.valid) {
          DrawArc(canvas, view, r.colour, r.thickness, r.x, r.y, r.radius, r.start_angle,
                  r.end_angle);
        }
        break;
      case EntityKind::kText:
        if (const TextRecord r = ReadText(line, defaults); r.valid) {
          DrawTextEntity(canvas, view, font, r);
        }
        break;
      case EntityKind::kColour:
        if (const ColourRecord r = ReadColourCommand(line, defaults); r.valid) {
          defaults.colour = r.colour;
        }
        break;
      case EntityKind::kThickness:
        if (const ThicknessRecord r = ReadThicknessCommand(line, defaults); r.valid) {
          defaults.thickness = r.thickness;
        }
        break;
      case EntityKind::kNone:
        break;
    }
  }
}

void RenderFrame(Canvas& image, ViewTransform& view, int view_width, int view_height,
                 std::span<const std::string> lines, const StrokeFont& font,
                 const ViewSettings& settings, ReadingDefaults& defaults, const FrameHooks& hooks) {
  view.SetViewSize(view_width, view_height);

  // The pen leaves a one-pixel black border round the view.
  image.SetPenStyle(PenStyle::kSolid);
  image.SetPenColour(kFrameColour);
  image.SetPenWidth(1);
  image.SetBrushColour(kBackgroundColour);
  image.SetBrushStyle(BrushStyle::kSolid);
  image.Rectangle(0, 0, view_width, view_height);

  if (settings.base_point) {
    image.SetBrushColour(kBasePointColour);
    image.SetBrushStyle(BrushStyle::kSolid);
    image.SetPenColour(kBasePointColour);
    image.Ellipse(view.WorldToScreenX(-0.12), view.WorldToScreenY(0.12), view.WorldToScreenX(0.12),
                  view.WorldToScreenY(-0.12));
  }

  if (settings.grid_snap || settings.draw_grid) {
    const double size = GridSize(settings.grid_size_text);
    const double step = GridStep(settings.grid_step);
    if (settings.grid_snap) DrawGrid(image, view, size, step);
    if (settings.draw_grid) DrawAxes(image, view, font, size, step);
  }

  DrawEntities(image, view, lines, font, defaults);
  if (hooks.overlays) hooks.overlays(image);
  DrawAxisIcon(image, view_height);
  if (hooks.present) hooks.present();
}

}  // namespace blok
