#include <algorithm>

#include "editor/editor.h"
#include "editor/frame.h"

namespace blok {
namespace {

// A mouse grabbed far off the paint box still reports where it is. Beyond the view's pixel bound
// a point is as far off as any, and within it labels and markers offset from the cursor, and
// differences of pixels, still fit an int.
int ClampPixel(int p) { return std::clamp(p, -ViewTransform::kMaxPixel, ViewTransform::kMaxPixel); }

}  // namespace

void Editor::PaintPendingFrame() {
  if (view_.TakePendingFrame()) DrawEditorFrame(*this, surface_);
}

void Editor::MouseDown(MouseButton button, int x, int y, bool adding) {
  x = ClampPixel(x);
  y = ClampPixel(y);
  const ViewResponse response = view_.transform().MousePress(button, x, y);
  view_.Apply(response);
  // What pan or zoom took is theirs alone: no point, no selection.
  if (response.taken || button != MouseButton::kLeft || !started_) return;
  machine_.Press(x, y, adding);
}

void Editor::MouseMove(int x, int y) {
  x = ClampPixel(x);
  y = ClampPixel(y);
  ui_.SetStatusText(view_.transform().CoordinateReadout(x, y));
  const ViewResponse response = view_.transform().MouseMove(x, y);
  view_.Apply(response);
  if (response.taken || !started_) return;
  machine_.Move(x, y);
}

bool Editor::MouseUp(MouseButton button, int x, int y, bool adding) {
  x = ClampPixel(x);
  y = ClampPixel(y);
  const ViewResponse response = view_.transform().MouseRelease(button, x, y);
  view_.Apply(response);
  if (!response.taken && button == MouseButton::kLeft && started_) machine_.Release(x, y, adding);
  return response.taken;
}

// The double click picks at the last press: Qt gives it no press of its own.
void Editor::DoubleClick(int, int) {
  if (started_) machine_.DoubleClick();
}

void Editor::DropBlock(const std::string& name, int x, int y) {
  if (started_) machine_.DropBlock(name, ClampPixel(x), ClampPixel(y));
}

void Editor::CommandEntered(std::string text) {
  preferences_.RememberEntry(text);
  if (text == " ") text = preferences_.ostatnie_polecenie().value_or("");
  WykonajPolecenie(std::move(text));
}

void Editor::WykonajPolecenie(std::string entry) { machine_.WykonajPolecenie(entry); }

void Editor::DeleteKey() {
  // During u's selection the key ends it; otherwise it starts u.
  if (machine_.Runs("U") && machine_.awaits() == Awaited::kSelection) {
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
      preferences_.SetGridSnap(!preferences_.settings().grid_snap);
      break;
    case Key::kF8:
      preferences_.SetOrtho(!preferences_.settings().ortho);
      break;
    case Key::kEscape:
      AnulujPolecenie();
      messages_.Komunikat("Anulowano.");
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
  messages_.Komunikat("Anulowano.");
  view_.Redraw();
}

}  // namespace blok
