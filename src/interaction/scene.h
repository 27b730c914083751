#pragma once

#include "document/drawing.h"
#include "editing/edit_change.h"
#include "interaction/settings.h"
#include "model/entity.h"
#include "view/stroke_font.h"
#include "view/view_transform.h"

namespace blok {

// What a command reads of the Editor for one event: the drawing with its records, the view, the
// stroke font, what the last redraw left (the colour and thickness of lines that give none), the
// settings controls and the selection. References into the Editor, taken afresh for each event:
// a load or a reset may change what they refer to between events. The font is there once the
// program has started, and no command runs before.
struct Scene {
  const Drawing& drawing;
  const ViewTransform& view;
  const StrokeFont& font;
  const ReadingDefaults& defaults;
  const Settings& settings;
  // The operations that move, rotate or scale keep its copies of the lines up to date.
  Selection& selection;
};

}  // namespace blok
