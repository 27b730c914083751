#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/angles.h"
#include "model/entity.h"
#include "model/parsed_entity.h"
#include "view/canvas.h"
#include "view/stroke_font.h"
#include "view/view_settings.h"
#include "view/view_transform.h"

namespace blok {

inline constexpr Colour kBackgroundColour = 0xDCDCDC;
inline constexpr Colour kBasePointColour = 0x00FFFF;
inline constexpr Colour kGridColour = 0xD2D2D2;
inline constexpr Colour kAxisColour = 0x969696;
inline constexpr Colour kFrameColour = 0x000000;
// Rectangles of the drawing are outlines; the fill is passed for the filled form only.
inline constexpr Colour kRectangleFill = 0xFFFFFF;
inline constexpr float kGridThickness = 0.01f;

// What the window adds to a full redraw.
struct FrameHooks {
  // Drawn into the image after the entities and before the axis icon (start panel, state).
  std::function<void(Canvas&)> overlays;
  // Shows the finished image on the paint box.
  std::function<void()> present;
};

// The full redraw into the off-screen image, whose used part is view_width x view_height:
// the view's origin moves to the middle, then background with its border, base point, grid and
// axes, the entities (which leave the reading defaults as the pass ends), the window's
// overlays, the axis icon; then the image is presented. records are the drawing's lines parsed
// (Drawing::records()).
void RenderFrame(Canvas& image, ViewTransform& view, int view_width, int view_height,
                 std::span<const ParsedEntity> records, const StrokeFont& font,
                 const ViewSettings& settings, ReadingDefaults& defaults,
                 const FrameHooks& hooks = {});

// The entity pass: every record from the last to the first, so that a colour or thickness
// command acts on the lines above it. The defaults start at black and 0.1 (their decimal
// separator is kept) and are left as the pass ends, for readers until the next pass. An entity
// lying wholly outside the view, its pen included, is skipped; the picture is the same. A view
// without a size skips nothing.
void DrawEntities(Canvas& canvas, const ViewTransform& view, std::span<const ParsedEntity> records,
                  const StrokeFont& font, ReadingDefaults& defaults);

// One record as the pass draws it, wherever it lies: a colour or thickness the line lacks is
// the one in defaults; a colour or thickness command changes defaults. Unreadable lines draw
// nothing.
void DrawEntity(Canvas& canvas, const ViewTransform& view, const StrokeFont& font,
                const ParsedEntity& entity, ReadingDefaults& defaults);

// A block's picture on its own (thumbnails, previews, catalogue tiles): the extents centred in a
// view of width x height pixels and filling the given share of it. A view's zoom to everything
// adds a whole unit on every side, which would leave a block a metre across a speck in a
// thumbnail. Empty extents get that zoom all the same.
void FitPicture(ViewTransform& view, const DrawingExtents& extents, int width, int height,
                double fill = 0.85);

// The plain picture of a block: white ground over the view's paint box, then the entities
// alone, as the editor draws them.
void DrawPlainBlock(Canvas& canvas, const ViewTransform& view,
                    std::span<const ParsedEntity> records, const StrokeFont& font);

// The primitives, in world coordinates. Each sets the pen colour and width it needs and leaves
// the pen style alone, so that previews can draw them dotted.
void DrawSegment(Canvas& canvas, const ViewTransform& view, Colour colour, float thickness,
                 double x1, double y1, double x2, double y2);
// The axis-parallel rectangle spanned by the two corners, given in either order; the brush is
// clear unless filled.
void DrawRectangle(Canvas& canvas, const ViewTransform& view, Colour colour, Colour fill,
                   float thickness, bool filled, double x1, double y1, double x2, double y2);
// Counter-clockwise from start to end (radians) as chords of 10 degrees, in single precision.
void DrawArc(Canvas& canvas, const ViewTransform& view, Colour colour, float thickness, double cx,
             double cy, double r, double start, double end);
void DrawTextEntity(Canvas& canvas, const ViewTransform& view, const StrokeFont& font,
                    const TextRecord& text);
// Grid lines from -size to size every step; the axes with arrowheads, ticks and labels.
void DrawGrid(Canvas& canvas, const ViewTransform& view, double size, double step);
void DrawAxes(Canvas& canvas, const ViewTransform& view, const StrokeFont& font, double size,
              double step);
// The X and Y arrows in the bottom left corner of a view view_height pixels high.
void DrawAxisIcon(Canvas& canvas, int view_height);

// The grid size typed into its box: 10 when not a number, at least 0.1.
double GridSize(std::string_view text);
// The grid step as drawn: at least 0.01.
double GridStep(float step);

}  // namespace blok
