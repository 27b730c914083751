#pragma once

#include <limits>
#include <optional>
#include <span>
#include <string>

#include "model/drawing_extents.h"
#include "model/entity.h"
#include "model/parsed_entity.h"
#include "view/canvas.h"
#include "view/stroke_font.h"

namespace blok {

// Rounds to a 32-bit float as the file format's singles are, saturating at the largest finite
// float instead of overflowing.
float ToSingle(double value);

// The box round every valid entity of the drawing (Drawing::records()): both points of a line
// or rectangle, the whole circle of a circle or arc, and for a text a segment 0.2 x height above
// its baseline as long as the text's estimated length. Colour, thickness and unreadable lines
// add nothing.
DrawingExtents ComputeExtents(std::span<const ParsedEntity> records, const StrokeFont& font);

enum class MouseButton { kLeft, kMiddle, kRight };
enum class ViewCursor { kCross, kDrag, kHand };

// What the window does after the view handled a mouse event.
struct ViewResponse {
  bool taken = false;                // the event belonged to a pan or a zoom window
  bool redraw = false;               // the view changed: full redraw
  bool rubber_band = false;          // restore the paint box, then DrawZoomWindow on it
  std::optional<ViewCursor> cursor;  // the paint box's new cursor
  bool operator==(const ViewResponse&) const = default;
};

// The mapping between world coordinates (y up) and pixels of the paint box (y down), and the
// zoom and pan that change it. Every pixel comes from truncation towards zero.
class ViewTransform {
 public:
  // Bounds of the scale (world units per 1000 pixels). Below the lower one a pixel is finer
  // than the single-precision values arcs and texts are drawn with; above the upper one the
  // whole drawing area is a fraction of a pixel.
  static constexpr double kMinScale = 1e-3;
  static constexpr double kMaxScale = 1e9;
  // Pixels are clamped to this, so that a far point still converts to an int and the
  // difference of two pixels does too.
  static constexpr int kMaxPixel = 1'000'000'000;
  static constexpr int kMaxPenWidth = 16384;
  // A zoom window whose sides are both shorter than this is a click, not a window.
  static constexpr int kMinZoomWindow = 4;

  int WorldToScreenX(double x) const;
  int WorldToScreenY(double y) const;
  double ScreenToWorldX(int px) const;
  double ScreenToWorldY(int py) const;

  // Pixels of a thickness t: trunc(1000 / scale x t x 0.1), at least 0 (the thinnest line).
  int PenWidth(float thickness) const;

  // "X=12,500 Y=-3,250" for the status bar: the world point under the pixel.
  std::string CoordinateReadout(int px, int py, char separator = ',') const;

  double scale() const { return scale_; }
  double centre_x() const { return centre_x_; }
  double centre_y() const { return centre_y_; }
  double origin_x() const { return origin_x_; }
  double origin_y() const { return origin_y_; }
  int view_width() const { return view_width_; }
  int view_height() const { return view_height_; }

  // Kept within [kMinScale, kMaxScale]; a value that is not a number is ignored.
  void SetScale(double scale);
  // Ignored unless both are finite.
  void SetCentre(double x, double y);
  // The paint box's size; the screen origin goes to its middle.
  void SetViewSize(int width, int height);

  // Start-up: the box -10..10 fitted into the screen less room for the window's controls.
  void FitToScreen(int screen_width, int screen_height);
  // First show: the box -12..12 fitted into the paint box, centred on the origin.
  void FitToView();

  void ZoomIn() { SetScale(scale_ * 0.9); }
  void ZoomOut() { SetScale(scale_ * 1.1); }
  // A zoom in (or out) that keeps the world point under the pixel where it is.
  void ZoomInAbout(int px, int py) { ZoomAbout(0.9, px, py); }
  void ZoomOutAbout(int px, int py) { ZoomAbout(1.1, px, py); }
  // Fits the extents grown by one unit on every side; an empty drawing shows -11..11.
  void ZoomAll(const DrawingExtents& extents);

  void BeginZoomWindow() { window_mode_ = true; }  // the window shows the drag cursor
  void BeginPan() { pan_mode_ = true; }            // the window shows the hand cursor

  // Mouse events of the paint box, before the command machine sees them.
  ViewResponse MousePress(MouseButton button, int x, int y);
  ViewResponse MouseMove(int x, int y);
  ViewResponse MouseRelease(MouseButton button, int x, int y);
  // The rubber band of a zoom window being dragged.
  void DrawZoomWindow(Canvas& canvas) const;

  bool pan_mode() const { return pan_mode_; }
  bool panning() const { return panning_; }
  bool window_mode() const { return window_mode_; }
  bool window_dragging() const { return window_dragging_; }

 private:
  void PanTo(int x, int y);
  void ZoomAbout(double factor, int px, int py);
  void ApplyZoomWindow(int x, int y);
  // The paint box less the 5-pixel margin that every fit leaves, never zero.
  double FitWidth() const;
  double FitHeight() const;

  double scale_ = 20;
  double centre_x_ = 0;
  double centre_y_ = 0;
  double origin_x_ = 0;
  double origin_y_ = 0;
  int view_width_ = 0;
  int view_height_ = 0;

  int pan_start_x_ = 0;
  // Counted from the bottom of the paint box: from a press far above it, beyond an int.
  double pan_start_y_ = 0;
  double pan_saved_x_ = 0;
  double pan_saved_y_ = 0;
  // Kept apart from the pan's start so that a middle-button pan during a window drag does not
  // move the window's corner.
  int window_start_x_ = 0;
  int window_start_y_ = 0;
  int window_end_x_ = 0;
  int window_end_y_ = 0;
  bool pan_mode_ = false;
  bool panning_ = false;
  bool window_mode_ = false;
  bool window_dragging_ = false;
};

}  // namespace blok
