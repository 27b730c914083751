#pragma once

#include <string_view>

#include "model/entity.h"
#include "model/parsed_entity.h"
#include "view/canvas.h"
#include "view/stroke_font.h"
#include "view/view_transform.h"

// Transient drawing on the paint box's overlay: highlights, previews of the selection, markers
// and labels. Wiping the overlay removes all of it; none of it touches the drawing.
//
// Rubber lines and arcs of the step machine are DrawSegment and DrawArc of view/renderer.h drawn
// on the overlay; RubberCircle and WorkingText below cover the two forms those lack.

namespace blok {

inline constexpr Colour kHighlightColour = 0x0000FF;
inline constexpr Colour kMarkerColour = 0x00FFFF;
inline constexpr Colour kLabelBackground = 0x00FFFF;

// Black text on solid yellow, its top left corner at the pixel (or at the world point's pixel).
void LabelAtPixel(Canvas& canvas, int px, int py, std::string_view text);
void LabelAtPoint(Canvas& canvas, const ViewTransform& view, double x, double y,
                  std::string_view text);

// Yellow marker strokes in a solid pen of the given width.
void MarkerLine(Canvas& canvas, int px1, int py1, int px2, int py2, int width);
// The brush is clear unless filled.
void MarkerRectangle(Canvas& canvas, int px1, int py1, int px2, int py2, Colour pen_colour,
                     int pen_width, Colour brush_colour, bool filled);

// The entity routines. Each sets a dotted pen first and draws nothing for a line that is not an
// entity or does not read. Lines are read with the defaults of the last drawing pass, so that an
// entity without its own colour or thickness shows as it is drawn.

// In red with the thinnest pen; a circle with 3 x the default thickness so it stands out from
// its own outline.
void HighlightEntity(Canvas& canvas, const ViewTransform& view, const StrokeFont& font,
                     const ParsedEntity& entity, const ReadingDefaults& defaults);
void HighlightEntity(Canvas& canvas, const ViewTransform& view, const StrokeFont& font,
                     std::string_view line, const ReadingDefaults& defaults);
// The highlight and "gr = <thickness>" at the midpoint, centre or insertion point.
void HighlightEntityWithThickness(Canvas& canvas, const ViewTransform& view, const StrokeFont& font,
                                  const ParsedEntity& entity, const ReadingDefaults& defaults);
void HighlightEntityWithThickness(Canvas& canvas, const ViewTransform& view, const StrokeFont& font,
                                  std::string_view line, const ReadingDefaults& defaults);

// A selected line in its own colour and thickness, shifted by (dx, dy).
void PreviewMove(Canvas& canvas, const ViewTransform& view, const StrokeFont& font,
                 std::string_view line, const ReadingDefaults& defaults, double dx, double dy);
void PreviewMove(Canvas& canvas, const ViewTransform& view, const StrokeFont& font,
                 ParsedEntity entity, const ReadingDefaults& defaults, double dx, double dy);
// Turned by angle radians about (cx, cy); a rectangle cannot stay axis-parallel and is not shown.
void PreviewRotate(Canvas& canvas, const ViewTransform& view, const StrokeFont& font,
                   ParsedEntity entity, const ReadingDefaults& defaults, double angle, double cx,
                   double cy);

// A whole circle as the renderer draws one; the pen style is left as it is.
void RubberCircle(Canvas& canvas, const ViewTransform& view, Colour colour, float thickness,
                  double cx, double cy, double r);
// The text being placed, at (x, y) turned by angle degrees; an empty one shows as "Tekst" so
// that there is something to place.
void WorkingText(Canvas& canvas, const ViewTransform& view, const StrokeFont& font,
                 std::string_view text, Colour colour, float thickness, double height, double width,
                 double angle, double x, double y);

}  // namespace blok
