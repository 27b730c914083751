#include "ui/painter_canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPolygon>
#include <QString>
#include <cstdlib>

#include "view/renderer.h"

namespace blok {
namespace {

QPolygon ToPolygon(std::span<const PixelPoint> points) {
  QPolygon polygon(static_cast<int>(points.size()));
  for (size_t i = 0; i < points.size(); ++i) {
    polygon.setPoint(static_cast<int>(i), points[i].x, points[i].y);
  }
  return polygon;
}

// A box given by two corners in either order, the far edge excluded: drawRect and drawEllipse
// stroke a QRect one pixel beyond its width and height, so what they draw covers x1 to x2 - 1
// and y1 to y2 - 1.
QRect Box(int x1, int y1, int x2, int y2) {
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  return QRect(x1, y1, std::max(0, x2 - x1 - 1), std::max(0, y2 - y1 - 1));
}

// The pixels of a box's outline as drawRect draws them with a thin pen, each once, clockwise
// from the top left corner.
QPolygon Outline(const QRect& box) {
  const int left = box.x();
  const int top = box.y();
  const int right = box.x() + box.width();
  const int bottom = box.y() + box.height();
  QPolygon points;
  for (int x = left; x <= right; ++x) points << QPoint(x, top);
  for (int y = top + 1; y <= bottom; ++y) points << QPoint(right, y);
  if (bottom > top) {
    for (int x = right - 1; x >= left; --x) points << QPoint(x, bottom);
  }
  if (right > left) {
    for (int y = bottom - 1; y > top; --y) points << QPoint(left, y);
  }
  return points;
}

}  // namespace

PainterCanvas::PainterCanvas(QPainter& painter)
    : painter_(painter),
      batch_lines_(painter.paintEngine() != nullptr &&
                   painter.paintEngine()->type() == QPaintEngine::Raster) {
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setBackground(ToQColor(kBackgroundColour));
}

void PainterCanvas::SetPenColour(std::uint32_t colour) {
  pen_colour_ = ToQColor(colour);
  pen_dirty_ = true;
}

void PainterCanvas::SetPenWidth(int width) {
  pen_width_ = width;
  pen_dirty_ = true;
}

void PainterCanvas::SetPenStyle(PenStyle style) {
  pen_style_ = style;
  pen_dirty_ = true;
}

void PainterCanvas::SetBrushColour(std::uint32_t colour) {
  brush_colour_ = ToQColor(colour);
  brush_dirty_ = true;
}

void PainterCanvas::SetBrushStyle(BrushStyle style) {
  brush_style_ = style;
  brush_dirty_ = true;
}

// QPen and QBrush are set only when something changed since the last primitive: a redraw sets
// colour and width for most entities, and rebuilding the pen each time would cost more than
// the line it draws.
void PainterCanvas::ApplyPen() {
  if (!pen_dirty_) return;
  QPen pen(pen_colour_);
  pen.setWidth(pen_width_ <= 1 ? 0 : pen_width_);
  pen.setStyle(pen_style_ == PenStyle::kDotted ? Qt::DotLine : Qt::SolidLine);
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  painter_.setPen(pen);
  pen_dirty_ = false;
}

// The gaps of a dotted line are the paper's colour, so that a dotted preview shows even where it
// lies over the entity itself (a selection shown in place). Shapes with a brush keep a clear
// ground: a hatched frame lets the drawing show through.
void PainterCanvas::ApplyGround(bool line_only) {
  const Qt::BGMode mode =
      line_only && pen_style_ == PenStyle::kDotted ? Qt::OpaqueMode : Qt::TransparentMode;
  if (painter_.backgroundMode() != mode) painter_.setBackgroundMode(mode);
}

void PainterCanvas::ApplyBrush() {
  if (!brush_dirty_) return;
  switch (brush_style_) {
    case BrushStyle::kSolid:
      painter_.setBrush(QBrush(brush_colour_, Qt::SolidPattern));
      break;
    case BrushStyle::kClear:
      painter_.setBrush(Qt::NoBrush);
      break;
    case BrushStyle::kDiagonalCross:
      painter_.setBrush(QBrush(brush_colour_, Qt::DiagCrossPattern));
      break;
  }
  brush_dirty_ = false;
}

void PainterCanvas::Line(int x1, int y1, int x2, int y2) {
  ApplyPen();
  ApplyGround(true);
  painter_.drawLine(x1, y1, x2, y2);
}

// One drawLines call draws the lines of a thin solid pen exactly as one drawLine each, without a
// painter call and a pen check per line. A dotted pen's pattern runs on differently within one
// call, and a wide pen's lines are stroked together as one outline, which costs more than one
// by one: those go line by line.
//
// Most strokes of a text or an arc seen from afar are no longer than a pixel: such a line is
// exactly its end pixels, which drawPoints sets for a third of what a line costs to set up.
// With an opaque pen the order of the pixels and a pixel set twice change nothing, so a pixel
// the previous stroke ended on is not set again. Under a scale (a picture for a screen of more
// than one pixel a point) a pixel of the drawing is more than one of the device: lines there.
void PainterCanvas::Lines(std::span<const PixelLine> lines) {
  if (!batch_lines_ || pen_style_ == PenStyle::kDotted || pen_width_ > 1)
    return Canvas::Lines(lines);
  ApplyPen();
  ApplyGround(true);
  const bool as_points = pen_colour_.alpha() == 255 &&
                         painter_.compositionMode() == QPainter::CompositionMode_SourceOver &&
                         painter_.deviceTransform().type() <= QTransform::TxTranslate;
  line_buffer_.clear();
  point_buffer_.clear();
  const auto add_point = [this](int x, int y) {
    if (point_buffer_.empty() || point_buffer_.back() != QPoint(x, y))
      point_buffer_.emplace_back(x, y);
  };
  for (const PixelLine& l : lines) {
    if (as_points && std::abs(l.x2 - l.x1) <= 1 && std::abs(l.y2 - l.y1) <= 1) {
      add_point(l.x1, l.y1);
      add_point(l.x2, l.y2);
    } else {
      line_buffer_.emplace_back(l.x1, l.y1, l.x2, l.y2);
    }
  }
  if (!line_buffer_.empty()) {
    painter_.drawLines(line_buffer_.data(), static_cast<int>(line_buffer_.size()));
  }
  if (!point_buffer_.empty()) {
    painter_.drawPoints(point_buffer_.data(), static_cast<int>(point_buffer_.size()));
  }
}

void PainterCanvas::Polyline(std::span<const PixelPoint> points) {
  ApplyPen();
  ApplyGround(true);
  painter_.drawPolyline(ToPolygon(points));
}

void PainterCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  ApplyPen();
  ApplyBrush();
  ApplyGround(false);
  painter_.drawRect(Box(x1, y1, x2, y2));
}

void PainterCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  ApplyPen();
  ApplyBrush();
  ApplyGround(false);
  painter_.drawEllipse(Box(x1, y1, x2, y2));
}

void PainterCanvas::Polygon(std::span<const PixelPoint> points) {
  ApplyPen();
  ApplyBrush();
  ApplyGround(false);
  painter_.drawPolygon(ToPolygon(points));
}

void PainterCanvas::Text(int x, int y, std::string_view text, const TextStyle& style) {
  painter_.save();
  QFont font = painter_.font();
  if (style.pixel_height > 0) font.setPixelSize(style.pixel_height);
  painter_.setFont(font);
  painter_.setPen(ToQColor(style.colour));
  if (style.background) {
    painter_.setBackgroundMode(Qt::OpaqueMode);
    painter_.setBackground(ToQColor(*style.background));
  } else {
    painter_.setBackgroundMode(Qt::TransparentMode);
  }
  const QString string = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  painter_.drawText(QRect(x, y, 100000, 100000), Qt::AlignLeft | Qt::AlignTop, string);
  painter_.restore();
}

int PainterCanvas::TextWidth(std::string_view text, const TextStyle& style) {
  QFont font = painter_.font();
  if (style.pixel_height > 0) font.setPixelSize(style.pixel_height);
  const QString string = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  // Measured as Text lays it out.
  return QFontMetrics(font, painter_.device())
      .boundingRect(QRect(0, 0, 100000, 100000), Qt::AlignLeft | Qt::AlignTop, string)
      .width();
}

void PainterCanvas::FocusRectangle(int x1, int y1, int x2, int y2) {
  const QRect box = Box(x1, y1, x2, y2);
  painter_.save();
  painter_.setBrush(Qt::NoBrush);
  const auto* image = dynamic_cast<const QImage*>(painter_.device());
  if (image != nullptr && image->hasAlphaChannel()) {
    // On a transparent layer an inverting pen leaves nothing to see. The outline is opaque
    // instead, black and white by turns so it shows on any ground; Xor composition still
    // takes it away when it is drawn a second time.
    QPolygon dark;
    QPolygon light;
    for (const QPoint& p : Outline(box))
      ((dark.size() + light.size()) % 2 == 0 ? dark : light) << p;
    painter_.setCompositionMode(QPainter::CompositionMode_Xor);
    painter_.setPen(QPen(Qt::black, 0));
    painter_.drawPoints(dark);
    painter_.setPen(QPen(Qt::white, 0));
    painter_.drawPoints(light);
  } else {
    // An inverted dotted outline: drawn twice, it is gone.
    painter_.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    QPen pen(Qt::white);
    pen.setWidth(0);
    pen.setStyle(Qt::DotLine);
    painter_.setPen(pen);
    painter_.drawRect(box);
  }
  painter_.restore();
}

}  // namespace blok
