#include "view/previews.h"

#include <optional>
#include <string>

#include "geometry/geometry.h"
#include "model/angles.h"
#include "model/entity_visit.h"
#include "model/numbers.h"
#include "view/renderer.h"

namespace blok {
namespace {

// The entity as the last pass drew it. The pass's own defaults stay as they are: a colour or
// thickness command would change them.
void DrawAsPassDid(Canvas& canvas, const ViewTransform& view, const StrokeFont& font,
                   const ParsedEntity& entity, ReadingDefaults defaults) {
  DrawEntity(canvas, view, font, entity, defaults);
}

// Red with the thinnest pen, a circle with 3 x the default thickness so that it stands out from
// its own outline; with_thickness adds "gr = <the thickness it is drawn with>" at the midpoint,
// centre or insertion point.
void Highlight(Canvas& canvas, const ViewTransform& view, const StrokeFont& font,
               ParsedEntity entity, const ReadingDefaults& defaults, bool with_thickness) {
  canvas.SetPenStyle(PenStyle::kDotted);
  std::optional<float> own;
  Point label;
  const auto recolour = [&](auto& record, float thickness, double x, double y) {
    own = ResolveThickness(record.thickness, defaults);
    record.colour = kHighlightColour;
    record.thickness = thickness;
    label = {x, y};
  };
  const auto segment = [&](SegmentRecord& s) {
    recolour(s, 0, (s.x1 + s.x2) / 2, (s.y1 + s.y2) / 2);
  };
  const Overloaded highlight{
      [&](const MutableLineEntity& line) { segment(line.segment); },
      [&](const MutableRectangleEntity& rectangle) { segment(rectangle.segment); },
      [&](CircleRecord& c) { recolour(c, 3 * defaults.thickness, c.x, c.y); },
      [&](ArcRecord& a) { recolour(a, 0, a.x, a.y); },
      [&](TextRecord& t) { recolour(t, 0, t.x, t.y); },
      [](const ColourRecord&) {},
      [](const ThicknessRecord&) {},
  };
  VisitEntityToChange(entity, highlight);
  if (!own) return;
  DrawAsPassDid(canvas, view, font, entity, defaults);
  if (!with_thickness) return;
  LabelAtPoint(canvas, view, label.x, label.y,
               "gr = " + FormatPattern(FloatAsDecimal(*own), kReadoutPattern, kWorkingSeparator));
}

// Calls move(x, y) on every defining point of the entity: both points of a line or rectangle,
// the centre of a circle or arc, the insertion point of a text.
template <typename Move>
void ForEachDefiningPoint(ParsedEntity& entity, Move move) {
  const auto ends = [&](SegmentRecord& s) {
    move(s.x1, s.y1);
    move(s.x2, s.y2);
  };
  const Overloaded each{
      [&](const MutableLineEntity& line) { ends(line.segment); },
      [&](const MutableRectangleEntity& rectangle) { ends(rectangle.segment); },
      [&](CircleRecord& c) { move(c.x, c.y); },
      [&](ArcRecord& a) { move(a.x, a.y); },
      [&](TextRecord& t) { move(t.x, t.y); },
      [](const ColourRecord&) {},
      [](const ThicknessRecord&) {},
  };
  VisitEntityToChange(entity, each);
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
  Highlight(canvas, view, font, entity, defaults, false);
}

void HighlightEntity(Canvas& canvas, const ViewTransform& view, const StrokeFont& font,
                     std::string_view line, const ReadingDefaults& defaults) {
  Highlight(canvas, view, font, ParseEntity(line), defaults, false);
}

void HighlightEntityWithThickness(Canvas& canvas, const ViewTransform& view, const StrokeFont& font,
                                  const ParsedEntity& entity, const ReadingDefaults& defaults) {
  Highlight(canvas, view, font, entity, defaults, true);
}

void HighlightEntityWithThickness(Canvas& canvas, const ViewTransform& view, const StrokeFont& font,
                                  std::string_view line, const ReadingDefaults& defaults) {
  Highlight(canvas, view, font, ParseEntity(line), defaults, true);
}

void PreviewMove(Canvas& canvas, const ViewTransform& view, const StrokeFont& font,
                 std::string_view line, const ReadingDefaults& defaults, double dx, double dy) {
  PreviewMove(canvas, view, font, ParseEntity(line), defaults, dx, dy);
}

void PreviewMove(Canvas& canvas, const ViewTransform& view, const StrokeFont& font,
                 ParsedEntity entity, const ReadingDefaults& defaults, double dx, double dy) {
  canvas.SetPenStyle(PenStyle::kDotted);
  ForEachDefiningPoint(entity, [&](double& x, double& y) {
    x += dx;
    y += dy;
  });
  DrawAsPassDid(canvas, view, font, entity, defaults);
}

void PreviewRotate(Canvas& canvas, const ViewTransform& view, const StrokeFont& font,
                   ParsedEntity entity, const ReadingDefaults& defaults, double angle, double cx,
                   double cy) {
  canvas.SetPenStyle(PenStyle::kDotted);
  bool shown = true;
  const Overloaded turn_angles{
      // A turned rectangle is no longer axis-parallel.
      [&](const MutableRectangleEntity&) { shown = false; },
      [&](ArcRecord& a) {
        a.start_angle += angle;
        a.end_angle += angle;
      },
      [&](TextRecord& t) { t.angle = static_cast<float>(t.angle + angle * kDegreesPerRadian); },
      [](const MutableLineEntity&) {},
      [](const CircleRecord&) {},
      [](const ColourRecord&) {},
      [](const ThicknessRecord&) {},
  };
  VisitEntityToChange(entity, turn_angles);
  if (!shown) return;
  ForEachDefiningPoint(entity, [&](double& x, double& y) {
    const Point turned = RotatePoint(cx, cy, x, y, angle);
    x = turned.x;
    y = turned.y;
  });
  DrawAsPassDid(canvas, view, font, entity, defaults);
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
           view.WorldToScreenY(y), view.scale());
}

}  // namespace blok
