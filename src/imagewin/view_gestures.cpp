#include "imagewin/view_gestures.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>
#include <cmath>

#include "canvas/image_canvas.h"

namespace kalvenor {
namespace {

// Pixels of a vertical drag that double or halve the exaggeration.
constexpr double kPixelsPerDoubling = 100;
constexpr double kZoomPerStep = 1.1;
// A wheel notch, in the eighths of a degree that angleDelta counts.
constexpr double kWheelNotch = 120;

bool nothingPending(const ViewGesture& g) {
  return g.drag.isNull() && g.zoom == 1 && g.stretch == 1;
}

bool gestureKey(int key) {
  switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Plus:
    case Qt::Key_Minus:
      return true;
    default:
      return false;
  }
}

}  // namespace

ViewGestures::ViewGestures(const ImageCanvas& canvas, QWidget& target)
    : QObject(&target), canvas_(canvas) {
  target.setFocusPolicy(Qt::StrongFocus);
  target.installEventFilter(this);
  flushTimer_.setSingleShot(true);
  flushTimer_.setInterval(0);
  connect(&flushTimer_, &QTimer::timeout, this, &ViewGestures::flush);
  wheelRest_.setSingleShot(true);
  wheelRest_.setInterval(kWheelRest);
  connect(&wheelRest_, &QTimer::timeout, this, &ViewGestures::settled);
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

// A wheel still at rest is settled by the release of this drag.
void ViewGestures::press(const QMouseEvent& event) {
  if (canvas_.blank()) {
    emit refused();
    return;
  }
  wheelRest_.stop();
  dragFrom_ = event.position().toPoint();
  stretching_ = event.button() == Qt::RightButton || event.modifiers().testFlag(Qt::ShiftModifier);
}

void ViewGestures::move(const QMouseEvent& event) {
  if (!dragFrom_ || event.buttons() == Qt::NoButton) return;
  const QPoint to = event.position().toPoint();
  const QPoint step = to - *dragFrom_;
  dragFrom_ = to;
  if (stretching_) {
    pending_.stretch *= std::exp2(-step.y() / kPixelsPerDoubling);
  } else {
    pending_.drag += step;
  }
  if (!flushTimer_.isActive()) flushTimer_.start();
}

void ViewGestures::release() {
  if (!dragFrom_) return;
  dragFrom_.reset();
  flush();
  emit settled();
}

void ViewGestures::wheel(const QWheelEvent& event) {
  if (event.angleDelta().y() == 0) return;
  if (canvas_.blank()) {
    emit refused();
    return;
  }
  pending_.zoom *= std::pow(kZoomPerStep, event.angleDelta().y() / kWheelNotch);
  pending_.zoomAt = event.position();
  flush();
  if (!dragFrom_) wheelRest_.start();
}

// Up and down keys tilt like a drag upwards and downwards; with shift they stretch.
bool ViewGestures::key(const QKeyEvent& event) {
  if (canvas_.blank()) {
    if (gestureKey(event.key())) emit refused();
    return false;
  }
  const bool shift = event.modifiers().testFlag(Qt::ShiftModifier);
  switch (event.key()) {
    case Qt::Key_Left:
      pending_.drag.rx() -= kPixelsPerKey;
      break;
    case Qt::Key_Right:
      pending_.drag.rx() += kPixelsPerKey;
      break;
    case Qt::Key_Up:
      shift ? void(pending_.stretch *= kZoomPerStep) : void(pending_.drag.ry() -= kPixelsPerKey);
      break;
    case Qt::Key_Down:
      shift ? void(pending_.stretch /= kZoomPerStep) : void(pending_.drag.ry() += kPixelsPerKey);
      break;
    case Qt::Key_Plus:
      pending_.zoom *= kZoomPerStep;
      break;
    case Qt::Key_Minus:
      pending_.zoom /= kZoomPerStep;
      break;
    default:
      return false;
  }
  flush();
  emit settled();
  return true;
}

void ViewGestures::flush() {
  flushTimer_.stop();
  if (nothingPending(pending_)) return;
  const ViewGesture gesture = pending_;
  pending_ = {};
  emit nudged(gesture);
}

}  // namespace kalvenor
