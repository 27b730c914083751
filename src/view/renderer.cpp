#include "view/renderer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>

#include "model/angles.h"
#include "model/entity_visit.h"
#include "model/numbers.h"

namespace blok {
namespace {

constexpr double kChordAngle = 0.17453292522222222;  // 10 degrees
// Two turns of chords and the closing one. More than two turns are cut to one before the loop,
// so this only stops a start angle so large that adding a chord no longer moves it.
constexpr int kMaxChords = 2 * 36 + 1;
constexpr double kNegligibleAngle = 4e-6;  // some units in the last place of a float near 2 pi
// More grid lines than this across the view lie several to a pixel on any screen and draw a
// grey smear; a typed size of millions must not stall every redraw.
constexpr double kMaxGridLines = 50000;

// The world box of the view, widened by a margin that covers wide pens and the labels that
// start off the view but reach into it.
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
           view.WorldToScreenY(y), view.scale());
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
  if (t > stop) stop = ToSingle(stop + kTwoPi);
  // Beyond two turns the chords only go round the same circle again.
  if (stop - double{t} > 2 * kTwoPi) stop = ToSingle(t + kTwoPi);
  canvas.SetPenColour(colour);
  canvas.SetPenWidth(view.PenWidth(thickness));
  LineBatch chords_drawn(canvas);
  const auto chord = [&](double from, double to) {
    chords_drawn.Add(view.WorldToScreenX(x + radius * std::cos(from)),
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
  chords_drawn.Flush();
}

void DrawTextEntity(Canvas& canvas, const ViewTransform& view, const StrokeFont& font,
                    const TextRecord& text) {
  DrawText(canvas, font, text.text, text.colour, view.PenWidth(text.thickness), text.height,
           text.width, text.angle, view.WorldToScreenX(text.x), view.WorldToScreenY(text.y),
           view.scale());
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

namespace {

// The range of a font's advances, stroke ends and outlined cells in font units, 0 included. A
// font whose numbers are not finite gives NaN, and NaN culls nothing.
struct FontReach {
  double advance_low = 0;
  double advance_high = 0;
  double glyph_x = 0;
  double glyph_y = 0;

  explicit FontReach(const StrokeFont& font) {
    const auto widen_high = [](double& high, double value) {
      if (!(value <= high)) high = value;
    };
    const auto widen_low = [](double& low, double value) {
      if (!(value >= low)) low = value;
    };
    for (int code = 0; code < kFontGlyphCount; ++code) {
      const Glyph& glyph = font.glyphs[code];
      widen_low(advance_low, glyph.advance);
      widen_high(advance_high, glyph.advance);
      for (const GlyphStroke& stroke : glyph.used_strokes()) {
        widen_high(glyph_x, std::max(stroke.x1, stroke.x2));
        widen_high(glyph_y, std::max(stroke.y1, stroke.y2));
      }
      // A stand-in's glyph is counted as itself; an outline reaches its cell's far corner.
      const CharacterPicture picture = PictureOf(font, static_cast<unsigned char>(code));
      if (picture.outlined) {
        const GlyphCell cell = CellOf(font, *picture.glyph);
        widen_high(glyph_x, cell.right);
        widen_high(glyph_y, cell.top);
      }
    }
  }
};

struct Range {
  double low, high;
};

// factor x value for every value in [low_value, high_value]; factor may be negative.
Range Scaled(double factor, double low_value, double high_value) {
  const double a = factor * low_value;
  const double b = factor * high_value;
  return {std::min(a, b), std::max(a, b)};
}

// Pixels an entity's points map to, as the drawing maps them.
struct PixelBox {
  double left, right, top, bottom;
};

// Draws the records VisitEntity hands it, each in its own colour and thickness or the pass's.
// With culling it first asks whether the entity can touch the view at all; every bound below
// follows the arithmetic of the primitive it stands for, so that skipping never loses a pixel.
class EntityPainter {
 public:
  EntityPainter(Canvas& canvas, const ViewTransform& view, const StrokeFont& font,
                ReadingDefaults& defaults, bool cull)
      : canvas_(canvas),
        view_(view),
        font_(font),
        defaults_(defaults),
        cull_(cull && view.view_width() > 0 && view.view_height() > 0) {}

  void operator()(const LineEntity& line) {
    const SegmentRecord& r = line.segment;
    const int px1 = view_.WorldToScreenX(r.x1);
    const int py1 = view_.WorldToScreenY(r.y1);
    const int px2 = view_.WorldToScreenX(r.x2);
    const int py2 = view_.WorldToScreenY(r.y2);
    const int pen = view_.PenWidth(ThicknessOf(r.thickness));
    if (Hidden(Span(px1, py1, px2, py2), pen)) return;
    canvas_.SetPenColour(ColourOf(r.colour));
    canvas_.SetPenWidth(pen);
    canvas_.Line(px1, py1, px2, py2);
  }

  void operator()(const RectangleEntity& rectangle) {
    const SegmentRecord& r = rectangle.segment;
    const float thickness = ThicknessOf(r.thickness);
    if (cull_) {
      const PixelBox box = Span(view_.WorldToScreenX(r.x1), view_.WorldToScreenY(r.y1),
                                view_.WorldToScreenX(r.x2), view_.WorldToScreenY(r.y2));
      if (Hidden(box, view_.PenWidth(thickness))) return;
    }
    DrawRectangle(canvas_, view_, ColourOf(r.colour), kRectangleFill, thickness, false, r.x1, r.y1,
                  r.x2, r.y2);
  }

  void operator()(const CircleRecord& r) {
    Arc(r.x, r.y, r.radius, 0, kFullCircle, r.colour, r.thickness);
  }
  void operator()(const ArcRecord& r) {
    Arc(r.x, r.y, r.radius, r.start_angle, r.end_angle, r.colour, r.thickness);
  }

  void operator()(const TextRecord& r) {
    const int pen = view_.PenWidth(ThicknessOf(r.thickness));
    const int px = view_.WorldToScreenX(r.x);
    const int py = view_.WorldToScreenY(r.y);
    // The cheap bound first; the strokes' own span only for texts near the view.
    if (cull_ && (Hidden(TextBox(r, px, py), pen) || Hidden(DrawnTextBox(r, px, py), pen))) {
      return;
    }
    DrawText(canvas_, font_, r.text, ColourOf(r.colour), pen, r.height, r.width, r.angle, px, py,
             view_.scale());
  }

  void operator()(const ColourRecord& r) { defaults_.colour = r.colour; }
  void operator()(const ThicknessRecord& r) { defaults_.thickness = r.thickness; }

 private:
  Colour ColourOf(Colour colour) const { return ResolveColour(colour, defaults_); }
  float ThicknessOf(float thickness) const { return ResolveThickness(thickness, defaults_); }

  static PixelBox Span(int px1, int py1, int px2, int py2) {
    return {static_cast<double>(std::min(px1, px2)), static_cast<double>(std::max(px1, px2)),
            static_cast<double>(std::min(py1, py2)), static_cast<double>(std::max(py1, py2))};
  }

  // Wholly outside the view with room for the pen (half of it reaches past the centre line, a
  // round cap past the end) and a pixel either way. Written so that NaN is never hidden.
  bool Hidden(const PixelBox& box, int pen) const {
    if (!cull_) return false;
    const double margin = pen + 2.0;
    return box.right < -margin || box.left > view_.view_width() + margin || box.bottom < -margin ||
           box.top > view_.view_height() + margin;
  }

  // DrawArc's chords end at (x + r cos t, y + r sin t) of the single-precision centre and
  // radius, so they stay within the square round that circle.
  void Arc(double x, double y, double radius, double start, double end, Colour colour,
           float thickness) {
    const float t = ThicknessOf(thickness);
    if (cull_) {
      const double cx = ToSingle(x);
      const double cy = ToSingle(y);
      const double r = std::fabs(ToSingle(radius));
      const PixelBox box = Span(view_.WorldToScreenX(cx - r), view_.WorldToScreenY(cy + r),
                                view_.WorldToScreenX(cx + r), view_.WorldToScreenY(cy - r));
      if (Hidden(box, view_.PenWidth(t))) return;
    }
    DrawArc(canvas_, view_, ColourOf(colour), t, x, y, radius, start, end);
  }

  // The pixels DrawText can reach with the text, as its own arithmetic places them: a glyph's
  // stroke end lies at u along the baseline and v up from the insertion pixel, turned by the
  // angle. u is the pen's advance so far (each character its advance, give or take a pixel of
  // truncation) plus the stroke's or the outline's x; the character count is taken as the byte
  // count, which is never less. The extremes of a turned box lie at its corners.
  PixelBox TextBox(const TextRecord& r, int px, int py) {
    if (!reach_) reach_.emplace(font_);
    const FontReach& font = *reach_;
    const double unit = 12 / view_.scale();  // pixels per font unit of size 1
    const double sx = unit * r.width;
    const double sy = unit * r.height;
    const Range advance = Scaled(sx, font.advance_low, font.advance_high);
    const double steps = r.text.empty() ? 0 : static_cast<double>(r.text.size() - 1);
    const Range pen = {std::min(0.0, steps * (advance.low - 1)),
                       std::max(0.0, steps * (advance.high + 1))};
    const Range stroke = Scaled(sx, 0, font.glyph_x);
    const Range u = {pen.low + stroke.low, pen.high + stroke.high};
    const Range v = Scaled(sy, 0, font.glyph_y);
    const double alpha = r.angle * kTextDegreesToRadians;
    const double cos_a = std::cos(alpha);
    const double sin_a = std::sin(alpha);
    PixelBox box = Span(px, py, px, py);
    for (const double cu : {u.low, u.high}) {
      for (const double cv : {v.low, v.high}) {
        const double x = px + cu * cos_a - cv * sin_a;
        const double y = py - (cu * sin_a + cv * cos_a);
        if (std::isnan(x) || std::isnan(y)) return {x + y, x + y, x + y, x + y};  // never hidden
        box = {std::min(box.left, x), std::max(box.right, x), std::min(box.top, y),
               std::max(box.bottom, y)};
      }
    }
    // Room for the single-precision sizes the glyphs are drawn with, and a pixel of truncation.
    const double slack = (std::max(-u.low, u.high) + std::max(-v.low, v.high)) * 1e-6 + 1;
    return {box.left - slack, box.right + slack, box.top - slack, box.bottom + slack};
  }

  // The pixels the text's strokes and outlines occupy, turned: the box the letters are seen in.
  PixelBox DrawnTextBox(const TextRecord& r, int px, int py) const {
    const TextSpan span =
        TextStrokeSpan(font_, r.text, r.height, r.width, r.angle, px, view_.scale());
    if (span.empty()) return {-1e9, -1e9, -1e9, -1e9};  // nothing drawn
    const double alpha = r.angle * kTextDegreesToRadians;
    const double cos_a = std::cos(alpha);
    const double sin_a = std::sin(alpha);
    PixelBox box{std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                 std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
    for (const double u : {span.u_low, span.u_high}) {
      for (const double v : {span.v_low, span.v_high}) {
        const double x = px + u * cos_a - v * sin_a;
        const double y = py - (u * sin_a + v * cos_a);
        box = {std::min(box.left, x), std::max(box.right, x), std::min(box.top, y),
               std::max(box.bottom, y)};
      }
    }
    // A pixel of truncation either way.
    return {box.left - 1, box.right + 1, box.top - 1, box.bottom + 1};
  }

  Canvas& canvas_;
  const ViewTransform& view_;
  const StrokeFont& font_;
  ReadingDefaults& defaults_;
  const bool cull_;
  std::optional<FontReach> reach_;  // worked out at the first text
};

}  // namespace

void DrawEntities(Canvas& canvas, const ViewTransform& view, std::span<const ParsedEntity> records,
                  const StrokeFont& font, ReadingDefaults& defaults) {
  defaults.colour = 0;
  defaults.thickness = kDefaultThickness;
  EntityPainter painter(canvas, view, font, defaults, /*cull=*/true);
  for (auto it = records.rbegin(); it != records.rend(); ++it) VisitEntity(*it, painter);
}

void DrawEntity(Canvas& canvas, const ViewTransform& view, const StrokeFont& font,
                const ParsedEntity& entity, ReadingDefaults& defaults) {
  EntityPainter painter(canvas, view, font, defaults, /*cull=*/false);
  VisitEntity(entity, painter);
}

void FitPicture(ViewTransform& view, const DrawingExtents& extents, int width, int height,
                double fill) {
  view.SetViewSize(width, height);
  if (extents.empty()) return view.ZoomAll(extents);
  constexpr double kSmallest = 1e-3;  // a point still gets a scale
  const double w = std::max<double>(double{extents.xmax} - extents.xmin, kSmallest);
  const double h = std::max<double>(double{extents.ymax} - extents.ymin, kSmallest);
  view.SetCentre((double{extents.xmin} + extents.xmax) / 2,
                 (double{extents.ymin} + extents.ymax) / 2);
  view.SetScale(1000 / fill * std::max(w / std::max(width, 1), h / std::max(height, 1)));
}

void DrawPlainBlock(Canvas& canvas, const ViewTransform& view,
                    std::span<const ParsedEntity> records, const StrokeFont& font) {
  constexpr Colour kWhite = 0xFFFFFF;
  canvas.SetPenColour(kWhite);
  canvas.SetBrushColour(kWhite);
  canvas.SetBrushStyle(BrushStyle::kSolid);
  canvas.Rectangle(0, 0, view.view_width() + 1, view.view_height() + 1);
  ReadingDefaults defaults;
  DrawEntities(canvas, view, records, font, defaults);
}

void RenderFrame(Canvas& image, ViewTransform& view, int view_width, int view_height,
                 std::span<const ParsedEntity> records, const StrokeFont& font,
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

  DrawEntities(image, view, records, font, defaults);
  if (hooks.overlays) hooks.overlays(image);
  DrawAxisIcon(image, view_height);
  if (hooks.present) hooks.present();
}

}  // namespace blok
