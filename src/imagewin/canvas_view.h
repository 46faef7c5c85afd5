#pragma once

#include <QImage>
#include <QWidget>

namespace kalvenor {

class ImageCanvas;

// The picture box of the drawing window: shows the canvas, or a preview over it while a view is
// being turned, and gives the canvas the size and the pixel ratio of the widget.
class CanvasView : public QWidget {
  Q_OBJECT

 public:
  CanvasView(ImageCanvas& canvas, QWidget* parent);

  void showPreview(const QImage& preview);
  void hidePreview();
  bool showingPreview() const { return !preview_.isNull(); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  ImageCanvas& canvas_;
  QImage preview_;
};

}  // namespace kalvenor
