#pragma once

#include <QLine>
#include <QPaintEngine>
#include <QPainter>
#include <vector>

#include "view/canvas.h"

namespace blok {

// The Canvas on a QPainter: a QImage for the view and PNG files, a QSvgGenerator for SVG.
// Drawing is pixel-exact, without antialiasing, as the view's arithmetic expects.
class PainterCanvas : public Canvas {
 public:
  explicit PainterCanvas(QPainter& painter);

  void SetPenColour(std::uint32_t colour) override;
  void SetPenWidth(int width) override;
  void SetPenStyle(PenStyle style) override;
  void SetBrushColour(std::uint32_t colour) override;
  void SetBrushStyle(BrushStyle style) override;

  void Line(int x1, int y1, int x2, int y2) override;
  void Polyline(std::span<const PixelPoint> points) override;
  void Lines(std::span<const PixelLine> lines) override;
  void Rectangle(int x1, int y1, int x2, int y2) override;
  void Ellipse(int x1, int y1, int x2, int y2) override;
  void Polygon(std::span<const PixelPoint> points) override;
  void Text(int x, int y, std::string_view text, const TextStyle& style) override;
  int TextWidth(std::string_view text, const TextStyle& style) override;
  void FocusRectangle(int x1, int y1, int x2, int y2) override;

 private:
  void ApplyPen();
  void ApplyGround(bool line_only);
  void ApplyBrush();
  QImage* DirectImage() const;

  QPainter& painter_;
  QColor pen_colour_{Qt::black};
  int pen_width_ = 1;
  PenStyle pen_style_ = PenStyle::kSolid;
  QColor brush_colour_{Qt::white};
  BrushStyle brush_style_ = BrushStyle::kSolid;
  bool pen_dirty_ = true;
  bool brush_dirty_ = true;
  // Only the raster engine gets lines in one call: its pixels are those of single lines, while
  // an SVG or PDF file would change its text.
  const bool batch_lines_;
  // Kept from batch to batch.
  std::vector<QLine> line_buffer_;
  std::vector<QPoint> point_buffer_;
};

// 0x00BBGGRR as a QColor.
inline QColor ToQColor(std::uint32_t colour) {
  return QColor(colour & 255, (colour >> 8) & 255, (colour >> 16) & 255);
}

}  // namespace blok
