#include <algorithm>
#include <cstdlib>

#include "editor/editor.h"
#include "editor/frame.h"

namespace blok {
namespace {

CursorShape ToCursorShape(ViewCursor cursor) {
  switch (cursor) {
    case ViewCursor::kDrag:
      return CursorShape::kDrag;
    case ViewCursor::kHand:
      return CursorShape::kHand;
    case ViewCursor::kCross:
      break;
  }
  return CursorShape::kCross;
}

// A mouse grabbed far off the paint box still reports where it is. Beyond the view's pixel bound
// a point is as far off as any, and within it labels and markers offset from the cursor, and
// differences of pixels, still fit an int.
int ClampPixel(int p) { return std::clamp(p, -ViewTransform::kMaxPixel, ViewTransform::kMaxPixel); }

}  // namespace

void Editor::FirstShow() {
  view_.SetViewSize(surface_.width(), surface_.height());
  view_.FitToView();
  Redraw();
}

void Editor::PaintPendingFrame() {
  if (!frame_pending_) return;
  frame_pending_ = false;
  DrawEditorFrame(*this, surface_);
}

void Editor::ApplyViewResponse(const ViewResponse& response) {
  if (response.cursor) ui_.SetCursor(ToCursorShape(*response.cursor));
  if (response.redraw) Redraw();
  if (response.rubber_band) {
    surface_.RestoreView();
    view_.DrawZoomWindow(surface_.OverlayCanvas());
  }
}

void Editor::MouseDown(MouseButton button, int x, int y) {
  x = ClampPixel(x);
  y = ClampPixel(y);
  const ViewResponse response = view_.MousePress(button, x, y);
  ApplyViewResponse(response);
  // What pan or zoom took is theirs alone: no point, no selection.
  if (response.taken || button != MouseButton::kLeft || !started_) return;
  machine_.Press(x, y);
}

void Editor::MouseMove(int x, int y) {
  x = ClampPixel(x);
  y = ClampPixel(y);
  ui_.SetStatusText(view_.CoordinateReadout(x, y));
  const ViewResponse response = view_.MouseMove(x, y);
  ApplyViewResponse(response);
  if (response.taken || !started_) return;
  machine_.Move(x, y);
}

bool Editor::MouseUp(MouseButton button, int x, int y) {
  x = ClampPixel(x);
  y = ClampPixel(y);
  const ViewResponse response = view_.MouseRelease(button, x, y);
  ApplyViewResponse(response);
  if (!response.taken && button == MouseButton::kLeft && started_) machine_.Release(x, y);
  return response.taken;
}

// The double click picks at the last press: Qt gives it no press of its own.
void Editor::DoubleClick(int, int) {
  if (started_) machine_.DoubleClick();
}

void Editor::Wheel(int notches) {
  // A few hundred notches take any scale to its bound, so more zoom no further; counting them
  // all would stall the window (and the magnitude of INT_MIN does not fit an int).
  constexpr int kMostNotches = 1000;
  notches = std::clamp(notches, -kMostNotches, kMostNotches);
  for (int i = 0; i < std::abs(notches); ++i) notches > 0 ? view_.ZoomIn() : view_.ZoomOut();
  Redraw();
}

void Editor::ZoomIn() {
  view_.ZoomIn();
  Redraw();
}

void Editor::ZoomOut() {
  view_.ZoomOut();
  Redraw();
}

void Editor::ZoomAll() {
  if (romans_font_ == nullptr) return;
  view_.ZoomAll(ComputeExtents(drawing_.records(), *romans_font_));
  Redraw();
}

void Editor::BeginZoomWindow() {
  view_.BeginZoomWindow();
  ui_.SetCursor(CursorShape::kDrag);
}

void Editor::BeginPan() {
  view_.BeginPan();
  ui_.SetCursor(CursorShape::kHand);
}

void Editor::CommandEntered(std::string text) {
  history_.Add(text);
  if (text == " ") text = ostatnie_polecenie_.value_or("");
  WykonajPolecenie(std::move(text));
}

void Editor::WykonajPolecenie(std::string entry) { machine_.WykonajPolecenie(entry); }

void Editor::DeleteKey() {
  if (wskaz().usun) {
    CommandKey(Key::kEscape);
  } else {
    ControlCommand("u");
  }
}

void Editor::ControlCommand(std::string entry) {
  machine_.WykonajPolecenie(entry, /*from_control=*/true);
}

void Editor::CommandKey(Key key) {
  switch (key) {
    case Key::kF1:
      ControlCommand("?");
      break;
    case Key::kF4:
      SetGridSnap(!settings_.grid_snap);
      break;
    case Key::kF8:
      SetOrtho(!settings_.ortho);
      break;
    case Key::kEscape:
      AnulujPolecenie();
      Komunikat("Anulowano.");
      // The preview of the abandoned step would stay until the mouse moves.
      surface_.RestoreView();
      break;
  }
}

void Editor::WprowadzDxDy(std::string_view dx, std::string_view dy, bool polar) {
  machine_.WprowadzDxDy(dx, dy, polar);
}

void Editor::Rezygnuj() {
  AnulujPolecenie();
  Komunikat("Anulowano.");
  Redraw();
}

}  // namespace blok
