#pragma once

#include <QImage>
#include <QPainter>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "ui/painter_canvas.h"
#include "view/surface.h"

namespace blok {

// `Podglad`: the drawing surface. It keeps the off-screen image and an overlay for previews
// and composes both when Qt asks it to paint; drawing itself never happens in paintEvent.
class PaintBox : public QWidget, public Surface {
  Q_OBJECT

 public:
  explicit PaintBox(QWidget* parent = nullptr);
  ~PaintBox() override;

  int width() const override { return QWidget::width(); }
  int height() const override { return QWidget::height(); }
  Canvas& ImageCanvas() override;
  void Present() override;
  Canvas& OverlayCanvas() override;
  void RestoreView() override;

  const QImage& image() const { return image_; }

 signals:
  void mousePressed(Qt::MouseButton button, int x, int y);
  void mouseMoved(int x, int y);
  void mouseReleased(Qt::MouseButton button, int x, int y);
  void mouseDoubleClicked(int x, int y);
  void wheelTurned(int notches);
  void resized();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  struct Painting {
    QPainter painter;
    std::optional<PainterCanvas> canvas;
  };
  void EnsureImages();
  void EndImage();
  void EndOverlay();

  QImage image_;
  QImage overlay_;
  std::unique_ptr<Painting> image_painting_;
  std::unique_ptr<Painting> overlay_painting_;
  int wheel_remainder_ = 0;
};

}  // namespace blok
