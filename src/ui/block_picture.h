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

inline QImage BlockPicture(const std::vector<std::string>& lines, const StrokeFont& font,
                           QSize size) {
  QImage image(size, QImage::Format_RGB32);
  DrawBlockPicture(image, ParseLines(lines), font);
  return image;
}

}  // namespace blok
