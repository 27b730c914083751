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
  // Positive notches zoom in.
  void Wheel(int notches);
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
  ViewTransform transform_;
  ReadingDefaults reading_defaults_;
  std::unique_ptr<StrokeFont> romans_font_;
  std::unique_ptr<StrokeFont> greeks_font_;
};

}  // namespace blok
