#pragma once

#include <QTimer>
#include <QWidget>

#include "canvas/image_canvas.h"
#include "imagewin/preview_drawer.h"
#include "imagewin/view_gestures.h"

namespace kalvenor {

class CanvasView;

// The drawing window "Image": its picture box always fills the client area.
class FormImage : public QWidget {
  Q_OBJECT

 public:
  // How long the size must rest before drawingAreaResized, so that dragging the frame does not
  // draw every step.
  static constexpr int kResizeRest = 200;

  explicit FormImage(QWidget* parent = nullptr);

  ImageCanvas& canvas() { return canvas_; }
  // Shows the window, not modal, and brings it to the front.
  void showCanvas();

  // Draws a preview on a worker thread and shows it over the canvas once drawn, unless a newer
  // preview was asked for or the preview was ended meanwhile.
  void drawPreview(PreviewDrawer::Job job);
  // Drops the preview shown and any still being drawn; the canvas shows again. Any change of the
  // canvas does the same.
  void endPreview();
  bool showingPreview() const;

 signals:
  // The outer size of the window in pixels, after every resize.
  void outerSizeChanged(int width, int height);
  // A drag, zoom or stretch over the picture, and the end of that gesture.
  void viewNudged(const ViewGesture& gesture);
  void viewSettled();
  // A gesture over a blank picture, which nothing turns.
  void viewRefused();
  // The drawing area has a new size and has kept it for kResizeRest milliseconds.
  void drawingAreaResized();
  // A picture drawPreview asked for has been drawn and is shown.
  void previewShown();
  // The preview is gone and whatever was still being drawn for it dropped.
  void previewEnded();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  ImageCanvas canvas_;
  CanvasView* picImage_;
  PreviewDrawer previews_;
  QTimer resizeRest_;
};

}  // namespace kalvenor
