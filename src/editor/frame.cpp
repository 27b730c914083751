#include "editor/frame.h"

#include <algorithm>

#include "view/renderer.h"

namespace blok {
namespace {

constexpr Colour kPanelFill = 0xE6E6E6;
constexpr Colour kPanelFrame = 0x0000FF;
constexpr int kPanelTextHeight = 12;
// The frame's top left corner, where its lines start and how far apart they are.
constexpr int kPanelLeft = 10;
constexpr int kPanelTop = 60;
constexpr int kLinesLeft = 35;
constexpr int kFirstLine = 70;
constexpr int kLineStep = 20;
// The frame keeps the same margin on the right and below as on the left and above, and is
// never smaller than this, so that a few short lines still sit in a panel of some size.
constexpr int kLeastRight = 175;
constexpr int kLeastBottom = 260;

}  // namespace

void DrawStartPanel(Canvas& canvas, const StartPanelText& text) {
  canvas.Text(kLinesLeft, 10, text.prompt, TextStyle{0x000000, std::nullopt, 0});
  const TextStyle style{0x000000, std::nullopt, kPanelTextHeight};
  int widest = 0;
  for (const std::string& line : text.lines)
    widest = std::max(widest, canvas.TextWidth(line, style));
  const int lines_bottom = kFirstLine + static_cast<int>(text.lines.size()) * kLineStep;
  const int right = std::max(kLeastRight, kLinesLeft + widest + (kLinesLeft - kPanelLeft));
  const int bottom = std::max(kLeastBottom, lines_bottom + (kFirstLine - kPanelTop));
  canvas.SetBrushStyle(BrushStyle::kSolid);
  canvas.SetBrushColour(kPanelFill);
  canvas.SetPenColour(kPanelFrame);
  canvas.SetPenWidth(1);
  canvas.SetPenStyle(PenStyle::kSolid);
  canvas.Rectangle(kPanelLeft, kPanelTop, right, bottom);
  int y = kFirstLine;
  for (const std::string& line : text.lines) {
    canvas.Text(kLinesLeft, y, line, style);
    y += kLineStep;
  }
}

void DrawEditorFrame(Editor& editor, Surface& surface) {
  const StrokeFont* font = editor.view().romans_font();
  if (font == nullptr) return;  // start-up failed: there is nothing to draw with
  FrameHooks hooks;
  hooks.overlays = [&editor](Canvas& canvas) {
    if (editor.ShowsStartPanel()) DrawStartPanel(canvas, StartPanel());
    editor.machine().DrawStateOverlay(canvas);  // only while switched on
  };
  const ViewSettings settings = editor.preferences().view_settings();
  editor.view().reading_defaults() = ReadingDefaults{};
  RenderFrame(surface.ImageCanvas(), editor.view().transform(), surface.width(), surface.height(),
              editor.block().drawing().records(), *font, settings, editor.view().reading_defaults(),
              hooks);
  surface.Present();
}

}  // namespace blok
