#include "ui/paint_box.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QWheelEvent>

#include "ui/block_drag.h"

namespace blok {
namespace {

// Shift held at a press or release adds to a selection rather than making one.
bool Adding(const QMouseEvent& event) { return event.modifiers().testFlag(Qt::ShiftModifier); }

}  // namespace

PaintBox::PaintBox(QWidget* parent) : QWidget(parent) {
  setObjectName("Podglad");
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setCursor(Qt::CrossCursor);
  setMinimumSize(200, 150);
  setAcceptDrops(true);
}

PaintBox::~PaintBox() {
  EndImage();
  EndOverlay();
}

void PaintBox::EnsureImages() {
  const QSize size(std::max(1, width()), std::max(1, height()));
  if (image_.size() == size) return;
  EndImage();
  EndOverlay();
  // The images live in buffers as large as the largest box so far: a box made narrower (the
  // source rows shown, a splitter dragged) reuses memory already touched instead of faulting in
  // fresh pages for every size on the way.
  if (image_store_.width() < size.width() || image_store_.height() < size.height()) {
    const QSize store = size.expandedTo(image_store_.size());
    image_ = QImage();
    overlay_ = QImage();
    image_store_ = QImage(store, QImage::Format_RGB32);
    overlay_store_ = QImage(store, QImage::Format_ARGB32_Premultiplied);
  }
  image_ = QImage(image_store_.bits(), size.width(), size.height(), image_store_.bytesPerLine(),
                  QImage::Format_RGB32);
  image_.fill(Qt::white);
  overlay_ = QImage(overlay_store_.bits(), size.width(), size.height(),
                    overlay_store_.bytesPerLine(), QImage::Format_ARGB32_Premultiplied);
  overlay_.fill(Qt::transparent);
}

Canvas& PaintBox::ImageCanvas() {
  EnsureImages();
  if (!image_painting_) {
    image_painting_ = std::make_unique<Painting>();
    image_painting_->painter.begin(&image_);
    image_painting_->canvas.emplace(image_painting_->painter);
  }
  return *image_painting_->canvas;
}

void PaintBox::EndImage() {
  if (!image_painting_) return;
  image_painting_->canvas.reset();
  image_painting_->painter.end();
  image_painting_.reset();
}

void PaintBox::Present() {
  EndImage();
  ++frames_presented_;
  // The overlay stays: it was wiped when the frame was asked for, and what has been drawn on
  // it since belongs on top of this frame.
  if (!painting_) update();
}

Canvas& PaintBox::OverlayCanvas() {
  EnsureImages();
  if (!overlay_painting_) {
    overlay_painting_ = std::make_unique<Painting>();
    overlay_painting_->painter.begin(&overlay_);
    overlay_painting_->canvas.emplace(overlay_painting_->painter);
  }
  update();
  return *overlay_painting_->canvas;
}

void PaintBox::EndOverlay() {
  if (!overlay_painting_) return;
  overlay_painting_->canvas.reset();
  overlay_painting_->painter.end();
  overlay_painting_.reset();
}

void PaintBox::RestoreView() {
  EndOverlay();
  overlay_.fill(Qt::transparent);
  update();
}

void PaintBox::paintEvent(QPaintEvent* event) {
  const std::uint64_t frames = frames_presented_;
  if (frame_hook_) {
    painting_ = true;
    frame_hook_();
    painting_ = false;
  }
  EndImage();
  EndOverlay();
  QPainter painter(this);
  painter.drawImage(event->rect(), image_, event->rect());
  painter.drawImage(event->rect(), overlay_, event->rect());
  // A paint of part of the box that brought a new frame leaves the rest of it stale.
  if (frames_presented_ != frames && event->rect() != rect()) update();
}

void PaintBox::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  EnsureImages();
  emit resized();
}

void PaintBox::mousePressEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  emit mousePressed(event->button(), p.x(), p.y(), Adding(*event));
}

void PaintBox::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  emit mouseMoved(p.x(), p.y());
}

void PaintBox::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  emit mouseReleased(event->button(), p.x(), p.y(), Adding(*event));
}

void PaintBox::mouseDoubleClickEvent(QMouseEvent* event) {
  // Qt sends the second press of a double click as this event alone: the press step runs for
  // the first press only, and the double click does its own work.
  const QPoint p = event->position().toPoint();
  emit mouseDoubleClicked(p.x(), p.y());
}

void PaintBox::wheelEvent(QWheelEvent* event) {
  // One notch is 120 eighths of a degree; touch pads send smaller steps that add up.
  wheel_remainder_ += event->angleDelta().y();
  const int notches = wheel_remainder_ / 120;
  wheel_remainder_ -= notches * 120;
  const QPoint at = event->position().toPoint();
  if (notches != 0) emit wheelTurned(notches, at.x(), at.y());
  event->accept();
}

void PaintBox::dragEnterEvent(QDragEnterEvent* event) {
  // Ignored, the event goes on to the window.
  if (!DraggedBlock(event->mimeData())) return event->ignore();
  event->setDropAction(Qt::CopyAction);
  event->accept();
}

void PaintBox::dragMoveEvent(QDragMoveEvent* event) {
  // Anything else keeps the answer the window gave on entering.
  if (!DraggedBlock(event->mimeData())) return;
  event->setDropAction(Qt::CopyAction);
  event->accept();
}

void PaintBox::dropEvent(QDropEvent* event) {
  const std::optional<QString> name = DraggedBlock(event->mimeData());
  if (!name) return event->ignore();
  event->setDropAction(Qt::CopyAction);
  event->accept();
  const QPoint p = event->position().toPoint();
  emit blockDropped(*name, p.x(), p.y());
}

}  // namespace blok
