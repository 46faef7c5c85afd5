#include "canvas/image_canvas.h"

#include "canvas/packed_qcolor.h"

namespace kalvenor {

namespace {

QImage blankImage(QSize size, qreal pixelRatio, PackedColor background) {
  QImage image(size * pixelRatio, QImage::Format_RGB32);
  image.setDevicePixelRatio(pixelRatio);
  image.fill(toQColor(background));
  return image;
}

// `drawn` at the logical size, kept in `logical` until the canvas changes.
const QImage& atLogicalSize(const QImage& drawn, QSize size, QImage& logical) {
  if (drawn.size() == size) return drawn;
  if (logical.isNull()) {
    logical = drawn.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    logical.setDevicePixelRatio(1);
  }
  return logical;
}

}  // namespace

ImageCanvas::ImageCanvas(QSize size, qreal pixelRatio)
    : size_(size), image_(blankImage(size, pixelRatio, backgroundColor())) {}

ImageCanvas::~ImageCanvas() { finishPainting(); }

// One painter stays open across drawing calls: opening a painter per line would dominate the
// time of a map with many thousand cells.
QPainter& ImageCanvas::painter() {
  if (!painter_) {
    painter_ = std::make_unique<QPainter>(persistent_ ? &image_ : &screen_);
    painter_->setRenderHint(QPainter::Antialiasing, false);
    forgetApplied();
  }
  return *painter_;
}

void ImageCanvas::finishPainting() const { painter_.reset(); }

void ImageCanvas::drawn() {
  blank_ = false;
  changed();
}

void ImageCanvas::changed() {
  logical_ = QImage();
  logicalScreen_ = QImage();
  if (changed_) changed_();
}

void ImageCanvas::clear() {
  finishPainting();
  image_.fill(toQColor(backgroundColor()));
  if (!persistent_) screen_ = image_.copy();
  blank_ = true;
  changed();
}

double ImageCanvas::width() const { return size_.width(); }
double ImageCanvas::height() const { return size_.height(); }

void ImageCanvas::setPersistent(bool on) {
  if (on == persistent_) return;
  finishPainting();
  persistent_ = on;
  screen_ = on ? QImage() : image_.copy();
  changed();
}

const QImage& ImageCanvas::image() const {
  finishPainting();
  return atLogicalSize(image_, size_, logical_);
}

const QImage& ImageCanvas::shown() const {
  if (persistent_) return image();
  finishPainting();
  return atLogicalSize(screen_, size_, logicalScreen_);
}

const QImage& ImageCanvas::screen() const {
  finishPainting();
  return persistent_ ? image_ : screen_;
}

ImageCanvas::Snapshot ImageCanvas::snapshot() const {
  // An image with an open painter would be copied pixel by pixel.
  finishPainting();
  return {image_, screen_, style(), blank_};
}

void ImageCanvas::restore(const Snapshot& snapshot) {
  finishPainting();
  image_ = snapshot.image;
  screen_ = snapshot.screen;
  setStyle(snapshot.style);
  blank_ = snapshot.blank;
  changed();
}

void ImageCanvas::resize(QSize size, qreal pixelRatio) {
  if ((size == size_ && pixelRatio == this->pixelRatio()) || size.isEmpty()) return;
  finishPainting();
  QImage resized = blankImage(size, pixelRatio, backgroundColor());
  QPainter(&resized).drawImage(0, 0, image_);
  size_ = size;
  image_ = resized;
  if (!persistent_) screen_ = image_.copy();
  changed();
}

}  // namespace kalvenor
