#pragma once

#include <span>
#include <string>

#include "document/drawing.h"
#include "geometry/geometry.h"
#include "interaction/snap_kind.h"
#include "model/parsed_entity.h"
#include "view/canvas.h"
#include "view/stroke_font.h"
#include "view/view_transform.h"

// Point input from the mouse: the cursor pixel becomes a world point, caught by an object snap,
// else by the grid, else by ortho, and the overlay shows which of them took it.

namespace blok {

// The snap switches of the bottom bar.
struct SnapSettings {
  bool grid = false;
  bool ortho = false;
  bool end = false;           // "Koniec": end points and corners
  bool middle = false;        // "Środek": midpoints of lines and rectangle sides
  bool centre = false;        // "Centrum": centres of circles and arcs, caught at the outline
  bool intersection = false;  // "Przecięcie": crossing of the two entities nearest the cursor
  // From the last point, when there is one: the foot of the perpendicular to a line, a
  // rectangle's side, a circle or an arc, and the point touching a circle or an arc.
  bool perpendicular = false;  // "Prostopadły"
  bool tangent = false;        // "Styczny"
  bool nearest = false;        // "Najbliższy": the point of an entity nearest the cursor
  bool quadrant = false;       // "Kwadrant": 0, 90, 180 and 270 degrees of circles and arcs
  float grid_step = 1;
};

// The point ortho keeps new points level or plumb with, once there is one.
struct OrthoReference {
  Point point;
  bool valid = false;
};

// An object snap: the world point and its kind when found.
struct WynikSnapu {
  Point point;
  bool found = false;
  Snap kind = Snap::kEnd;
};

// A snap candidate counts only when it lies closer than this to the cursor, in pixels.
inline constexpr float kSnapReach = 10;

// The object snap nearest the cursor pixel (x, y). The intersection of the two entities nearest
// the cursor comes first; then the drawing's lines in order, each offering its points as the
// switches allow; then, in the same way, the perpendicular feet, the tangent points and the
// quadrants, each kind in turn. A later candidate wins only when strictly nearer, so of equal
// ones the first. The nearest point on an entity counts only when nothing else was caught.
// Perpendicular and tangent need the last point; without a valid one they offer nothing.
WynikSnapu SzukajSnapu(std::span<const ParsedEntity> records, const ViewTransform& view,
                       const StrokeFont& font, const SnapSettings& settings, int x, int y,
                       const OrthoReference& last = {});
// The same over a drawing: its compact boxes are read first, so that only the records of the
// entities near the cursor are.
WynikSnapu SzukajSnapu(const Drawing& drawing, const ViewTransform& view, const StrokeFont& font,
                       const SnapSettings& settings, int x, int y, const OrthoReference& last = {});

// The grid point nearest the cursor's world point, halves to the even neighbour; the grid is
// anchored at the origin and its step is the one the grid is drawn with.
Point SnapSiatki(const ViewTransform& view, int x, int y, float step);

// The cursor's world point brought level with the reference, or plumb with it when it is at
// least as far off vertically.
Point SnapOrto(const ViewTransform& view, int x, int y, Point reference);

// The point taken for a mouse position: object snap, else grid, else ortho (with a reference),
// else the cursor itself; draws on the overlay the marker and the coordinate label saying which.
Point PunktWskazany(Canvas& overlay, std::span<const ParsedEntity> records,
                    const ViewTransform& view, const StrokeFont& font, const SnapSettings& settings,
                    const OrthoReference& ortho, int x, int y);
// The same without ortho, for the first point of a command.
Point PunktBezOrto(Canvas& overlay, std::span<const ParsedEntity> records,
                   const ViewTransform& view, const StrokeFont& font, const SnapSettings& settings,
                   int x, int y);
// Both over a drawing, its compact boxes read first.
Point PunktWskazany(Canvas& overlay, const Drawing& drawing, const ViewTransform& view,
                    const StrokeFont& font, const SnapSettings& settings,
                    const OrthoReference& ortho, int x, int y);
Point PunktBezOrto(Canvas& overlay, const Drawing& drawing, const ViewTransform& view,
                   const StrokeFont& font, const SnapSettings& settings, int x, int y);

// "X=.. Y=.." of a point, as the cursor's and the marker's labels show it.
std::string Coordinates(Point p);

// The marker of a found snap at its pixel, with " X=.. Y=.." below it.
void DrawSnapMarker(Canvas& overlay, const ViewTransform& view, const WynikSnapu& snap);

}  // namespace blok
