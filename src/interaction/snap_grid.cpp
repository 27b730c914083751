// The grid and ortho snaps (the cursor's world point rounded to the grid, or kept level or
// plumb with the last point), and the marker of a found object snap.
#include <cmath>

#include "interaction/snap.h"
#include "model/numbers.h"
#include "view/previews.h"
#include "view/renderer.h"
#include "view/view_transform.h"

namespace blok {
namespace {

constexpr int kMarkerSize = 7;
constexpr int kMarkerPen = 2;
constexpr int kSnapLabelOffset = 20;

void MarkerCircle(Canvas& overlay, int sx, int sy) {
  overlay.SetPenStyle(PenStyle::kSolid);
  overlay.SetPenColour(kMarkerColour);
  overlay.SetPenWidth(kMarkerPen);
  overlay.SetBrushStyle(BrushStyle::kClear);
  overlay.Ellipse(sx - kMarkerSize, sy - kMarkerSize, sx + kMarkerSize, sy + kMarkerSize);
}

double RoundHalfEven(double v) {
  const double below = std::floor(v);
  const double fraction = v - below;
  if (fraction < 0.5) return below;
  if (fraction > 0.5) return below + 1;
  return std::fmod(below, 2) == 0 ? below : below + 1;
}

}  // namespace

Point SnapSiatki(const ViewTransform& view, int x, int y, float step) {
  // The step as it was chosen ("0,1", not the single nearest it), so that far grid points stay
  // round numbers; and never finer than the grid is drawn.
  const double g = FloatAsDecimal(static_cast<float>(GridStep(step)));
  return {g * RoundHalfEven(view.ScreenToWorldX(x) / g),
          g * RoundHalfEven(view.ScreenToWorldY(y) / g)};
}

Point SnapOrto(const ViewTransform& view, int x, int y, Point reference) {
  const double wx = view.ScreenToWorldX(x);
  const double wy = view.ScreenToWorldY(y);
  if (std::fabs(wx - reference.x) > std::fabs(wy - reference.y)) return {wx, reference.y};
  return {reference.x, wy};
}

void DrawSnapMarker(Canvas& overlay, const ViewTransform& view, const WynikSnapu& snap) {
  if (!snap.found) return;
  const int sx = view.WorldToScreenX(snap.point.x);
  const int sy = view.WorldToScreenY(snap.point.y);
  const int k = kMarkerSize;
  switch (snap.kind) {
    case Snap::kEnd:
      MarkerRectangle(overlay, sx - k, sy - k, sx + k, sy + k, kMarkerColour, kMarkerPen,
                      kMarkerColour, false);
      break;
    case Snap::kIntersection:
      MarkerLine(overlay, sx - k, sy - k, sx + k, sy + k, kMarkerPen);
      MarkerLine(overlay, sx - k, sy + k, sx + k, sy - k, kMarkerPen);
      break;
    case Snap::kMiddle:
      MarkerLine(overlay, sx - k, sy + k, sx, sy - k, kMarkerPen);
      MarkerLine(overlay, sx + k, sy + k, sx, sy - k, kMarkerPen);
      MarkerLine(overlay, sx - k, sy + k, sx + k, sy + k, kMarkerPen);
      break;
    case Snap::kCentre:
      MarkerCircle(overlay, sx, sy);
      break;
    case Snap::kPerpendicular:
      // An upside-down L with the small square of a right angle in its corner.
      MarkerLine(overlay, sx - k, sy + k, sx - k, sy - k, kMarkerPen);
      MarkerLine(overlay, sx - k, sy - k, sx + k, sy - k, kMarkerPen);
      MarkerLine(overlay, sx - k, sy, sx, sy, kMarkerPen);
      MarkerLine(overlay, sx, sy, sx, sy - k, kMarkerPen);
      break;
    case Snap::kTangent:
      // A circle with the line that touches its top.
      MarkerCircle(overlay, sx, sy);
      MarkerLine(overlay, sx - k, sy - k, sx + k, sy - k, kMarkerPen);
      break;
    case Snap::kNearest:
      // An hourglass: two triangles point to point.
      MarkerLine(overlay, sx - k, sy - k, sx + k, sy - k, kMarkerPen);
      MarkerLine(overlay, sx + k, sy - k, sx - k, sy + k, kMarkerPen);
      MarkerLine(overlay, sx - k, sy + k, sx + k, sy + k, kMarkerPen);
      MarkerLine(overlay, sx + k, sy + k, sx - k, sy - k, kMarkerPen);
      break;
    case Snap::kQuadrant:
      MarkerLine(overlay, sx, sy - k, sx + k, sy, kMarkerPen);
      MarkerLine(overlay, sx + k, sy, sx, sy + k, kMarkerPen);
      MarkerLine(overlay, sx, sy + k, sx - k, sy, kMarkerPen);
      MarkerLine(overlay, sx - k, sy, sx, sy - k, kMarkerPen);
      break;
  }
  LabelAtPixel(overlay, sx, sy + kSnapLabelOffset, " " + Coordinates(snap.point));
}

}  // namespace blok
