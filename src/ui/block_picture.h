#pragma once

// The plain picture of a block, as `blk render --plain` draws it: a white ground and the
// block's entities zoomed to their extents, through the renderer and the stroke font. The
// library browser's thumbnails and preview are these pictures. They are small, so the drawing
// fills them but for a narrow margin: the view's zoom to everything adds a whole unit on every
// side, which would leave a block a metre across a speck in a thumbnail.

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "ui/painter_canvas.h"
#include "view/renderer.h"
#include "view/stroke_font.h"
#include "view/view_transform.h"

namespace blok {

inline constexpr Colour kPictureGround = 0xFFFFFF;

// Centres the extents in a view of width x height pixels, filling it but for a margin of
// about a tenth on each side. Empty extents get the view's zoom to everything.
inline void FitPicture(ViewTransform& view, const DrawingExtents& extents, int width, int height) {
  view.SetViewSize(width, height);
  if (extents.empty()) return view.ZoomAll(extents);
  constexpr double kGrowth = 1.2;
  constexpr double kSmallest = 1e-3;  // a point still gets a scale
  const double w = std::max<double>(double{extents.xmax} - extents.xmin, kSmallest);
  const double h = std::max<double>(double{extents.ymax} - extents.ymin, kSmallest);
  view.SetCentre((double{extents.xmin} + extents.xmax) / 2,
                 (double{extents.ymin} + extents.ymax) / 2);
  view.SetScale(kGrowth * 1000 * std::max(w / std::max(width, 1), h / std::max(height, 1)));
}

// Draws the records over the whole image.
inline void DrawBlockPicture(QImage& image, std::span<const ParsedEntity> records,
                             const StrokeFont& font) {
  QPainter painter(&image);
  PainterCanvas canvas(painter);
  ViewTransform view;
  FitPicture(view, ComputeExtents(records, font), image.width(), image.height());
  canvas.SetPenColour(kPictureGround);
  canvas.SetBrushColour(kPictureGround);
  canvas.SetBrushStyle(BrushStyle::kSolid);
  canvas.Rectangle(0, 0, image.width() + 1, image.height() + 1);
  ReadingDefaults defaults;
  DrawEntities(canvas, view, records, font, defaults);
}

inline QImage BlockPicture(const std::vector<std::string>& lines, const StrokeFont& font,
                           QSize size) {
  QImage image(size, QImage::Format_RGB32);
  DrawBlockPicture(image, ParseLines(lines), font);
  return image;
}

}  // namespace blok
