#include "view/previews.h"

#include <optional>
#include <string>
#include <utility>
#include <variant>

#include "geometry/geometry.h"
#include "model/angles.h"
#include "model/entity_reader.h"
#include "model/numbers.h"
#include "view/renderer.h"

namespace blok {
namespace {

// An entity ready to draw: its kind and its record with colour and thickness resolved.
struct Shape {
  EntityKind kind = EntityKind::kNone;
  EntityRecord record;
};

bool IsDrawable(EntityKind kind) {
  return kind == EntityKind::kLine || kind == EntityKind::kRectangle ||
         kind == EntityKind::kCircle || kind == EntityKind::kArc || kind == EntityKind::kText;
}

std::optional<Shape> ReadShape(std::string_view line, const ReadingDefaults& defaults) {
  const EntityKind kind = ClassifyLine(line);
  if (!IsDrawable(kind)) return std::nullopt;
  EntityRecord record = ReadEntity(line, defaults);
  if (!IsValid(record)) return std::nullopt;
  return Shape{kind, std::move(record)};
}

std::optional<Shape> ResolveShape(const ParsedEntity& entity, const ReadingDefaults& defaults) {
  if (!IsDrawable(entity.kind) || !entity.valid()) return std::nullopt;
  Shape shape{entity.kind, entity.record};
  std::visit(
      [&](auto& r) {
        if constexpr (requires {
                        r.thickness;
                        r.colour;
                      }) {
          r.colour = ResolveColour(r.colour, defaults);
          r.thickness = ResolveThickness(r.thickness, defaults);
        }
      },
      shape.record);
  return shape;
}

void DrawShape(Canvas& canvas, const ViewTransform& view, const StrokeFont& font,
               const Shape& shape) {
  switch (shape.kind) {
    case EntityKind::kLine: {
      const auto& s = std::get<SegmentRecord>(shape.record);
      DrawSegment(canvas, view, s.colour, s.thickness, s.x1, s.y1, s.x2, s.y2);
      break;
    }
    case EntityKind::kRectangle: {
      const auto& s = std::get<SegmentRecord>(shape.record);
      DrawRectangle(canvas, view, s.colour, kRectangleFill, s.thickness, false, s.x1, s.y1, s.x2,
                    s.y2);
      break;
    }
    case EntityKind::kCircle: {
      const auto& c = std::get<CircleRecord>(shape.record);
      DrawArc(canvas, view, c.colour, c.thickness, c.x, c.y, c.radius, 0, kFullCircle);
      break;
    }
    case EntityKind::kArc: {
      const auto& a = std::get<ArcRecord>(shape.record);
      DrawArc(canvas, view, a.colour, a.thickness, a.x, a.y, a.radius, a.start_angle, a.end_angle);
      break;
    }
    case EntityKind::kText:
      DrawTextEntity(canvas, view, font, std::get<TextRecord>(shape.record));
      break;
    default:
      break;
  }
}

// Recolours the shape for a highlight, draws it and returns the thickness it had.
float DrawHighlight(Canvas& canvas, const ViewTransform& view, const StrokeFont& font, Shape& shape,
                    const ReadingDefaults& defaults) {
  float own = 0;
  std::visit(
      [&](auto& r) {
        if constexpr (requires {
                        r.thickness;
                        r.colour;
                      }) {
          own = r.thickness;
          r.colour = kHighlightColour;
          r.thickness = shape.kind == EntityKind::kCircle ? 3 * defaults.thickness : 0.0f;
        }
      },
      shape.record);
  DrawShape(canvas, view, font, shape);
  return own;
}

// Where the thickness label of a highlight stands.
Point LabelPoint(const Shape& shape) {
  if (const auto* s = std::get_if<SegmentRecord>(&shape.record)) {
    return {(s->x1 + s->x2) / 2, (s->y1 + s->y2) / 2};
  }
  if (const auto* c = std::get_if<CircleRecord>(&shape.record)) return {c->x, c->y};
  if (const auto* a = std::get_if<ArcRecord>(&shape.record)) return {a->x, a->y};
  const auto& t = std::get<TextRecord>(shape.record);
  return {t.x, t.y};
}

void Highlight(Canvas& canvas, const ViewTransform& view, const StrokeFont& font,
               std::optional<Shape> shape, const ReadingDefaults& defaults, bool with_thickness) {
  if (!shape) return;
  const float thickness = DrawHighlight(canvas, view, font, *shape, defaults);
  if (!with_thickness) return;
  const Point at = LabelPoint(*shape);
  LabelAtPoint(
      canvas, view, at.x, at.y,
      "gr = " + FormatPattern(FloatAsDecimal(thickness), kReadoutPattern, kWorkingSeparator));
}

// Calls move(x, y) on every defining point of the shape: both points of a line or rectangle, the
// centre of a circle or arc, the insertion point of a text.
template <typename Move>
void ForEachDefiningPoint(Shape& shape, Move move) {
  if (auto* s = std::get_if<SegmentRecord>(&shape.record)) {
    move(s->x1, s->y1);
    move(s->x2, s->y2);
  } else if (auto* c = std::get_if<CircleRecord>(&shape.record)) {
    move(c->x, c->y);
  } else if (auto* a = std::get_if<ArcRecord>(&shape.record)) {
    move(a->x, a->y);
  } else if (auto* t = std::get_if<TextRecord>(&shape.record)) {
    move(t->x, t->y);
  }
}

}  // namespace

void LabelAtPixel(Canvas& canvas, int px, int py, std::string_view text) {
  TextStyle style;
  style.colour = 0x000000;
  style.background = kLabelBackground;
  canvas.Text(px, py, text, style);
}

void LabelAtPoint(Canvas& canvas, const ViewTransform& view, double x, double y,
                  std::string_view text) {
  LabelAtPixel(canvas, view.WorldToScreenX(x), view.WorldToScreenY(y), text);
}

void MarkerLine(Canvas& canvas, int px1, int py1, int px2, int py2, int width) {
  // A wide pen shows solid anyway; setting it keeps a preview's dotted pen out of the marker.
  canvas.SetPenStyle(PenStyle::kSolid);
  canvas.SetPenColour(kMarkerColour);
  canvas.SetPenWidth(width);
  canvas.Line(px1, py1, px2, py2);
}

void MarkerRectangle(Canvas& canvas, int px1, int py1, int px2, int py2, Colour pen_colour,
                     int pen_width, Colour brush_colour, bool filled) {
  canvas.SetPenStyle(PenStyle::kSolid);
  canvas.SetPenColour(pen_colour);
  canvas.SetPenWidth(pen_width);
  canvas.SetBrushColour(brush_colour);
  canvas.SetBrushStyle(filled ? BrushStyle::kSolid : BrushStyle::kClear);
  canvas.Rectangle(px1, py1, px2, py2);
}

void HighlightEntity(Canvas& canvas, const ViewTransform& view, const StrokeFont& font,
                     const ParsedEntity& entity, const ReadingDefaults& defaults) {
  canvas.SetPenStyle(PenStyle::kDotted);
  Highlight(canvas, view, font, ResolveShape(entity, defaults), defaults, false);
}

void HighlightEntity(Canvas& canvas, const ViewTransform& view, const StrokeFont& font,
                     std::string_view line, const ReadingDefaults& defaults) {
  canvas.SetPenStyle(PenStyle::kDotted);
  Highlight(canvas, view, font, ReadShape(line, defaults), defaults, false);
}

void HighlightEntityWithThickness(Canvas& canvas, const ViewTransform& view, const StrokeFont& font,
                                  const ParsedEntity& entity, const ReadingDefaults& defaults) {
  canvas.SetPenStyle(PenStyle::kDotted);
  Highlight(canvas, view, font, ResolveShape(entity, defaults), defaults, true);
}

void HighlightEntityWithThickness(Canvas& canvas, const ViewTransform& view, const StrokeFont& font,
                                  std::string_view line, const ReadingDefaults& defaults) {
  canvas.SetPenStyle(PenStyle::kDotted);
  Highlight(canvas, view, font, ReadShape(line, defaults), defaults, true);
}

void PreviewMove(Canvas& canvas, const ViewTransform& view, const StrokeFont& font,
                 std::string_view line, const ReadingDefaults& defaults, double dx, double dy) {
  canvas.SetPenStyle(PenStyle::kDotted);
  std::optional<Shape> shape = ReadShape(line, defaults);
  if (!shape) return;
  ForEachDefiningPoint(*shape, [&](double& x, double& y) {
    x += dx;
    y += dy;
  });
  DrawShape(canvas, view, font, *shape);
}

void PreviewRotate(Canvas& canvas, const ViewTransform& view, const StrokeFont& font,
                   std::string_view line, const ReadingDefaults& defaults, double angle, double cx,
                   double cy) {
  canvas.SetPenStyle(PenStyle::kDotted);
  std::optional<Shape> shape = ReadShape(line, defaults);
  if (!shape || shape->kind == EntityKind::kRectangle) return;
  ForEachDefiningPoint(*shape, [&](double& x, double& y) {
    const Point turned = RotatePoint(cx, cy, x, y, angle);
    x = turned.x;
    y = turned.y;
  });
  if (auto* a = std::get_if<ArcRecord>(&shape->record)) {
    a->start_angle += angle;
    a->end_angle += angle;
  } else if (auto* t = std::get_if<TextRecord>(&shape->record)) {
    t->angle = static_cast<float>(t->angle + angle * kDegreesPerRadian);
  }
  DrawShape(canvas, view, font, *shape);
}

void PreviewStretch(Canvas& canvas, const ViewTransform& view, const StrokeFont& font,
                    std::string_view line, const ReadingDefaults& defaults,
                    const StretchWindow& window, double dx, double dy) {
  canvas.SetPenStyle(PenStyle::kDotted);
  std::optional<Shape> shape = ReadShape(line, defaults);
  if (!shape) return;
  ForEachDefiningPoint(*shape, [&](double& x, double& y) {
    if (window.left < x && x < window.right && window.bottom < y && y < window.top) {
      x += dx;
      y += dy;
    }
  });
  DrawShape(canvas, view, font, *shape);
}

void RubberCircle(Canvas& canvas, const ViewTransform& view, Colour colour, float thickness,
                  double cx, double cy, double r) {
  DrawArc(canvas, view, colour, thickness, cx, cy, r, 0, kFullCircle);
}

void WorkingText(Canvas& canvas, const ViewTransform& view, const StrokeFont& font,
                 std::string_view text, Colour colour, float thickness, double height, double width,
                 double angle, double x, double y) {
  DrawText(canvas, font, text.empty() ? std::string_view("Tekst") : text, colour,
           view.PenWidth(thickness), height, width, angle, view.WorldToScreenX(x),
           view.WorldToScreenY(y), view.scale(), view.view_width());
}

}  // namespace blok
