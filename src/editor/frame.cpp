#include "editor/frame.h"

#include "view/renderer.h"

namespace blok {
namespace {

constexpr Colour kPanelFill = 0xE6E6E6;
constexpr Colour kPanelFrame = 0x0000FF;
constexpr int kPanelTextHeight = 12;

}  // namespace

void DrawStartPanel(Canvas& canvas, const StartPanelText& text) {
  canvas.Text(35, 10, text.prompt, TextStyle{0x000000, std::nullopt, 0});
  canvas.SetBrushStyle(BrushStyle::kSolid);
  canvas.SetBrushColour(kPanelFill);
  canvas.SetPenColour(kPanelFrame);
  canvas.SetPenWidth(1);
  canvas.SetPenStyle(PenStyle::kSolid);
  canvas.Rectangle(10, 60, 175, 260);
  int y = 70;
  for (const std::string& line : text.lines) {
    canvas.Text(35, y, line, TextStyle{0x000000, std::nullopt, kPanelTextHeight});
    y += 20;
  }
}

void DrawEditorFrame(Editor& editor, Surface& surface) {
  const StrokeFont* font = editor.romans_font();
  if (font == nullptr) return;  // start-up failed: there is nothing to draw with
  FrameHooks hooks;
  hooks.overlays = [&editor](Canvas& canvas) {
    if (editor.ShowsStartPanel()) DrawStartPanel(canvas, Editor::StartPanel());
    editor.machine().DrawStateOverlay(canvas);  // only while switched on
  };
  const ViewSettings settings = editor.view_settings();
  editor.reading_defaults() = ReadingDefaults{};
  RenderFrame(surface.ImageCanvas(), editor.view(), surface.width(), surface.height(),
              editor.drawing().records(), *font, settings, editor.reading_defaults(), hooks);
  surface.Present();
}

}  // namespace blok
