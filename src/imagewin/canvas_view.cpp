#include "imagewin/canvas_view.h"

#include <QPainter>
#include <QResizeEvent>

#include "canvas/image_canvas.h"

namespace kalvenor {

CanvasView::CanvasView(ImageCanvas& canvas, QWidget* parent) : QWidget(parent), canvas_(canvas) {
  setObjectName("picImage");
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void CanvasView::paintEvent(QPaintEvent*) { QPainter(this).drawImage(0, 0, canvas_.screen()); }

void CanvasView::resizeEvent(QResizeEvent* event) { canvas_.resize(event->size()); }

}  // namespace kalvenor
