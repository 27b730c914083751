#include "editor/drawing_view.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace blok {
namespace {

constexpr std::string_view kRomansFontFile = "Dane/Romans100.Lzs";
constexpr std::string_view kGreeksFontFile = "Dane/Greeks100.Lzs";

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

}  // namespace

DrawingView::DrawingView(Ui& ui, Surface& surface, const Drawing& drawing)
    : ui_(ui), surface_(surface), drawing_(drawing) {}

Result<void> DrawingView::LoadFonts(const std::filesystem::path& data_dir) {
  for (auto [file, font] :
       {std::pair{kRomansFontFile, &romans_font_}, std::pair{kGreeksFontFile, &greeks_font_}}) {
    auto loaded = LoadStrokeFont(data_dir / file);
    if (!loaded) return std::unexpected(loaded.error());
    *font = std::make_unique<StrokeFont>(*loaded);
  }
  return {};
}

void DrawingView::Redraw() {
  surface_.RestoreView();
  frame_pending_ = true;
  ui_.Redraw();
  ui_.FocusCommandEntry();
}

bool DrawingView::TakePendingFrame() {
  const bool pending = frame_pending_;
  frame_pending_ = false;
  return pending;
}

void DrawingView::FirstShow() {
  transform_.SetViewSize(surface_.width(), surface_.height());
  transform_.FitToView();
  Redraw();
}

void DrawingView::Apply(const ViewResponse& response) {
  if (response.cursor) ui_.SetCursor(ToCursorShape(*response.cursor));
  if (response.redraw) Redraw();
  if (response.rubber_band) {
    surface_.RestoreView();
    transform_.DrawZoomWindow(surface_.OverlayCanvas());
  }
}

void DrawingView::Wheel(int notches, int x, int y) {
  // A few hundred notches take any scale to its bound, so more zoom no further; counting them
  // all would stall the window (and the magnitude of INT_MIN does not fit an int).
  constexpr int kMostNotches = 1000;
  notches = std::clamp(notches, -kMostNotches, kMostNotches);
  for (int i = 0; i < std::abs(notches); ++i) {
    if (options_.zoom_at_cursor) {
      notches > 0 ? transform_.ZoomInAbout(x, y) : transform_.ZoomOutAbout(x, y);
    } else {
      notches > 0 ? transform_.ZoomIn() : transform_.ZoomOut();
    }
  }
  Redraw();
}

void DrawingView::BlockLoaded() {
  if (options_.fit_after_load && romans_font_ != nullptr) return ZoomAll();
  Redraw();
}

void DrawingView::ZoomIn() {
  transform_.ZoomIn();
  Redraw();
}

void DrawingView::ZoomOut() {
  transform_.ZoomOut();
  Redraw();
}

void DrawingView::ZoomAll() {
  if (romans_font_ == nullptr) return;
  transform_.ZoomAll(ComputeExtents(drawing_.records(), *romans_font_));
  Redraw();
}

void DrawingView::BeginZoomWindow() {
  transform_.BeginZoomWindow();
  ui_.SetCursor(CursorShape::kDrag);
}

void DrawingView::BeginPan() {
  transform_.BeginPan();
  ui_.SetCursor(CursorShape::kHand);
}

}  // namespace blok
