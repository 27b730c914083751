#pragma once

#include <filesystem>
#include <functional>
#include <memory>

#include "document/drawing.h"
#include "editor/ui.h"
#include "model/error.h"
#include "view/stroke_font.h"
#include "view/surface.h"
#include "view/view_transform.h"

namespace blok {

// How the view follows the user, chosen in the Widok menu; both off keeps the view still
// unless asked: the wheel zooms about the middle, a loaded block is drawn where the view is.
struct ViewOptions {
  bool zoom_at_cursor = false;  // the wheel keeps the point under the cursor where it is
  bool fit_after_load = false;  // a loaded block is fitted into the view
};

// What the paint box Podglad shows of the drawing: the view transform with its zoom and pan,
// the stroke fonts, the reading defaults of the last redraw, and when a full redraw is due.
class DrawingView {
 public:
  DrawingView(Ui& ui, Surface& surface, const Drawing& drawing);

  // The stroke fonts from Dane/; the first that is missing or damaged is the error.
  Result<void> LoadFonts(const std::filesystem::path& data_dir);
  // Loaded by LoadFonts.
  const StrokeFont* romans_font() const { return romans_font_.get(); }
  const StrokeFont* greeks_font() const { return greeks_font_.get(); }
  ViewTransform& transform() { return transform_; }
  const ViewTransform& transform() const { return transform_; }
  ReadingDefaults& reading_defaults() { return reading_defaults_; }
  Surface& surface() { return surface_; }

  // A full redraw is due: previews are wiped now, the frame is drawn before the next paint.
  void Redraw();
  bool frame_pending() const { return frame_pending_; }
  // Whether a frame was due; it is no longer.
  bool TakePendingFrame();
  // The first show of the window: the view fitted to the paint box and drawn.
  void FirstShow();
  ViewOptions& options() { return options_; }
  // Positive notches zoom in; the cursor (x, y) counts only with zoom_at_cursor.
  void Wheel(int notches, int x = 0, int y = 0);
  // A block was loaded: fitted into the view with fit_after_load, else redrawn as it is.
  void BlockLoaded();
  void ZoomIn();
  void ZoomOut();
  void ZoomAll();
  void BeginZoomWindow();
  void BeginPan();
  // What a pan or zoom made of a mouse event: the cursor, a redraw, the rubber band.
  void Apply(const ViewResponse& response);

 private:
  Ui& ui_;
  Surface& surface_;
  const Drawing& drawing_;
  bool frame_pending_ = false;
  ViewOptions options_;
  ViewTransform transform_;
  ReadingDefaults reading_defaults_;
  std::unique_ptr<StrokeFont> romans_font_;
  std::unique_ptr<StrokeFont> greeks_font_;
};

}  // namespace blok
