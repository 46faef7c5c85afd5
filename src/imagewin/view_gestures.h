#pragma once

#include <QObject>
#include <QPoint>
#include <QTimer>
#include <optional>

class QKeyEvent;
class QMouseEvent;
class QWheelEvent;

namespace kalvenor {

class ImageCanvas;

// Turns the mouse, the wheel and the keys over a picture into view nudges: a drag turns the
// azimuth (across) and the depression (up and down), a shift-drag or a right-button drag the
// vertical exaggeration, the wheel and +/- the magnification, the arrow keys the same as a drag
// in steps (with shift, the exaggeration). Nothing happens over a blank canvas. Drag steps are
// summed and handed on at most once per turn of the event loop, and at once when the button is
// released, so a slow picture never falls behind the mouse.
class ViewGestures : public QObject {
  Q_OBJECT

 public:
  ViewGestures(const ImageCanvas& canvas, QWidget& target);

 signals:
  void nudged(double dAlpha, double dGamma, double scaleFactor, double veFactor);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void press(const QMouseEvent& event);
  void move(const QMouseEvent& event);
  void release();
  void wheel(const QWheelEvent& event);
  bool key(const QKeyEvent& event);
  void add(double dAlpha, double dGamma, double scaleFactor, double veFactor);
  void flush();

  const ImageCanvas& canvas_;
  std::optional<QPoint> dragFrom_;
  bool exaggerating_ = false;
  double dAlpha_ = 0, dGamma_ = 0, scaleFactor_ = 1, veFactor_ = 1;
  QTimer flushTimer_;
};

}  // namespace kalvenor
