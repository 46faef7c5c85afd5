#pragma once

#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QTimer>
#include <optional>

class QKeyEvent;
class QMouseEvent;
class QWheelEvent;

namespace kalvenor {

class ImageCanvas;

// What a gesture over the picture asks for, in canvas pixels.
struct ViewGesture {
  QPointF drag;                   // how far the picture was dragged
  double zoom = 1;                // factor of the magnification
  std::optional<QPointF> zoomAt;  // the point a zoom keeps in place; none for the middle
  double stretch = 1;             // factor of the vertical exaggeration
};

// Turns the mouse, the wheel and the keys over a picture into gestures: a left drag, and the
// arrow keys in steps of kPixelsPerKey, drag the picture; a shift-drag or a right-button drag up
// and down, and shift with the up and down keys, stretch it; the wheel zooms about the cursor
// and +/- about the middle. Nothing turns over a blank canvas: a gesture there is refused. Drag
// steps are summed and handed on at most once per turn of the event loop, so a slow picture never
// falls behind the mouse. A gesture has settled when the button is released, a key was pressed, or
// the wheel has rested for kWheelRest milliseconds.
class ViewGestures : public QObject {
  Q_OBJECT

 public:
  static constexpr int kPixelsPerKey = 10;
  static constexpr int kWheelRest = 250;

  ViewGestures(const ImageCanvas& canvas, QWidget& target);

 signals:
  void nudged(const ViewGesture& gesture);
  void settled();
  // A gesture began over a blank canvas, where there is nothing to turn.
  void refused();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void press(const QMouseEvent& event);
  void move(const QMouseEvent& event);
  void release();
  void wheel(const QWheelEvent& event);
  bool key(const QKeyEvent& event);
  void flush();

  const ImageCanvas& canvas_;
  std::optional<QPoint> dragFrom_;
  bool stretching_ = false;
  ViewGesture pending_;
  QTimer flushTimer_;
  QTimer wheelRest_;
};

}  // namespace kalvenor
