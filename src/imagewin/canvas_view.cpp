#include "imagewin/canvas_view.h"

#include <QPainter>
#include <QResizeEvent>

#include "canvas/image_canvas.h"

namespace kalvenor {

CanvasView::CanvasView(ImageCanvas& canvas, QWidget* parent) : QWidget(parent), canvas_(canvas) {
  setObjectName("picImage");
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void CanvasView::showPreview(const QImage& preview) {
  preview_ = preview;
  update();
}

void CanvasView::hidePreview() {
  if (preview_.isNull()) return;
  preview_ = QImage();
  update();
}

// Images carry their pixel ratio, so a picture drawn at the screen's ratio is painted 1:1.
void CanvasView::paintEvent(QPaintEvent*) {
  QPainter(this).drawImage(0, 0, preview_.isNull() ? canvas_.screen() : preview_);
}

void CanvasView::resizeEvent(QResizeEvent* event) {
  canvas_.resize(event->size(), devicePixelRatioF());
}

}  // namespace kalvenor
