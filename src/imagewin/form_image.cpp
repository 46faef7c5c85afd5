#include "imagewin/form_image.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

#include "imagewin/canvas_view.h"

namespace kalvenor {
namespace {

int halfScreenWidth() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->geometry().width() / 2 : 400;
}

}  // namespace

FormImage::FormImage(QWidget* parent)
    : QWidget(parent, Qt::Window), canvas_(QSize(halfScreenWidth(), halfScreenWidth())) {
  setObjectName("formImage");
  setWindowTitle("Image");
  picImage_ = new CanvasView(canvas_, this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(picImage_);
  canvas_.setChangedCallback([this] {
    endPreview();
    picImage_->update();
  });
  const auto* gestures = new ViewGestures(canvas_, *picImage_);
  connect(gestures, &ViewGestures::nudged, this, &FormImage::viewNudged);
  connect(gestures, &ViewGestures::settled, this, &FormImage::viewSettled);
  connect(gestures, &ViewGestures::refused, this, &FormImage::viewRefused);
  connect(&previews_, &PreviewDrawer::drawn, this, [this](const QImage& picture) {
    picImage_->showPreview(picture);
    emit previewShown();
  });
  resizeRest_.setSingleShot(true);
  resizeRest_.setInterval(kResizeRest);
  connect(&resizeRest_, &QTimer::timeout, this, &FormImage::drawingAreaResized);
  // A square window half the screen wide.
  resize(halfScreenWidth(), halfScreenWidth());
}

void FormImage::showCanvas() {
  show();
  raise();
  activateWindow();
}

void FormImage::drawPreview(PreviewDrawer::Job job) { previews_.request(std::move(job)); }

void FormImage::endPreview() {
  previews_.cancel();
  picImage_->hidePreview();
  emit previewEnded();
}

bool FormImage::showingPreview() const { return picImage_->showingPreview(); }

void FormImage::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const QSize outer = frameGeometry().size();
  emit outerSizeChanged(outer.width(), outer.height());
  resizeRest_.start();
}

// The frame size is known only once the window manager has framed the window.
void FormImage::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  const QSize outer = frameGeometry().size();
  emit outerSizeChanged(outer.width(), outer.height());
}

}  // namespace kalvenor
