#pragma once

#include <QWidget>

#include "canvas/image_canvas.h"

namespace kalvenor {

class CanvasView;

// The drawing window "Image": its picture box always fills the client area.
class FormImage : public QWidget {
  Q_OBJECT

 public:
  explicit FormImage(QWidget* parent = nullptr);

  ImageCanvas& canvas() { return canvas_; }
  // Shows the window, not modal, and brings it to the front.
  void showCanvas();

 signals:
  // The outer size of the window in pixels, after every resize.
  void outerSizeChanged(int width, int height);
  // A turn, tilt or zoom asked for over the picture: degrees to add to the azimuth and the
  // depression, factors for the magnification and the vertical exaggeration.
  void viewNudged(double dAlpha, double dGamma, double scaleFactor, double veFactor);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  ImageCanvas canvas_;
  CanvasView* picImage_;
};

}  // namespace kalvenor
