#pragma once

// The library browser's thumbnails and preview: the plain picture of a block, fitted to the
// image, through the renderer and the stroke font.

#include <QImage>
#include <QPainter>
#include <span>
#include <string>
#include <vector>

#include "ui/painter_canvas.h"
#include "view/renderer.h"
#include "view/stroke_font.h"
#include "view/view_transform.h"

namespace blok {

// Draws the records over the whole image.
inline void DrawBlockPicture(QImage& image, std::span<const ParsedEntity> records,
                             const StrokeFont& font) {
  QPainter painter(&image);
  PainterCanvas canvas(painter);
  ViewTransform view;
  FitPicture(view, ComputeExtents(records, font), image.width(), image.height());
  DrawPlainBlock(canvas, view, records, font);
}

// A picture of size logical pixels for a screen of that pixel ratio: drawn in the screen's own
// pixels, so that it stays sharp where a logical pixel is several.
inline QImage BlockPicture(const std::vector<std::string>& lines, const StrokeFont& font,
                           QSize size, qreal pixel_ratio = 1) {
  if (!(pixel_ratio >= 1 && pixel_ratio <= 8)) pixel_ratio = 1;
  QImage image(size * pixel_ratio, QImage::Format_RGB32);
  DrawBlockPicture(image, ParseLines(lines), font);
  image.setDevicePixelRatio(pixel_ratio);
  return image;
}

}  // namespace blok
