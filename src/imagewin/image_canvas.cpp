#include "imagewin/image_canvas.h"

#include <QPolygon>
#include <cstdint>

namespace kalvenor {

namespace {

std::int64_t cross(const CanvasPoint& o, const CanvasPoint& a, const CanvasPoint& b) {
  return (std::int64_t{a.x} - o.x) * (std::int64_t{b.y} - o.y) -
         (std::int64_t{a.y} - o.y) * (std::int64_t{b.x} - o.x);
}

bool onOneLine(const Quad& q) {
  return cross(q[0], q[1], q[2]) == 0 && cross(q[0], q[1], q[3]) == 0 &&
         cross(q[0], q[2], q[3]) == 0 && cross(q[1], q[2], q[3]) == 0;
}

}  // namespace

QColor toQColor(PackedColor color) { return QColor(redOf(color), greenOf(color), blueOf(color)); }

ImageCanvas::ImageCanvas(QSize size) : image_(size, QImage::Format_RGB32) {
  image_.fill(toQColor(background_));
}

ImageCanvas::~ImageCanvas() { finishPainting(); }

QImage& ImageCanvas::target() { return persistent_ ? image_ : screen_; }

// One painter stays open across drawing calls: opening a painter per line would dominate the
// time of a map with many thousand cells.
QPainter& ImageCanvas::painter() {
  if (!painter_) {
    painter_ = std::make_unique<QPainter>(&target());
    painter_->setRenderHint(QPainter::Antialiasing, false);
  }
  return *painter_;
}

void ImageCanvas::finishPainting() const { painter_.reset(); }

void ImageCanvas::notify() {
  if (changed_) changed_();
}

void ImageCanvas::clear() {
  finishPainting();
  image_.fill(toQColor(background_));
  if (!persistent_) screen_ = image_.copy();
  notify();
}

void ImageCanvas::setBackgroundColor(PackedColor color) { background_ = color; }
void ImageCanvas::setPenColor(PackedColor color) { penColor_ = color; }
void ImageCanvas::setPenWidth(int width) { penWidth_ = width; }
void ImageCanvas::setPenStyle(PenStyle style) { penStyle_ = style; }
void ImageCanvas::setFillColor(PackedColor color) { fillColor_ = color; }
void ImageCanvas::setFillStyle(FillStyle style) { fillStyle_ = style; }

void ImageCanvas::applyPen(QPainter& p) const {
  if (penStyle_ == PenStyle::Invisible) {
    p.setPen(Qt::NoPen);
    return;
  }
  QPen pen(toQColor(penColor_), penWidth_, penStyle_ == PenStyle::Dot ? Qt::DotLine : Qt::SolidLine);
  p.setPen(pen);
}

void ImageCanvas::line(float x1, float y1, float x2, float y2) {
  QPainter& p = painter();
  applyPen(p);
  p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
  notify();
}

void ImageCanvas::line(float x1, float y1, float x2, float y2, PackedColor color) {
  const PackedColor pen = penColor_;
  penColor_ = color;
  line(x1, y1, x2, y2);
  penColor_ = pen;
}

void ImageCanvas::point(float x, float y) {
  QPainter& p = painter();
  p.setPen(QPen(toQColor(penColor_), penWidth_));
  p.drawPoint(QPointF(x, y));
  notify();
}

void ImageCanvas::polygon(const Quad& corners) {
  // Corners on one line enclose nothing, and without a pen nothing shows: skip the painter,
  // which matters where a section has several cells to a pixel.
  if (penStyle_ == PenStyle::Invisible && onOneLine(corners)) return;
  QPainter& p = painter();
  applyPen(p);
  if (fillStyle_ == FillStyle::Solid) {
    p.setBrush(toQColor(fillColor_));
  } else {
    p.setBrush(Qt::NoBrush);
  }
  QPolygon polygon;
  for (const CanvasPoint& corner : corners) polygon << QPoint(corner.x, corner.y);
  p.drawPolygon(polygon, Qt::OddEvenFill);
  notify();
}

double ImageCanvas::width() const { return image_.width(); }
double ImageCanvas::height() const { return image_.height(); }

void ImageCanvas::setPersistent(bool on) {
  if (on == persistent_) return;
  finishPainting();
  persistent_ = on;
  screen_ = on ? QImage() : image_.copy();
  notify();
}

const QImage& ImageCanvas::image() const {
  finishPainting();
  return image_;
}

const QImage& ImageCanvas::screen() const {
  finishPainting();
  return persistent_ ? image_ : screen_;
}

void ImageCanvas::resize(QSize size) {
  if (size == image_.size() || size.isEmpty()) return;
  finishPainting();
  QImage resized(size, QImage::Format_RGB32);
  resized.fill(toQColor(background_));
  QPainter(&resized).drawImage(0, 0, image_);
  image_ = resized;
  if (!persistent_) screen_ = image_.copy();
  notify();
}

}  // namespace kalvenor
