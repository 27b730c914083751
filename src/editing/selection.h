#pragma once

#include <cstddef>
#include <span>

#include "document/drawing.h"
#include "editing/edit_change.h"
#include "model/entity.h"
#include "model/parsed_entity.h"
#include "view/canvas.h"
#include "view/stroke_font.h"
#include "view/view_transform.h"

// Selecting entities by a click or by a dragged window. records are the drawing's parsed
// records; the selection sets a flag for each entity it takes and counts them, for the commands
// that act on it.

namespace blok {

// A drag whose |dx| + |dy| is at most this many pixels is a click.
inline constexpr int kClickTravel = 4;

// Whether the mouse going down at press and up at release is a click rather than a drag.
bool IsClick(int press_x, int press_y, int release_x, int release_y);

// A flag for each of line_count lines, none set.
void ResetSelectionFlags(Selection& s, std::size_t line_count);

// The window from two pixels however they were dragged: normalised, in single precision.
StretchWindow WindowBetweenPixels(const ViewTransform& view, int x1, int y1, int x2, int y2);

// The mouse went down at press and up at release: a window selection when it travelled more
// than kClickTravel pixels, else a selection by point at the midpoint (truncated). Either way
// s.window becomes the rectangle between the two pixels. Returns whether anything is selected.
bool SelectByGesture(Canvas& overlay, std::span<const ParsedEntity> records,
                     const ViewTransform& view, const StrokeFont& font,
                     const ReadingDefaults& defaults, Selection& s, int press_x, int press_y,
                     int release_x, int release_y);
// The same over a drawing: a window selection reads its compact boxes first.
bool SelectByGesture(Canvas& overlay, const Drawing& drawing, const ViewTransform& view,
                     const StrokeFont& font, const ReadingDefaults& defaults, Selection& s,
                     int press_x, int press_y, int release_x, int release_y);

// What a gesture caught, added to the selection `into` over the same drawing of line_count
// lines; with toggle (a click adding to a selection) what was selected already is taken out
// instead. `into` takes the gesture's window, and is counted again.
void MergeSelection(Selection& into, const Selection& caught, std::size_t line_count, bool toggle);

// The entity under the pixel alone (PickAndHighlight, so it shows highlighted on the overlay).
bool SelectByPoint(Canvas& overlay, std::span<const ParsedEntity> records,
                   const ViewTransform& view, const StrokeFont& font,
                   const ReadingDefaults& defaults, Selection& s, int x, int y);

// Every entity the window catches; s.window becomes the window, normalised and in single
// precision. Per kind:
// - a line: its first point strictly inside, or a crossing with an edge;
// - a rectangle: a corner inside, edges included (crossing or enclosing the window is not
//   enough);
// - a circle: a crossing with an edge, or the whole circle strictly inside;
// - an arc: a crossing with an edge within its sweep (counter-clockwise from start to end,
//   modulo a turn), its start point strictly inside, or its whole circle strictly inside;
// - a text: its segments 0.2 and 0.7 x height above the baseline, each tested as a line.
// Circles and arcs are taken in single precision, with the size of their radius.
bool SelectByWindow(std::span<const ParsedEntity> records, const StrokeFont& font, Selection& s,
                    const StretchWindow& window);
// The same over a drawing, with the same result: its compact boxes are read first, so that only
// the records of entities near the window are.
bool SelectByWindow(const Drawing& drawing, const StrokeFont& font, Selection& s,
                    const StretchWindow& window);

}  // namespace blok
