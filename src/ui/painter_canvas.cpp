#include "ui/painter_canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPolygon>
#include <QString>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "view/renderer.h"

namespace blok {
namespace {

// The pixels a thin solid line sets from the origin to each step (dx, dy) no longer than
// kShortReach either way, learnt once from the raster engine by drawing each of them: a short
// stroke set pixel by pixel from this table is the very line drawLine would draw. Those pixels
// depend only on the step, wherever the line lies, as long as no edge of the image cuts it.
constexpr int kShortReach = 7;
constexpr int kShortSide = 2 * kShortReach + 1;

class ShortLinePixels {
 public:
  ShortLinePixels() {
    const int centre = kShortReach + 1;
    QImage image(kShortSide + 2, kShortSide + 2, QImage::Format_RGB32);
    QPen pen(Qt::black);
    pen.setWidth(0);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    for (int dy = -kShortReach; dy <= kShortReach; ++dy) {
      for (int dx = -kShortReach; dx <= kShortReach; ++dx) {
        image.fill(Qt::white);
        {
          QPainter painter(&image);
          painter.setRenderHint(QPainter::Antialiasing, false);
          painter.setPen(pen);
          painter.drawLine(centre, centre, centre + dx, centre + dy);
        }
        const auto first = static_cast<std::uint16_t>(pixels_.size());
        for (int y = 0; y < image.height(); ++y) {
          for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == qRgb(255, 255, 255)) continue;
            pixels_.push_back({x - centre, y - centre});
            // How far a pixel lies outside the box of the line's ends (not at all, as Qt draws).
            const int px = x - centre;
            const int py = y - centre;
            beyond_ = std::max({beyond_, std::min(0, dx) - px, px - std::max(0, dx),
                                std::min(0, dy) - py, py - std::max(0, dy)});
          }
        }
        ranges_[Index(dx, dy)] = {first, static_cast<std::uint16_t>(pixels_.size())};
      }
    }
  }

  // The most any pixel lies outside the box of its line's ends.
  int beyond() const { return beyond_; }

  std::span<const PixelPoint> Of(int dx, int dy) const {
    const auto [first, last] = ranges_[Index(dx, dy)];
    return std::span<const PixelPoint>(pixels_).subspan(first, last - first);
  }

 private:
  static int Index(int dx, int dy) { return (dy + kShortReach) * kShortSide + dx + kShortReach; }

  std::vector<PixelPoint> pixels_;
  std::array<std::pair<std::uint16_t, std::uint16_t>, kShortSide * kShortSide> ranges_{};
  int beyond_ = 0;
};

const ShortLinePixels& ShortLines() {
  static const ShortLinePixels table;
  return table;
}

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
// Most strokes of a text or an arc seen from afar are a few pixels long, and setting up a line
// in the raster engine costs far more than its pixels. With an opaque pen, where the order of
// the pixels and a pixel set twice change nothing:
// - on an image the painter draws straight into, a short stroke away from the edges sets its
//   pixels from the table of short lines;
// - elsewhere a stroke of a pixel or less is its end pixels, set by one drawPoints call;
// - a longer stroke, or one an edge cuts, goes to drawLines.
// Under a scale (a picture for a screen of more than one device pixel a pixel) a pixel of the
// drawing is more than one of the device: lines there.
void PainterCanvas::Lines(std::span<const PixelLine> lines) {
  if (!batch_lines_ || pen_style_ == PenStyle::kDotted || pen_width_ > 1)
    return Canvas::Lines(lines);
  ApplyPen();
  ApplyGround(true);
  // Each pixel set once in the pen's colour, whatever it covered, one device pixel a pixel.
  const bool plain = pen_colour_.alpha() == 255 &&
                     painter_.compositionMode() == QPainter::CompositionMode_SourceOver &&
                     painter_.deviceTransform().type() == QTransform::TxNone;
  QImage* image = plain ? DirectImage() : nullptr;
  // The image's own memory, which the raster engine draws into as well.
  auto* bits = image != nullptr ? const_cast<uchar*>(image->constBits()) : nullptr;
  const qsizetype stride = image != nullptr ? image->bytesPerLine() : 0;
  const int last_x = image != nullptr ? image->width() - 1 : -1;
  const int last_y = image != nullptr ? image->height() - 1 : -1;
  const QRgb pixel = pen_colour_.rgba();
  line_buffer_.clear();
  point_buffer_.clear();
  const auto add_point = [this](int x, int y) {
    if (point_buffer_.empty() || point_buffer_.back() != QPoint(x, y)) {
      point_buffer_.emplace_back(x, y);
    }
  };
  const ShortLinePixels& short_lines = ShortLines();
  // Away from the edges by a pixel, and by as far as the table's pixels go past their lines.
  const int margin = short_lines.beyond();
  for (const PixelLine& l : lines) {
    const int dx = l.x2 - l.x1;
    const int dy = l.y2 - l.y1;
    if (bits != nullptr && std::abs(dx) <= kShortReach && std::abs(dy) <= kShortReach &&
        std::min(l.x1, l.x2) > margin && std::max(l.x1, l.x2) < last_x - margin &&
        std::min(l.y1, l.y2) > margin && std::max(l.y1, l.y2) < last_y - margin) {
      for (const PixelPoint& o : short_lines.Of(dx, dy)) {
        reinterpret_cast<QRgb*>(bits + (l.y1 + o.y) * stride)[l.x1 + o.x] = pixel;
      }
    } else if (plain && std::abs(dx) <= 1 && std::abs(dy) <= 1) {
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

// The image the painter draws into unclipped, when its pixels are 32-bit words an opaque colour
// is written to as it stands.
QImage* PainterCanvas::DirectImage() const {
  QPaintDevice* device = painter_.device();
  if (device == nullptr || device->devType() != QInternal::Image || painter_.hasClipping()) {
    return nullptr;
  }
  auto* image = static_cast<QImage*>(device);
  switch (image->format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
      return image;
    default:
      return nullptr;
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
