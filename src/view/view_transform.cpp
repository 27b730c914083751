#include "view/view_transform.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/angles.h"
#include "model/entity_visit.h"
#include "model/numbers.h"
#include "model/thickness.h"

namespace blok {
namespace {

// Truncation towards zero; a point far off the view still gives an int.
int TruncPixel(double value) {
  if (std::isnan(value)) return 0;
  constexpr double kLimit = ViewTransform::kMaxPixel;
  return static_cast<int>(std::clamp(value, -kLimit, kLimit));
}

void Widen(DrawingExtents& e, double x, double y) {
  const float sx = ToSingle(x);
  const float sy = ToSingle(y);
  e.xmin = std::min(e.xmin, sx);
  e.xmax = std::max(e.xmax, sx);
  e.ymin = std::min(e.ymin, sy);
  e.ymax = std::max(e.ymax, sy);
}

}  // namespace

float ToSingle(double value) {
  constexpr double kLargest = std::numeric_limits<float>::max();
  return static_cast<float>(std::clamp(value, -kLargest, kLargest));
}

DrawingExtents ComputeExtents(std::span<const ParsedEntity> records, const StrokeFont& font) {
  DrawingExtents e;
  const auto widen_segment = [&](const SegmentRecord& r) {
    Widen(e, r.x1, r.y1);
    Widen(e, r.x2, r.y2);
  };
  // An arc gives its whole circle: cheaper than finding which quadrants it crosses.
  const auto widen_circle = [&](double x, double y, double radius) {
    Widen(e, x - radius, y - radius);
    Widen(e, x + radius, y + radius);
  };
  for (const ParsedEntity& entity : records) {
    VisitEntity(entity,
                Overloaded{
                    [&](const LineEntity& line) { widen_segment(line.segment); },
                    [&](const RectangleEntity& rectangle) { widen_segment(rectangle.segment); },
                    [&](const CircleRecord& r) { widen_circle(r.x, r.y, r.radius); },
                    [&](const ArcRecord& r) { widen_circle(r.x, r.y, r.radius); },
                    [&](const TextRecord& r) {
                      // A segment a fifth of the height above the baseline stands in for the
                      // letters.
                      const double a = r.angle * kPi / 180;
                      const double lift = 0.2 * r.height;
                      const double x = r.x - lift * std::sin(a);
                      const double y = r.y + lift * std::cos(a);
                      const double length = TextLength(font, r.text, r.width);
                      Widen(e, x, y);
                      Widen(e, x + length * std::cos(a), y + length * std::sin(a));
                    },
                    [](const ColourRecord&) {},
                    [](const ThicknessRecord&) {},
                });
  }
  return e;
}

int ViewTransform::WorldToScreenX(double x) const {
  return TruncPixel((x - centre_x_) * 1000 / scale_ + origin_x_);
}

int ViewTransform::WorldToScreenY(double y) const {
  return TruncPixel(origin_y_ - (y - centre_y_) * 1000 / scale_);
}

double ViewTransform::ScreenToWorldX(int px) const {
  return (px - origin_x_) * scale_ / 1000 + centre_x_;
}

double ViewTransform::ScreenToWorldY(int py) const {
  return (origin_y_ - py) * scale_ / 1000 + centre_y_;
}

int ViewTransform::PenWidth(float thickness) const {
  const double width = 1000 / scale_ * StrokeWidth(thickness);
  if (!(width > 0)) return 0;  // also a negative thickness
  return static_cast<int>(std::min(width, double{kMaxPenWidth}));
}

std::string ViewTransform::CoordinateReadout(int px, int py, char separator) const {
  return "X=" + FormatPattern(ScreenToWorldX(px), kFixed3Pattern, separator) +
         " Y=" + FormatPattern(ScreenToWorldY(py), kFixed3Pattern, separator);
}

void ViewTransform::SetScale(double scale) {
  if (std::isnan(scale)) return;
  scale_ = std::clamp(scale, kMinScale, kMaxScale);
}

void ViewTransform::ZoomAbout(double factor, int px, int py) {
  const double x = ScreenToWorldX(px);
  const double y = ScreenToWorldY(py);
  SetScale(scale_ * factor);
  // The centre moves so that the same pixel maps back to the same world point.
  SetCentre(x - (px - origin_x_) * scale_ / 1000, y - (origin_y_ - py) * scale_ / 1000);
}

void ViewTransform::SetCentre(double x, double y) {
  if (!std::isfinite(x) || !std::isfinite(y)) return;
  centre_x_ = x;
  centre_y_ = y;
}

void ViewTransform::SetViewSize(int width, int height) {
  view_width_ = width;
  view_height_ = height;
  origin_x_ = width * 0.5;
  origin_y_ = height * 0.5;
}

double ViewTransform::FitWidth() const { return std::max(view_width_ - 5, 1); }
double ViewTransform::FitHeight() const { return std::max(view_height_ - 5, 1); }

void ViewTransform::FitToScreen(int screen_width, int screen_height) {
  SetCentre(0, 0);
  SetScale(std::max(20.0 * 1000 / std::max(screen_width - 200, 1),
                    20.0 * 1000 / std::max(screen_height - 150, 1)));
}

void ViewTransform::FitToView() {
  SetCentre(0, 0);
  SetScale(std::max(24.0 * 1000 / FitWidth(), 24.0 * 1000 / FitHeight()));
}

void ViewTransform::ZoomAll(const DrawingExtents& extents) {
  DrawingExtents e{.xmin = -11, .xmax = 11, .ymin = -11, .ymax = 11};
  if (!extents.empty()) {
    e.xmin = ToSingle(extents.xmin - 1.0);
    e.xmax = ToSingle(extents.xmax + 1.0);
    e.ymin = ToSingle(extents.ymin - 1.0);
    e.ymax = ToSingle(extents.ymax + 1.0);
  }
  const float fx = ToSingle(std::fabs(double{e.xmax} - e.xmin) * 1000 / FitWidth());
  const float fy = ToSingle(std::fabs(double{e.ymax} - e.ymin) * 1000 / FitHeight());
  SetCentre((double{e.xmin} + e.xmax) / 2, (double{e.ymin} + e.ymax) / 2);
  SetScale(fx >= fy ? fx : fy);
}

ViewResponse ViewTransform::MousePress(MouseButton button, int x, int y) {
  ViewResponse response;
  const bool middle = button == MouseButton::kMiddle;
  if (middle || (button == MouseButton::kLeft && pan_mode_)) {
    if (middle) {
      pan_mode_ = true;
      response.cursor = ViewCursor::kHand;
    }
    pan_start_x_ = x;
    pan_start_y_ = static_cast<double>(view_height_) - y;
    pan_saved_x_ = centre_x_;
    pan_saved_y_ = centre_y_;
    panning_ = true;
    response.taken = true;
  } else if (button == MouseButton::kLeft && window_mode_) {
    window_start_x_ = window_end_x_ = x;
    window_start_y_ = window_end_y_ = y;
    window_dragging_ = true;
    response.taken = true;
  }
  return response;
}

ViewResponse ViewTransform::MouseMove(int x, int y) {
  if (panning_) {
    PanTo(x, y);
    ViewResponse response;
    response.taken = response.redraw = true;
    return response;
  }
  if (window_dragging_) {
    window_end_x_ = x;
    window_end_y_ = y;
    ViewResponse response;
    response.taken = response.rubber_band = true;
    return response;
  }
  return {};
}

ViewResponse ViewTransform::MouseRelease(MouseButton button, int x, int y) {
  ViewResponse response;
  if (pan_mode_) {
    if (panning_) PanTo(x, y);
    pan_mode_ = false;
    panning_ = false;
    response.taken = true;
  }
  if (button == MouseButton::kLeft && window_dragging_) {
    ApplyZoomWindow(x, y);
    window_mode_ = false;
    window_dragging_ = false;
    response.taken = true;
  }
  if (response.taken) {
    response.redraw = true;
    response.cursor = window_mode_ ? ViewCursor::kDrag : ViewCursor::kCross;
  }
  return response;
}

void ViewTransform::DrawZoomWindow(Canvas& canvas) const {
  if (!window_dragging_) return;
  canvas.FocusRectangle(
      std::min(window_start_x_, window_end_x_), std::min(window_start_y_, window_end_y_),
      std::max(window_start_x_, window_end_x_), std::max(window_start_y_, window_end_y_));
}

void ViewTransform::PanTo(int x, int y) {
  SetCentre(pan_saved_x_ + (static_cast<double>(pan_start_x_) - x) * scale_ / 1000,
            pan_saved_y_ + (pan_start_y_ + y - view_height_) * scale_ / 1000);
}

void ViewTransform::ApplyZoomWindow(int x, int y) {
  const int left = std::min(window_start_x_, x);
  const int right = std::max(window_start_x_, x);
  const int top = std::min(window_start_y_, y);
  const int bottom = std::max(window_start_y_, y);
  // A click rather than a drag would give a scale of (nearly) zero. The sides of a window
  // dragged far off the paint box do not fit an int.
  if (static_cast<double>(right) - left < kMinZoomWindow &&
      static_cast<double>(bottom) - top < kMinZoomWindow) {
    return;
  }
  const double xl = ScreenToWorldX(left);
  const double xr = ScreenToWorldX(right);
  const double yt = ScreenToWorldY(top);
  const double yb = ScreenToWorldY(bottom);
  const float fx = ToSingle(std::fabs(xr - xl) * 1000 / FitWidth());
  const float fy = ToSingle(std::fabs(yb - yt) * 1000 / FitHeight());
  SetCentre(xl + (xr - xl) / 2, yt + (yb - yt) / 2);
  // When the width decides, the box's aspect (height over width) scales it.
  SetScale(fx > fy ? fx * (static_cast<double>(view_height_) / std::max(view_width_, 1)) : fy);
}

}  // namespace blok
