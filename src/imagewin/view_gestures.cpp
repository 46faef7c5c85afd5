#include "imagewin/view_gestures.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>
#include <cmath>

#include "canvas/image_canvas.h"

namespace kalvenor {
namespace {

constexpr double kDegreesPerPixel = 0.5;
constexpr double kDegreesPerKey = 5;
// Pixels of a vertical drag that double or halve the exaggeration.
constexpr double kPixelsPerDoubling = 100;
constexpr double kZoomPerStep = 1.1;
// A wheel notch, in the eighths of a degree that angleDelta counts.
constexpr double kWheelNotch = 120;

}  // namespace

ViewGestures::ViewGestures(const ImageCanvas& canvas, QWidget& target)
    : QObject(&target), canvas_(canvas) {
  target.setFocusPolicy(Qt::StrongFocus);
  target.installEventFilter(this);
  flushTimer_.setSingleShot(true);
  flushTimer_.setInterval(0);
  connect(&flushTimer_, &QTimer::timeout, this, &ViewGestures::flush);
}

bool ViewGestures::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
      press(static_cast<const QMouseEvent&>(*event));
      return true;
    case QEvent::MouseMove:
      move(static_cast<const QMouseEvent&>(*event));
      return true;
    case QEvent::MouseButtonRelease:
      release();
      return true;
    case QEvent::Wheel:
      wheel(static_cast<const QWheelEvent&>(*event));
      return true;
    case QEvent::KeyPress:
      return key(static_cast<const QKeyEvent&>(*event));
    default:
      return QObject::eventFilter(watched, event);
  }
}

void ViewGestures::press(const QMouseEvent& event) {
  if (canvas_.blank()) return;
  dragFrom_ = event.position().toPoint();
  exaggerating_ =
      event.button() == Qt::RightButton || event.modifiers().testFlag(Qt::ShiftModifier);
}

void ViewGestures::move(const QMouseEvent& event) {
  if (!dragFrom_ || event.buttons() == Qt::NoButton) return;
  const QPoint to = event.position().toPoint();
  const QPoint step = to - *dragFrom_;
  dragFrom_ = to;
  if (exaggerating_) {
    add(0, 0, 1, std::exp2(-step.y() / kPixelsPerDoubling));
  } else {
    add(step.x() * kDegreesPerPixel, step.y() * kDegreesPerPixel, 1, 1);
  }
  if (!flushTimer_.isActive()) flushTimer_.start();
}

void ViewGestures::release() {
  dragFrom_.reset();
  flush();
}

void ViewGestures::wheel(const QWheelEvent& event) {
  if (canvas_.blank() || event.angleDelta().y() == 0) return;
  add(0, 0, std::pow(kZoomPerStep, event.angleDelta().y() / kWheelNotch), 1);
  flush();
}

// Up and down keys tilt like a drag upwards and downwards; with shift they exaggerate.
bool ViewGestures::key(const QKeyEvent& event) {
  if (canvas_.blank()) return false;
  const bool shift = event.modifiers().testFlag(Qt::ShiftModifier);
  switch (event.key()) {
    case Qt::Key_Left:
      add(-kDegreesPerKey, 0, 1, 1);
      break;
    case Qt::Key_Right:
      add(kDegreesPerKey, 0, 1, 1);
      break;
    case Qt::Key_Up:
      shift ? add(0, 0, 1, kZoomPerStep) : add(0, -kDegreesPerKey, 1, 1);
      break;
    case Qt::Key_Down:
      shift ? add(0, 0, 1, 1 / kZoomPerStep) : add(0, kDegreesPerKey, 1, 1);
      break;
    case Qt::Key_Plus:
      add(0, 0, kZoomPerStep, 1);
      break;
    case Qt::Key_Minus:
      add(0, 0, 1 / kZoomPerStep, 1);
      break;
    default:
      return false;
  }
  flush();
  return true;
}

void ViewGestures::add(double dAlpha, double dGamma, double scaleFactor, double veFactor) {
  dAlpha_ += dAlpha;
  dGamma_ += dGamma;
  scaleFactor_ *= scaleFactor;
  veFactor_ *= veFactor;
}

void ViewGestures::flush() {
  flushTimer_.stop();
  if (dAlpha_ == 0 && dGamma_ == 0 && scaleFactor_ == 1 && veFactor_ == 1) return;
  const double dAlpha = dAlpha_, dGamma = dGamma_, scaleFactor = scaleFactor_, veFactor = veFactor_;
  dAlpha_ = dGamma_ = 0;
  scaleFactor_ = veFactor_ = 1;
  emit nudged(dAlpha, dGamma, scaleFactor, veFactor);
}

}  // namespace kalvenor
