#pragma once

#include <QImage>
#include <QPainter>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "ui/painter_canvas.h"
#include "view/surface.h"

namespace blok {

// `Podglad`: the drawing surface. It keeps the off-screen image and an overlay for previews
// and composes both when Qt asks it to paint. A full frame due is drawn into the image by the
// frame hook at the start of that paint, so any number of redraw requests make one frame.
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

  // Runs at the start of every paint, before the image is shown.
  void SetFrameHook(std::function<void()> hook) { frame_hook_ = std::move(hook); }
  const QImage& image() const { return image_; }
  // Full frames presented so far.
  std::uint64_t frames_presented() const { return frames_presented_; }

 signals:
  // adding: Shift is held, so that a selection gesture adds to the selection.
  void mousePressed(Qt::MouseButton button, int x, int y, bool adding);
  void mouseMoved(int x, int y);
  void mouseReleased(Qt::MouseButton button, int x, int y, bool adding);
  void mouseDoubleClicked(int x, int y);
  void wheelTurned(int notches, int x, int y);  // at the cursor's pixel
  void resized();
  // A block dragged from Lista bloków let go over the box, at this pixel.
  void blockDropped(const QString& name, int x, int y);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  // Only blocks are taken here; anything else goes on to the window (a dropped library).
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  struct Painting {
    QPainter painter;
    std::optional<PainterCanvas> canvas;
  };
  void EnsureImages();
  void EndImage();
  void EndOverlay();

  // The frame and the overlay, each a view over its store (the stores declared first, so that
  // the views go first).
  QImage image_store_;
  QImage overlay_store_;
  QImage image_;
  QImage overlay_;
  std::unique_ptr<Painting> image_painting_;
  std::unique_ptr<Painting> overlay_painting_;
  std::function<void()> frame_hook_;
  bool painting_ = false;
  std::uint64_t frames_presented_ = 0;
  int wheel_remainder_ = 0;
};

}  // namespace blok
