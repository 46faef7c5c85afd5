#pragma once

#include <QWidget>

namespace kalvenor {

class ImageCanvas;

// The picture box of the drawing window: shows the canvas and gives it the size of the widget.
class CanvasView : public QWidget {
  Q_OBJECT

 public:
  CanvasView(ImageCanvas& canvas, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  ImageCanvas& canvas_;
};

}  // namespace kalvenor
