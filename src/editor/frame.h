#pragma once

#include "editor/editor.h"
#include "view/surface.h"

namespace blok {

// The full redraw of the main window: the drawing with grid, axes and base point, then the
// window's own overlay (the start panel while no file is open), presented on the surface.
void DrawEditorFrame(Editor& editor, Surface& surface);

// The start panel: a prompt and a box with the product's lines.
void DrawStartPanel(Canvas& canvas, const StartPanelText& text);

}  // namespace blok
